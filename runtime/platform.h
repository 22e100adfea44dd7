// The platform a VB program runs on: message boxes, the file-open dialog, the screen, the one
// Win32 call the add-in makes (SetWindowPos), the settings and registry stores, the clock and
// the add-in's own folder.
//
// The process that loads the add-in installs exactly one platform before anything calls the
// functions below (the desktop IDE a Qt one, the scenario runner and tests the recording
// headless one). The add-in never knows which one runs.
//
// REQUIRES: InstallPlatform has been called before any other function of this header.
#pragma once

#include <optional>
#include <string>

#include "runtime/stores.h"
#include "runtime/vb/dates.h"

namespace rt {

// What a file-open dialog is asked to show (the common dialog control's properties).
struct FileDialogRequest {
  std::string DialogTitle;
  std::string Filter;
  std::string FileName;
  std::string InitDir;
  long Flags = 0;
};

class Platform {
 public:
  virtual ~Platform();

  // Shows a message box and returns the answer (vbOK, vbYes, ...). `buttons` is the VB style.
  virtual long MsgBox(const std::string& prompt, long buttons, const std::string& title) = 0;
  // The file-open dialog; nullopt when the user cancels.
  virtual std::optional<std::string> ShowOpen(const FileDialogRequest& request) = 0;

  // The screen, in twips.
  virtual double ScreenWidth() = 0;
  virtual double ScreenHeight() = 0;

  virtual long SetWindowPos(long hwnd, long insertAfter, long x, long y, long cx, long cy,
                            long flags) = 0;
  // Lets pending window messages run.
  virtual void DoEvents() = 0;

  virtual SettingsStore& Settings() = 0;
  virtual RegistryStore& Registry() = 0;

  virtual vb::Date Today() = 0;
  virtual const vb::DateLocale& Locale() = 0;

  // The add-in's own folder (App.Path), where it finds its database files.
  virtual std::string AddinFolder() = 0;
};

void InstallPlatform(Platform* platform);
// REQUIRES: a platform is installed.
Platform& CurrentPlatform();
bool HasPlatform();

}  // namespace rt

namespace vb {

// Message box button and icon styles, and answers.
inline constexpr long vbOKOnly = 0;
inline constexpr long vbOKCancel = 1;
inline constexpr long vbAbortRetryIgnore = 2;
inline constexpr long vbYesNoCancel = 3;
inline constexpr long vbYesNo = 4;
inline constexpr long vbRetryCancel = 5;
inline constexpr long vbCritical = 16;
inline constexpr long vbQuestion = 32;
inline constexpr long vbExclamation = 48;
inline constexpr long vbInformation = 64;
inline constexpr long vbMsgBoxSetForeground = 65536;
inline constexpr long vbOK = 1;
inline constexpr long vbCancel = 2;
inline constexpr long vbAbort = 3;
inline constexpr long vbRetry = 4;
inline constexpr long vbIgnore = 5;
inline constexpr long vbYes = 6;
inline constexpr long vbNo = 7;

long MsgBox(const std::string& prompt, long buttons = vbOKOnly, const std::string& title = "");

// GetSetting with a default for a missing key, SaveSetting.
std::string GetSetting(const std::string& app, const std::string& section, const std::string& key,
                       const std::string& defaultValue = "");
void SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                 const std::string& value);

// Today's date from the clock (VB's Date).
Date Today();
// Format(Date, pattern) with the user's locale.
std::string FormatToday(std::string_view pattern);

void DoEvents();

// The App object: the add-in's folder and the version information of the running library.
struct VersionInfo {
  std::string FileDescription;
  std::string ProductName;
  std::string Title;
};
struct AppObject {
  std::string Path;
  std::string FileDescription;
  std::string Title;
};
// The library's version information; set once by the library when it loads, as a version
// resource would be (empty until then). Also makes Title the source of the library's run-time
// errors.
void SetVersionInfo(const VersionInfo& info);
AppObject App();

// The Screen object's size, in twips.
struct ScreenObject {
  double Width;
  double Height;
  double TwipsPerPixelX = 15;
  double TwipsPerPixelY = 15;
};
ScreenObject Screen();

}  // namespace vb

namespace win32 {

inline constexpr long HWND_TOPMOST = -1;
inline constexpr long SWP_NOACTIVATE = 0x10;
inline constexpr long SWP_SHOWWINDOW = 0x40;

long SetWindowPos(long hwnd, long insertAfter, long x, long y, long cx, long cy, long flags);

}  // namespace win32
