// The Insert Error Handler dialog: adds an error handler to the procedure in which the caret of
// the active code pane stands.
//
// Its load looks upward from the caret's line for a procedure header (error_handler_text.h says
// which lines count) and proposes the header's text before "(" as the routine's name; a header
// without "(" fails the load with error 5. "&Add" inserts the On Error line two lines below that
// header, then the handler block above the first end line at or after the caret's line (nothing
// when there is none), and unloads the dialog. The caret's line and the header's line are fixed
// at load: moving the caret before "&Add" changes nothing.
//
// SelStartLine and ProcHeaderLine are form-level values: they start at 0 with the form object and
// survive unloading, so a load that finds no header leaves ProcHeaderLine at the line found by an
// earlier one. "&Add" after a load that found no header inserts nothing and unloads the dialog.
// A Function header gets "Exit Function" as the block's exit line.
//
// Failures: the load hides the dialog, shows the code-window message for error 91 (no active code
// pane) or the critical report, and unloads the dialog; "&Add" shows the critical report and
// unloads the dialog. Placement failures at load are not covered (insert_dialog.h).
#pragma once

#include "generators/error_handler_text.h"
#include "runtime/forms/forms.h"
#include "services/insert_dialog.h"

namespace bw {

class frmErrorHandler : public InsertDialog {
 public:
  frmErrorHandler();

  forms::Label Label1{this, "Label1"};
  forms::TextBox txtName{this, "txtName"};
  forms::Label Label2{this, "Label2"};
  forms::TextBox txtMsg{this, "txtMsg"};
  forms::CommandButton cmdOK{this, "cmdOK"};
  forms::CommandButton cmdCancel{this, "cmdCancel"};

  // The selection's start line at the last load.
  long SelStartLine = 0;
  // The header line found by the last load that found one; 0 until then.
  long ProcHeaderLine = 0;

  // Event routines.
  void Form_Load() override;
  void cmdOK_Click();

 protected:
  void InitializeComponent() override;

 private:
  // The keyword of the header the last load found; kNone when it found none.
  ProcKeyword headerKeyword_ = ProcKeyword::kNone;
};

}  // namespace bw
