#include "addin/toolwindow.h"

#include "addin/error_report.h"
#include "addin/globals.h"
#include "addin/resources.h"
#include "generators/comment.h"
#include "generators/frmAddMsgBox.h"
#include "generators/frmErrorHandler.h"
#include "generators/frmInsertHeader.h"

namespace bw {
namespace {

// The toolbar: index, tool tip and picture; a tool tip of nullptr is a separator.
struct ButtonDesign {
  const char* ToolTip;
  long Image;
};
const ButtonDesign kButtons[] = {
    {"Insert Message Box", 1},
    {nullptr, 0},
    {"Insert Error Handler", 2},
    {nullptr, 0},
    {"Comment Selected Code", 3},
    {"UN-Comment Selected Code", 4},
    {nullptr, 0},
    {"Insert Header Comment", 5},
    {nullptr, 0},
    {"Insert WIN32 API Reference", 6},
    {nullptr, 0},
    {"Source Code Database", 7},
};

const char* const kIcons[] = {"msgbox.xpm", "errhandler.xpm", "comment.xpm", "uncomment.xpm",
                              "header.xpm", "apiref.xpm",     "database.xpm"};

const RoutineErrorTexts kCommentTexts = {
    "   Routine Name : Private Sub cmdCommentCode_Click",
    "You must first be in a VB Code window before you comment out code.",
    "Error: Cannot Comment Code", ""};

const RoutineErrorTexts kUncommentTexts = {
    "   Routine Name : Private Sub cmdUncomment_Click",
    "You must first be in a VB Code window before you can uncomment code.",
    "Error: Cannot Uncomment Code", ""};

}  // namespace

ToolWindow::ToolWindow() : Form("ToolWindow") {
  SetIsDocument(true);
  On(Toolbar1, "ButtonClick",
     [this](forms::EventArgs& e) { Toolbar1_ButtonClick(*e.ToolButton); });
}

void ToolWindow::InitializeComponent() {
  SetCaption("Brindlewick");
  SetBorderStyle(forms::vbBSNone);
  SetClientSize(4000, 420);
  for (const char* icon : kIcons) ImageList1.Add(ResourcePicture(icon));
  ImageList1.MaskColor = 0xC0C0C0;
  Toolbar1.Move(0, 0, 4000, 420);
  Toolbar1.SetImageList("ImageList1");
  for (const ButtonDesign& b : kButtons) {
    if (b.ToolTip) Toolbar1.AddButton(forms::tbrDefault, b.ToolTip, b.Image);
    else Toolbar1.AddButton(forms::tbrSeparator);
  }
}

void ToolWindow::Toolbar1_ButtonClick(forms::ToolbarButton& Button) {
  // Every error is ignored: a command that fails here does nothing further.
  try {
    switch (Button.Index) {
      case 1: forms::DefaultInstance<frmAddMsgBox>().Show(); break;
      case 3: forms::DefaultInstance<frmErrorHandler>().Show(); break;
      case 5: cmdCommentCode_Click(); break;
      case 6: cmdUncomment_Click(); break;
      case 8: forms::DefaultInstance<frmInsertHeader>().Show(); break;
      default: break;  // separators, and dialogs not built yet
    }
  } catch (const vb::Error&) {
  } catch (const std::exception&) {
  }
}

void ToolWindow::cmdCommentCode_Click() {
  try {
    TransformSelectedLines(VBInst, CommentLine);
  } catch (const vb::Error& e) {
    ReportRoutineError(e, kCommentTexts);
  }
}

void ToolWindow::cmdUncomment_Click() {
  try {
    TransformSelectedLines(VBInst, UncommentLine);
  } catch (const vb::Error& e) {
    ReportRoutineError(e, kUncommentTexts);
  }
}

}  // namespace bw
