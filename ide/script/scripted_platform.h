// The platform a scenario plays on, as the runner sees it: its set-up (answers, file dialogs,
// screen, date, add-in folder), what it recorded (SetWindowPos calls, faults, the transcript)
// and the user's gestures.
//
// Two implement it: the recording headless platform, whose gestures go straight to the forms'
// User* members, and the Qt platform, whose gestures are input events on the real widgets of
// the renderer (runtime/qt/scripted_qt.h). Both print the same transcript, and a gesture's
// run-time error is reported as the runtime reports it on both.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/forms/forms.h"
#include "runtime/headless/headless_platform.h"
#include "runtime/platform.h"

namespace script {

class ScriptedPlatform {
 public:
  virtual ~ScriptedPlatform();

  virtual rt::Platform& Platform() = 0;

  // Set-up.
  virtual void QueueAnswer(long answer) = 0;
  virtual void QueueFileDialog(std::optional<std::string> path) = 0;
  virtual void SetScreen(double width, double height) = 0;
  virtual void SetToday(const vb::Date& date) = 0;
  virtual void SetAddinFolder(std::string folder) = 0;
  virtual void SetTranscript(std::function<void(const std::string&)> sink) = 0;

  // Looking.
  virtual std::optional<rt::SetWindowPosCall> LastSetWindowPos(long hwnd) const = 0;
  virtual std::vector<std::string> TakeFaults() = 0;

  // The user's gestures.
  virtual void ClickButton(forms::Toolbar& toolbar, long index) = 0;
  virtual void Click(forms::Control& control) = 0;
  virtual void DblClick(forms::Control& control) = 0;
  virtual void Focus(forms::Control& control) = 0;
  virtual void Type(forms::TextBox& box, const std::string& text) = 0;
  virtual void Choose(forms::ListControl& list, long index) = 0;
  virtual void ClickNode(forms::TreeView& tree, forms::Node& node) = 0;
  // false when the user cannot set that property.
  virtual bool SetProperty(forms::Control& control, std::string_view property,
                           const forms::PropertyValue& value) = 0;
  virtual void Mouse(forms::Control& control, std::string_view action, int button, double x,
                     double y) = 0;
  virtual void Mouse(forms::Form& form, std::string_view action, int button, double x,
                     double y) = 0;
  virtual void Resize(forms::Form& form, double scaleWidth, double scaleHeight) = 0;
  virtual void SetWindowState(forms::Form& form, int state) = 0;
  virtual void Close(forms::Form& form) = 0;

  // After each command: lets what the platform holds back happen.
  virtual void Settle() {}
  // Pictures of the shown windows into a folder, where the platform draws any.
  virtual void SavePictures(const std::filesystem::path& folder) {}
};

std::unique_ptr<ScriptedPlatform> MakeHeadlessPlatform();
// `configFolder` holds the Qt platform's settings and registry files. Raises
// std::runtime_error when the runner was built without Qt.
std::unique_ptr<ScriptedPlatform> MakeQtPlatform(const std::filesystem::path& configFolder);

}  // namespace script
