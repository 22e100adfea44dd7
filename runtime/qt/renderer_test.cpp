#include "runtime/qt/renderer.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QToolBar>
#include <QTreeWidget>
#include <filesystem>

#include "runtime/headless/headless_platform.h"
#include "runtime/qt/qt_platform.h"
#include "runtime/qt/scripted_qt.h"
#include "runtime/vb/error.h"

// Fontconfig keeps its configuration for the life of the process, which LeakSanitizer would
// report at exit.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace rt::qt {
namespace {

// A new folder of this run's own in the temporary folder.
std::string FreshFolder(const std::string& prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
  return ::mkdtemp(pattern.data()) ? pattern : std::string();
}

using Log = std::vector<std::string>;

QApplication& App() {
  static QApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "qt_tests";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
  }();
  return *app;
}

const char kDot[] =
    "/* XPM */\nstatic char *d[] = {\"2 2 2 1\", \"a c #FF0000\", \"b c #C0C0C0\", "
    "\"ab\", \"ba\"};\n";

// One control of every kind, each event logged.
class frmAll : public forms::Form {
 public:
  frmAll() : Form("frmAll") {
    for (const char* c : {"txt", "chk", "opt", "cmd", "cbo", "lst", "tabs"})
      for (const char* e : {"Click", "Change"})
        On(c, e, [this, c, e] { log.push_back(std::string(c) + "_" + e); });
    On(txt, "KeyPress", [this](forms::EventArgs& a) {
      if (a.KeyAscii == 'q') a.KeyAscii = 0;  // swallowed
    });
    On(tree, "NodeClick",
       [this](forms::EventArgs& a) { log.push_back("tree_NodeClick " + a.TreeNode->Text()); });
    On(tb, "ButtonClick", [this](forms::EventArgs& a) {
      log.push_back("tb_ButtonClick " + std::to_string(a.ToolButton->Index));
    });
    On("Form", "Resize", [this] { log.push_back("Form_Resize"); });
    On("Form", "QueryUnload", [this](forms::EventArgs& a) {
      log.push_back("Form_QueryUnload " + std::to_string(a.UnloadMode));
      a.Cancel = keep;
    });
    On(cmd, "Click", [this] {
      log.push_back("cmd_Click");
      if (fail) fail();
    });
    On(lst, "DblClick", [this] { log.push_back("lst_DblClick " + lst.Text()); });
    for (const char* e : {"MouseDown", "MouseMove", "MouseUp"}) {
      auto mouse = [this, e](const std::string& who) {
        return [this, e, who](forms::EventArgs& a) {
          log.push_back(who + "_" + e + " " + std::to_string(a.Button) + " " +
                        forms::FormatNumber(a.X) + " " + forms::FormatNumber(a.Y));
        };
      };
      On(pic, e, mouse("pic"));
      On("Form", e, mouse("Form"));
    }
    for (const char* c : {"txt", "txtMulti", "cmd"})
      for (const char* e : {"GotFocus", "LostFocus"})
        On(c, e, [this, c, e] { log.push_back(std::string(c) + "_" + e); });
  }
  forms::Label lbl{this, "lbl"};
  forms::TextBox txt{this, "txt"};
  forms::TextBox txtMulti{this, "txtMulti"};
  forms::CommandButton cmd{this, "cmd"};
  forms::Frame fra{this, "fra"};
  forms::CheckBox chk{this, "chk"};
  forms::ControlArray<forms::OptionButton> opt{this, "opt", 2};
  forms::ComboBox cbo{this, "cbo"};
  forms::ListBox lst{this, "lst"};
  forms::Image img{this, "img"};
  forms::PictureBox pic{this, "pic"};
  forms::TreeView tree{this, "tree"};
  forms::StatusBar bar{this, "bar"};
  forms::ProgressBar prog{this, "prog"};
  forms::ImageList il{this, "il"};
  forms::Toolbar tb{this, "tb"};
  forms::TabControl tabs{this, "tabs"};
  forms::TextBox txtOnTab{this, "txtOnTab"};
  forms::CommonDialog cdl{this, "cdl"};
  Log log;
  bool keep = false;
  std::function<void()> fail;

