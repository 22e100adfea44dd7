// The Brindlewick IDE's main window, in the image of the VB6 IDE: code windows in an MDI area
// (or, in the SDI display model, each a window of its own), the project explorer, the menus
// File, Edit, View, Add-Ins and Window, the Add-In toolbar, and a status bar showing the caret's
// line and column. The add-in's windows are drawn by the Qt platform's renderer; its tool
// window docks beside the project explorer.
//
// Modules are read and written by ide/core's reader: what the code window shows is the code,
// the attribute lines and a form's designer section stay aside, and an unchanged module is
// saved byte for byte. A file the reader refuses (missing, unreadable, a folder, not a VB6
// source file, a name already in the project) is reported and not opened. Closing the IDE asks
// about unsaved changes. Closing a code window hides it; the module stays in the project.
//
// The IDE implements the contract (gui_vbe.h) over its editors: every gesture of the user that
// reaches the add-in (a click on the tool window, a dialog's button, the View-menu command) runs
// as one command (CommandBatch), so its edits are one undo step. What the IDE says to the user
// goes through the platform's message box (rt::Platform::MsgBox), titled "Brindlewick IDE".
//
// REQUIRES: the platform is installed and outlives the window, as does the renderer.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QSettings>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ide/core/com_runtime.h"
#include "ide/core/vbsource.h"
#include "ide/gui/addin_list.h"
#include "ide/gui/code_editor.h"
#include "ide/gui/command_bars.h"
#include "ide/gui/editor_document.h"
#include "ide/gui/gui_vbe.h"

class QDockWidget;
class QLabel;
class QMdiArea;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace rt::qt {
class QtPlatform;
class Renderer;
}  // namespace rt::qt

namespace ide::gui {

class FindDialog;

inline constexpr char kIdeTitle[] = "Brindlewick IDE";

struct IdeOptions {
  // The display model; unset: the one last chosen (MDI at first).
  std::optional<long> DisplayModel;
};

class IdeWindow : public QMainWindow {
 public:
  struct Module {
    std::string Name;
    std::string Kind;  // "Module", "Class", "Form", ... as a project file names them
    std::filesystem::path Path;
    ide::SourceFile Original;  // as last read or saved
    CodeEditor* Editor = nullptr;
    QWidget* Frame = nullptr;  // the code window: an MDI sub-window, or a window of its own
    std::shared_ptr<EditorDocument> Document;
    QTreeWidgetItem* Item = nullptr;
  };

  IdeWindow(rt::qt::QtPlatform& platform, rt::qt::Renderer& renderer, IdeOptions options = {});
  ~IdeWindow() override;

  // Opening: a project file replaces the project (asking about unsaved changes first); other
  // files join the project. Each refusal is reported; false when nothing was opened.
  bool Open(const std::vector<std::filesystem::path>& paths);
  bool OpenProject(const std::filesystem::path& path);
  bool AddFile(const std::filesystem::path& path);

  const std::vector<std::unique_ptr<Module>>& Modules() const { return modules_; }
  Module* FindModule(const std::string& name) const;
  // Shows the module's code window and makes it the active one.
  void ShowCode(const std::string& name);
  // The module of the active code window; nullptr when no code window is open.
  Module* ActiveModule() const;
  bool Save(Module& module);
  bool SaveAll();
  // Asks about unsaved changes: true when the IDE may go on (saved or discarded).
  bool ConfirmUnsaved();

  // The add-ins: the list, start-up (modes 1 then start-up complete) and shutdown (mode 0).
  AddinList& Addins() { return addins_; }
  void StartAddins();
  void ShutDown();
  void ShowAddinManager();

  GuiVbe& Vbe() { return *vbe_; }
  vb::Object<vbide::VBE> VbeObject() { return vb::Object<vbide::VBE>(vbe_); }
  CommandBatch& Batch() { return batch_; }
  long DisplayModel() const { return displayModel_; }
  QDockWidget* ProjectDock() const { return projectDock_; }
  ide::ComRuntime& Com() { return com_; }
  QSettings& Settings() { return settings_; }
  // Runs once the window has closed (the program quits).
  void SetOnClosed(std::function<void()> f) { onClosed_ = std::move(f); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void BuildExplorer();
  void Activated(Module* module);
  void UpdateCaret();
  void UpdateTitle();
  void DockToolWindow(QDockWidget* dock);
  std::string SelectedComponent() const;
  void CloseProject();
  // Deletes every module's code window, the modules gone from the list first.
  void DeleteCodeWindows();
  bool AddMember(const std::filesystem::path& path, std::string kind, std::string name);
  QTreeWidgetItem* FolderFor(const std::string& kind);
  CodeEditor* ActiveEditor() const;
  void Find();
  void FindNext();

  rt::qt::QtPlatform& platform_;
  rt::qt::Renderer& renderer_;
  QSettings settings_;
  long displayModel_;
  ide::ComRuntime com_;
  CommandBatch batch_;
  AddinList addins_;
  std::unique_ptr<QtCommandBars> bars_;
  std::shared_ptr<GuiVbe> vbe_;

  std::string projectName_;
  std::filesystem::path projectPath_;
  std::vector<std::unique_ptr<Module>> modules_;
  std::vector<Module*> recent_;  // most recently activated first

  QMdiArea* mdi_ = nullptr;
  QToolBar* addInToolbar_ = nullptr;
  QDockWidget* projectDock_ = nullptr;
  QTreeWidget* explorer_ = nullptr;
  QLabel* caret_ = nullptr;
  FindDialog* find_ = nullptr;
  bool shutDown_ = false;
  std::function<void()> onClosed_;
};

}  // namespace ide::gui
