#include "runtime/qt/binding.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QResizeEvent>

#include "runtime/qt/convert.h"

namespace rt::qt {
namespace {

constexpr long kSwpNoSize = 0x1;
constexpr long kSwpNoMove = 0x2;
constexpr long kSwpNoZOrder = 0x4;
constexpr long kSwpNoActivate = 0x10;
constexpr long kSwpShowWindow = 0x40;
constexpr long kHwndTopMost = -1;
constexpr long kHwndNoTopMost = -2;

int ButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return 1;
    case Qt::RightButton:
      return 2;
    case Qt::MiddleButton:
      return 4;
    default:
      return 0;
  }
}

int ButtonsOf(Qt::MouseButtons buttons) {
  return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
         (buttons & Qt::MiddleButton ? 4 : 0);
}

const char* MouseAction(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
      return "down";
    case QEvent::MouseButtonRelease:
      return "up";
    case QEvent::MouseMove:
      return "move";
    default:
      return nullptr;
  }
}

// Whether the person's focus move is one the form should hear: a click, Tab or a mnemonic,
// not a window coming to the front or the renderer's own move.
bool PersonMovedFocus(Qt::FocusReason reason) {
  return reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
         reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
}

// The top-level window of a form.
class FormWindow : public QWidget {
 public:
  explicit FormWindow(FormBinding* binding) : binding_(binding) {}
  void Release() { binding_ = nullptr; }

 protected:
  bool event(QEvent* e) override {
    if (binding_) {
      switch (e->type()) {
        case QEvent::Close:
          if (!binding_->Closing()) {
            e->ignore();
            return true;
          }
          break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
          if (binding_->Mouse(static_cast<QMouseEvent*>(e))) return true;
          break;
        case QEvent::WindowStateChange:
          binding_->StateChanged();
          break;
        default:
          break;
      }
    }
    return QWidget::event(e);
  }
  void moveEvent(QMoveEvent* e) override {
    QWidget::moveEvent(e);
    if (binding_) binding_->Moved();
  }
  void keyPressEvent(QKeyEvent* e) override {
    if (!binding_ || !binding_->Key(e)) QWidget::keyPressEvent(e);
  }
  void resizeEvent(QResizeEvent* e) override {
    QWidget::resizeEvent(e);
    if (binding_) binding_->Resized(e->size().width(), e->size().height());
  }

 private:
  FormBinding* binding_;
};

}  // namespace

Qt::CursorShape CursorOf(long mousePointer) {
  switch (mousePointer) {
    case 2:
      return Qt::CrossCursor;
    case 3:
      return Qt::IBeamCursor;
    case 5:
    case 15:
      return Qt::SizeAllCursor;
    case 6:
      return Qt::SizeBDiagCursor;
    case 7:
      return Qt::SizeVerCursor;
    case 8:
      return Qt::SizeFDiagCursor;
    case forms::vbSizeWE:
      return Qt::SizeHorCursor;
    case forms::vbHourglass:
      return Qt::WaitCursor;
    case 12:
      return Qt::ForbiddenCursor;
    case 13:
      return Qt::BusyCursor;
    case 14:
      return Qt::WhatsThisCursor;
    default:
      return Qt::ArrowCursor;
  }
}

// ---- Binding

Binding::Binding(Renderer& renderer, forms::Control& control)
    : renderer_(renderer), control_(&control) {}

Binding::~Binding() {
  if (control_) renderer_.Forget(this);
}

void Binding::SetWidget(QWidget* widget) {
  widget_ = widget;
  // A control's mouse events are its own, never its container's too (a press on a label does
  // not drag the window under it).
  widget->setAttribute(Qt::WA_NoMousePropagation);
  Watch(widget);
}

void Binding::Watch(QWidget* part) {
  part->installEventFilter(this);
}

void Binding::Detach() {
  control_ = nullptr;
  dirty_.clear();
  renderer_.Forget(this);
}

void Binding::ApplyAll() {
  if (!control_) return;
  Apply("Container");
  // The tab order is the whole window's: the renderer sets it once the window is built.
  for (const forms::Property& p : control_->Properties())
    if (p.Name != "TabIndex" && p.Name != "TabStop") Apply(p.Name);
  // The parts outside the table.
  for (const char* part : {"Font", "Picture", "List", "Nodes", "Panels", "Buttons", "Tabs"})
    Apply(part);
}

