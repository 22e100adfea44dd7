// brindlewick-ide [--sdi | --mdi] [--config DIR] [PROJECT.vbp | FILE...]
// brindlewick-ide [--config DIR] --register LIBRARY PROGID
//
// The Brindlewick IDE: opens a VB6 project or source files in code windows and loads the add-ins
// of its add-in list (those marked to load at start-up).
//
// --register is an installer's step: it registers the add-in library (its DllRegisterServer
// writes its classes into the registry) and lists PROGID in the IDE's add-in list, to load at
// start-up when it was not listed before; then it exits.
//
// The settings, the registry and the IDE's own settings (ide.ini: the add-in list, the display
// model, the window's layout) are INI files in the configuration folder: --config, else
// $BRINDLEWICK_CONFIG_DIR, else ~/.config/Brindlewick. The add-in finds its databases in its
// folder: $BRINDLEWICK_DATA_DIR, else the folder "data" beside this program. With
// $BRINDLEWICK_IDE_REPORT set, the IDE prints what it shows once it is up.
#include <QApplication>
#include <QCoreApplication>
#include <QDockWidget>
#include <QSettings>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "ide/gui/addin_list.h"
#include "ide/gui/ide_window.h"
#include "runtime/qt/convert.h"
#include "runtime/qt/qt_platform.h"
#include "runtime/qt/renderer.h"

// Fontconfig keeps its configuration for the life of the process, which LeakSanitizer would
// report at exit.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage =
    "usage: brindlewick-ide [--sdi | --mdi] [--config DIR] [PROJECT.vbp | FILE...]\n"
    "       brindlewick-ide [--config DIR] --register LIBRARY PROGID\n";

fs::path ProgramFolder() {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::current_path() : self.parent_path();
}

std::string FromEnvironment(const char* name, const std::string& fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::string(v) : fallback;
}

// What the IDE shows once it is up, for a test that cannot look inside the window: its title,
// the modules whose code windows are open, the tool window, then "shown".
void Report(ide::gui::IdeWindow& ide) {
  if (!ide.isVisible()) return;
  std::cout << "title " << rt::qt::FromQ(ide.windowTitle()) << "\n";
  for (const auto& m : ide.Modules())
    if (m->Frame->isVisible()) std::cout << "module " << m->Name << "\n";
  if (QDockWidget* dock = ide.Vbe().LatestToolDock())
    std::cout << "toolwindow \"" << rt::qt::FromQ(dock->windowTitle()) << "\""
              << (dock->isVisible() ? " visible" : " hidden")
              << (dock->isFloating() ? " floating" : " docked") << "\n";
  std::cout << "shown" << std::endl;
}

int Register(const std::string& config, const std::string& library, const std::string& progId,
             int argc, char** argv) {
  QCoreApplication app(argc, argv);
  rt::qt::QtPlatform platform(config);
  rt::InstallPlatform(&platform);
  ide::ComRuntime com;
  int status = 0;
  try {
    com.RegisterServer(fs::absolute(library).string());
    QSettings settings(rt::qt::ToQ((fs::path(platform.ConfigFolder()) / "ide.ini").string()),
                       QSettings::IniFormat);
    ide::gui::AddinList list(settings, com);
    list.List(progId, /*loadOnStartup=*/true);
    std::cout << "Registered " << library << " and listed " << progId << " in "
              << platform.ConfigFolder() << "\n";
  } catch (const vb::Error& e) {
    std::cerr << "brindlewick-ide: cannot register " << library << ": "
              << (com.LastError().empty() ? e.Description : com.LastError()) << "\n";
    status = 1;
  }
  rt::InstallPlatform(nullptr);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::string config = FromEnvironment("BRINDLEWICK_CONFIG_DIR", "");
  ide::gui::IdeOptions options;
  std::vector<fs::path> files;
  std::string library, progId;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--sdi") {
      options.DisplayModel = vbide::vbext_dm_SDI;
    } else if (arg == "--mdi") {
      options.DisplayModel = vbide::vbext_dm_MDI;
    } else if (arg == "--config" && i + 1 < argc) {
      config = argv[++i];
    } else if (arg == "--register" && i + 2 < argc) {
      library = argv[++i];
      progId = argv[++i];
    } else if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (!arg.empty() && arg[0] == '-') {
      std::cerr << kUsage;
      return 2;
    } else {
      files.emplace_back(arg);
    }
  }
  if (!library.empty()) return Register(config, library, progId, argc, argv);

  QApplication app(argc, argv);
  app.setApplicationName(ide::gui::kIdeTitle);
  app.setQuitOnLastWindowClosed(false);
  int status = 0;
  {
    rt::qt::QtPlatform platform(config);
    rt::InstallPlatform(&platform);
    platform.SetAddinFolder(
        FromEnvironment("BRINDLEWICK_DATA_DIR", (ProgramFolder() / "data").string()));
    rt::qt::Renderer renderer;
    platform.SetRenderer(&renderer);
    {
      ide::gui::IdeWindow ide(platform, renderer, options);
      // The add-in's windows may still be open when the IDE closes; they go with it.
      ide.SetOnClosed([] { QCoreApplication::quit(); });
      ide.show();
      ide.Open(files);
      ide.StartAddins();
      if (std::getenv("BRINDLEWICK_IDE_REPORT"))
        QTimer::singleShot(500, &ide, [&ide] { Report(ide); });
      status = app.exec();
    }
    platform.SetRenderer(nullptr);
    rt::InstallPlatform(nullptr);
  }
  return status;
}
