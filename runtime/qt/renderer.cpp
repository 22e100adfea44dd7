#include "runtime/qt/renderer.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "runtime/qt/binding.h"
#include "runtime/qt/convert.h"

namespace rt::qt {
namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(50);

}  // namespace

// A drawn form: its window and the bindings of its controls.
struct Renderer::Drawn {
  std::unique_ptr<FormBinding> Window;
  std::vector<std::unique_ptr<Binding>> Controls;
  std::map<const forms::Control*, Binding*> ByControl;
};

namespace {

// Keeps an unloaded form's window until the event loop is back where it was, since the unload
// may have come from one of the window's own widgets.
class Grave : public QObject {
 public:
  explicit Grave(std::unique_ptr<Renderer::Drawn> drawn) : drawn_(std::move(drawn)) {}
  ~Grave() override {
    // The bindings go before the window that holds their widgets.
    drawn_->Controls.clear();
  }

 private:
  std::unique_ptr<Renderer::Drawn> drawn_;
};

}  // namespace

std::string ExceptionText(std::exception_ptr e) {
  try {
    std::rethrow_exception(e);
  } catch (const std::exception& x) {
    return x.what();
  } catch (...) {
    return "unknown error";
  }
}

Renderer::Renderer() {
  flushTimer_.setSingleShot(true);
  QObject::connect(&flushTimer_, &QTimer::timeout, [this] { Guard([this] { FlushAll(); }); });
  unexpected_ = [](std::exception_ptr e) {
    QMessageBox::critical(nullptr, "Brindlewick", ToQ("Unexpected error: " + ExceptionText(e)));
  };
  forms::AddObserver(this);
  for (forms::Form* f : forms::LoadedForms())
    Build(*f);
}

Renderer::~Renderer() {
  forms::RemoveObserver(this);
  flushTimer_.stop();
  for (const QPointer<QObject>& grave : graves_)
    delete grave.data();
  for (auto& [form, drawn] : drawn_)
    drawn->Controls.clear();
  drawn_.clear();
}

void Renderer::Run(const std::function<void()>& action) {
  Guard([&] {
    forms::UserAction([&] {
      if (gestureScope_)
        gestureScope_(action);
      else
        action();
    });
  });
  // What the routine changed without a notice (a toolbar button's Enabled) shows at the next
  // turn of the event loop.
  FlushSoon();
}

void Renderer::Guard(const std::function<void()>& work) {
  try {
    work();
  } catch (...) {
    if (unexpected_) unexpected_(std::current_exception());
  }
}

double Renderer::TakeTwips(int pixels, bool vertical) {
  std::optional<double>& expected = vertical ? expectY_ : expectX_;
  double twips = Twips(pixels);
  if (expected && Pixels(*expected) == pixels) twips = *expected;
  expected.reset();
  return twips;
}

QWidget* Renderer::Window(const forms::Form& form) const {
  auto it = drawn_.find(&form);
  return it == drawn_.end() ? nullptr : it->second->Window->Window();
}

FormBinding* Renderer::BindingOf(const forms::Form& form) const {
  auto it = drawn_.find(&form);
  return it == drawn_.end() ? nullptr : it->second->Window.get();
}

Binding* Renderer::BindingOf(const forms::Control& control) const {
  auto it = drawn_.find(&control.Parent());
  if (it == drawn_.end()) return nullptr;
  auto b = it->second->ByControl.find(&control);
  return b == it->second->ByControl.end() ? nullptr : b->second;
}

QWidget* Renderer::WidgetOf(const forms::Control& control) const {
  Binding* b = BindingOf(control);
  return b ? b->Widget() : nullptr;
}

forms::Form* Renderer::FormOfHandle(long hwnd) const {
  for (forms::Form* f : forms::LoadedForms())
    if (f->hWnd() == hwnd && drawn_.count(f)) return f;
  return nullptr;
}

void Renderer::FormLoaded(forms::Form& form) {
  Build(form);
}

