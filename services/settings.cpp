#include "services/settings.h"

#include "runtime/platform.h"
#include "runtime/vb/error.h"
#include "runtime/vb/numbers.h"
#include "services/shared_state.h"

namespace bw {
namespace {

std::string Read(const std::string& key) {
  return vb::GetSetting(kSettingsApp, kSettingsSection, key);
}

void Write(const std::string& key, const std::string& value) {
  vb::SaveSetting(kSettingsApp, kSettingsSection, key, value);
}

// Writes `value` unless the key already holds a non-empty text.
void Seed(const std::string& key, const std::string& value) {
  if (Read(key).empty()) Write(key, value);
}

std::string StoredNumber(double value) {
  return vb::Str(static_cast<float>(value));
}

double ReadNumber(const std::string& key) {
  return vb::Val(Read(key));
}

// The splitter is reached by name, as late-bound code reaches a form's control.
forms::Control& Splitter(forms::Form& window) {
  forms::Control* splitter = window.FindControl("imgSplitter");
  if (!splitter) throw vb::RuntimeError(vb::kObjectDoesNotSupport);
  return *splitter;
}

}  // namespace

void LoadWindowSettings(forms::Form& window) {
  vb::ScreenObject screen = vb::Screen();
  Seed("Width", "10230");
  Seed("Height", "6825");
  // The centring defaults use the window's size as it stands: still its design size.
  if (Read("Top").empty()) Write("Top", StoredNumber((screen.Height - window.Height()) / 2));
  if (Read("Left").empty()) Write("Left", StoredNumber((screen.Width - window.Width()) / 2));
  Seed("Splitter", "2295");
  Seed("UserName", "Unknown");

  CurrentUserName = Read("UserName");
  Splitter(window).SetLeft(ReadNumber("Splitter"));
  window.SetWidth(ReadNumber("Width"));
  window.SetHeight(ReadNumber("Height"));
  window.SetTop(ReadNumber("Top"));
  window.SetLeft(ReadNumber("Left"));
}

void SaveWindowSettings(forms::Form& window) {
  if (window.WindowState() == forms::vbNormal) {
    Write("Width", StoredNumber(window.Width()));
    Write("Height", StoredNumber(window.Height()));
    Write("Top", StoredNumber(window.Top()));
    Write("Left", StoredNumber(window.Left()));
  }
  Write("Splitter", StoredNumber(Splitter(window).Left()));
}

}  // namespace bw
