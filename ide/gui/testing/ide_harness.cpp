#include "ide/gui/testing/ide_harness.h"

#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolBar>
#include <cstdlib>

#include "runtime/forms/forms.h"
#include "runtime/qt/binding.h"

namespace ide::gui::testing {

namespace fs = std::filesystem;

namespace {

fs::path FreshFolder(const char* what) {
  std::string pattern = (fs::temp_directory_path() / (std::string(what) + "-XXXXXX")).string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  return pattern;
}

// The answer of a box no answer was queued for: the one that changes least.
long Harmless(long buttons) {
  const std::vector<long>& answers = rt::OfferedAnswers(buttons);
  if ((buttons & 7) == vb::vbYesNo) return vb::vbNo;
  return answers.back();
}

}  // namespace

long AnsweringPlatform::RunMessageBox(QMessageBox&, const std::string& prompt, long buttons,
                                      const std::string& title) {
  Shown.push_back({title, prompt, buttons});
  if (Answers.empty()) return Harmless(buttons);
  long answer = Answers.front();
  Answers.pop_front();
  return answer;
}

void IdeHarness::EnsureApplication() {
  if (QApplication::instance()) return;
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "brindlewick-ide-tests";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

void IdeHarness::Settle() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

IdeHarness::IdeHarness(Options options) : options_(std::move(options)) {
  EnsureApplication();
  config_ = FreshFolder("ide-config");
  // A fresh copy of the add-in's folder, as the library writes into its database.
  fs::path from = options_.DataFolder;
  if (from.empty())
    if (const char* env = std::getenv("BRINDLEWICK_DATA_DIR")) from = env;
  data_ = FreshFolder("ide-data");
  std::error_code ec;
  if (!from.empty() && fs::is_directory(from))
    fs::copy(from, data_, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
  platform_ = std::make_unique<AnsweringPlatform>(config_.string());
  rt::InstallPlatform(platform_.get());
  platform_->SetAddinFolder(data_.string());
  if (!options_.AddinLibrary.empty()) {
    ide::ComRuntime com;
    com.RegisterServer(options_.AddinLibrary.string());
  }
  Start();
}

void IdeHarness::Start() {
  renderer_ = std::make_unique<rt::qt::Renderer>();
  platform_->SetRenderer(renderer_.get());
  ide_ = std::make_unique<IdeWindow>(*platform_, *renderer_, options_.Ide);
  if (!options_.AddinLibrary.empty() && !ide_->Addins().IsListed("Brindlewick.Connect"))
    ide_->Addins().List("Brindlewick.Connect", options_.ListAtStartup);
  ide_->show();
}

void IdeHarness::Restart() {
  ide_.reset();
  Settle();
  platform_->SetRenderer(nullptr);
  renderer_.reset();
  Start();
}

IdeHarness::~IdeHarness() {
  ide_.reset();
  Settle();
  platform_->SetRenderer(nullptr);
  renderer_.reset();
  Settle();
  rt::InstallPlatform(nullptr);
  platform_.reset();
  std::error_code ec;
  fs::remove_all(config_, ec);
  fs::remove_all(data_, ec);
}

QWidget* IdeHarness::FormWindow(const std::string& name) const {
  forms::Form* form = forms::FindLoadedForm(name);
  return form ? renderer_->Window(*form) : nullptr;
}

bool IdeHarness::ClickToolbarButton(const std::string& form, const std::string& toolbar,
                                    long index) {
  auto* bar = Control<QToolBar>(form, toolbar);
  if (!bar || index < 1 || index > bar->actions().size()) return false;
  QWidget* button = bar->widgetForAction(bar->actions()[static_cast<int>(index - 1)]);
  if (!button) return false;
  QTest::mouseClick(button, Qt::LeftButton);
  Settle();
  return true;
}

bool IdeHarness::ClickButton(const std::string& form, const std::string& control) {
  auto* button = Control<QAbstractButton>(form, control);
  if (!button) return false;
  // A check box or option button takes a click on its box, which is at its left.
  QPoint at = button->rect().center();
  if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button))
    at.setX(std::min(8, button->width() / 2));
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
  Settle();
  return true;
}

bool IdeHarness::TypeInto(const std::string& form, const std::string& control,
                          const QString& text) {
  QWidget* box = Control<QWidget>(form, control);
  if (!box) return false;
  box->setFocus();
  if (auto* line = qobject_cast<QLineEdit*>(box))
    line->selectAll();
  else if (auto* plain = qobject_cast<QPlainTextEdit*>(box))
    plain->selectAll();
  QTest::keyClicks(box, text);
  Settle();
  return true;
}

bool IdeHarness::ChooseItem(const std::string& form, const std::string& control,
                            const std::string& text) {
  forms::Form* f = forms::FindLoadedForm(form);
  auto* list = f ? dynamic_cast<forms::ListControl*>(f->FindControl(control)) : nullptr;
  if (!list) return false;
  renderer_->FlushAll();  // the entries drawn now, not at the next redraw
  const auto& items = list->Items();
  auto it = std::find(items.begin(), items.end(), text);
  rt::qt::Binding* b = renderer_->BindingOf(*list);
  auto target = it == items.end() || !b ? std::nullopt : b->ItemTarget(it - items.begin());
  if (!target) return false;
  QTest::mouseClick(target->Widget, Qt::LeftButton, Qt::NoModifier, target->Pos);
  Settle();
  return true;
}

bool IdeHarness::ClickNode(const std::string& form, const std::string& control,
                           const std::vector<std::string>& path) {
  forms::Form* f = forms::FindLoadedForm(form);
  auto* tree = f ? dynamic_cast<forms::TreeView*>(f->FindControl(control)) : nullptr;
  forms::Node* node = tree ? tree->FindPath(path) : nullptr;
  renderer_->FlushAll();
  rt::qt::Binding* b = tree ? renderer_->BindingOf(*tree) : nullptr;
  auto target = node && b ? b->NodeTarget(*node) : std::nullopt;
  if (!target) return false;
  QTest::mouseClick(target->Widget, Qt::LeftButton, Qt::NoModifier, target->Pos);
  b->AfterGesture();
  Settle();
  return true;
}

QAction* IdeHarness::Action(const char* name) const {
  return ide_->findChild<QAction*>(name);
}

bool IdeHarness::Trigger(const char* name) {
  QAction* a = Action(name);
  if (!a) return false;
  a->trigger();
  Settle();
  return true;
}

CodeEditor* IdeHarness::Editor(const std::string& module) const {
  IdeWindow::Module* m = ide_->FindModule(module);
  return m ? m->Editor : nullptr;
}

void IdeHarness::Select(const std::string& module, long startLine, long startColumn, long endLine,
                        long endColumn) {
  ide_->ShowCode(module);
  CodeEditor* e = Editor(module);
  e->SendScintilla(QsciScintillaBase::SCI_SETSEL, e->PositionOf(startLine - 1, startColumn - 1),
                   e->PositionOf(endLine - 1, endColumn - 1));
  Settle();
}

std::string Text(const CodeEditor& editor) {
  std::string text;
  for (const std::string& line : editor.AllLines())
    text += line + "\n";
  return text;
}

}  // namespace ide::gui::testing
