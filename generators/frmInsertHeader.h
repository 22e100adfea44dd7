// The Insert Header Comment dialog: the user fills in a routine's or module's name, abstract,
// optional methods, properties, events, parameters and return value, and one modification
// history row; "&Add" inserts the comment block of HeaderComment() above the line where the
// active code pane's selection starts, then unloads the dialog.
//
// Every opening starts from the initial values: all boxes empty except the history row, whose
// name is the stored user name (key "UserName" of the add-in's settings, empty when absent),
// whose date is today's date as "ddmmmyy" and whose remark is "Initial Creation". There is no
// validation. A failure in "&Add" hides the dialog, shows the code-window message for error 91
// (no active code pane) or the critical report with one extra line, and unloads the dialog.
//
// The dialog is shown modeless through its default instance; its load centres it on the screen
// and keeps it above the IDE (insert_dialog.h).
#pragma once

#include "runtime/forms/forms.h"
#include "services/insert_dialog.h"

namespace bw {

class frmInsertHeader : public InsertDialog {
 public:
  frmInsertHeader();

  forms::Frame fraName{this, "fraName"};
  forms::TextBox txtName{this, "txtName"};

  // Six tabs, one multi-line box each: Abstract, Methods, Properties, Events, Parms, Return.
  forms::TabControl TabBox{this, "TabBox"};
  forms::TextBox txtAbstract{this, "txtAbstract"};
  forms::TextBox txtMethods{this, "txtMethods"};
  forms::TextBox txtProperties{this, "txtProperties"};
  forms::TextBox txtEvents{this, "txtEvents"};
  forms::TextBox txtParms{this, "txtParms"};
  forms::TextBox txtReturn{this, "txtReturn"};

  // The modification history row; Label1 to Label3 name its three boxes.
  forms::Frame Frame1{this, "Frame1"};
  forms::Label Label1{this, "Label1"};
  forms::TextBox txtModName{this, "txtModName"};
  forms::Label Label2{this, "Label2"};
  forms::TextBox txtModDate{this, "txtModDate"};
  forms::Label Label3{this, "Label3"};
  forms::TextBox txtModAbstract{this, "txtModAbstract"};

  forms::CommandButton cmdOK{this, "cmdOK"};
  forms::CommandButton cmdCancel{this, "cmdCancel"};

  // Event routines.
  void Form_Load() override;
  void cmdOK_Click();

 protected:
  void InitializeComponent() override;
};

}  // namespace bw
