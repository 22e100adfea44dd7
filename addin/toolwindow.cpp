#include "addin/toolwindow.h"

#include "apiref/frmApi.h"
#include "generators/comment.h"
#include "generators/frmAddMsgBox.h"
#include "generators/frmErrorHandler.h"
#include "generators/frmInsertHeader.h"
#include "services/code_window.h"
#include "services/error_report.h"
#include "services/names.h"
#include "services/resources.h"
#include "sourcebase/frmSource.h"

namespace bw {
namespace {

// Shows the default instance of a dialog: modeless, no owner.
template <class Dialog>
void Show(ToolWindow&) {
  forms::DefaultInstance<Dialog>().Show();
}

// A toolbar button: its 1-based index, tool tip, embedded picture and what a click runs
// (nullptr: nothing yet). The buttons' pictures fill ImageList1 in this order; the indexes
// between entries are separators.
struct Command {
  long Index;
  const char* ToolTip;
  const char* Picture;
  void (*Run)(ToolWindow&);
};

const Command kCommands[] = {
    {1, "Insert Message Box", "msgbox.xpm", Show<frmAddMsgBox>},
    {3, "Insert Error Handler", "errhandler.xpm", Show<frmErrorHandler>},
    {5, "Comment Selected Code", "comment.xpm", [](ToolWindow& w) { w.cmdCommentCode_Click(); }},
    {6, "UN-Comment Selected Code", "uncomment.xpm", [](ToolWindow& w) { w.cmdUncomment_Click(); }},
    {8, "Insert Header Comment", "header.xpm", Show<frmInsertHeader>},
    {10, "Insert WIN32 API Reference", "apiref.xpm", Show<frmApi>},
    {12, "Source Code Database", "database.xpm", Show<frmSource>},
};

const RoutineErrorTexts kCommentTexts = {
    "   Routine Name : Private Sub cmdCommentCode_Click",
    "You must first be in a VB Code window before you comment out code.",
    "Error: Cannot Comment Code", ""};

const RoutineErrorTexts kUncommentTexts = {
    "   Routine Name : Private Sub cmdUncomment_Click",
    "You must first be in a VB Code window before you can uncomment code.",
    "Error: Cannot Uncomment Code", ""};

void TransformReported(code_window::LineTransform transform, const RoutineErrorTexts& texts) {
  try {
    code_window::TransformSelectedLines(transform);
  } catch (const vb::Error& e) {
    ReportRoutineError(e, texts);
  }
}

}  // namespace

ToolWindow::ToolWindow() : Form("ToolWindow") {
  SetIsDocument(true);
  On(Toolbar1, "ButtonClick", [this](forms::EventArgs& e) { Toolbar1_ButtonClick(*e.ToolButton); });
}

void ToolWindow::InitializeComponent() {
  SetCaption(kProductName);
  SetBorderStyle(forms::vbBSNone);
  SetClientSize(4000, 420);
  ImageList1.MaskColor = 0xC0C0C0;
  Toolbar1.Move(0, 0, 4000, 420);
  Toolbar1.SetImageList("ImageList1");
  for (const Command& c : kCommands) {
    while (Toolbar1.ButtonCount() < c.Index - 1)
      Toolbar1.AddButton(forms::tbrSeparator);
    ImageList1.Add(ResourcePicture(c.Picture));
    Toolbar1.AddButton(forms::tbrDefault, c.ToolTip, ImageList1.Count());
  }
}

void ToolWindow::Toolbar1_ButtonClick(forms::ToolbarButton& Button) {
  // Every error is ignored: a command that fails here does nothing further.
  try {
    for (const Command& c : kCommands)
      if (c.Index == Button.Index && c.Run) c.Run(*this);
  } catch (const std::exception&) {  // vb::Error among them
  }
}

void ToolWindow::cmdCommentCode_Click() {
  TransformReported(CommentLine, kCommentTexts);
}

void ToolWindow::cmdUncomment_Click() {
  TransformReported(UncommentLine, kUncommentTexts);
}

}  // namespace bw
