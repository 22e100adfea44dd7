// The Insert Message Box dialog: the user composes a MsgBox call and "&Add" inserts it as one
// line above the line where the active code pane's selection starts.
//
// Every opening starts from the designer's values: empty title and message, no icon, "&OK Only",
// the first default button, no flags, the help controls empty and disabled. "Help &Button"
// enables and disables the help controls; "..." browses for a help file. "&Add" first checks the
// help values (when the Help button is checked, file and context ID must hold more than blanks)
// and then that the IDE has a selected component; either failure shows its message and leaves
// the dialog open. Otherwise the statement of MsgBoxStatement() is inserted and the dialog
// unloads. A failure while building or inserting hides the dialog, shows the code-window message
// for error 91 (no active code pane) or the critical report, and unloads the dialog.
//
// The dialog is shown modeless through its default instance; its load centres it on the screen
// and keeps it above the IDE (insert_dialog.h).
#pragma once

#include "runtime/forms/forms.h"
#include "services/insert_dialog.h"

namespace bw {

class frmAddMsgBox : public InsertDialog {
 public:
  frmAddMsgBox();

  forms::Label Label1{this, "Label1"};
  forms::TextBox txtTitle{this, "txtTitle"};
  forms::Label Label2{this, "Label2"};
  forms::TextBox txtMsg{this, "txtMsg"};

  forms::Frame fraIconType{this, "fraIconType"};
  forms::ControlArray<forms::OptionButton> Option1{this, "Option1", 5};
  forms::ControlArray<forms::Image> Image1{this, "Image1", 4};

  forms::Frame fraButtons{this, "fraButtons"};
  forms::ControlArray<forms::OptionButton> optButton{this, "optButton", 6};

  forms::Frame fraDefBtn{this, "fraDefBtn"};
  forms::ControlArray<forms::OptionButton> optDefault{this, "optDefault", 4};

  forms::Frame Frame1{this, "Frame1"};
  forms::CheckBox chkSysModal{this, "chkSysModal"};
  forms::CheckBox chkForeground{this, "chkForeground"};

  forms::Frame Frame2{this, "Frame2"};
  forms::CheckBox chkHelpBtn{this, "chkHelpBtn"};
  forms::Label lblHelpFile{this, "lblHelpFile"};
  forms::TextBox txtHelpFile{this, "txtHelpFile"};
  forms::CommandButton cmdHelpFile{this, "cmdHelpFile"};
  forms::Label lblContextID{this, "lblContextID"};
  forms::TextBox txtHelpID{this, "txtHelpID"};
  forms::CommonDialog cdlHelpFile{this, "cdlHelpFile"};

  forms::CommandButton cmdOK{this, "cmdOK"};
  forms::CommandButton cmdCancel{this, "cmdCancel"};

  // Event routines.
  void chkHelpBtn_Click();
  void cmdHelpFile_Click();
  void cmdOK_Click();

 protected:
  void InitializeComponent() override;
};

}  // namespace bw
