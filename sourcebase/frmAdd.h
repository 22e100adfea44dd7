// The add dialog "Source Base - Add Code": a name, a description, the code and its code type
// (the category) make a new item of the source library.
//
// The dialog opens centred and above the IDE, with empty boxes and no type chosen; when the
// browser's opening handed it selected code (PendingAddCode), the code box holds that code and
// the browser is hidden. "&Add" checks, in order, a name and code with more than blanks and a
// chosen type; a failed check hides the dialog and the browser, says what is missing, and shows
// the dialog again with everything typed. Otherwise the item is appended to its category's
// table, exactly as typed, the browser's tree is rebuilt, and the dialog unloads. When the store
// refuses the row (a locked or read-only file) the dialog reports it with the critical report
// and stays open with everything typed. "&Canel" unloads without storing; every unload shows
// the browser again.
#pragma once

#include <string>

#include "runtime/forms/forms.h"

namespace bw {

class frmAdd : public forms::Form {
 public:
  frmAdd();

  forms::Frame Frame2{this, "Frame2"};
  forms::TextBox txtName{this, "txtName"};
  forms::Frame Frame3{this, "Frame3"};
  forms::TextBox txtDesc{this, "txtDesc"};
  forms::Frame Frame1{this, "Frame1"};
  forms::ControlArray<forms::OptionButton> Opt{this, "Opt", 5};
  forms::Frame Frame4{this, "Frame4"};
  forms::TextBox txtCode{this, "txtCode"};
  forms::CommandButton cmdAdd{this, "cmdAdd"};
  forms::CommandButton cmdCancel{this, "cmdCancel"};

  // Event routines.
  void Form_Load();
  void cmdAdd_Click();
  void cmdCancel_Click();
  void Form_Unload();

 protected:
  void InitializeComponent() override;

 private:
  // Hides the dialog and the browser, shows the message, then shows the dialog again.
  void Refuse(const std::string& prompt, long style, const std::string& title);
};

}  // namespace bw
