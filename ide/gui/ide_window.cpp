#include "ide/gui/ide_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QDockWidget>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ide/core/cp1252.h"
#include "ide/core/vbproject.h"
#include "ide/gui/addin_manager_dialog.h"
#include "runtime/forms/form.h"
#include "runtime/platform.h"
#include "runtime/qt/convert.h"
#include "runtime/qt/qt_platform.h"
#include "runtime/qt/renderer.h"

namespace ide::gui {

namespace fs = std::filesystem;
using rt::qt::FromQ;
using rt::qt::ToQ;

namespace {

// Tells when a code window is shown or hidden.
class FrameWatch : public QObject {
 public:
  FrameWatch(QObject* parent, std::function<void()> changed)
      : QObject(parent), changed_(std::move(changed)) {}

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Show || e->type() == QEvent::Hide) changed_();
    return false;
  }

 private:
  std::function<void()> changed_;
};

// The kinds of module, their file extensions and the explorer's folders, in the explorer's order.
struct KindInfo {
  const char* Kind;
  const char* Extension;
  const char* Folder;
};
const KindInfo kKinds[] = {
    {"Form", ".frm", "Forms"},
    {"Module", ".bas", "Modules"},
    {"Class", ".cls", "Class Modules"},
    {"UserControl", ".ctl", "User Controls"},
    {"UserDocument", ".dob", "User Documents"},
    {"PropertyPage", ".pag", "Property Pages"},
    {"Designer", ".dsr", "Designers"},
};

const KindInfo* KindOfExtension(std::string ext) {
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  for (const KindInfo& k : kKinds)
    if (ext == k.Extension) return &k;
  return nullptr;
}

const KindInfo& KindInfoOf(const std::string& kind) {
  for (const KindInfo& k : kKinds)
    if (kind == k.Kind) return k;
  return kKinds[1];
}

constexpr int kModuleRole = Qt::UserRole + 1;

void Tell(const std::string& prompt, long style = vb::vbCritical) {
  vb::MsgBox(prompt, style, kIdeTitle);
}

// The first line (from 1) holding a character that Windows-1252 cannot hold, or 0.
long FirstLineOutsideCodePage(const std::vector<std::string>& lines) {
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (ide::Cp1252ToUtf8(ide::Utf8ToCp1252(lines[i])) != lines[i]) return static_cast<long>(i + 1);
  return 0;
}

}  // namespace

