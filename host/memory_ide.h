// The in-memory IDE: the IDE contract over modules held as vectors of lines, for tests and the
// scenario runner.
//
// Set-up calls (AddModule, Activate, SelectComponent, SetDisplayModel, ListAddIn, ...) build the
// IDE's state; the contract's calls then behave as the VB6 IDE's do: a module's code pane can
// be active or not (no active pane: ActiveCodePane is Nothing), the selected component follows
// the active pane unless set, the View menu and the other menus start empty, tool windows host
// a document object created through the ObjectActivator by ProgID.
//
// The collections the contract hands out (Addins, CommandBars, Events, Windows) do not keep the
// IDE alive: once it is gone, Addins and CommandBars raise 91, Events and Windows 5. The parts
// are defined in files of their own: memory_code.cpp (modules, their panes and the selection),
// memory_command_bars.cpp, memory_windows.cpp and memory_addins.cpp.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/memory_code.h"
#include "host/vbide.h"
#include "runtime/vb/error.h"

namespace vbide {

class MemoryBar;
class MemoryBarEvents;
class MemoryControls;
class MemoryWindow;

struct CommandResult {
  com::HRESULT Result = com::S_OK;
  std::optional<vb::Error> Error;  // what the failing sink reported
};

struct ToolWindowState {
  std::string Caption;
  bool Visible = false;
  bool Docked = false;
  forms::Form* Document = nullptr;
};

class MemoryVbe : public VBE, public std::enable_shared_from_this<MemoryVbe> {
 public:
  static std::shared_ptr<MemoryVbe> Create() { return std::shared_ptr<MemoryVbe>(new MemoryVbe()); }

  // The contract.
  vb::Object<CodePane> ActiveCodePane() override;
  vb::Object<VBComponent> SelectedVBComponent() override;
  vb::Object<vbide::Addins> Addins() override;
  vb::Object<vbide::Windows> Windows() override;
  vb::Object<Window> MainWindow() override;
  long DisplayModel() override { return displayModel_; }
  vb::Object<vbide::Events> Events() override;
  vb::Object<vbide::CommandBars> CommandBars() override;

  // Modules. Names are unique; adding an existing name replaces that module's lines.
  std::shared_ptr<MemoryCodeModule> AddModule(const std::string& name,
                                              std::vector<std::string> lines);
  std::shared_ptr<MemoryCodeModule> FindModule(const std::string& name) const;
  // Makes the module's pane the active one; false when there is no such module.
  bool Activate(const std::string& name);
  void Deactivate() { active_.clear(); }
  // The selected component: a module's, none, or (the default) the active pane's.
  bool SelectComponent(const std::string& name);
  void SelectNoComponent() { selected_ = Selected::kNone; }
  void SetDisplayModel(long model) { displayModel_ = model; }

  // The add-in list, whose ProgIDs compare without regard to case, and object creation.
  void ListAddIn(const std::string& progId, const std::string& description);
  void SetActivator(ObjectActivator* activator) { activator_ = activator; }
  int AddinsUpdates() const { return addInsUpdates_; }

  // Menus and toolbars: the menu bar with the IDE's menus, and the Add-In toolbar. A menu is one
  // of the menu bar ("View") or a command bar by name; captions compare without the access-key
  // ampersand and without regard to case. A deleted control leaves its bar, and every later call
  // on it fails with "Method 'NAME' of object 'CommandBarControl' failed".
  std::optional<std::vector<std::string>> MenuCaptions(const std::string& menu) const;
  // Puts a button for an add-in on the Add-In toolbar, as the IDE does for an add-in started
  // from there; its Parameter is the ProgID.
  void AddAddInToolbarButton(const std::string& caption, const std::string& progId);
  // The user chooses the command of that caption in a menu (nullopt when there is none): every
  // Click sink advised on it hears the click, in order of advice, through the event sources the
  // add-in still holds; a failing sink's HRESULT and error come back.
  std::optional<CommandResult> ClickCommand(const std::string& menu, const std::string& caption);

  // Tool windows: a tool window's document form is loaded with the window, shown and hidden with
  // it, and unloaded when it is closed; adding a window to the main window's linked windows
  // docks it. A closed window fails every later call with "Method 'NAME' of object 'Window'
  // failed". LatestToolWindow is the most recently created one that is not closed, or Nothing.
  std::optional<ToolWindowState> LatestToolWindow() const;
  // The user closes the latest tool window (it is hidden, as the IDE hides tool windows).
  void UserCloseToolWindow();

 private:
  class AddinsObject;
  class BarsObject;
  class EventsObject;
  class WindowsObject;
  struct Module {
    std::shared_ptr<MemoryCodeModule> Code;
    std::shared_ptr<MemoryCodePane> Pane;
    std::shared_ptr<MemoryComponent> Component;
  };

  MemoryVbe() = default;
  static std::vector<std::shared_ptr<MemoryBar>> IdeBars();
  std::shared_ptr<MemoryBar> Bar(const std::string& name) const;
  MemoryControls* MenuControls(const std::string& menu) const;
  MemoryWindow* LatestWindow() const;

  std::map<std::string, Module> modules_;
  std::string active_;  // empty: no active pane
  enum class Selected { kFollowActive, kNone, kNamed } selected_ = Selected::kFollowActive;
  std::string selectedName_;
  long displayModel_ = vbext_dm_MDI;
  std::vector<std::shared_ptr<AddIn>> addIns_;
  int addInsUpdates_ = 0;
  std::vector<std::shared_ptr<MemoryBar>> bars_ = IdeBars();
  std::vector<std::weak_ptr<MemoryBarEvents>> sources_;
  std::shared_ptr<MemoryWindow> main_;  // made on first use
  std::vector<std::shared_ptr<MemoryWindow>> toolWindows_;
  ObjectActivator* activator_ = nullptr;
};

}  // namespace vbide
