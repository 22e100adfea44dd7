// The real IDE for tests and tools, driven through its widgets.
//
// IdeHarness makes (once per process) the application, offscreen unless QT_QPA_PLATFORM says;
// then a fresh configuration folder, a Qt platform whose message boxes are answered from a queue
// and recorded (unanswered: the answer that changes least), the renderer and an IdeWindow, with
// the add-in library registered and listed as an installer would. The add-in's folder is a fresh
// copy of the given one, else of $BRINDLEWICK_DATA_DIR.
//
// The gestures find widgets by their object names, as a person finds them by sight: a form's
// window is named as the form, a control's widget as the control ("Option1(4)"), the IDE's
// actions and widgets by the names ide_window.cpp gives them.
#pragma once

#include <QString>
#include <QWidget>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ide/gui/ide_window.h"
#include "runtime/qt/qt_platform.h"
#include "runtime/qt/renderer.h"

class QAction;

namespace ide::gui::testing {

struct ShownBox {
  std::string Title;
  std::string Prompt;
  long Style;
};

// Message boxes answered by the harness.
class AnsweringPlatform : public rt::qt::QtPlatform {
 public:
  using QtPlatform::QtPlatform;
  std::deque<long> Answers;
  std::vector<ShownBox> Shown;

 protected:
  long RunMessageBox(QMessageBox& box, const std::string& prompt, long buttons,
                     const std::string& title) override;
};

class IdeHarness {
 public:
  struct Options {
    std::filesystem::path AddinLibrary;  // empty: no add-in registered
    std::filesystem::path DataFolder;    // empty: $BRINDLEWICK_DATA_DIR (or an empty folder)
    IdeOptions Ide;
    bool ListAtStartup = true;
  };
  explicit IdeHarness(Options options);
  ~IdeHarness();
  IdeHarness(const IdeHarness&) = delete;
  IdeHarness& operator=(const IdeHarness&) = delete;

  // The application; offscreen unless QT_QPA_PLATFORM names another platform.
  static void EnsureApplication();

  IdeWindow& Ide() { return *ide_; }
  AnsweringPlatform& Platform() { return *platform_; }
  rt::qt::Renderer& Renderer() { return *renderer_; }
  const std::filesystem::path& ConfigFolder() const { return config_; }
  // A fresh IDE window over the same configuration (the IDE started again).
  void Restart();

  // Lets pending events run (deferred redraws, deletions).
  static void Settle();

  // Gestures.
  QWidget* FormWindow(const std::string& form) const;
  template <class W>
  W* Control(const std::string& form, const std::string& control) const {
    QWidget* window = FormWindow(form);
    return window ? window->findChild<W*>(QString::fromStdString(control)) : nullptr;
  }
  // Clicks button `index` (1-based) of the form's toolbar `toolbar`.
  bool ClickToolbarButton(const std::string& form, const std::string& toolbar, long index);
  bool ClickButton(const std::string& form, const std::string& control);
  // Types the text into a text box, key by key, after selecting what it held.
  bool TypeInto(const std::string& form, const std::string& control, const QString& text);
  // Clicks the entry of that text in a list box, or the node reached by these texts in a tree.
  bool ChooseItem(const std::string& form, const std::string& control, const std::string& text);
  bool ClickNode(const std::string& form, const std::string& control,
                 const std::vector<std::string>& path);
  QAction* Action(const char* name) const;
  bool Trigger(const char* name);
  CodeEditor* Editor(const std::string& module) const;
  // Sets the selection of the module's editor as the user would (1-based, as the IDE shows it)
  // and makes its window the active one.
  void Select(const std::string& module, long startLine, long startColumn, long endLine,
              long endColumn);

 private:
  void Start();

  Options options_;
  std::filesystem::path config_;
  std::filesystem::path data_;
  std::unique_ptr<AnsweringPlatform> platform_;
  std::unique_ptr<rt::qt::Renderer> renderer_;
  std::unique_ptr<IdeWindow> ide_;
};

// The lines of an editor joined by LF, for comparing with a raw string literal.
std::string Text(const CodeEditor& editor);

}  // namespace ide::gui::testing