void Binding::MarkDirty(std::string_view property) {
  if (dirty_.find(property) == dirty_.end()) dirty_.emplace(property);
  renderer_.MarkDeferred(this);
}

void Binding::FlushDirty() {
  std::set<std::string, std::less<>> dirty;
  dirty.swap(dirty_);
  for (const std::string& p : dirty)
    Apply(p);
}

void Binding::Place() {
  if (!control_ || !widget_) return;
  QPoint offset;
  if (forms::Control* container = control_->Container())
    if (Binding* b = renderer_.BindingOf(*container)) offset = b->ContentOffset();
  int left = Pixels(control_->Left()), top = Pixels(control_->Top());
  widget_->setGeometry(left - offset.x(), top - offset.y(),
                       Pixels(control_->Left() + control_->Width()) - left,
                       Pixels(control_->Top() + control_->Height()) - top);
}

void Binding::ApplyColors() {
  if (!control_ || !widget_) return;
  QPalette palette = widget_->palette();
  QPalette app = QPalette();
  auto set = [&](QPalette::ColorRole role, long color) {
    QColor c = VbColor(color, app);
    palette.setColor(QPalette::Active, role, c);
    palette.setColor(QPalette::Inactive, role, c);
    if (role != ForeRole()) palette.setColor(QPalette::Disabled, role, c);
  };
  set(BackRole(), control_->BackColor());
  set(ForeRole(), control_->ForeColor());
  widget_->setPalette(palette);
  widget_->setAutoFillBackground(FillsBackground());
}

void Binding::Apply(std::string_view property) {
  if (!control_ || !widget_) return;
  Renderer::SyncScope sync(renderer_);
  forms::Control& c = *control_;
  if (property == "Left" || property == "Top" || property == "Width" || property == "Height") {
    Place();
  } else if (property == "Visible") {
    widget_->setVisible(c.Visible());
  } else if (property == "Enabled") {
    widget_->setEnabled(c.Enabled());
  } else if (property == "ToolTipText") {
    widget_->setToolTip(ToQ(c.ToolTipText()));
  } else if (property == "BackColor" || property == "ForeColor") {
    ApplyColors();
  } else if (property == "Font" || property.substr(0, 4) == "Font") {
    widget_->setFont(VbFont(c.GetFont()));
  } else if (property == "MousePointer") {
    if (c.MousePointer() == forms::vbDefault)
      widget_->unsetCursor();
    else
      widget_->setCursor(CursorOf(c.MousePointer()));
  } else if (property == "TabIndex" || property == "TabStop") {
    renderer_.UpdateTabOrder(c.Parent());
  } else if (property == "Container") {
    QWidget* parent = renderer_.Window(c.Parent());
    if (forms::Control* container = c.Container())
      if (Binding* b = renderer_.BindingOf(*container))
        if (QWidget* content = b->ContentParent(c.ContainerTab())) parent = content;
    if (parent && widget_->parentWidget() != parent) {
      widget_->setParent(parent);
      widget_->setVisible(c.Visible());
    }
    Place();
  }
}

void Binding::Input(const std::function<void()>& action, std::string_view reshow) {
  if (!control_ || renderer_.Syncing()) return;
  renderer_.Run(action);
  if (control_ && !reshow.empty()) renderer_.Guard([&] { Apply(reshow); });
}

Target Binding::ClickTarget() {
  return {widget_, widget_ ? widget_->rect().center() : QPoint()};
}

bool Binding::eventFilter(QObject* watched, QEvent* event) {
  if (!control_ || !watched->isWidgetType()) return false;
  auto* part = static_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      return Mouse(part, static_cast<QMouseEvent*>(event));
    case QEvent::KeyPress:
      if (renderer_.Syncing()) return false;
      return KeyPress(static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn: {
      auto reason = static_cast<QFocusEvent*>(event)->reason();
      forms::Control* c = control_;
      if (!renderer_.Syncing() && PersonMovedFocus(reason) && c->Parent().ActiveControl() != c &&
          c->AcceptsInput())
        renderer_.Run([c] { c->Parent().MoveFocus(c); });
      return false;
    }
    default:
      return false;
  }
}

