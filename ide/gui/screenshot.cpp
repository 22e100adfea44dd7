// ide-screenshot PROJECT.vbp OUT.png: a picture of the Brindlewick IDE at work, for the README.
//
// Starts the real IDE on a copy of the project with the add-in registered and loaded at start-up,
// puts the caret in the first module's code, presses the tool window's "Insert Message Box" and
// fills in the dialog, then pictures the whole screen. Run it on an X display (tools/
// ide_screenshot.sh starts Xvfb): offscreen there is no screen to picture.
#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <filesystem>
#include <iostream>

#include "ide/gui/testing/ide_harness.h"

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace fs = std::filesystem;
using ide::gui::testing::IdeHarness;

namespace {

void Wait(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

fs::path ProgramFolder() {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::current_path() : self.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: ide-screenshot PROJECT.vbp OUT.png\n";
    return 2;
  }
  const fs::path project = fs::absolute(argv[1]);
  const fs::path out = fs::absolute(argv[2]);
  IdeHarness harness({.AddinLibrary = ProgramFolder() / "libbrindlewick.so",
                      .DataFolder = ProgramFolder() / "data",
                      .Ide = {}});
  ide::gui::IdeWindow& ide = harness.Ide();
  const fs::path copy = harness.ConfigFolder() / "project";
  fs::create_directories(copy);
  for (const auto& e : fs::directory_iterator(project.parent_path()))
    if (e.is_regular_file()) fs::copy_file(e.path(), copy / e.path().filename());
  ide.resize(1180, 760);
  ide.move(10, 10);
  if (!ide.OpenProject(copy / project.filename())) return 1;
  ide.StartAddins();
  Wait(500);
  const std::string first = ide.Modules().front()->Name;
  harness.Select(first, 7, 1, 7, 1);
  if (!harness.ClickToolbarButton("ToolWindow", "Toolbar1", 1)) {
    std::cerr << "ide-screenshot: the tool window has no Insert Message Box button\n";
    return 1;
  }
  harness.TypeInto("frmAddMsgBox", "txtMsg", "Totalling the values.");
  harness.TypeInto("frmAddMsgBox", "txtTitle", "Example");
  harness.ClickButton("frmAddMsgBox", "Option1(4)");
  Wait(1000);
  QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
  QRect frame = ide.frameGeometry().united(harness.FormWindow("frmAddMsgBox")->frameGeometry());
  shot = shot.copy(frame.adjusted(-10, -10, 10, 10));
  if (!shot.save(QString::fromStdString(out.string()))) {
    std::cerr << "ide-screenshot: cannot write " << out << "\n";
    return 1;
  }
  std::cout << out.string() << "\n";
  return 0;
}
