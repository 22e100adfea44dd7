// Scripts played on real widgets: the Qt platform answered by a script instead of a person,
// and the user's gestures delivered to the renderer's widgets as Qt input events.
//
// Message boxes are real QMessageBoxes, answered by pressing the button of the next queued
// answer; file-open dialogs are real QFileDialogs, closed with the next queued result. Both are
// written to the transcript exactly as the headless platform writes them, and a question left
// unanswered is a fault (TakeFaults), answered with the choice that changes least. The screen
// size and today's date are the script's (15360 by 11520 twips, the system's date, until set).
//
// Gestures: a click, double click or mouse event is a mouse event sent to the control's widget
// (a tree's node, a list's entry, a toolbar's button where it is drawn), typing is one key event
// per character, a choice picks the entry in the widget, and setting a property goes through the
// widget where a person could set it that way (a box's text, a check box, a list's choice), else
// through the control. Positions and sizes in twips that are no whole pixels reach the form as
// the script wrote them. What an event routine throws, other than a VB run-time error, comes
// back out of the gesture.
//
// This header has no Qt type, so that the scenario runner needs none.
//
// REQUIRES: a Qt platform plugin is at hand (QT_QPA_PLATFORM=offscreen without a display).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/forms/forms.h"
#include "runtime/headless/headless_platform.h"  // SetWindowPosCall
#include "runtime/platform.h"

namespace rt::qt {

class ScriptedQt {
 public:
  // Creates the application object when there is none. `configFolder` holds the settings and
  // registry files.
  explicit ScriptedQt(const std::string& configFolder);
  ~ScriptedQt();
  ScriptedQt(const ScriptedQt&) = delete;
  ScriptedQt& operator=(const ScriptedQt&) = delete;

  rt::Platform& Platform();

  // Set-up.
  void QueueAnswer(long answer);
  void QueueFileDialog(std::optional<std::string> path);
  void SetScreen(double width, double height);
  void SetToday(const vb::Date& date);
  void SetAddinFolder(std::string folder);
  void SetTranscript(std::function<void(const std::string&)> sink);

  // Looking.
  std::optional<SetWindowPosCall> LastSetWindowPos(long hwnd) const;
  std::vector<std::string> TakeFaults();

  // The user's gestures.
  void ClickButton(forms::Toolbar& toolbar, long index);
  void Click(forms::Control& control);
  void DblClick(forms::Control& control);
  void Focus(forms::Control& control);
  void Type(forms::TextBox& box, const std::string& text);
  void Choose(forms::ListControl& list, long index);
  void ClickNode(forms::TreeView& tree, forms::Node& node);
  // false when the property cannot be set by the user.
  bool SetProperty(forms::Control& control, std::string_view property,
                   const forms::PropertyValue& value);
  // `action` is "down", "move" or "up"; on a control, or on the window's background.
  void Mouse(forms::Control& control, std::string_view action, int button, double x, double y);
  void Mouse(forms::Form& form, std::string_view action, int button, double x, double y);
  void Resize(forms::Form& form, double scaleWidth, double scaleHeight);
  void SetWindowState(forms::Form& form, int state);
  void Close(forms::Form& form);

  // Lets the pending events run and redraws what waits.
  void Settle();
  // Saves a picture of every shown window of a loaded form as FOLDER/NAME.png.
  void SavePictures(const std::string& folder);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace rt::qt