bool Binding::Mouse(QWidget* part, QMouseEvent* event) {
  forms::Control* c = control_;
  InputMode mode = renderer_.Mode();
  QPoint pos = part->mapTo(widget_, event->position().toPoint());
  QEvent::Type type = event->type();
  switch (mode) {
    case InputMode::kScriptedMouse:
      if (const char* action = MouseAction(type)) {
        double x = renderer_.TakeTwips(pos.x(), false), y = renderer_.TakeTwips(pos.y(), true);
        int button =
            type == QEvent::MouseMove ? ButtonsOf(event->buttons()) : ButtonOf(event->button());
        renderer_.Run([=] { c->UserMouse(action, button, x, y); });
      }
      return true;
    case InputMode::kScriptedClick:
      if (NativeClick()) return false;
      if (type == QEvent::MouseButtonRelease) renderer_.Run([c] { c->UserClick(); });
      return true;
    case InputMode::kScriptedDblClick:
      if (type == QEvent::MouseButtonDblClick) renderer_.Run([c] { c->UserDblClick(); });
      return true;
    case InputMode::kPerson:
    case InputMode::kScriptedKeys:
      break;
  }
  if (renderer_.Syncing()) return false;
  if (type == QEvent::MouseButtonDblClick) {
    if (!NativeClick()) renderer_.Run([c] { c->UserDblClick(); });
    return false;
  }
  if (const char* action = MouseAction(type)) {
    static const char* const kEvents[] = {"MouseDown", "MouseUp", "MouseMove"};
    const char* name = type == QEvent::MouseButtonPress     ? kEvents[0]
                       : type == QEvent::MouseButtonRelease ? kEvents[1]
                                                            : kEvents[2];
    if (c->Parent().HasHandler(c->Name(), name)) {
      int button =
          type == QEvent::MouseMove ? ButtonsOf(event->buttons()) : ButtonOf(event->button());
      double x = Twips(pos.x()), y = Twips(pos.y());
      renderer_.Run([=] { c->UserMouse(action, button, x, y); });
    }
  }
  if (type == QEvent::MouseButtonRelease && ClickOnRelease() && control_ &&
      widget_->rect().contains(pos) && event->button() == Qt::LeftButton)
    renderer_.Run([c] { c->UserClick(); });
  return false;
}

// ---- FormBinding

FormBinding::FormBinding(Renderer& renderer, forms::Form& form)
    : renderer_(renderer), form_(&form), window_(new FormWindow(this)) {
  window_->setObjectName(ToQ(form.Name()));
  window_->setAttribute(Qt::WA_DeleteOnClose, false);
}

FormBinding::~FormBinding() {
  if (window_) {
    static_cast<FormWindow*>(window_.data())->Release();
    delete window_.data();
  }
}

void FormBinding::Detach() {
  form_ = nullptr;
  if (window_) {
    static_cast<FormWindow*>(window_.data())->Release();
    window_->hide();
  }
}

void FormBinding::ApplyAll() {
  if (!form_) return;
  for (const forms::Property& p : form_->Properties())
    if (p.Name != "Visible") Apply(p.Name);
  Apply("MousePointer");
  Apply("Visible");
}

void FormBinding::ApplyFlags() {
  if (!form_ || !window_ || (form_->IsDocument() && window_->parentWidget())) return;
  int border = form_->BorderStyle();
  bool titleBar = form_->ControlBox() || !form_->Caption().empty();
  Qt::WindowFlags f;
  switch (border) {
    case forms::vbBSNone:
      f = Qt::Window | Qt::FramelessWindowHint;
      break;
    case forms::vbFixedToolWindow:
    case forms::vbSizableToolWindow:
      f = Qt::Tool;
      break;
    case forms::vbFixedDialog:
      f = Qt::Dialog;
      break;
    default:
      f = Qt::Window;
      break;
  }
  if (border != forms::vbBSNone) {
    f |= Qt::CustomizeWindowHint;
    if (titleBar) f |= Qt::WindowTitleHint;
    if (form_->ControlBox()) {
      f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
      if (border == forms::vbSizable || border == forms::vbFixedSingle)
        f |= Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint;
    }
  }
  if (topMost_) f |= Qt::WindowStaysOnTopHint;
  if (window_->windowFlags() == f) return;
  bool shown = window_->isVisible();
  window_->setWindowFlags(f);
  if (shown) window_->show();
}

