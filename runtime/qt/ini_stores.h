// The settings and registry stores of the Qt platform, each an INI file kept through QSettings.
//
// Settings: one key per application, section and name, as GetSetting and SaveSetting name them
// ([Brindlewick] holds Settings\Width=10230). Registry: one group per key path, its parts
// folded to lower case as the registry compares them; a key's default value is stored under
// the name "@". Every change is written to the file before the call returns.
#pragma once

#include <memory>
#include <string>

#include "runtime/stores.h"

class QSettings;

namespace rt::qt {

class IniSettingsStore : public SettingsStore {
 public:
  explicit IniSettingsStore(const std::string& path);
  ~IniSettingsStore() override;
  std::optional<std::string> Get(const std::string& app, const std::string& section,
                                 const std::string& key) const override;
  void Save(const std::string& app, const std::string& section, const std::string& key,
            const std::string& value) override;
  void Delete(const std::string& app, const std::string& section, const std::string& key) override;

 private:
  std::unique_ptr<QSettings> file_;
};

class IniRegistryStore : public RegistryStore {
 public:
  explicit IniRegistryStore(const std::string& path);
  ~IniRegistryStore() override;
  std::optional<std::string> GetValue(const std::string& key,
                                      const std::string& valueName) const override;
  void SetValue(const std::string& key, const std::string& valueName,
                const std::string& value) override;
  bool KeyExists(const std::string& key) const override;
  void DeleteTree(const std::string& key) override;

 private:
  std::unique_ptr<QSettings> file_;
};

}  // namespace rt::qt
