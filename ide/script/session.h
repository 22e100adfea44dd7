// One scenario file's world: a fresh platform (the recording headless one, or the Qt one that
// draws every window), a fresh in-memory IDE with the add-in registered and listed, a fresh
// add-in folder, and the add-in's life as the commands drive it.
//
// Run executes one command and returns what it printed: the output of the looking commands, and
// every message box and file dialog shown meanwhile. A fault of the scenario (unknown command,
// form, control or property; a number out of the range of a Long; a question left unanswered;
// an unreadable file) raises ScenarioError with the command's line. The add-in library is
// registered when the session starts; when that fails, `connect` raises the reason. The copies of
// the add-in's folder are made inside TempRoot and removed with the session.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/memory_ide.h"
#include "ide/core/addin_manager.h"
#include "ide/core/com_runtime.h"
#include "ide/core/vbsource.h"
#include "ide/script/scenario.h"
#include "ide/script/scripted_platform.h"
#include "runtime/forms/forms.h"

namespace script {

struct SessionOptions {
  std::filesystem::path AddinLibrary;  // the add-in's library, registered at start
  std::filesystem::path ShippedData;   // the folder of the shipped databases (may not exist)
  std::filesystem::path ScenarioDir;   // relative paths are taken from here
  std::string ProgId;                  // the add-in's connection class, which `connect` loads
  std::string SettingsApp;             // the application `setting` and `print setting` use
  std::string Platform = "headless";   // "headless" or "qt"
  std::filesystem::path Pictures;      // when set, pictures of the shown windows after each command
  std::filesystem::path TempRoot;      // where the copies of the add-in's folder are made
};

class Session : public forms::FormObserver {
 public:
  explicit Session(SessionOptions options);
  ~Session() override;
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  std::vector<std::string> Run(const Command& command);

  void FormLoaded(forms::Form& form) override { lastHwnd_[form.Name()] = form.hWnd(); }

 private:
  using Args = std::vector<std::string>;
  struct Target;

  struct CommandSpec;
  static const std::map<std::string, CommandSpec, std::less<>>& Commands();
  void Dispatch(const Command& c);
  void Print(std::string line) { output_.push_back(std::move(line)); }
  std::filesystem::path PathOf(const std::string& arg) const;
  void UseAddinFolder(const std::filesystem::path& from);

  // Set-up.
  void AddModule(const Command& c);
  void SaveModule(const Command& c);
  void Activate(const Command& c);
  void Deactivate(const Command& c);
  void SelectComponent(const Command& c);
  void Select(const Command& c);
  void SetScreen(const Command& c);
  void SetToday(const Command& c);
  void WriteSetting(const Command& c);
  void SetAppDir(const Command& c);
  void SetDisplay(const Command& c);
  // The add-in's life.
  void ConnectAddin(const Command& c);
  void DisconnectAddin(const Command& c);
  void ChooseMenu(const Command& c);
  void CloseToolWindow(const Command& c);
  // The user's actions.
  void QueueAnswers(const Command& c);
  void QueueFileDialog(const Command& c);
  void UserOnControl(const Command& c);
  void UserOnWindow(const Command& c);
  void SetProperty(const Command& c);
  void Mouse(const Command& c);
  // Looking.
  void PrintCommand(const Command& c);
  void PrintTarget(const Target& t);
  void PrintTree(const forms::TreeView& tree);
  void PrintModule(const std::string& name);

  forms::Form& FindForm(const std::string& name) const;
  forms::Control& FindControl(const Target& t) const;
  // The user can reach the control: its window visible, it and its containers visible and
  // enabled.
  void RequireUsable(const forms::Control& control) const;

  SessionOptions options_;
  int line_ = 0;  // of the command under way
  std::vector<std::string> output_;
  std::unique_ptr<ScriptedPlatform> platform_;
  std::shared_ptr<vbide::MemoryVbe> vbe_;
  ide::ComRuntime com_;
  std::unique_ptr<ide::AddinManager> addins_;
  std::string addinDescription_;
  std::map<std::string, ide::SourceFile> files_;  // modules read from files, as read
  std::map<std::string, long> lastHwnd_;
  std::vector<std::filesystem::path> tempFolders_;
  std::string registrationError_;  // why the add-in library could not be registered
};

}  // namespace script