// Edit > Find: the text, Match Case and Find Whole Word Only, searching down from the caret
// and round the end of the module.
class FindDialog : public QDialog {
 public:
  explicit FindDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Find");
    setObjectName("findDialog");
    text_ = new QLineEdit(this);
    text_->setObjectName("findWhat");
    matchCase_ = new QCheckBox("Match &Case", this);
    matchCase_->setObjectName("matchCase");
    wholeWord_ = new QCheckBox("Find &Whole Word Only", this);
    wholeWord_->setObjectName("wholeWord");
    auto* findNext = new QPushButton("&Find Next", this);
    findNext->setObjectName("findNext");
    findNext->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("Find What:", this));
    row->addWidget(text_);
    layout->addLayout(row);
    layout->addWidget(matchCase_);
    layout->addWidget(wholeWord_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(findNext);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(findNext, &QPushButton::clicked, this, [this] {
      if (OnFind) OnFind();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
  }
  QString Text() const { return text_->text(); }
  bool MatchCase() const { return matchCase_->isChecked(); }
  bool WholeWord() const { return wholeWord_->isChecked(); }
  void FocusText() {
    text_->setFocus();
    text_->selectAll();
  }
  std::function<void()> OnFind;

 private:
  QLineEdit* text_;
  QCheckBox* matchCase_;
  QCheckBox* wholeWord_;
};

IdeWindow::IdeWindow(rt::qt::QtPlatform& platform, rt::qt::Renderer& renderer, IdeOptions options)
    : platform_(platform),
      renderer_(renderer),
      settings_(ToQ((fs::path(platform.ConfigFolder()) / "ide.ini").string()),
                QSettings::IniFormat),
      addins_(settings_, com_) {
  setObjectName("ideWindow");
  displayModel_ = options.DisplayModel.value_or(
      settings_.value("Options/SDI", false).toBool() ? vbide::vbext_dm_SDI : vbide::vbext_dm_MDI);
  if (displayModel_ == vbide::vbext_dm_MDI) {
    mdi_ = new QMdiArea(this);
    mdi_->setObjectName("mdiArea");
    setCentralWidget(mdi_);
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
      for (auto& m : modules_)
        if (sub && m->Frame == sub) Activated(m.get());
    });
  }
  BuildMenus();
  BuildExplorer();
  caret_ = new QLabel(this);
  caret_->setObjectName("caretPosition");
  statusBar()->addPermanentWidget(caret_);
  find_ = new FindDialog(this);
  find_->OnFind = [this] { FindNext(); };

  bars_ = std::make_unique<QtCommandBars>(menuBar(), addInToolbar_);
  bars_->SetRunner([this](const std::function<void()>& click) { batch_.Run(click); });
  bars_->SetFailureHandler([](const std::string& progId, const vb::Error& e) {
    vb::MsgBox(ide::AddinFailurePrompt(progId, "CommandBar_Click", e), vb::vbCritical,
               "Add-In Manager");
  });
  GuiParts parts;
  parts.Main = this;
  parts.Activator = &com_;
  parts.Bars = bars_.get();
  parts.DisplayModel = displayModel_;
  parts.ActiveDocument = [this]() -> std::shared_ptr<EditorDocument> {
    Module* m = ActiveModule();
    return m ? m->Document : nullptr;
  };
  parts.SelectedComponent = [this] { return SelectedComponent(); };
  parts.Addins = [this] { return addins_.Entries(); };
  parts.UpdateAddins = [] {};
  parts.Dock = [this](QDockWidget* dock) { DockToolWindow(dock); };
  parts.ConnectingAddin = [this] { return addins_.Connecting(); };
  vbe_ = GuiVbe::Create(std::move(parts));
  addins_.SetVbe(vb::Object<vbide::VBE>(vbe_));

  renderer_.SetGestureScope([this](const std::function<void()>& gesture) { batch_.Run(gesture); });
  renderer_.SetDocumentHost(
      [vbe = std::weak_ptr<GuiVbe>(vbe_)](forms::Form& form, QWidget* window) {
        if (auto v = vbe.lock()) v->HostDocument(form, window);
      });
  renderer_.SetUnexpectedError(
      [](std::exception_ptr e) { Tell("Unexpected error: " + rt::qt::ExceptionText(e)); });

  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    for (QWidget* w = now; w; w = w->parentWidget())
      for (auto& m : modules_)
        if (w == m->Editor) return Activated(m.get());
  });

  resize(1024, 720);
  restoreGeometry(settings_.value("Window/Geometry").toByteArray());
  restoreState(settings_.value("Window/State").toByteArray());
  UpdateTitle();
  UpdateCaret();
}

IdeWindow::~IdeWindow() {
  ShutDown();
  DeleteCodeWindows();
  renderer_.SetGestureScope(nullptr);
  renderer_.SetDocumentHost(nullptr);
  renderer_.SetUnexpectedError(nullptr);
}

// ---- Building the window

