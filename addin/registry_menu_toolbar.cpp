#include "addin/registry_menu_toolbar.h"

#include "runtime/platform.h"

namespace bw {
namespace {

// ERROR_FILE_NOT_FOUND as an HRESULT, what the registry answers for a missing key or value.
constexpr long kNotFound = -2147024894;
constexpr long kInvalidHandle = -2147024890;

}  // namespace

long RegistryAccess::OpenKey(const std::string& keyPath) {
  if (!rt::CurrentPlatform().Registry().KeyExists(keyPath))
    throw vb::Error(kNotFound, "RegistryAccess",
                    "The registry key \"" + keyPath + "\" does not exist.");
  open_[next_] = keyPath;
  return next_++;
}

std::string RegistryAccess::ReadValue(long handle, const std::string& valueName) {
  auto key = open_.find(handle);
  if (key == open_.end())
    throw vb::Error(kInvalidHandle, "RegistryAccess", "The registry key handle is not open.");
  auto value = rt::CurrentPlatform().Registry().GetValue(key->second, valueName);
  if (!value)
    throw vb::Error(kNotFound, "RegistryAccess",
                    "The registry key \"" + key->second + "\" has no value \"" + valueName + "\".");
  return *value;
}

void RegistryAccess::CloseKey(long handle) {
  open_.erase(handle);
}

vb::Object<vbide::CommandBarControl> MenuAccess::AddCommand(
    const vb::Object<vbide::CommandBarControl>& menu, const std::string& caption) {
  return menu->Controls()->AddButton(caption);
}

void ToolbarAccess::RemoveButton(const vb::Object<vbide::VBE>& root, const std::string& progId) {
  auto controls = root->CommandBars()->Item("Add-In Toolbar")->Controls();
  for (long i = controls->Count(); i >= 1; --i) {
    auto control = controls->Item(i);
    if (control->Parameter() == progId) control->Delete();
  }
}

}  // namespace bw
