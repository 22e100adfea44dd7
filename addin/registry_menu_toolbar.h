// The connection class's registry, menu and toolbar helpers, done inside the add-in through the
// registry store and the IDE's objects.
#pragma once

#include <map>
#include <string>

#include "host/vbide.h"

namespace bw {

// Reads values of keys below HKEY_CLASSES_ROOT.
class RegistryAccess {
 public:
  // A handle for the key. Raises an error when the key does not exist.
  long OpenKey(const std::string& keyPath);
  // The value's text ("" names the key's default value). Raises an error when it is missing or
  // the handle is not open.
  std::string ReadValue(long handle, const std::string& valueName);
  void CloseKey(long handle);

 private:
  std::map<long, std::string> open_;
  long next_ = 1;
};

class MenuAccess {
 public:
  // Adds a command with that caption at the end of `menu` (a pop-up of the menu bar) and
  // returns it.
  vb::Object<vbide::CommandBarControl> AddCommand(const vb::Object<vbide::CommandBarControl>& menu,
                                                  const std::string& caption);
};

class ToolbarAccess {
 public:
  // Removes the add-in's buttons (Parameter = progId) from the IDE's Add-In toolbar.
  void RemoveButton(const vb::Object<vbide::VBE>& root, const std::string& progId);
};

}  // namespace bw