void IdeWindow::BuildMenus() {
  auto add = [this](QMenu* menu, const char* name, const QString& text, QKeySequence key,
                    std::function<void()> run) {
    QAction* a = menu->addAction(text);
    a->setObjectName(name);
    if (!key.isEmpty()) a->setShortcut(key);
    connect(a, &QAction::triggered, this, [run = std::move(run)] { run(); });
    return a;
  };
  QMenu* file = menuBar()->addMenu("&File");
  add(file, "actionOpenProject", "&Open Project...", QKeySequence::Open, [this] {
    QString path =
        QFileDialog::getOpenFileName(this, "Open Project", {}, "Projects (*.vbp);;All Files (*)");
    if (!path.isEmpty()) OpenProject(FromQ(path));
  });
  add(file, "actionAddFile", "&Add File...", QKeySequence("Ctrl+D"), [this] {
    QStringList paths = QFileDialog::getOpenFileNames(
        this, "Add File", {},
        "VB Files (*.bas *.cls *.frm *.ctl *.dob *.pag *.dsr);;All Files (*)");
    for (const QString& p : paths)
      AddFile(FromQ(p));
  });
  file->addSeparator();
  add(file, "actionSave", "&Save", QKeySequence::Save, [this] {
    if (Module* m = ActiveModule()) Save(*m);
  });
  add(file, "actionSaveAll", "Save A&ll", QKeySequence("Ctrl+Shift+S"), [this] { SaveAll(); });
  file->addSeparator();
  add(file, "actionExit", "E&xit", QKeySequence("Alt+Q"), [this] { close(); });

  QMenu* edit = menuBar()->addMenu("&Edit");
  auto onEditor = [this](void (QsciScintilla::*f)()) {
    return [this, f] {
      if (CodeEditor* e = ActiveEditor()) (e->*f)();
    };
  };
  add(edit, "actionUndo", "&Undo", QKeySequence::Undo, onEditor(&QsciScintilla::undo));
  add(edit, "actionRedo", "&Redo", QKeySequence::Redo, onEditor(&QsciScintilla::redo));
  edit->addSeparator();
  add(edit, "actionCut", "Cu&t", QKeySequence::Cut, onEditor(&QsciScintilla::cut));
  add(edit, "actionCopy", "&Copy", QKeySequence::Copy, onEditor(&QsciScintilla::copy));
  add(edit, "actionPaste", "&Paste", QKeySequence::Paste, onEditor(&QsciScintilla::paste));
  add(edit, "actionSelectAll", "Select &All", QKeySequence::SelectAll, [this] {
    if (CodeEditor* e = ActiveEditor()) e->selectAll(true);
  });
  edit->addSeparator();
  add(edit, "actionFind", "&Find...", QKeySequence::Find, [this] { Find(); });
  add(edit, "actionFindNext", "Find &Next", QKeySequence("F3"), [this] { FindNext(); });
  for (QAction* a : edit->actions())
    a->setShortcutContext(Qt::WindowShortcut);

  QMenu* view = menuBar()->addMenu("&View");
  add(view, "actionViewCode", "&Code", QKeySequence("F7"), [this] {
    std::string name = SelectedComponent();
    if (!name.empty()) ShowCode(name);
  });
  add(view, "actionProjectExplorer", "Project E&xplorer", QKeySequence("Ctrl+R"), [this] {
    projectDock_->show();
    projectDock_->raise();
    explorer_->setFocus();
  });
  view->addSeparator();
  addInToolbar_ = addToolBar("Add-In Toolbar");
  addInToolbar_->setObjectName("addInToolbar");
  QAction* toolbar = addInToolbar_->toggleViewAction();
  toolbar->setObjectName("actionAddInToolbar");
  view->addAction(toolbar);
  QAction* sdi = add(view, "actionSdi", "S&DI Development Environment", {}, [] {});
  sdi->setCheckable(true);
  sdi->setChecked(displayModel_ == vbide::vbext_dm_SDI);
  connect(sdi, &QAction::toggled, this, [this](bool on) {
    settings_.setValue("Options/SDI", on);
    Tell("The change takes effect the next time the IDE starts.", vb::vbInformation);
  });
  view->addSeparator();

  QMenu* addins = menuBar()->addMenu("&Add-Ins");
  QAction* manager =
      add(addins, "actionAddinManager", "&Add-In Manager...", {}, [this] { ShowAddinManager(); });
  addInToolbar_->addAction(manager);

  if (mdi_) {
    QMenu* window = menuBar()->addMenu("&Window");
    add(window, "actionCascade", "&Cascade", {}, [this] { mdi_->cascadeSubWindows(); });
    add(window, "actionTile", "&Tile", {}, [this] { mdi_->tileSubWindows(); });
  }
}

void IdeWindow::BuildExplorer() {
  projectDock_ = new QDockWidget("Project", this);
  projectDock_->setObjectName("projectDock");
  explorer_ = new QTreeWidget(projectDock_);
  explorer_->setObjectName("projectExplorer");
  explorer_->setHeaderHidden(true);
  projectDock_->setWidget(explorer_);
  addDockWidget(Qt::RightDockWidgetArea, projectDock_);
  connect(explorer_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    QString name = item->data(0, kModuleRole).toString();
    if (!name.isEmpty()) ShowCode(FromQ(name));
  });
}

