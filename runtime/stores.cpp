#include "runtime/stores.h"

#include "runtime/vb/strings.h"

namespace rt {

SettingsStore::~SettingsStore() = default;
RegistryStore::~RegistryStore() = default;

std::optional<std::string> MemorySettingsStore::Get(const std::string& app,
                                                    const std::string& section,
                                                    const std::string& key) const {
  auto it = values_.find({app, section, key});
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

void MemorySettingsStore::Save(const std::string& app, const std::string& section,
                               const std::string& key, const std::string& value) {
  values_[{app, section, key}] = value;
}

void MemorySettingsStore::Delete(const std::string& app, const std::string& section,
                                 const std::string& key) {
  values_.erase({app, section, key});
}

namespace {

std::string NormalKey(const std::string& key) {
  std::string k = vb::LCase(key);
  while (!k.empty() && k.front() == '\\')
    k.erase(0, 1);
  while (!k.empty() && k.back() == '\\')
    k.pop_back();
  return k;
}

}  // namespace

std::optional<std::string> MemoryRegistryStore::GetValue(const std::string& key,
                                                         const std::string& valueName) const {
  auto k = keys_.find(NormalKey(key));
  if (k == keys_.end()) return std::nullopt;
  auto v = k->second.find(vb::LCase(valueName));
  if (v == k->second.end()) return std::nullopt;
  return v->second;
}

void MemoryRegistryStore::SetValue(const std::string& key, const std::string& valueName,
                                   const std::string& value) {
  std::string k = NormalKey(key);
  // Parents exist implicitly, as the registry creates them.
  for (std::size_t at = k.find('\\'); at != std::string::npos; at = k.find('\\', at + 1))
    keys_.try_emplace(k.substr(0, at));
  keys_[k][vb::LCase(valueName)] = value;
}

bool MemoryRegistryStore::KeyExists(const std::string& key) const {
  return keys_.count(NormalKey(key)) > 0;
}

void MemoryRegistryStore::DeleteTree(const std::string& key) {
  std::string k = NormalKey(key);
  std::string below = k + "\\";
  for (auto it = keys_.begin(); it != keys_.end();) {
    if (it->first == k || it->first.compare(0, below.size(), below) == 0)
      it = keys_.erase(it);
    else
      ++it;
  }
}

}  // namespace rt
