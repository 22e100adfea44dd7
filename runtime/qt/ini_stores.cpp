#include "runtime/qt/ini_stores.h"

#include <QSettings>

#include "runtime/qt/convert.h"
#include "runtime/vb/strings.h"

namespace rt::qt {
namespace {

// A name as one part of a QSettings key: "/" and "\" separate groups there, so they are
// escaped along with the escape character itself.
QString Part(const std::string& name) {
  QString s = ToQ(name);
  s.replace('%', "%25").replace('/', "%2F").replace('\\', "%5C");
  return s.isEmpty() ? QString("%20") : s;
}

QString SettingKey(const std::string& app, const std::string& section, const std::string& key) {
  return Part(app) + "/" + Part(section) + "/" + Part(key);
}

// "Brindlewick.ToolWindow\Clsid" as the group "brindlewick.toolwindow/clsid".
QString KeyGroup(const std::string& key) {
  QStringList parts;
  for (const QString& p : ToQ(vb::LCase(key)).split('\\', Qt::SkipEmptyParts))
    parts << Part(FromQ(p));
  return parts.join('/');
}

QString ValueKey(const std::string& key, const std::string& valueName) {
  QString name = valueName.empty() ? QString("@") : Part(vb::LCase(valueName));
  if (name == "@" && !valueName.empty()) name = "%40";
  return KeyGroup(key) + "/" + name;
}

// A value as text. A value written by hand with a comma and no quotes (UserName=Doe, Jane)
// is read by QSettings as a list; it is the text it was written as.
std::string TextOf(const QVariant& v) {
  if (v.typeId() == QMetaType::QStringList) return FromQ(v.toStringList().join(", "));
  return FromQ(v.toString());
}

std::unique_ptr<QSettings> OpenIni(const std::string& path) {
  return std::make_unique<QSettings>(ToQ(path), QSettings::IniFormat);
}

}  // namespace

IniSettingsStore::IniSettingsStore(const std::string& path) : file_(OpenIni(path)) {}
IniSettingsStore::~IniSettingsStore() = default;

std::optional<std::string> IniSettingsStore::Get(const std::string& app, const std::string& section,
                                                 const std::string& key) const {
  QVariant v = file_->value(SettingKey(app, section, key));
  if (!v.isValid()) return std::nullopt;
  return TextOf(v);
}

void IniSettingsStore::Save(const std::string& app, const std::string& section,
                            const std::string& key, const std::string& value) {
  file_->setValue(SettingKey(app, section, key), ToQ(value));
  file_->sync();
}

void IniSettingsStore::Delete(const std::string& app, const std::string& section,
                              const std::string& key) {
  file_->remove(SettingKey(app, section, key));
  file_->sync();
}

IniRegistryStore::IniRegistryStore(const std::string& path) : file_(OpenIni(path)) {}
IniRegistryStore::~IniRegistryStore() = default;

std::optional<std::string> IniRegistryStore::GetValue(const std::string& key,
                                                      const std::string& valueName) const {
  if (KeyGroup(key).isEmpty()) return std::nullopt;
  QVariant v = file_->value(ValueKey(key, valueName));
  if (!v.isValid()) return std::nullopt;
  return TextOf(v);
}

void IniRegistryStore::SetValue(const std::string& key, const std::string& valueName,
                                const std::string& value) {
  if (KeyGroup(key).isEmpty()) return;
  file_->setValue(ValueKey(key, valueName), ToQ(value));
  file_->sync();
}

bool IniRegistryStore::KeyExists(const std::string& key) const {
  QString group = KeyGroup(key);
  if (group.isEmpty()) return false;
  // A key exists while it, or a key below it, holds a value: parents exist implicitly, as the
  // registry creates them.
  for (const QString& k : file_->allKeys())
    if (k.startsWith(group + "/")) return true;
  return false;
}

void IniRegistryStore::DeleteTree(const std::string& key) {
  QString group = KeyGroup(key);
  if (group.isEmpty()) return;
  // The parent's value named as the key's last part has the group's own path in the file, and
  // QSettings would remove it with the group: it is put back.
  QVariant parentValue = file_->value(group);
  file_->remove(group);
  if (parentValue.isValid()) file_->setValue(group, parentValue);
  file_->sync();
}

}  // namespace rt::qt