void IdeWindow::UpdateTitle() {
  setWindowTitle(ToQ((projectName_.empty() ? std::string() : projectName_ + " - ") + kIdeTitle));
}

void IdeWindow::DockToolWindow(QDockWidget* dock) {
  if (restoreDockWidget(dock) && !dock->isFloating()) return;
  dock->setFloating(false);
  addDockWidget(Qt::RightDockWidgetArea, dock);
  if (!projectDock_->isFloating() && dockWidgetArea(projectDock_) == Qt::RightDockWidgetArea)
    splitDockWidget(dock, projectDock_, Qt::Vertical);
  if (QWidget* w = dock->widget()) resizeDocks({dock}, {w->minimumHeight()}, Qt::Vertical);
}

// ---- Modules and their code windows

IdeWindow::Module* IdeWindow::FindModule(const std::string& name) const {
  for (auto& m : modules_)
    if (QString::compare(ToQ(m->Name), ToQ(name), Qt::CaseInsensitive) == 0) return m.get();
  return nullptr;
}

QTreeWidgetItem* IdeWindow::FolderFor(const std::string& kind) {
  if (explorer_->topLevelItemCount() == 0) {
    auto* root = new QTreeWidgetItem(explorer_);
    std::string file = projectPath_.empty() ? "" : " (" + projectPath_.filename().string() + ")";
    root->setText(0, ToQ((projectName_.empty() ? "Project1" : projectName_) + file));
    root->setExpanded(true);
  }
  QTreeWidgetItem* root = explorer_->topLevelItem(0);
  const KindInfo& info = KindInfoOf(kind);
  int at = 0;
  for (const KindInfo& k : kKinds) {
    if (&k == &info) break;
    if (at < root->childCount() && root->child(at)->text(0) == k.Folder) ++at;
  }
  if (at < root->childCount() && root->child(at)->text(0) == info.Folder) return root->child(at);
  auto* folder = new QTreeWidgetItem;
  folder->setText(0, info.Folder);
  root->insertChild(at, folder);
  folder->setExpanded(true);
  return folder;
}

bool IdeWindow::AddMember(const fs::path& path, std::string kind, std::string name) {
  const KindInfo* info = KindOfExtension(path.extension().string());
  if (kind.empty()) {
    if (!info) {
      Tell("'" + path.string() + "' is not a Visual Basic source file.");
      return false;
    }
    kind = info->Kind;
  }
  for (const auto& open : modules_) {
    std::error_code ec;
    if (fs::equivalent(open->Path, path, ec)) {
      Tell("Cannot open '" + path.string() + "': it is already open as '" + open->Name + "'.");
      return false;
    }
  }
  ide::SourceFile file;
  try {
    file = ide::ReadSourceFile(path);
  } catch (const vb::Error& e) {
    Tell("Cannot open '" + path.string() + "': " + e.Description);
    return false;
  }
  if (name.empty()) name = file.Name();
  if (name.empty()) name = path.stem().string();
  if (FindModule(name)) {
    Tell("Cannot open '" + path.string() + "': a module named '" + name +
         "' is already in the project.");
    return false;
  }

  auto m = std::make_unique<Module>();
  m->Name = name;
  m->Kind = kind;
  m->Path = path;
  m->Original = std::move(file);
  m->Editor = new CodeEditor;
  m->Editor->setObjectName(ToQ("code:" + name));
  m->Editor->SetAllLines(m->Original.Lines);
  const QString caption = ToQ((projectName_.empty() ? std::string("Project1") : projectName_) +
                              " - " + name + " (Code)");
  if (mdi_) {
    auto* sub = new QMdiSubWindow;
    sub->setWidget(m->Editor);
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->setWindowTitle(caption);
    mdi_->addSubWindow(sub);
    sub->resize(640, 420);
    m->Frame = sub;
  } else {
    m->Editor->setParent(this, Qt::Window);
    m->Editor->setWindowTitle(caption);
    m->Editor->resize(640, 420);
    // A code window of its own answers the menus' keys too (Ctrl+S, Ctrl+F, F3, ...).
    for (QMenu* menu : menuBar()->findChildren<QMenu*>())
      for (QAction* a : menu->actions())
        if (!a->shortcut().isEmpty()) m->Editor->addAction(a);
    m->Frame = m->Editor;
  }
  m->Frame->hide();
  m->Frame->installEventFilter(new FrameWatch(m->Frame, [this] { UpdateCaret(); }));
  m->Document = std::make_shared<EditorDocument>(m->Editor, &batch_);
  Module* raw = m.get();
  connect(m->Editor, &QsciScintilla::cursorPositionChanged, this, [this, raw] {
    if (ActiveModule() == raw) UpdateCaret();
  });
  connect(m->Editor, &QsciScintilla::selectionChanged, this, [this, raw] {
    if (ActiveModule() == raw) UpdateCaret();
  });
  m->Item = new QTreeWidgetItem;
  m->Item->setText(0, ToQ(name + " (" + path.filename().string() + ")"));
  m->Item->setData(0, kModuleRole, ToQ(name));
  FolderFor(kind)->addChild(m->Item);
  modules_.push_back(std::move(m));
  return true;
}

