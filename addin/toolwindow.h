// The docked tool window: one toolbar whose buttons are the add-in's commands, built from one
// table of commands (toolwindow.cpp: index, tool tip, picture, what a click runs; the indexes
// between entries are separators) that also dispatches clicks on the button's 1-based index.
//
// Every error of a dispatch is ignored: a dialog that fails to load or show leaves the click
// without effect and shows nothing. Buttons 5 and 6 comment out and un-comment the selected lines
// of the active code pane at once and report their own failures; the others show a dialog (its
// default instance, modeless, no owner), or nothing while their window is not built.
#pragma once

#include "addin/com_object.h"
#include "host/vbide.h"
#include "runtime/forms/forms.h"

namespace bw {

class ToolWindow : public forms::Form {
 public:
  ToolWindow();

  forms::ImageList ImageList1{this, "ImageList1"};
  forms::Toolbar Toolbar1{this, "Toolbar1"};

  void UserDocument_Initialize() {}
  void Toolbar1_ButtonClick(forms::ToolbarButton& Button);
  void cmdCommentCode_Click();
  void cmdUncomment_Click();

 protected:
  void InitializeComponent() override;
};

// The COM object the IDE creates by the ProgID "Brindlewick.ToolWindow" and hosts in the tool
// window; it owns the window's form.
class ToolWindowDocument final : public ComObject<vbide::IUserDocument> {
 public:
  ToolWindowDocument() : ComObject(vbide::IID_IUserDocument) {}
  forms::Form* Document() noexcept override { return &window_; }

 private:
  ToolWindow window_;
};

}  // namespace bw
