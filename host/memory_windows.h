// Windows of the in-memory IDE: the main window and the tool windows add-ins create.
//
// A tool window hosts a document object created through the ObjectActivator by ProgID; the
// document's form is loaded with the window, shown and hidden with it, and unloaded when the
// window is closed. Adding a window to the main window's linked windows docks it. A closed window
// fails every later call with "Method 'NAME' of object 'Window' failed".
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/vbide.h"

namespace vbide {

class MemoryWindow;

struct ToolWindowState {
  std::string Caption;
  bool Visible = false;
  bool Docked = false;
  forms::Form* Document = nullptr;
};

class MemoryWindowList : public std::enable_shared_from_this<MemoryWindowList> {
 public:
  MemoryWindowList();
  ~MemoryWindowList();

  // The contract's Windows over this list; CreateToolWindow raises 5 once the list is gone or
  // when no activator is set.
  vb::Object<vbide::Windows> Windows();
  vb::Object<Window> MainWindow();
  void SetActivator(ObjectActivator* activator) { activator_ = activator; }

  std::optional<ToolWindowState> LatestToolWindow() const;
  void UserCloseToolWindow();

 private:
  class WindowsObject;
  MemoryWindow* Latest() const;  // the latest tool window not closed, or nullptr

  std::shared_ptr<MemoryWindow> main_;
  std::vector<std::shared_ptr<MemoryWindow>> toolWindows_;
  ObjectActivator* activator_ = nullptr;
};

}  // namespace vbide