 protected:
  void InitializeComponent() override {
    SetCaption("All Kinds");
    SetBorderStyle(forms::vbFixedDialog);
    SetClientSize(9000, 7500);
    lbl.SetCaption("&Name");
    lbl.Move(120, 120, 1500, 255);
    txt.Move(1680, 120, 3000, 315);
    txtMulti.SetMultiLine(true);
    txtMulti.SetText("one\r\ntwo");
    txtMulti.Move(120, 500, 3000, 900);
    cmd.SetCaption("&OK");
    cmd.Move(3300, 500, 1200, 420);
    fra.SetCaption("Frame");
    fra.Move(120, 1500, 3000, 1200);
    chk.SetCaption("Check");
    chk.Move(120, 300, 1500, 255);
    chk.SetContainer(&fra);
    for (int i = 0; i < 2; ++i) {
      opt(i).SetCaption(i ? "Two" : "One");
      opt(i).Move(120, 600 + i * 300, 1500, 255);
      opt(i).SetContainer(&fra);
    }
    opt(0).SetValue(true);
    for (const char* s : {"Constants", "Declares", "Types"})
      cbo.AddItem(s);
    cbo.SetText("Declares");
    cbo.Move(3300, 1500, 2000, 315);
    lst.SetSorted(true);
    lst.Move(3300, 1900, 2000, 1000);
    img.SetPicture({"xpm", kDot});
    img.Move(5400, 120, 480, 480);
    pic.Move(5400, 700, 600, 600);
    tree.Move(6000, 120, 2800, 2000);
    tree.SetImageList("il");
    bar.AddPanel("Idle...", 3000);
    bar.Move(0, 7185, 9000, 315);
    prog.Move(4000, 7200, 3000, 240);
    il.Add({"xpm", kDot});
    tb.SetImageList("il");
    tb.AddButton(forms::tbrDefault, "First", 1);
    tb.AddButton(forms::tbrSeparator);
    tb.AddButton(forms::tbrDefault, "Second", 1);
    tb.Move(0, 3000, 3000, 420);
    tabs.SetTabs({"Abstract", "Methods"});
    tabs.Move(120, 3600, 6000, 2400);
    txtOnTab.Move(120, 420, 3000, 315);
    txtOnTab.SetContainer(&tabs, 1);
  }
};

class RendererTest : public ::testing::Test {
 protected:
  RendererTest() {
    App();
    platform_.SetTranscript([this](const std::string& l) { transcript_.push_back(l); });
    rt::InstallPlatform(&platform_);
  }
  ~RendererTest() override {
    f.Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    rt::InstallPlatform(nullptr);
  }
  template <class W>
  W* Widget(const forms::Control& c) {
    auto* w = qobject_cast<W*>(renderer_.WidgetOf(c));
    EXPECT_NE(w, nullptr) << c.DisplayName();
    return w;
  }
  void Click(QWidget* w, QPoint at) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), QPointF(w->mapToGlobal(at)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), QPointF(w->mapToGlobal(at)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
  }
  void Key(QWidget* w, int key, const QString& text) {
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &e);
  }

  HeadlessPlatform platform_;
  Log transcript_;
  Renderer renderer_;
  frmAll f;
};