bool IdeWindow::AddFile(const fs::path& path) {
  if (!AddMember(path, "", "")) return false;
  ShowCode(modules_.back()->Name);
  return true;
}

void IdeWindow::DeleteCodeWindows() {
  recent_.clear();
  std::vector<std::unique_ptr<Module>> modules = std::move(modules_);
  modules_.clear();
  for (auto& m : modules)
    delete m->Frame;
}

void IdeWindow::CloseProject() {
  DeleteCodeWindows();
  explorer_->clear();
  projectName_.clear();
  projectPath_.clear();
  UpdateTitle();
  UpdateCaret();
}

bool IdeWindow::OpenProject(const fs::path& path) {
  ide::VbProject project;
  try {
    project = ide::ReadProject(path);
  } catch (const vb::Error& e) {
    Tell("Cannot open '" + path.string() + "': " + e.Description);
    return false;
  }
  if (!ConfirmUnsaved()) return false;
  CloseProject();
  projectPath_ = fs::absolute(path);
  projectName_ = project.Name.empty() ? path.stem().string() : project.Name;
  UpdateTitle();
  FolderFor("Module");  // the project's root
  for (const ide::ProjectMember& member : project.Members)
    AddMember(member.Path, member.Kind, member.Name);
  // Every code window open, each a little below and right of the one before, the first
  // module's active.
  for (std::size_t i = modules_.size(); i-- > 0;) {
    Module& m = *modules_[i];
    if (mdi_) {
      QSize area = mdi_->viewport()->size();
      m.Frame->resize(std::max(480, area.width() * 3 / 4), std::max(320, area.height() * 3 / 4));
      m.Frame->move(static_cast<int>(i) * 28, static_cast<int>(i) * 28);
    }
    ShowCode(m.Name);
  }
  return true;
}

bool IdeWindow::Open(const std::vector<fs::path>& paths) {
  bool any = false;
  for (const fs::path& p : paths) {
    std::string ext = p.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    any = (ext == ".vbp" ? OpenProject(p) : AddFile(p)) || any;
  }
  return any;
}

void IdeWindow::ShowCode(const std::string& name) {
  Module* m = FindModule(name);
  if (!m) return;
  m->Frame->show();
  if (mdi_) {
    mdi_->setActiveSubWindow(static_cast<QMdiSubWindow*>(m->Frame));
  } else {
    m->Frame->raise();
    m->Frame->activateWindow();
  }
  m->Editor->setFocus(Qt::OtherFocusReason);
  Activated(m);
}

void IdeWindow::Activated(Module* module) {
  if (!recent_.empty() && recent_.front() == module) return UpdateCaret();
  std::erase(recent_, module);
  recent_.insert(recent_.begin(), module);
  if (module->Item) explorer_->setCurrentItem(module->Item);
  UpdateCaret();
}

IdeWindow::Module* IdeWindow::ActiveModule() const {
  for (Module* m : recent_)
    if (!m->Frame->isHidden()) return m;
  for (auto& m : modules_)
    if (!m->Frame->isHidden()) return m.get();
  return nullptr;
}

CodeEditor* IdeWindow::ActiveEditor() const {
  Module* m = ActiveModule();
  return m ? m->Editor : nullptr;
}