void FormBinding::Apply(std::string_view property) {
  if (!form_ || !window_) return;
  Renderer::SyncScope sync(renderer_);
  forms::Form& f = *form_;
  bool hosted = f.IsDocument() && window_->parentWidget();
  if (property == "Caption") {
    window_->setWindowTitle(ToQ(f.Caption()));
    ApplyFlags();
  } else if (property == "Left" || property == "Top") {
    if (!hosted && Normal()) MoveWindow(QPoint(Pixels(f.Left()), Pixels(f.Top())));
  } else if (property == "Width" || property == "Height" || property == "BorderStyle" ||
             property == "ControlBox") {
    if (property == "BorderStyle" || property == "ControlBox") ApplyFlags();
    if (!Normal()) return;  // a maximised or minimised window keeps the size the system gave
    QSize size(Pixels(f.ScaleWidth()), Pixels(f.ScaleHeight()));
    int border = f.BorderStyle();
    bool fixed = border == forms::vbFixedSingle || border == forms::vbFixedDialog ||
                 border == forms::vbFixedToolWindow;
    if (fixed && !hosted) {
      window_->setFixedSize(size);
    } else {
      window_->setMinimumSize(0, 0);
      window_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
      window_->resize(size);
    }
  } else if (property == "Visible") {
    window_->setVisible(f.Visible());
  } else if (property == "WindowState") {
    Qt::WindowStates want = f.WindowState() == forms::vbMinimized   ? Qt::WindowMinimized
                            : f.WindowState() == forms::vbMaximized ? Qt::WindowMaximized
                                                                    : Qt::WindowNoState;
    if (!hosted && window_->windowState() != want) window_->setWindowState(want);
  } else if (property == "BackColor") {
    QPalette palette = window_->palette();
    palette.setColor(QPalette::Window, VbColor(f.BackColor(), QPalette()));
    window_->setPalette(palette);
    window_->setAutoFillBackground(true);
  } else if (property == "MousePointer") {
    if (f.MousePointer() == forms::vbDefault)
      window_->unsetCursor();
    else
      window_->setCursor(CursorOf(f.MousePointer()));
  } else if (property == "ActiveControl") {
    if (forms::Control* c = f.ActiveControl())
      if (QWidget* w = renderer_.WidgetOf(*c)) w->setFocus(Qt::OtherFocusReason);
  }
}

void FormBinding::SetWindowPos(long insertAfter, long x, long y, long cx, long cy, long flags) {
  if (!form_ || !window_) return;
  Renderer::SyncScope sync(renderer_);
  if (!(flags & kSwpNoZOrder) && (insertAfter == kHwndTopMost || insertAfter == kHwndNoTopMost)) {
    topMost_ = insertAfter == kHwndTopMost;
    ApplyFlags();
  }
  // Only a window this call shows is shown without taking the activation; a later Show activates.
  // The form stays the authority: a hidden form's window is not shown.
  if ((flags & kSwpShowWindow) && form_->Visible() && !window_->isVisible()) {
    window_->setAttribute(Qt::WA_ShowWithoutActivating, (flags & kSwpNoActivate) != 0);
    window_->show();
    window_->setAttribute(Qt::WA_ShowWithoutActivating, false);
  }
  if (!(flags & kSwpNoMove)) MoveWindow(QPoint(x, y));
  if (!(flags & kSwpNoSize)) {
    // The call gives the outer size; the window's frame is the form's.
    int frameWidth = Pixels(form_->Width() - form_->ScaleWidth());
    int frameHeight = Pixels(form_->Height() - form_->ScaleHeight());
    QSize size(std::max(0L, cx - frameWidth), std::max(0L, cy - frameHeight));
    if (window_->minimumSize() == window_->maximumSize())
      window_->setFixedSize(size);
    else
      window_->resize(size);
  }
}