// Every kind's widget shows its control's table and parts at load, and each later change.
TEST_F(RendererTest, WidgetsShowTheirControls) {
  f.Show();
  QWidget* window = renderer_.Window(f);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->windowTitle(), "All Kinds");
  EXPECT_EQ(window->size(), QSize(600, 500));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());  // a fixed dialog
  EXPECT_EQ(renderer_.FormOfHandle(f.hWnd()), &f);

  EXPECT_EQ(Widget<QLabel>(f.lbl)->text(), "<u>N</u>ame");
  EXPECT_EQ(Widget<QLabel>(f.lbl)->geometry(), QRect(8, 8, 100, 17));
  EXPECT_EQ(Widget<QPlainTextEdit>(f.txtMulti)->toPlainText(), "one\ntwo");
  EXPECT_EQ(Widget<QPushButton>(f.cmd)->text(), "&OK");
  auto* frame = Widget<QGroupBox>(f.fra);
  EXPECT_EQ(frame->title(), "Frame");
  EXPECT_EQ(Widget<QCheckBox>(f.chk)->parentWidget(), frame);
  EXPECT_EQ(Widget<QRadioButton>(f.opt(1))->geometry(), QRect(8, 60, 100, 17));
  EXPECT_TRUE(Widget<QRadioButton>(f.opt(0))->isChecked());
  auto* combo = Widget<QComboBox>(f.cbo);
  EXPECT_EQ(combo->count(), 3);
  EXPECT_EQ(combo->currentText(), "Declares");
  EXPECT_NE(renderer_.WidgetOf(f.img), nullptr);
  EXPECT_EQ(Widget<QToolBar>(f.tb)->actions().size(), 3);
  EXPECT_EQ(Widget<QToolBar>(f.tb)->actions()[2]->toolTip(), "Second");
  EXPECT_TRUE(Widget<QToolBar>(f.tb)->actions()[1]->isSeparator());
  EXPECT_EQ(renderer_.WidgetOf(f.il), nullptr);
  EXPECT_EQ(renderer_.WidgetOf(f.cdl), nullptr);
  QWidget* onTab = renderer_.WidgetOf(f.txtOnTab);
  EXPECT_FALSE(onTab->isVisibleTo(window));

  f.lbl.SetCaption("Other");
  f.txt.SetText("typed by code");
  f.chk.SetValue(forms::vbChecked);
  f.cmd.SetEnabled(false);
  f.opt(1).SetValue(true);
  f.bar.SetPanelText(1, "Loading Declares...");
  f.prog.SetValue(50);
  f.tabs.SetTab(1);
  for (const char* item : {"beta", "Alpha", "gamma"})
    f.lst.AddItem(item);
  forms::Node& root = f.tree.Add(nullptr, forms::tvwLast, "r", "Root", 1);
  f.tree.Add(&root, forms::tvwChild, "c", "Child").SetBold(true);
  root.SetExpanded(true);
  renderer_.FlushAll();

  EXPECT_EQ(Widget<QLabel>(f.lbl)->text(), "Other");
  EXPECT_EQ(Widget<QLineEdit>(f.txt)->text(), "typed by code");
  EXPECT_TRUE(Widget<QCheckBox>(f.chk)->isChecked());
  EXPECT_FALSE(Widget<QPushButton>(f.cmd)->isEnabled());
  EXPECT_FALSE(Widget<QRadioButton>(f.opt(0))->isChecked());
  EXPECT_TRUE(Widget<QRadioButton>(f.opt(1))->isChecked());
  EXPECT_EQ(renderer_.WidgetOf(f.bar)->findChild<QLabel*>()->text(), "Loading Declares...");
  EXPECT_EQ(Widget<QProgressBar>(f.prog)->value(), Widget<QProgressBar>(f.prog)->maximum() / 2);
  EXPECT_TRUE(onTab->isVisibleTo(window));
  auto* list = Widget<QListView>(f.lst);
  ASSERT_EQ(list->model()->rowCount(), 3);
  EXPECT_EQ(list->model()->index(0, 0).data().toString(), "Alpha");
  auto* tree = Widget<QTreeWidget>(f.tree);
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());
  EXPECT_FALSE(tree->topLevelItem(0)->icon(0).isNull());
  EXPECT_TRUE(tree->topLevelItem(0)->child(0)->font(0).bold());

  f.Unload();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(renderer_.Window(f), nullptr);
}