void Renderer::Build(forms::Form& form) {
  if (drawn_.count(&form)) return;
  auto drawn = std::make_unique<Drawn>();
  drawn->Window = std::make_unique<FormBinding>(*this, form);
  Drawn& d = *drawn;
  drawn_[&form] = std::move(drawn);
  if (form.IsDocument() && documentHost_) documentHost_(form, d.Window->Window());
  for (forms::Control* c : form.Controls()) {
    std::unique_ptr<Binding> b = MakeBinding(*this, *c);
    if (!b) continue;
    if (QWidget* w = b->Widget()) {
      w->setParent(d.Window->Window());
      w->setObjectName(ToQ(c->DisplayName()));
    }
    d.ByControl[c] = b.get();
    d.Controls.push_back(std::move(b));
  }
  // Containers first, so that what they hold finds its place.
  for (auto& b : d.Controls)
    b->Apply("Container");
  for (auto& b : d.Controls)
    b->ApplyAll();
  d.Window->ApplyAll();
  UpdateTabOrder(form);
}

void Renderer::FormUnloaded(forms::Form& form) {
  auto it = drawn_.find(&form);
  if (it == drawn_.end()) return;
  std::unique_ptr<Drawn> drawn = std::move(it->second);
  drawn_.erase(it);
  for (auto& b : drawn->Controls)
    b->Detach();
  drawn->Window->Detach();
  auto* grave = new Grave(std::move(drawn));
  grave->deleteLater();
  graves_.erase(std::remove_if(graves_.begin(), graves_.end(),
                               [](const QPointer<QObject>& g) { return g.isNull(); }),
                graves_.end());
  graves_.emplace_back(grave);
}

void Renderer::PropertyChanged(forms::Form& form, forms::Control* control,
                               std::string_view property) {
  auto it = drawn_.find(&form);
  if (it == drawn_.end()) return;
  if (!control) {
    it->second->Window->Apply(property);
    return;
  }
  Binding* b = BindingOf(*control);
  if (!b) return;
  if (!b->Deferred(property)) {
    b->Apply(property);
    return;
  }
  b->MarkDirty(property);
  if (RedrawDue()) {
    FlushAll();
    if (QWidget* w = Window(form)) w->repaint();
  }
}

void Renderer::Refreshed(forms::Form& form) {
  if (!RedrawDue()) {
    FlushSoon();
    return;
  }
  FlushAll();
  if (QWidget* w = Window(form)) w->repaint();
}

bool Renderer::RedrawDue() const {
  return clock_() - lastFlush_ >= kRedrawInterval;
}

void Renderer::MarkDeferred(Binding* binding) {
  deferred_.insert(binding);
  FlushSoon();
}

void Renderer::FlushSoon() {
  if (flushTimer_.isActive()) return;
  auto since = clock_() - lastFlush_;
  auto wait =
      since >= kRedrawInterval
          ? 0
          : std::chrono::duration_cast<std::chrono::milliseconds>(kRedrawInterval - since).count();
  flushTimer_.start(static_cast<int>(wait));
}

void Renderer::Forget(Binding* binding) {
  deferred_.erase(binding);
}

void Renderer::FlushAll() {
  lastFlush_ = clock_();
  flushTimer_.stop();
  std::set<Binding*> bindings;
  bindings.swap(deferred_);
  for (Binding* b : bindings)
    b->FlushDirty();
  for (auto& [form, drawn] : drawn_)
    for (auto& b : drawn->Controls)
      b->Refresh();
}

void Renderer::UpdateTabOrder(forms::Form& form) {
  auto it = drawn_.find(&form);
  if (it == drawn_.end()) return;
  SyncScope sync(*this);
  std::vector<forms::Control*> stops;
  for (forms::Control* c : form.Controls()) {
    QWidget* w = WidgetOf(*c);
    if (!w) continue;
    if (!c->HasTabStop()) {
      w->setFocusPolicy(Qt::NoFocus);
      continue;
    }
    w->setFocusPolicy(c->TabStop() ? Qt::StrongFocus : Qt::ClickFocus);
    if (c->TabStop()) stops.push_back(c);
  }
  std::stable_sort(stops.begin(), stops.end(), [](forms::Control* a, forms::Control* b) {
    return a->TabIndex() < b->TabIndex();
  });
  for (std::size_t i = 1; i < stops.size(); ++i)
    QWidget::setTabOrder(WidgetOf(*stops[i - 1]), WidgetOf(*stops[i]));
}

}  // namespace rt::qt
