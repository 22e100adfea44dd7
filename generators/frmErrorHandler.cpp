#include "generators/frmErrorHandler.h"

#include <string>

#include "services/code_window.h"

namespace bw {
namespace {

const RoutineErrorTexts kLoadTexts = {
    "   Routine Name : Private Sub Form_Load",
    "You must first be in a VB Code window before Error code can be added.",
    "Error: Cannot Insert Code", ""};

// "&Add" has no code-window message: every failure gives the critical report.
const RoutineErrorTexts kAddTexts = {"   Routine Name : Private Sub cmdOK_Click", "", "", ""};

}  // namespace

frmErrorHandler::frmErrorHandler() : InsertDialog("frmErrorHandler") {
  On(cmdOK, "Click", [this] { cmdOK_Click(); });
}

void frmErrorHandler::InitializeComponent() {
  SetCaption("Insert Error Handler");
  SetBorderStyle(forms::vbFixedDialog);
  SetClientSize(5415, 3075);

  Label1.SetCaption("Sub / Function Name");
  Label1.Move(120, 120, 3000, 255);
  txtName.Move(120, 375, 5175, 315);
  Label2.SetCaption("Extra Message");
  Label2.Move(120, 810, 3000, 255);
  txtMsg.SetMultiLine(true);
  txtMsg.SetScrollBars(2);
  txtMsg.Move(120, 1065, 5175, 1335);
  cmdOK.SetCaption("&Add");
  cmdOK.Move(2415, 2535, 1400, 420);
  cmdCancel.SetCaption("&Cancel");
  cmdCancel.SetCancel(true);
  cmdCancel.Move(3895, 2535, 1400, 420);

  forms::Font arial;
  arial.Name = "Arial";
  for (forms::Control* c : Controls())
    c->SetFont(arial);
}

void frmErrorHandler::Form_Load() {
  headerKeyword_ = ProcKeyword::kNone;
  RunReported(kLoadTexts, [this] {
    SelStartLine = code_window::GetSelection().StartLine;
    long header = FindHeaderLine(code_window::Line, SelStartLine);
    if (header == 0) return;
    std::string line = code_window::Line(header);
    txtName.SetText(HeaderName(line));
    ProcHeaderLine = header;
    headerKeyword_ = IsProcHeader(line);
  });
}

void frmErrorHandler::cmdOK_Click() {
  RunReported(kAddTexts, [this] {
    if (headerKeyword_ != ProcKeyword::kNone) {
      code_window::InsertBefore(ProcHeaderLine + 2, OnErrorLine());
      std::string block = HandlerBlock(txtName.Text(), txtMsg.Text(), ExitKindFor(headerKeyword_));
      long end = FindEndLine(code_window::Line, SelStartLine, code_window::LineCount());
      if (end != 0) code_window::InsertBefore(end - 1, block);
    }
    Unload();
  });
}

}  // namespace bw