// What the person does on a widget reaches the form through its setters and events.
TEST_F(RendererTest, InputReachesTheForms) {
  f.Show();
  f.lst.AddItem("one");
  f.lst.AddItem("two");
  f.tree.Add(nullptr, forms::tvwLast, "r", "Root");
  f.tree.Add(nullptr, forms::tvwLast, "n", "Next");
  renderer_.FlushAll();
  f.log.clear();

  auto* line = Widget<QLineEdit>(f.txt);
  for (QChar c : QString("xqy"))
    Key(line, Qt::Key_unknown, QString(c));
  EXPECT_EQ(f.txt.Text(), "xy");  // q swallowed by KeyPress
  EXPECT_EQ(line->text(), "xy");
  line->setText("pasted");
  EXPECT_EQ(f.txt.Text(), "pasted");
  line->setSelection(1, 3);
  EXPECT_EQ(f.txt.SelStart(), 1);
  EXPECT_EQ(f.txt.SelLength(), 3);
  auto* multi = Widget<QPlainTextEdit>(f.txtMulti);
  multi->moveCursor(QTextCursor::End);
  Key(multi, Qt::Key_Return, "\r");
  EXPECT_EQ(f.txtMulti.Text(), "one\r\ntwo\r\n");
  EXPECT_EQ(f.txtMulti.SelStart(), 10);
  // The key changed only what it typed: the widget can still undo it.
  EXPECT_TRUE(multi->document()->isUndoAvailable());

  Click(Widget<QCheckBox>(f.chk), QPoint(6, 8));
  EXPECT_EQ(f.chk.Value(), forms::vbChecked);
  Click(Widget<QRadioButton>(f.opt(1)), QPoint(6, 8));
  EXPECT_TRUE(f.opt(1).Value());
  EXPECT_FALSE(f.opt(0).Value());
  EXPECT_FALSE(Widget<QRadioButton>(f.opt(0))->isChecked());
  Widget<QPushButton>(f.cmd)->click();
  Widget<QComboBox>(f.cbo)->setCurrentIndex(2);
  EXPECT_EQ(f.cbo.Text(), "Types");
  auto* list = Widget<QListView>(f.lst);
  Click(list->viewport(), list->visualRect(list->model()->index(1, 0)).center());
  EXPECT_EQ(f.lst.ListIndex(), 1);
  auto* tree = Widget<QTreeWidget>(f.tree);
  Click(tree->viewport(), tree->visualItemRect(tree->topLevelItem(0)).center());
  EXPECT_EQ(f.tree.SelectedItem(), &f.tree.Nodes(1));
  Key(tree, Qt::Key_Down, "");  // the arrow key moves to the next node, and clicks it
  EXPECT_EQ(f.tree.SelectedItem(), &f.tree.Nodes(2));
  Widget<QToolBar>(f.tb)->actions()[2]->trigger();
  renderer_.WidgetOf(f.tabs)->findChild<QTabBar*>()->setCurrentIndex(1);
  EXPECT_EQ(f.tabs.Tab(), 1);
  // Typing into a box gives it the focus.
  EXPECT_EQ(f.log, (Log{"txt_GotFocus", "txt_Change", "txt_Change", "txt_Change", "txt_LostFocus",
                        "txtMulti_GotFocus", "chk_Click", "opt_Click", "cmd_Click", "cbo_Click",
                        "lst_Click", "tree_NodeClick Root", "tree_NodeClick Next",
                        "tb_ButtonClick 3", "tabs_Click"}));

  // Esc, which no control takes, presses the window's Cancel button.
  f.log.clear();
  f.cmd.SetCancel(true);
  Key(line, Qt::Key_Escape, "\x1b");
  EXPECT_EQ(f.log, (Log{"cmd_Click"}));

  // Enter on the focused button presses it; a press on a label is the label's, never also the
  // window's under it.
  f.log.clear();
  f.cmd.SetCancel(false);
  Key(Widget<QPushButton>(f.cmd), Qt::Key_Return, "\r");
  Click(Widget<QLabel>(f.lbl), QPoint(4, 4));
  EXPECT_EQ(f.log, (Log{"cmd_Click"}));

  f.log.clear();
  f.SetBorderStyle(forms::vbSizable);
  renderer_.Window(f)->resize(500, 400);
  EXPECT_EQ(f.ScaleWidth(), 7500);
  EXPECT_EQ(f.ScaleHeight(), 6000);
  f.keep = true;
  QCloseEvent close;
  QApplication::sendEvent(renderer_.Window(f), &close);
  EXPECT_TRUE(f.IsLoaded());
  EXPECT_EQ(f.log, (Log{"Form_Resize", "Form_QueryUnload 0"}));
}

