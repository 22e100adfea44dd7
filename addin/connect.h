// The add-in's connection class: what the IDE creates by the ProgID "Brindlewick.Connect" and
// drives through its connection events.
//
// On connection it keeps the IDE's root object in VBInst. Connected from the add-in manager
// after start-up (mode 0) it creates the docked tool window and the View-menu command at once;
// at start-up or from the command line (modes 1, 3) it does so when the IDE reports start-up
// complete; started from the Add-In toolbar (mode 2) it only explains, in a message, that it
// needs the add-in manager, and asks for its toolbar button to be removed. Unloaded by the user
// it closes the tool window and deletes the menu command; at IDE shutdown it leaves both.
//
// The connection events and CommandBar_Click have no error handling of their own: a failure is
// returned to the IDE as a failed HRESULT with the error kept (com::TakeError). DisplayLog
// reports its own failures with the critical report.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "addin/com_object.h"
#include "addin/registry_menu_toolbar.h"
#include "host/vbide.h"

namespace bw {

class Connect;

// A WithEvents variable over a command bar event source: binding advises Connect's handler on
// the source, binding Nothing (or dropping the variable) unadvises it and releases the source.
class CommandBarEventsVariable : public vbide::CommandBarEventsSink {
 public:
  explicit CommandBarEventsVariable(Connect* owner) : owner_(owner) {}
  ~CommandBarEventsVariable() override;
  void Bind(vb::Object<vbide::CommandBarEvents> source);
  bool IsNothing() const { return source_.IsNothing(); }
  com::HRESULT Click(vb::Object<vbide::CommandBarControl> control, bool& handled,
                     bool& cancelDefault) noexcept override;

 private:
  Connect* owner_;
  vb::Object<vbide::CommandBarEvents> source_;
  long cookie_ = 0;
};

// The prompt of the message shown when the add-in is started from the Add-In toolbar.
std::string ExternalStartMessage();

class Connect final : public ComObject<vbide::IDTExtensibility> {
 public:
  Connect();
  // Releases, in this order: the CommandBar event source, the toolbar, menu and registry
  // components, the menu item and the tool window.
  ~Connect() override;

  // The connection interface, as the IDE calls it.
  com::HRESULT OnConnection(vb::Object<vbide::VBE> application, long connectMode,
                            vb::Object<vbide::AddIn> addInInst,
                            std::vector<std::string>& custom) noexcept override;
  com::HRESULT OnDisconnection(long removeMode, std::vector<std::string>& custom) noexcept override;
  com::HRESULT OnAddInsUpdate(std::vector<std::string>& custom) noexcept override;
  com::HRESULT OnStartupComplete(std::vector<std::string>& custom) noexcept override;

  // The event routines behind them.
  void IDTExtensibility_OnConnection(vb::Object<vbide::VBE> VBInst, long ConnectMode,
                                     vb::Object<vbide::AddIn> AddInInst);
  void IDTExtensibility_OnStartupComplete();
  void IDTExtensibility_OnAddInsUpdate();
  void IDTExtensibility_OnDisconnection(long RemoveMode);
  void CommandBar_Click(vb::Object<vbide::CommandBarControl> CommandBarControl, bool& handled,
                        bool& CancelDefault);

  // The View-menu command's event source.
  CommandBarEventsVariable CommandBar{this};

 private:
  void DisplayLog();
  void AddMenuItem(const std::string& caption);

  vb::Object<vbide::Window> toolWindow_;
  std::unique_ptr<ToolbarAccess> toolbarComponent_;
  std::unique_ptr<MenuAccess> menuComponent_;
  std::unique_ptr<RegistryAccess> registryComponent_;
  vb::Object<vbide::CommandBarControl> menuItem_;
};

}  // namespace bw
