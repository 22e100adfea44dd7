// One scenario file's world: a fresh headless platform, a fresh in-memory IDE with the add-in
// registered and listed, a fresh add-in folder, and the add-in's life as the commands drive it.
//
// Run executes one command and returns what it printed: the output of the looking commands, and
// every message box and file dialog shown meanwhile. A fault of the scenario (unknown command,
// form, control or property; a question left unanswered; an unreadable file) raises
// ScenarioError.
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
#include "runtime/forms/forms.h"
#include "runtime/headless/headless_platform.h"

namespace script {

struct SessionOptions {
  std::filesystem::path AddinLibrary;  // libbrindlewick.so
  std::filesystem::path ShippedData;   // the folder of the shipped databases (may not exist)
  std::filesystem::path ScenarioDir;   // relative paths are taken from here
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

  void Dispatch(const Command& c);
  void Print(std::string line) { output_.push_back(std::move(line)); }
  std::filesystem::path PathOf(const std::string& arg) const;

  // Set-up.
  void AddModule(const Command& c);
  void SaveModule(const Args& a);
  void SetAppDir(const std::filesystem::path& from);
  // The add-in's life.
  void ConnectAddin(long mode);
  // The user's actions.
  void UserOnControl(const Args& a);
  void SetProperty(const Args& a);
  void Mouse(const Args& a);
  // Looking.
  void PrintCommand(const Args& a);
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
  rt::HeadlessPlatform platform_;
  std::shared_ptr<vbide::MemoryVbe> vbe_;
  ide::ComRuntime com_;
  std::unique_ptr<ide::AddinManager> addins_;
  std::string addinDescription_;
  std::map<std::string, ide::SourceFile> files_;  // modules read from files, as read
  std::map<std::string, long> lastHwnd_;
  std::vector<std::filesystem::path> tempFolders_;
};

}  // namespace script