// Moving, maximising and restoring the window by hand reach the form; a maximised window's
// size is not taken for the form's normal one.
TEST_F(RendererTest, WindowMovesAndStatesReachTheForm) {
  f.SetBorderStyle(forms::vbSizable);
  f.Show();
  QWidget* window = renderer_.Window(f);
  window->move(40, 60);
  QCoreApplication::processEvents();
  EXPECT_EQ(f.Left(), 600);
  EXPECT_EQ(f.Top(), 900);
  const double width = f.Width();
  f.log.clear();
  window->setWindowState(Qt::WindowMaximized);
  QCoreApplication::processEvents();
  EXPECT_EQ(f.WindowState(), forms::vbMaximized);
  EXPECT_EQ(f.log, (Log{"Form_Resize"}));
  window->setWindowState(Qt::WindowNoState);
  QCoreApplication::processEvents();
  EXPECT_EQ(f.WindowState(), forms::vbNormal);
  EXPECT_EQ(f.Width(), width);
  EXPECT_EQ(f.Left(), 600);
}

// An error escaping an event routine is reported as the runtime reports it; anything else
// goes to the unexpected-error handler; neither leaves the Qt event handler.
TEST_F(RendererTest, ErrorsNeverLeaveAnEventHandler) {
  f.Show();
  std::vector<std::string> unexpected;
  renderer_.SetUnexpectedError(
      [&](std::exception_ptr e) { unexpected.push_back(ExceptionText(e)); });
  f.fail = [] { throw vb::Error(5, "BwTest", "Invalid procedure call or argument"); };
  Widget<QPushButton>(f.cmd)->click();
  f.fail = [] { throw std::runtime_error("not a VB error"); };
  Widget<QPushButton>(f.cmd)->click();
  ASSERT_EQ(platform_.MessageBoxes().size(), 1u);
  EXPECT_EQ(platform_.MessageBoxes()[0].Prompt,
            "Run-time error '5':\r\n\r\nInvalid procedure call or argument");
  EXPECT_EQ(unexpected, (std::vector<std::string>{"not a VB error"}));
}

// A gesture scope wraps each input around its event routines, also when the routine fails, and
// the failure is still reported after the scope has closed.
TEST_F(RendererTest, AGestureScopeWrapsEachInput) {
  f.Show();
  renderer_.SetGestureScope([this](const std::function<void()>& gesture) {
    f.log.push_back("begin");
    struct End {
      frmAll& form;
      ~End() { form.log.push_back("end"); }
    } end{f};
    gesture();
  });
  f.log.clear();
  Widget<QPushButton>(f.cmd)->click();
  f.fail = [] { throw vb::Error(5, "BwTest", "Invalid procedure call or argument"); };
  Widget<QPushButton>(f.cmd)->click();
  EXPECT_EQ(f.log, (Log{"begin", "cmd_Click", "end", "begin", "cmd_Click", "end"}));
  EXPECT_EQ(platform_.MessageBoxes().size(), 1u);
  renderer_.SetGestureScope(nullptr);
}

// A load that moves a progress bar on every row redraws it about every 50 ms, not per row.
TEST_F(RendererTest, LongLoadsRedrawAtABoundedRate) {
  auto now = std::chrono::steady_clock::time_point() + std::chrono::hours(1);
  renderer_.SetClock([&] { return now; });
  f.Show();
  f.prog.SetMax(1000);
  renderer_.FlushAll();
  int redraws = 0;
  QObject::connect(Widget<QProgressBar>(f.prog), &QProgressBar::valueChanged, [&] { ++redraws; });
  for (int row = 1; row <= 1000; ++row) {
    f.lst.AddItem("item" + std::to_string(row));
    f.prog.SetValue(row);
    now += std::chrono::milliseconds(1);
  }
  EXPECT_GE(redraws, 19);
  EXPECT_LE(redraws, 21);
  renderer_.FlushAll();  // what the event loop does next
  EXPECT_EQ(Widget<QListView>(f.lst)->model()->rowCount(), f.lst.ListCount());
}

