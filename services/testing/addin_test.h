// Test support for the add-in's windows and dialogs.
//
// AddinTest is a fixture base that gives each test the world the add-in runs in. SetUp installs
// a headless platform (platform_) and the add-in's version info, creates an in-memory IDE (vbe_)
// and sets it as VBInst, and starts recording the platform's transcript. Helpers add modules
// written in the code notation (code_text.h), make one of them the module
// under test with its pane active, and move the caret or the selection in the active pane; the
// module's lines and the message boxes shown can then be read. TearDown unloads every form
// tracked with UnloadAtEnd or WatchDialog (the last tracked first), clears VBInst and uninstalls
// the platform.
//
// A derived fixture that overrides SetUp or TearDown calls AddinTest's from its own, SetUp
// before its own set-up. A tracked form must live until TearDown (a member of the fixture or a
// default instance, never a local of the test).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/memory_ide.h"
#include "runtime/forms/form.h"
#include "runtime/headless/headless_platform.h"

namespace bw {

class AddinTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Adds a module holding `code` (an existing module of that name is replaced) and returns it.
  std::shared_ptr<vbide::MemoryCodeModule> AddModule(const std::string& name,
                                                     std::string_view code);
  // Adds the module, makes its pane the active one and keeps it as the module under test.
  void UseModule(std::string_view code, const std::string& name = "Module1");
  // Moves the caret, or selects, in the active pane. REQUIRES: a pane is active.
  void Caret(long line, long column = 1);
  void Select(long startLine, long startColumn, long endLine, long endColumn);

  // The lines of the module under test. REQUIRES: module_ is set (UseModule sets it).
  const std::vector<std::string>& ModuleLines() const;
  // The message boxes shown so far, in order.
  const std::vector<rt::MsgBoxRecord>& MessageBoxes() const;
  // Expects exactly one message box to have come up, and returns it (an empty record if none).
  rt::MsgBoxRecord OnlyBox() const;

  // Unloads `form` when the test ends, whatever happened.
  void UnloadAtEnd(forms::Form& form);
  // The default instance of a dialog class, unloaded when the test ends.
  template <class T>
  T& DefaultDialog() {
    T& dialog = forms::DefaultInstance<T>();
    UnloadAtEnd(dialog);
    return dialog;
  }
  // Makes `dialog` the dialog under test: it is unloaded when the test ends, and at each message
  // box its visibility is added to visibleAtBox_ and its window handle kept in hwndAtBox_.
  void WatchDialog(forms::Form& dialog);

  rt::HeadlessPlatform platform_;
  std::shared_ptr<vbide::MemoryVbe> vbe_ = vbide::MemoryVbe::Create();
  std::shared_ptr<vbide::MemoryCodeModule> module_;  // the module under test
  std::vector<std::string> transcript_;              // every line of the platform's transcript
  std::vector<bool> visibleAtBox_;
  long hwndAtBox_ = 0;

 private:
  std::vector<forms::Form*> unloadAtEnd_;
  forms::Form* watched_ = nullptr;
};

// One line per control of the form, in their order: its display name, " in " its container and
// " tab " its tab there when it has them, " NAME=VALUE" for each of `properties` it has, a text
// box's scroll bars when it has any, a tab control's captions (" tabs A|B"), then " disabled"
// and " invisible" where they apply.
std::string DescribeControls(const forms::Form& form, const std::vector<const char*>& properties);

}  // namespace bw