std::string IdeWindow::SelectedComponent() const {
  if (QTreeWidgetItem* item = explorer_->currentItem())
    return FromQ(item->data(0, kModuleRole).toString());
  Module* m = ActiveModule();
  return m ? m->Name : "";
}

void IdeWindow::UpdateCaret() {
  CodeEditor* e = ActiveEditor();
  if (!e) {
    caret_->setText("");
    return;
  }
  long line = 0, column = 0;
  e->LineColumnOf(e->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS), line, column);
  caret_->setText(QString("Ln %1, Col %2").arg(line + 1).arg(column + 1));
}

// ---- Saving and closing

bool IdeWindow::Save(Module& m) {
  const std::vector<std::string> lines = m.Editor->AllLines();
  if (long line = FirstLineOutsideCodePage(lines); line > 0) {
    long answer = vb::MsgBox("Line " + std::to_string(line) + " of '" + m.Path.filename().string() +
                                 "' holds characters a Visual Basic file cannot hold; they will "
                                 "be saved as '?'.",
                             vb::vbOKCancel + vb::vbExclamation, kIdeTitle);
    if (answer != vb::vbOK) return false;
  }
  try {
    m.Original = ide::WriteSourceFile(m.Path, m.Original, lines);
    // The window shows what the file now holds.
    if (m.Original.Lines != lines)
      m.Editor->ReplaceLines(0, static_cast<long>(lines.size()), m.Original.Lines);
    m.Editor->setModified(false);
    return true;
  } catch (const vb::Error& e) {
    Tell("Cannot save '" + m.Path.string() + "': " + e.Description);
    return false;
  }
}

bool IdeWindow::SaveAll() {
  bool ok = true;
  for (auto& m : modules_)
    if (m->Editor->isModified()) ok = Save(*m) && ok;
  return ok;
}

bool IdeWindow::ConfirmUnsaved() {
  std::string list;
  for (auto& m : modules_)
    if (m->Editor->isModified()) list += "\r\n" + m->Path.filename().string();
  if (list.empty()) return true;
  long answer = vb::MsgBox("Save changes to the following files?\r\n" + list,
                           vb::vbYesNoCancel + vb::vbExclamation, kIdeTitle);
  if (answer == vb::vbCancel) return false;
  if (answer == vb::vbYes) return SaveAll();
  return true;
}

void IdeWindow::closeEvent(QCloseEvent* event) {
  if (!ConfirmUnsaved()) {
    event->ignore();
    return;
  }
  settings_.setValue("Window/Geometry", saveGeometry());
  settings_.setValue("Window/State", saveState());
  ShutDown();
  QMainWindow::closeEvent(event);
  if (onClosed_) onClosed_();
}

void IdeWindow::StartAddins() {
  batch_.Run([this] { addins_.StartUp(); });
}

void IdeWindow::ShutDown() {
  if (shutDown_) return;
  shutDown_ = true;
  batch_.Run([this] { addins_.ShutDown(); });
  vbe_->CloseToolWindows();
  // The add-in's windows go with the IDE.
  std::vector<forms::Form*> loaded = forms::LoadedForms();
  for (auto it = loaded.rbegin(); it != loaded.rend(); ++it) {
    const auto& still = forms::LoadedForms();
    if (std::find(still.begin(), still.end(), *it) == still.end()) continue;
    try {
      (*it)->Unload();
    } catch (const vb::Error&) {
    }
  }
  vbe_->Detach();
}

void IdeWindow::ShowAddinManager() {
  AddinManagerDialog dialog(addins_, this);
  if (dialog.exec() == QDialog::Accepted) batch_.Run([&] { dialog.Apply(); });
}

// ---- Find

void IdeWindow::Find() {
  find_->show();
  find_->raise();
  find_->activateWindow();
  find_->FocusText();
}

void IdeWindow::FindNext() {
  CodeEditor* e = ActiveEditor();
  if (!e || find_->Text().isEmpty()) return;
  if (!e->findFirst(find_->Text(), false, find_->MatchCase(), find_->WholeWord(), true))
    Tell("Specified region searched. Match not found.", vb::vbInformation);
}

}  // namespace ide::gui