// The gestures a script plays, by hand or through the widgets.
struct Hands {
  std::function<void(forms::Control&)> Click, DblClick;
  std::function<void(forms::ListControl&, long)> Choose;
  std::function<void(forms::TreeView&, forms::Node&)> ClickNode;
  std::function<void(forms::Toolbar&, long)> Button;
  std::function<void(forms::TextBox&, const std::string&)> Type;
  std::function<void(forms::Control&, std::string_view, forms::PropertyValue)> Set;
  std::function<void(forms::Control*, forms::Form&, std::string_view, int, double, double)> Mouse;
  std::function<void(forms::Form&, double, double)> Resize;
};

// Plays one script of gestures on every kind; returns the events and the state they left.
Log Play(Hands& hands) {
  frmAll f;
  f.Show();
  for (const char* item : {"beta", "alpha", "gamma"})
    f.lst.AddItem(item);
  forms::Node& root = f.tree.Add(nullptr, forms::tvwLast, "r", "Root");
  forms::Node& child = f.tree.Add(&root, forms::tvwChild, "c", "Child");  // under a closed branch
  f.log.clear();
  hands.Choose(f.lst, 1);
  hands.DblClick(f.lst);
  hands.Choose(f.cbo, 2);
  hands.Set(f.cbo, "Text", std::string("typed"));
  hands.ClickNode(f.tree, child);
  hands.Button(f.tb, 2);  // a separator
  hands.Button(f.tb, 3);
  hands.Type(f.txt, "ab\tcd\r\ne");  // Tab moves on to the next box
  hands.Set(f.txtMulti, "SelStart", 2L);
  hands.Set(f.txtMulti, "SelLength", 3L);
  hands.Type(f.txtMulti, "X");
  hands.Click(f.chk);
  hands.Click(f.opt(1));
  hands.Set(f.opt(0), "Value", true);
  hands.Set(f.chk, "Value", 2L);
  hands.Set(f.tabs, "Tab", 1L);
  hands.Set(f.lst, "ListIndex", -1L);
  hands.Mouse(&f.pic, f, "down", 1, 37, 52.5);
  hands.Mouse(&f.pic, f, "move", 1, 1037, 52.5);
  hands.Mouse(&f.pic, f, "up", 1, 1037, 52.5);
  hands.Mouse(nullptr, f, "down", 2, 100, 200);
  hands.Click(f.lbl);
  f.SetBorderStyle(forms::vbSizable);
  hands.Resize(f, 8007, 6003);
  Log result = f.log;
  for (const forms::Control* c : f.Controls())
    for (const char* p : {"Text", "SelStart", "SelLength", "Value", "ListIndex", "Tab"})
      if (auto v = c->Get(p))
        result.push_back(c->DisplayName() + "." + p + "=" + forms::FormatValue(*v));
  result.push_back("selected " + (f.tree.SelectedItem() ? f.tree.SelectedItem()->Text() : ""));
  result.push_back("expanded " + std::to_string(root.Expanded()));
  result.push_back("size " + forms::FormatNumber(f.ScaleWidth()) + " " +
                   forms::FormatNumber(f.ScaleHeight()));
  f.Unload();
  return result;
}