void FormBinding::MoveWindow(QPoint at) {
  placedAt_ = at;
  window_->move(at);
}

bool FormBinding::Normal() const {
  return !(window_->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
}

void FormBinding::Moved() {
  if (!form_ || renderer_.Syncing() || !renderer_.FollowsWindowMoves()) return;
  if (!form_->Visible() || !Normal() || (form_->IsDocument() && window_->parentWidget())) return;
  QPoint at = window_->pos();
  // Our own moves arrive late too (a hidden window hears of its move when shown).
  if (at == placedAt_ || (at.x() == Pixels(form_->Left()) && at.y() == Pixels(form_->Top())))
    return;
  // The user moved the window: VB raises no event, the form's Left and Top follow.
  forms::Form* f = form_;
  double left = Twips(at.x()), top = Twips(at.y());
  renderer_.Run([=] {
    f->SetLeft(left);
    f->SetTop(top);
  });
}

void FormBinding::StateChanged() {
  if (!form_ || renderer_.Syncing()) return;
  Qt::WindowStates s = window_->windowState();
  int state = s & Qt::WindowMinimized   ? forms::vbMinimized
              : s & Qt::WindowMaximized ? forms::vbMaximized
                                        : forms::vbNormal;
  if (state == form_->WindowState()) return;
  forms::Form* f = form_;
  renderer_.Run([=] { f->UserSetWindowState(state); });
}

void FormBinding::Resized(int width, int height) {
  if (!form_ || renderer_.Syncing() || !form_->Visible()) return;
  // Maximised, the form has the size the runtime gives it; minimised, no size at all.
  if (!Normal()) return;
  if (width == Pixels(form_->ScaleWidth()) && height == Pixels(form_->ScaleHeight())) return;
  double w = renderer_.TakeTwips(width, false), h = renderer_.TakeTwips(height, true);
  forms::Form* f = form_;
  renderer_.Run([=] { f->UserResize(w, h); });
}

bool FormBinding::Closing() {
  if (!form_) return true;
  forms::Form* f = form_;
  renderer_.Run([f] { f->UserClose(); });
  // An unload destroys the window; a cancelled one keeps it.
  return false;
}

bool FormBinding::Key(QKeyEvent* event) {
  if (!form_ || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
  bool escape = event->key() == Qt::Key_Escape;
  bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (!escape && !enter) return false;
  // Esc presses the window's Cancel button, Enter its Default button (a key no control took).
  for (forms::Control* c : form_->Controls()) {
    auto* button = dynamic_cast<forms::CommandButton*>(c);
    if (!button || !button->AcceptsInput() || !(escape ? button->Cancel() : button->Default()))
      continue;
    renderer_.Run([button] { button->UserClick(); });
    return true;
  }
  return false;
}

bool FormBinding::Mouse(QMouseEvent* event) {
  if (!form_) return false;
  const char* action = MouseAction(event->type());
  if (!action) return false;
  forms::Form* f = form_;
  int button =
      event->type() == QEvent::MouseMove ? ButtonsOf(event->buttons()) : ButtonOf(event->button());
  QPoint pos = event->position().toPoint();
  if (renderer_.Mode() == InputMode::kScriptedMouse) {
    double x = renderer_.TakeTwips(pos.x(), false), y = renderer_.TakeTwips(pos.y(), true);
    renderer_.Run([=] { f->UserMouse(action, button, x, y); });
    return true;
  }
  const char* name = event->type() == QEvent::MouseButtonPress     ? "MouseDown"
                     : event->type() == QEvent::MouseButtonRelease ? "MouseUp"
                                                                   : "MouseMove";
  if (!renderer_.Syncing() && f->HasHandler("Form", name)) {
    double x = Twips(pos.x()), y = Twips(pos.y());
    renderer_.Run([=] { f->UserMouse(action, button, x, y); });
  }
  return false;
}

// ---- The kinds

std::unique_ptr<Binding> MakeBinding(Renderer& renderer, forms::Control& control) {
  if (auto b = MakeSimpleBinding(renderer, control)) return b;
  if (auto b = MakeListBinding(renderer, control)) return b;
  return MakeBarBinding(renderer, control);
}

}  // namespace rt::qt
