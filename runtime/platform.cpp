#include "runtime/platform.h"

#include "runtime/vb/error.h"

namespace rt {

Platform::~Platform() = default;

namespace {
Platform* g_platform = nullptr;
}

void InstallPlatform(Platform* platform) {
  g_platform = platform;
}

bool HasPlatform() {
  return g_platform != nullptr;
}

Platform& CurrentPlatform() {
  if (!g_platform) throw vb::RuntimeError(vb::kObjectNotSet);
  return *g_platform;
}

}  // namespace rt

namespace vb {

long MsgBox(const std::string& prompt, long buttons, const std::string& title) {
  // An empty title shows the application's title, as VB does.
  return rt::CurrentPlatform().MsgBox(prompt, buttons, title.empty() ? App().Title : title);
}

std::string GetSetting(const std::string& app, const std::string& section, const std::string& key,
                       const std::string& defaultValue) {
  auto v = rt::CurrentPlatform().Settings().Get(app, section, key);
  return v ? *v : defaultValue;
}

void SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                 const std::string& value) {
  rt::CurrentPlatform().Settings().Save(app, section, key, value);
}

Date Today() {
  return rt::CurrentPlatform().Today();
}

std::string FormatToday(std::string_view pattern) {
  rt::Platform& p = rt::CurrentPlatform();
  return FormatDate(p.Today(), pattern, p.Locale());
}

void DoEvents() {
  rt::CurrentPlatform().DoEvents();
}

namespace {
VersionInfo& Version() {
  static VersionInfo info;
  return info;
}
}  // namespace

void SetVersionInfo(const VersionInfo& info) {
  Version() = info;
  SetDefaultErrorSource(info.Title);
}

AppObject App() {
  return AppObject{rt::CurrentPlatform().AddinFolder(), Version().FileDescription, Version().Title};
}

ScreenObject Screen() {
  rt::Platform& p = rt::CurrentPlatform();
  return ScreenObject{p.ScreenWidth(), p.ScreenHeight()};
}

}  // namespace vb

namespace win32 {

long SetWindowPos(long hwnd, long insertAfter, long x, long y, long cx, long cy, long flags) {
  return rt::CurrentPlatform().SetWindowPos(hwnd, insertAfter, x, y, cx, cy, flags);
}

}  // namespace win32
