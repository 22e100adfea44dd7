// The in-memory IDE: the IDE contract over modules held as vectors of lines, for tests and the
// scenario runner.
//
// Set-up calls (AddModule, Activate, SelectComponent, SetDisplayModel, ListAddIn, ...) build the
// IDE's state; the contract's calls then behave as the VB6 IDE's do: a module's code pane can
// be active or not (no active pane: ActiveCodePane is Nothing), the selected component follows
// the active pane unless set, the View menu and the other menus start empty, tool windows host
// a document object created through the ObjectActivator by ProgID.
//
// ClickCommand plays the user choosing a menu command (see memory_command_bars.h).
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/memory_addins.h"
#include "host/memory_code.h"
#include "host/memory_command_bars.h"
#include "host/memory_windows.h"
#include "host/vbide.h"

namespace vbide {

class MemoryVbe : public VBE, public std::enable_shared_from_this<MemoryVbe> {
 public:
  static std::shared_ptr<MemoryVbe> Create();

  // The contract.
  vb::Object<CodePane> ActiveCodePane() override;
  vb::Object<VBComponent> SelectedVBComponent() override;
  vb::Object<vbide::Addins> Addins() override { return addIns_->Addins(); }
  vb::Object<vbide::Windows> Windows() override { return windows_->Windows(); }
  vb::Object<Window> MainWindow() override { return windows_->MainWindow(); }
  long DisplayModel() override { return displayModel_; }
  vb::Object<vbide::Events> Events() override { return menus_->Events(); }
  vb::Object<vbide::CommandBars> CommandBars() override { return menus_->CommandBars(); }

  // Modules. Names are unique; adding an existing name replaces that module's lines.
  std::shared_ptr<MemoryCodeModule> AddModule(const std::string& name,
                                              std::vector<std::string> lines);
  std::shared_ptr<MemoryCodeModule> FindModule(const std::string& name) const;
  // Makes the module's pane the active one; false when there is no such module.
  bool Activate(const std::string& name);
  void Deactivate() { active_.clear(); }
  // The pane of the module (active or not), or nullptr.
  vb::Object<CodePane> PaneOf(const std::string& name) const;
  // The selected component: a module's, none, or (the default) the active pane's.
  bool SelectComponent(const std::string& name);
  void SelectNoComponent() { selected_ = Selected::kNone; }
  void SetDisplayModel(long model) { displayModel_ = model; }

  // The add-in list and object creation.
  void ListAddIn(const std::string& progId, const std::string& description) {
    addIns_->List(progId, description);
  }
  void SetActivator(ObjectActivator* activator) { windows_->SetActivator(activator); }
  int AddinsUpdates() const { return addIns_->Updates(); }

  // Menus and toolbars: captions of a menu of the menu bar ("View"), or of a command bar by name.
  std::optional<std::vector<std::string>> MenuCaptions(const std::string& menu) const {
    return menus_->Captions(menu);
  }
  // Puts a button for an add-in on the Add-In toolbar, as the IDE does for an add-in started
  // from there; its Parameter is the ProgID.
  void AddAddInToolbarButton(const std::string& caption, const std::string& progId) {
    menus_->AddAddInToolbarButton(caption, progId);
  }
  // The user chooses the command of that caption in a menu; nullopt when there is none.
  std::optional<CommandResult> ClickCommand(const std::string& menu, const std::string& caption) {
    return menus_->Click(menu, caption);
  }

  // Tool windows: the most recently created one that is not closed, or Nothing.
  std::optional<ToolWindowState> LatestToolWindow() const { return windows_->LatestToolWindow(); }
  // The user closes the latest tool window (it is hidden, as the IDE hides tool windows).
  void UserCloseToolWindow() { windows_->UserCloseToolWindow(); }

 private:
  MemoryVbe() = default;

  struct Module {
    std::shared_ptr<MemoryCodeModule> Code;
    std::shared_ptr<MemoryCodePane> Pane;
    std::shared_ptr<MemoryComponent> Component;
  };
  std::map<std::string, Module> modules_;
  std::string active_;  // empty: no active pane
  enum class Selected { kFollowActive, kNone, kNamed } selected_ = Selected::kFollowActive;
  std::string selectedName_;
  long displayModel_ = vbext_dm_MDI;
  std::shared_ptr<MemoryAddInList> addIns_ = std::make_shared<MemoryAddInList>();
  std::shared_ptr<MemoryMenus> menus_ = std::make_shared<MemoryMenus>();
  std::shared_ptr<MemoryWindowList> windows_ = std::make_shared<MemoryWindowList>();
};

}  // namespace vbide
