#include "runtime/qt/scripted_qt.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <deque>

#include "runtime/qt/binding.h"
#include "runtime/qt/convert.h"
#include "runtime/qt/qt_platform.h"
#include "runtime/qt/renderer.h"
#include "runtime/quote.h"
#include "runtime/vb/strings.h"

namespace rt::qt {
namespace {

Qt::MouseButton QtButton(int button) {
  if (button & 1) return Qt::LeftButton;
  if (button & 2) return Qt::RightButton;
  if (button & 4) return Qt::MiddleButton;
  return Qt::NoButton;
}

Qt::MouseButtons QtButtons(int button) {
  Qt::MouseButtons b;
  if (button & 1) b |= Qt::LeftButton;
  if (button & 2) b |= Qt::RightButton;
  if (button & 4) b |= Qt::MiddleButton;
  return b;
}

// One mouse event, as the window system would deliver it to the widget.
void SendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
  QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

void SendClick(QWidget* w, QPoint pos) {
  QPointer<QWidget> alive(w);
  SendMouse(w, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton);
  if (alive) SendMouse(w, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
}

void SendDblClick(QWidget* w, QPoint pos) {
  QPointer<QWidget> alive(w);
  SendMouse(w, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton);
  if (alive) SendMouse(w, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
  if (alive) SendMouse(w, QEvent::MouseButtonDblClick, pos, Qt::LeftButton, Qt::LeftButton);
  if (alive) SendMouse(w, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
}

void SendKey(QWidget* w, int key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(w, &release);
}

int KeyOf(char32_t c) {
  if (c >= 'a' && c <= 'z') return Qt::Key_A + static_cast<int>(c - 'a');
  if (c >= 'A' && c <= 'Z') return Qt::Key_A + static_cast<int>(c - 'A');
  if (c >= '0' && c <= '9') return Qt::Key_0 + static_cast<int>(c - '0');
  if (c == ' ') return Qt::Key_Space;
  if (c == 8) return Qt::Key_Backspace;
  return Qt::Key_unknown;
}

// The platform with a script in the person's place.
class ScriptedQtPlatform : public QtPlatform {
 public:
  using QtPlatform::QtPlatform;

  double ScreenWidth() override { return screenWidth_; }
  double ScreenHeight() override { return screenHeight_; }
  vb::Date Today() override { return today_ ? *today_ : QtPlatform::Today(); }

  std::deque<long> answers;
  std::deque<std::optional<std::string>> fileDialogs;
  std::vector<std::string> faults;
  std::function<void(const std::string&)> transcript;
  double screenWidth_ = 15360, screenHeight_ = 11520;
  std::optional<vb::Date> today_;

 protected:
  long RunMessageBox(QMessageBox& box, const std::string& prompt, long buttons,
                     const std::string& title) override {
    long answer = TakeScriptedAnswer(answers, buttons, title, faults);
    QAbstractButton* target = nullptr;
    for (QAbstractButton* b : box.buttons())
      if (b->property("vbAnswer").toInt() == answer) target = b;
    // Pressed once the box is up, by the mouse as a person presses it.
    QTimer::singleShot(0, &box, [target] {
      if (target) SendClick(target, target->rect().center());
    });
    box.exec();
    long got = AnswerOf(box);
    if (transcript)
      transcript("msgbox " + std::to_string(buttons) + " " + Quote(title) + " " + Quote(prompt) +
                 " -> " + AnswerName(got));
    return got;
  }

  std::optional<std::string> RunFileDialog(QFileDialog& dialog,
                                           const FileDialogRequest& request) override {
    std::optional<std::string> result;
    if (fileDialogs.empty()) {
      faults.push_back("no file-dialog result queued for " + Quote(request.DialogTitle));
    } else {
      result = fileDialogs.front();
      fileDialogs.pop_front();
    }
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The path is the script's text, not a file of this machine: the dialog is closed with
    // that outcome and the path taken as written.
    bool accept = result.has_value();
    QTimer::singleShot(0, &dialog, [&dialog, accept] {
      static_cast<QDialog&>(dialog).done(accept ? QDialog::Accepted : QDialog::Rejected);
    });
    dialog.exec();
    if (transcript)
      transcript("file-dialog " + Quote(request.DialogTitle) + " " + Quote(request.Filter) +
                 " -> " + (result ? Quote(*result) : std::string("cancel")));
    return result;
  }
};

QApplication* EnsureApplication() {
  if (QCoreApplication::instance()) return nullptr;
  static int argc = 1;
  static char name[] = "brindlewick-script";
  static char* argv[] = {name, nullptr};
  return new QApplication(argc, argv);
}

}  // namespace

struct ScriptedQt::Impl {
  explicit Impl(const std::string& configFolder)
      : ownApp(EnsureApplication()), platform(configFolder) {
    platform.SetRenderer(&renderer);
    renderer.SetFollowWindowMoves(false);
    renderer.SetUnexpectedError([this](std::exception_ptr e) {
      if (!pending) pending = e;
    });
  }
  ~Impl() { platform.SetRenderer(nullptr); }

  // Runs one gesture in a mode, then gives back what escaped it.
  void Gesture(InputMode mode, const std::function<void()>& deliver) {
    renderer.FlushAll();
    InputMode before = renderer.Mode();
    renderer.SetMode(mode);
    try {
      deliver();
    } catch (...) {
      renderer.SetMode(before);
      throw;
    }
    renderer.SetMode(before);
    if (auto e = std::exchange(pending, nullptr)) std::rethrow_exception(e);
  }
  Binding* Drawn(forms::Control& c) { return renderer.BindingOf(c); }

  std::unique_ptr<QApplication> ownApp;
  ScriptedQtPlatform platform;
  Renderer renderer;
  std::exception_ptr pending;
};

ScriptedQt::ScriptedQt(const std::string& configFolder)
    : impl_(std::make_unique<Impl>(configFolder)) {}

ScriptedQt::~ScriptedQt() = default;

rt::Platform& ScriptedQt::Platform() {
  return impl_->platform;
}

void ScriptedQt::QueueAnswer(long answer) {
  impl_->platform.answers.push_back(answer);
}
void ScriptedQt::QueueFileDialog(std::optional<std::string> path) {
  impl_->platform.fileDialogs.push_back(std::move(path));
}
void ScriptedQt::SetScreen(double width, double height) {
  impl_->platform.screenWidth_ = width;
  impl_->platform.screenHeight_ = height;
}
void ScriptedQt::SetToday(const vb::Date& date) {
  impl_->platform.today_ = date;
}
void ScriptedQt::SetAddinFolder(std::string folder) {
  impl_->platform.SetAddinFolder(std::move(folder));
}
void ScriptedQt::SetTranscript(std::function<void(const std::string&)> sink) {
  impl_->platform.transcript = std::move(sink);
}
std::optional<SetWindowPosCall> ScriptedQt::LastSetWindowPos(long hwnd) const {
  return impl_->platform.LastSetWindowPos(hwnd);
}
std::vector<std::string> ScriptedQt::TakeFaults() {
  return std::exchange(impl_->platform.faults, {});
}

void ScriptedQt::ClickButton(forms::Toolbar& toolbar, long index) {
  impl_->Gesture(InputMode::kPerson, [&] {
    Binding* b = impl_->Drawn(toolbar);
    std::optional<Target> t = b ? b->ButtonTarget(index) : std::nullopt;
    // A separator is no button: a click there does nothing.
    if (t && t->Widget->isEnabled()) SendClick(t->Widget, t->Pos);
  });
}

void ScriptedQt::Click(forms::Control& control) {
  impl_->Gesture(InputMode::kScriptedClick, [&] {
    Binding* b = impl_->Drawn(control);
    if (!b || !b->Widget()) {
      impl_->renderer.Run([&] { control.UserClick(); });
      return;
    }
    Target t = b->ClickTarget();
    SendClick(t.Widget, t.Pos);
  });
}

void ScriptedQt::DblClick(forms::Control& control) {
  impl_->Gesture(InputMode::kScriptedDblClick, [&] {
    Binding* b = impl_->Drawn(control);
    if (!b || !b->Widget()) {
      impl_->renderer.Run([&] { control.UserDblClick(); });
      return;
    }
    Target t = b->DblClickTarget();
    SendDblClick(t.Widget, t.Pos);
  });
}

void ScriptedQt::Focus(forms::Control& control) {
  impl_->Gesture(InputMode::kPerson, [&] { impl_->renderer.Run([&] { control.SetFocus(); }); });
}

void ScriptedQt::Type(forms::TextBox& box, const std::string& text) {
  impl_->Gesture(InputMode::kScriptedKeys, [&] {
    if (!box.AcceptsInput()) return;
    forms::Form& form = box.Parent();
    if (form.ActiveControl() != &box) impl_->renderer.Run([&] { form.MoveFocus(&box); });
    for (std::size_t i = 0; i < text.size();) {
      // The keys go to the text box that has the focus (Tab moves it on).
      auto* target = dynamic_cast<forms::TextBox*>(form.ActiveControl());
      Binding* b = target ? impl_->Drawn(*target) : nullptr;
      if (!b || !b->KeyTarget()) return;
      QWidget* w = b->KeyTarget();
      unsigned char c = static_cast<unsigned char>(text[i]);
      if (c == '\r') {
        i += (i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
        SendKey(w, Qt::Key_Return, "\r");
      } else if (c == '\t') {
        ++i;
        SendKey(w, Qt::Key_Tab, "\t");
      } else {
        std::size_t n = 1;
        long code = vb::CodePointAt(text, i, &n);
        SendKey(w, KeyOf(static_cast<char32_t>(code)), ToQ(text.substr(i, n)));
        i += n;
      }
    }
  });
}

void ScriptedQt::Choose(forms::ListControl& list, long index) {
  if (!list.AcceptsInput()) return;  // a disabled or hidden list takes no choice, as headless
  impl_->Gesture(InputMode::kPerson, [&] {
    Binding* b = impl_->Drawn(list);
    if (!b) {
      impl_->renderer.Run([&] { list.SetListIndex(index); });
      return;
    }
    if (b->UserChoose(index)) return;
    if (std::optional<Target> t = b->ItemTarget(index)) SendClick(t->Widget, t->Pos);
  });
}

void ScriptedQt::ClickNode(forms::TreeView& tree, forms::Node& node) {
  impl_->Gesture(InputMode::kPerson, [&] {
    Binding* b = impl_->Drawn(tree);
    std::optional<Target> t = b ? b->NodeTarget(node) : std::nullopt;
    if (t) {
      QPointer<QObject> alive(b);
      SendClick(t->Widget, t->Pos);
      if (alive) b->AfterGesture();
    } else {
      impl_->renderer.Run([&] { tree.UserClickNode(&node); });
    }
  });
}

bool ScriptedQt::SetProperty(forms::Control& control, std::string_view property,
                             const forms::PropertyValue& value) {
  bool known = true;
  impl_->Gesture(InputMode::kPerson, [&] {
    Binding* b = impl_->Drawn(control);
    if (b && b->UserSet(property, value)) return;
    impl_->renderer.Run([&] { known = control.Set(property, value); });
  });
  return known;
}

void ScriptedQt::Mouse(forms::Control& control, std::string_view action, int button, double x,
                       double y) {
  impl_->Gesture(InputMode::kScriptedMouse, [&] {
    Binding* b = impl_->Drawn(control);
    if (!b || !b->Widget()) {
      impl_->renderer.Run([&] { control.UserMouse(action, button, x, y); });
      return;
    }
    QEvent::Type type = action == "down" ? QEvent::MouseButtonPress
                        : action == "up" ? QEvent::MouseButtonRelease
                                         : QEvent::MouseMove;
    impl_->renderer.ExpectTwips(x, y);
    // Moves carry the buttons held; a press or release names its button.
    SendMouse(b->Widget(), type, QPoint(Pixels(x), Pixels(y)),
              type == QEvent::MouseMove ? Qt::NoButton : QtButton(button),
              type == QEvent::MouseButtonRelease ? Qt::MouseButtons() : QtButtons(button));
    impl_->renderer.ExpectTwips(std::nullopt, std::nullopt);
  });
}

void ScriptedQt::Mouse(forms::Form& form, std::string_view action, int button, double x, double y) {
  impl_->Gesture(InputMode::kScriptedMouse, [&] {
    QWidget* w = impl_->renderer.Window(form);
    if (!w) {
      impl_->renderer.Run([&] { form.UserMouse(action, button, x, y); });
      return;
    }
    QEvent::Type type = action == "down" ? QEvent::MouseButtonPress
                        : action == "up" ? QEvent::MouseButtonRelease
                                         : QEvent::MouseMove;
    impl_->renderer.ExpectTwips(x, y);
    SendMouse(w, type, QPoint(Pixels(x), Pixels(y)),
              type == QEvent::MouseMove ? Qt::NoButton : QtButton(button),
              type == QEvent::MouseButtonRelease ? Qt::MouseButtons() : QtButtons(button));
    impl_->renderer.ExpectTwips(std::nullopt, std::nullopt);
  });
}

void ScriptedQt::Resize(forms::Form& form, double scaleWidth, double scaleHeight) {
  impl_->Gesture(InputMode::kPerson, [&] {
    QWidget* w = impl_->renderer.Window(form);
    QSize size(Pixels(scaleWidth), Pixels(scaleHeight));
    if (!w || !w->isVisible() || w->size() == size) {
      // No window to resize, or one the size already has: the form hears it all the same.
      impl_->renderer.Run([&] { form.UserResize(scaleWidth, scaleHeight); });
      return;
    }
    impl_->renderer.ExpectTwips(scaleWidth, scaleHeight);
    if (w->minimumSize() == w->maximumSize()) w->setFixedSize(size);
    w->resize(size);
    impl_->renderer.ExpectTwips(std::nullopt, std::nullopt);
  });
}

void ScriptedQt::SetWindowState(forms::Form& form, int state) {
  impl_->Gesture(InputMode::kPerson,
                 [&] { impl_->renderer.Run([&] { form.UserSetWindowState(state); }); });
}

void ScriptedQt::Close(forms::Form& form) {
  impl_->Gesture(InputMode::kPerson, [&] {
    QWidget* w = impl_->renderer.Window(form);
    if (w && !form.IsDocument()) {
      QCloseEvent e;
      QApplication::sendEvent(w, &e);
    } else {
      impl_->renderer.Run([&] { form.UserClose(); });
    }
  });
}

void ScriptedQt::Settle() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  impl_->renderer.FlushAll();
  if (auto e = std::exchange(impl_->pending, nullptr)) std::rethrow_exception(e);
}

void ScriptedQt::SavePictures(const std::string& folder) {
  impl_->renderer.FlushAll();
  QDir().mkpath(ToQ(folder));
  for (forms::Form* f : forms::LoadedForms()) {
    QWidget* w = impl_->renderer.Window(*f);
    if (!w || !w->isVisible()) continue;
    w->grab().save(ToQ(folder + "/" + f->Name() + ".png"));
  }
}

}  // namespace rt::qt
