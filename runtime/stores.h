// The two key-value stores a VB program reaches through the runtime: the per-user settings
// (GetSetting/SaveSetting) and the system registry. Both hold text values.
//
// The in-memory implementations here serve the headless platform and tests; a desktop platform
// keeps its values elsewhere. Registry key paths are compared without regard to case, as the
// registry does; settings names are compared exactly.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace rt {

class SettingsStore {
 public:
  virtual ~SettingsStore();
  // nullopt when the key is missing.
  virtual std::optional<std::string> Get(const std::string& app, const std::string& section,
                                         const std::string& key) const = 0;
  virtual void Save(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& value) = 0;
  virtual void Delete(const std::string& app, const std::string& section,
                      const std::string& key) = 0;
};

// Registry keys are paths below HKEY_CLASSES_ROOT, parts separated by "\". A value name of ""
// is the key's default value.
class RegistryStore {
 public:
  virtual ~RegistryStore();
  virtual std::optional<std::string> GetValue(const std::string& key,
                                              const std::string& valueName) const = 0;
  // Creates the key (and its parents) when missing.
  virtual void SetValue(const std::string& key, const std::string& valueName,
                        const std::string& value) = 0;
  virtual bool KeyExists(const std::string& key) const = 0;
  // Removes the key with its values and every key below it; nothing when missing.
  virtual void DeleteTree(const std::string& key) = 0;
};

class MemorySettingsStore : public SettingsStore {
 public:
  std::optional<std::string> Get(const std::string& app, const std::string& section,
                                 const std::string& key) const override;
  void Save(const std::string& app, const std::string& section, const std::string& key,
            const std::string& value) override;
  void Delete(const std::string& app, const std::string& section, const std::string& key) override;

 private:
  std::map<std::tuple<std::string, std::string, std::string>, std::string> values_;
};

class MemoryRegistryStore : public RegistryStore {
 public:
  std::optional<std::string> GetValue(const std::string& key,
                                      const std::string& valueName) const override;
  void SetValue(const std::string& key, const std::string& valueName,
                const std::string& value) override;
  bool KeyExists(const std::string& key) const override;
  void DeleteTree(const std::string& key) override;

 private:
  // Key paths folded to lower case, without leading or trailing "\".
  std::map<std::string, std::map<std::string, std::string>> keys_;
};

}  // namespace rt