// The same gestures played by hand on the headless platform and through the widgets of the Qt
// platform leave the same events and the same state.
TEST(ScriptedQtTest, GesturesOnWidgetsMatchTheHeadlessOnes) {
  App();
  Log headless;
  {
    HeadlessPlatform platform;
    rt::InstallPlatform(&platform);
    auto act = [](const std::function<void()>& f) { forms::UserAction(f); };
    Hands hands{
        [&](forms::Control& c) { act([&] { c.UserClick(); }); },
        [&](forms::Control& c) { act([&] { c.UserDblClick(); }); },
        [&](forms::ListControl& l, long i) { act([&] { l.UserChoose(l.List(i)); }); },
        [&](forms::TreeView& t, forms::Node& n) { act([&] { t.UserClickNode(&n); }); },
        [&](forms::Toolbar& t, long i) { act([&] { t.UserClickButton(i); }); },
        [&](forms::TextBox& b, const std::string& s) { act([&] { b.UserType(s); }); },
        [&](forms::Control& c, std::string_view p, forms::PropertyValue v) {
          act([&] { c.Set(p, v); });
        },
        [&](forms::Control* c, forms::Form& f, std::string_view a, int b, double x, double y) {
          act([&] { c ? c->UserMouse(a, b, x, y) : f.UserMouse(a, b, x, y); });
        },
        [&](forms::Form& f, double w, double h) { act([&] { f.UserResize(w, h); }); },
    };
    headless = Play(hands);
    rt::InstallPlatform(nullptr);
  }
  std::string folder = FreshFolder("scripted-qt-gestures");
  Log onQt;
  {
    ScriptedQt q(folder);
    rt::InstallPlatform(&q.Platform());
    Hands hands{
        [&](forms::Control& c) { q.Click(c); },
        [&](forms::Control& c) { q.DblClick(c); },
        [&](forms::ListControl& l, long i) { q.Choose(l, i); },
        [&](forms::TreeView& t, forms::Node& n) { q.ClickNode(t, n); },
        [&](forms::Toolbar& t, long i) { q.ClickButton(t, i); },
        [&](forms::TextBox& b, const std::string& s) { q.Type(b, s); },
        [&](forms::Control& c, std::string_view p, forms::PropertyValue v) {
          q.SetProperty(c, p, v);
        },
        [&](forms::Control* c, forms::Form& f, std::string_view a, int b, double x, double y) {
          c ? q.Mouse(*c, a, b, x, y) : q.Mouse(f, a, b, x, y);
        },
        [&](forms::Form& f, double w, double h) { q.Resize(f, w, h); },
    };
    onQt = Play(hands);
    q.Settle();
    rt::InstallPlatform(nullptr);
  }
  std::filesystem::remove_all(folder);
  EXPECT_EQ(onQt, headless);
  EXPECT_GT(headless.size(), 40u);
}

// Message boxes are real boxes with the style's buttons, answered by pressing them; the
// transcript and the faults are the headless platform's.
TEST(ScriptedQtTest, MessageBoxesAreAnsweredThroughTheirButtons) {
  App();
  std::string folder = FreshFolder("scripted-qt-test");
  ScriptedQt scripted(folder);
  Log lines;
  scripted.SetTranscript([&](const std::string& l) { lines.push_back(l); });
  rt::InstallPlatform(&scripted.Platform());
  // Each box as it comes up: its text, icon and default button.
  struct Spy : QObject {
    bool eventFilter(QObject* o, QEvent* e) override {
      auto* box = qobject_cast<QMessageBox*>(o);
      if (box && e->type() == QEvent::Show)
        shown.push_back(
            (box->text() + "|" + QString::number(box->icon()) + "|" + box->defaultButton()->text())
                .toStdString());
      return false;
    }
    std::vector<std::string> shown;
  } spy;
  qApp->installEventFilter(&spy);
  scripted.QueueAnswer(vb::vbNo);
  EXPECT_EQ(vb::MsgBox("Save?", vb::vbYesNoCancel | vb::vbQuestion | 256, "T"), vb::vbNo);
  EXPECT_EQ(vb::MsgBox("Done", vb::vbInformation, "T"), vb::vbOK);
  EXPECT_EQ(vb::MsgBox("Really?", vb::vbYesNo, "Q"), vb::vbNo);  // unanswered
  scripted.QueueFileDialog("C:\\Help\\app.hlp");
  auto path = scripted.Platform().ShowOpen({"HelpFile", "Help Files (*.hlp)|*.hlp", "", "", 4});
  rt::InstallPlatform(nullptr);
  EXPECT_EQ(path, "C:\\Help\\app.hlp");
  EXPECT_EQ(lines,
            (Log{R"(msgbox 291 "T" "Save?" -> No)", R"(msgbox 64 "T" "Done" -> OK)",
                 R"(msgbox 4 "Q" "Really?" -> No)",
                 R"(file-dialog "HelpFile" "Help Files (*.hlp)|*.hlp" -> "C:\\Help\\app.hlp")"}));
  EXPECT_EQ(scripted.TakeFaults(),
            (std::vector<std::string>{R"(no answer queued for the message box "Q")"}));
  qApp->removeEventFilter(&spy);
  // The second button is the default of style 256 (vbDefaultButton2).
  EXPECT_EQ(spy.shown, (std::vector<std::string>{"Save?|4|&No", "Done|1|OK", "Really?|0|&Yes"}));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace rt::qt
