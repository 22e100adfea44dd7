// The three helper components the connection class uses for registry reads, menu commands and
// the Add-In toolbar, done inside the add-in through the registry store and the IDE's objects.
#pragma once

#include <map>
#include <string>

#include "host/vbide.h"

namespace bw {

// Reads values of keys below HKEY_CLASSES_ROOT (root selector 0, the only root served).
class RegistryAccess {
 public:
  // A handle for the key. Raises an error when the root is not 0 or the key does not exist.
  long OpenKey(long rootSelector, const std::string& keyPath);
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
  // returns it. The byte, long and text arguments are accepted and not used.
  vb::Object<vbide::CommandBarControl> AddCommand(const vb::Object<vbide::VBE>& root,
                                                  const vb::Object<vbide::CommandBarControl>& menu,
                                                  const std::string& caption, unsigned char, long,
                                                  const std::string&);
};

class ToolbarAccess {
 public:
  // Removes the add-in's buttons (Parameter = progId) from the IDE's Add-In toolbar; result is
  // the number removed.
  void RemoveButton(const vb::Object<vbide::VBE>& root, const std::string& progId, long& result);
};

}  // namespace bw
