#include "generators/frmErrorHandler.h"

#include <string>

#include "addin/error_report.h"
#include "addin/globals.h"
#include "addin/placement.h"

namespace bw {
namespace {

const RoutineErrorTexts kLoadTexts = {
    "   Routine Name : Private Sub Form_Load",
    "You must first be in a VB Code window before Error code can be added.",
    "Error: Cannot Insert Code", ""};

// "&Add" has no code-window message: every failure gives the critical report.
const RoutineErrorTexts kAddTexts = {"   Routine Name : Private Sub cmdOK_Click", "", "", ""};

// Line n of the active pane's module, asking the IDE for the pane afresh.
std::string ActiveLine(long n) {
  return VBInst->ActiveCodePane()->CodeModule()->Lines(n, 1);
}

}  // namespace

frmErrorHandler::frmErrorHandler() : Form("frmErrorHandler") {
  On("Form", "Load", [this] { Form_Load(); });
  On(cmdCancel, "Click", [this] { cmdCancel_Click(); });
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
  headerFound_ = false;
  CentreOnScreen(*this);
  MakeTopMost(*this);
  try {
    SelStartLine = VBInst->ActiveCodePane()->GetSelection().StartLine;
    long header = FindHeaderLine(ActiveLine, SelStartLine);
    if (header == 0) return;
    std::string line = ActiveLine(header);
    txtName.SetText(HeaderName(line));
    ProcHeaderLine = header;
    headerKeyword_ = IsProcHeader(line);
    headerFound_ = true;
  } catch (const vb::Error& e) {
    ReportDialogError(*this, e, kLoadTexts);
  }
}

void frmErrorHandler::cmdCancel_Click() {
  Unload();
}

void frmErrorHandler::cmdOK_Click() {
  try {
    if (headerFound_) {
      VBInst->ActiveCodePane()->CodeModule()->InsertLines(ProcHeaderLine + 2, OnErrorLine());
      std::string block = HandlerBlock(txtName.Text(), txtMsg.Text(), ExitKindFor(headerKeyword_));
      long count = VBInst->ActiveCodePane()->CodeModule()->CountOfLines();
      long end = FindEndLine(ActiveLine, SelStartLine, count);
      if (end != 0) VBInst->ActiveCodePane()->CodeModule()->InsertLines(end - 1, block);
    }
    Unload();
  } catch (const vb::Error& e) {
    ReportDialogError(*this, e, kAddTexts);
  }
}

}  // namespace bw
