// The in-memory IDE: the IDE contract over modules held as vectors of lines, for tests and the
// scenario runner.
//
// Set-up calls (AddModule, Activate, SelectComponent, SetDisplayModel, ListAddIn, ...) build the
// IDE's state; the contract's calls then behave as the VB6 IDE's do: a module's code pane can
// be active or not (no active pane: ActiveCodePane is Nothing), the selected component follows
// the active pane unless set, the View menu and the other menus start empty, tool windows host
// a document object created through the ObjectActivator by ProgID.
//
// ClickCommand plays the user choosing a menu command: every Click sink advised on it hears the
// click, in order of advice; a failing sink's HRESULT and error come back to the caller.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/vbide.h"

namespace vbide {

class MemoryVbe;

class MemoryCodeModule : public CodeModule {
 public:
  explicit MemoryCodeModule(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  std::string Lines(long startLine, long count) override;
  long CountOfLines() override { return static_cast<long>(lines_.size()); }
  void InsertLines(long line, const std::string& text) override;
  void ReplaceLine(long line, const std::string& text) override;
  void DeleteLines(long startLine, long count) override;

  const std::vector<std::string>& AllLines() const { return lines_; }
  void SetAllLines(std::vector<std::string> lines) { lines_ = std::move(lines); }

 private:
  std::vector<std::string> lines_;
};

// Splits text at each CR LF: "a\r\nb" gives {"a", "b"}, "a\r\n" gives {"a", ""}.
std::vector<std::string> SplitCrLf(const std::string& text);

struct CommandResult {
  com::HRESULT Result = com::S_OK;
  std::optional<vb::Error> Error;  // what the failing sink reported
};

class MemoryVbe : public VBE, public std::enable_shared_from_this<MemoryVbe> {
 public:
  static std::shared_ptr<MemoryVbe> Create();

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
  void Deactivate();
  // The pane of the module (active or not), or nullptr.
  vb::Object<CodePane> PaneOf(const std::string& name) const;
  // The selected component: a module's, none, or (the default) the active pane's.
  bool SelectComponent(const std::string& name);
  void SelectNoComponent();
  void SetDisplayModel(long model) { displayModel_ = model; }

  // The add-in list and object creation.
  void ListAddIn(const std::string& progId, const std::string& description);
  void SetActivator(ObjectActivator* activator) { activator_ = activator; }
  ObjectActivator* Activator() const { return activator_; }
  int AddinsUpdates() const;

  // Menus and toolbars: captions of a menu of the menu bar ("View"), or of a command bar by name.
  std::optional<std::vector<std::string>> MenuCaptions(const std::string& menu) const;
  // Puts a button for an add-in on the Add-In toolbar, as the IDE does for an add-in started
  // from there; its Parameter is the ProgID.
  void AddAddInToolbarButton(const std::string& caption, const std::string& progId);
  // The user chooses the command of that caption in a menu; nullopt when there is none.
  std::optional<CommandResult> ClickCommand(const std::string& menu, const std::string& caption);

  // Tool windows: the most recently created one that is not closed, or Nothing.
  struct ToolWindowState {
    std::string Caption;
    bool Visible = false;
    bool Docked = false;
    forms::Form* Document = nullptr;
  };
  std::optional<ToolWindowState> LatestToolWindow() const;
  // The user closes the latest tool window (it is hidden, as the IDE hides tool windows).
  void UserCloseToolWindow();

  // Used by the implementation objects.
  struct State;
  State& state() { return *state_; }

 private:
  MemoryVbe();
  std::unique_ptr<State> state_;
  long displayModel_ = vbext_dm_MDI;
  ObjectActivator* activator_ = nullptr;
};

}  // namespace vbide
