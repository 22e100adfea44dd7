// Command bars of the in-memory IDE: the menu bar with the IDE's menus, each starting empty, and
// the Add-In toolbar.
//
// Captions compare without the access-key ampersand and without regard to case. A deleted control
// leaves its bar, and every later call on it fails with "Method 'NAME' of object
// 'CommandBarControl' failed". Click plays the user choosing a command: every Click sink advised
// on it hears the click, in order of advice, through the event sources the add-in still holds; a
// failing sink's HRESULT and error come back to the caller.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/vbide.h"
#include "runtime/vb/error.h"

namespace vbide {

class MemoryBar;
class MemoryBarEvents;
class MemoryControls;

struct CommandResult {
  com::HRESULT Result = com::S_OK;
  std::optional<vb::Error> Error;  // what the failing sink reported
};

class MemoryMenus : public std::enable_shared_from_this<MemoryMenus> {
 public:
  MemoryMenus();
  ~MemoryMenus();

  // The contract's objects over these menus. Once the menus are gone, CommandBars raises 91 and
  // Events 5.
  vb::Object<vbide::CommandBars> CommandBars();
  vb::Object<vbide::Events> Events();

  // A menu is one of the menu bar ("View") or a command bar by name.
  std::optional<std::vector<std::string>> Captions(const std::string& menu) const;
  void AddAddInToolbarButton(const std::string& caption, const std::string& progId);
  std::optional<CommandResult> Click(const std::string& menu, const std::string& caption);

 private:
  class BarsObject;
  class EventsObject;

  std::shared_ptr<MemoryBar> Bar(const std::string& name) const;
  MemoryControls* MenuControls(const std::string& menu) const;

  std::vector<std::shared_ptr<MemoryBar>> bars_;
  std::vector<std::weak_ptr<MemoryBarEvents>> sources_;
};

}  // namespace vbide
