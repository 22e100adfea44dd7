// The docked tool window: one toolbar whose seven buttons are the add-in's commands.
//
// A click is dispatched on the button's 1-based index with every error ignored: a dialog that
// fails to load or show leaves the click without effect and shows nothing. Buttons 5 and 6
// comment out and un-comment the selected lines of the active code pane at once and report
// their own failures; the others show a dialog (its default instance, modeless, no owner).
#pragma once

#include "addin/objects.h"
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
