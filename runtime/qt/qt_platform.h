// The desktop platform: what a VB program gets from Windows, given by Qt.
//
// Message boxes are QMessageBoxes with the icon, buttons and default button of their VB style;
// the file-open dialog is a QFileDialog with the request's title, filter (converted from VB's
// "Description|patterns" pairs), folder and file name; the screen is the primary screen's size;
// SetWindowPos moves and sizes the window of that handle (the renderer's), keeps it above the
// others for HWND_TOPMOST and shows it without activation when asked; DoEvents processes the
// pending events. Settings and registry are INI files in the given folder ("settings.ini",
// "registry.ini"). The last SetWindowPos call of each window is kept, as the headless platform
// keeps it.
//
// REQUIRES: a QApplication exists for the platform's whole life, and the platform is used on
// its thread only.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "runtime/headless/headless_platform.h"  // SetWindowPosCall
#include "runtime/platform.h"
#include "runtime/qt/ini_stores.h"

class QMessageBox;
class QFileDialog;

namespace rt::qt {

class Renderer;

class QtPlatform : public Platform {
 public:
  // `configFolder`: where the two INI files live (created when missing); empty for the user's
  // configuration folder (~/.config/Brindlewick).
  explicit QtPlatform(const std::string& configFolder = "");
  ~QtPlatform() override;

  long MsgBox(const std::string& prompt, long buttons, const std::string& title) override;
  std::optional<std::string> ShowOpen(const FileDialogRequest& request) override;
  double ScreenWidth() override;
  double ScreenHeight() override;
  long SetWindowPos(long hwnd, long insertAfter, long x, long y, long cx, long cy,
                    long flags) override;
  void DoEvents() override;
  SettingsStore& Settings() override { return settings_; }
  RegistryStore& Registry() override { return registry_; }
  vb::Date Today() override;
  const vb::DateLocale& Locale() override { return vb::DateLocale::English(); }
  std::string AddinFolder() override { return addinFolder_; }

  void SetAddinFolder(std::string folder) { addinFolder_ = std::move(folder); }
  // The renderer whose windows SetWindowPos places; none: the call is only recorded.
  void SetRenderer(Renderer* renderer) { renderer_ = renderer; }
  std::optional<SetWindowPosCall> LastSetWindowPos(long hwnd) const;
  const std::string& ConfigFolder() const { return configFolder_; }

 protected:
  // Runs the box built for a MsgBox call and returns the VB answer of the button pressed.
  virtual long RunMessageBox(QMessageBox& box, const std::string& prompt, long buttons,
                             const std::string& title);
  // Runs the dialog built for ShowOpen; the chosen path, or nullopt when cancelled.
  virtual std::optional<std::string> RunFileDialog(QFileDialog& dialog,
                                                   const FileDialogRequest& request);
  // The VB answer a button of a box stands for; 0 for none.
  static long AnswerOf(QMessageBox& box);
  // Whether a shown window stays on top (a dialog after SetWindowPos -1): a box or a file dialog
  // must then stay on top too, or it opens behind the window it blocks.
  static bool AnyTopMostWindow();

 private:
  std::string configFolder_;
  IniSettingsStore settings_;
  IniRegistryStore registry_;
  std::string addinFolder_;
  Renderer* renderer_ = nullptr;
  std::map<long, SetWindowPosCall> lastPos_;
};

}  // namespace rt::qt
