#include "ide/gui/addin_list.h"

#include "runtime/platform.h"
#include "runtime/qt/convert.h"

namespace ide::gui {

using rt::qt::FromQ;
using rt::qt::ToQ;

namespace {

const char kGroup[] = "Add-Ins32";

// Sets `slot` to `value` for the life of the scope.
struct Setting {
  std::string& slot;
  std::string old;
  Setting(std::string& s, const std::string& value) : slot(s), old(s) { slot = value; }
  ~Setting() { slot = old; }
};

}  // namespace

AddinList::~AddinList() = default;

QString AddinList::Key(const std::string& progId) {
  return QString(kGroup) + "/" + ToQ(progId);
}

std::vector<ListedAddin> AddinList::Entries() const {
  std::vector<ListedAddin> list;
  settings_.beginGroup(kGroup);
  const QStringList keys = settings_.childKeys();
  settings_.endGroup();
  for (const QString& key : keys) {
    ListedAddin a;
    a.ProgId = FromQ(key);
    a.Description = rt::CurrentPlatform().Registry().GetValue(a.ProgId, "").value_or(a.ProgId);
    a.Connected = IsConnected(a.ProgId);
    list.push_back(std::move(a));
  }
  return list;
}

bool AddinList::IsListed(const std::string& progId) const {
  return settings_.contains(Key(progId));
}

void AddinList::List(const std::string& progId, bool loadOnStartup) {
  if (!IsListed(progId)) SetLoadOnStartup(progId, loadOnStartup);
}

bool AddinList::LoadOnStartup(const std::string& progId) const {
  return settings_.value(Key(progId), 0).toInt() == 1;
}

void AddinList::SetLoadOnStartup(const std::string& progId, bool load) {
  settings_.setValue(Key(progId), load ? 1 : 0);
  settings_.sync();
}

bool AddinList::IsConnected(const std::string& progId) const {
  auto it = connected_.find(progId);
  return it != connected_.end() && it->second->IsConnected();
}

bool AddinList::Connect(const std::string& progId, long mode) {
  if (IsConnected(progId)) return true;
  auto manager = std::make_unique<ide::AddinManager>(vbe_, activator_);
  Setting connecting(connecting_, progId);
  try {
    ide::AddinManager& m = *manager;
    connected_[progId] = std::move(manager);
    m.Connect(progId, mode);
    return true;
  } catch (const vb::Error& e) {
    connected_.erase(progId);
    auto* com = dynamic_cast<ide::ComRuntime*>(&activator_);
    std::string why = com && !com->LastError().empty() ? com->LastError() : e.Description;
    vb::MsgBox("'" + progId + "' could not be loaded.\r\n\r\n" + why, vb::vbCritical,
               "Add-In Manager");
    return false;
  }
}

void AddinList::Disconnect(const std::string& progId, long removeMode) {
  auto it = connected_.find(progId);
  if (it == connected_.end()) return;
  std::unique_ptr<ide::AddinManager> manager = std::move(it->second);
  connected_.erase(it);
  Setting connecting(connecting_, progId);
  if (manager->IsConnected()) manager->Disconnect(removeMode);
}

void AddinList::StartUp() {
  for (const ListedAddin& a : Entries())
    if (LoadOnStartup(a.ProgId)) Connect(a.ProgId, vbide::vbext_cm_Startup);
}

void AddinList::ShutDown() {
  std::vector<std::string> loaded;
  for (auto& [progId, manager] : connected_)
    loaded.push_back(progId);
  for (const std::string& progId : loaded)
    Disconnect(progId, vbide::vbext_dm_HostShutdown);
}

}  // namespace ide::gui
