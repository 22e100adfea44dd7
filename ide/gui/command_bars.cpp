#include "ide/gui/command_bars.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <algorithm>

#include "runtime/qt/convert.h"
#include "runtime/vb/error.h"
#include "runtime/vb/strings.h"

namespace ide::gui {
namespace {

using rt::qt::FromQ;
using rt::qt::ToQ;

const char kParameter[] = "bwParameter";

// The controls of one bar or menu: the actions of its widget that are no separators.
class QtControls;

class QtControl : public vbide::CommandBarControl {
 public:
  QtControl(QAction* action, QWidget* owner) : action_(action), owner_(owner) {}
  std::string Caption() override { return FromQ(Live("Caption").text()); }
  void SetCaption(const std::string& c) override { Live("Caption").setText(ToQ(c)); }
  long Type() override {
    return Live("Type").menu() ? vbide::msoControlPopup : vbide::msoControlButton;
  }
  std::string Parameter() override {
    return FromQ(Live("Parameter").property(kParameter).toString());
  }
  void SetParameter(const std::string& v) override {
    Live("Parameter").setProperty(kParameter, ToQ(v));
  }
  vb::Object<vbide::CommandBarControls> Controls() override;
  void Delete() override {
    QAction& a = Live("Delete");
    if (owner_) owner_->removeAction(&a);
    a.setVisible(false);
    a.deleteLater();
    action_ = nullptr;
  }
  QAction* Action() const { return action_; }

 private:
  QAction& Live(const char* method) const {
    if (!action_) vbide::RaiseMethodFailed(method, "CommandBarControl");
    return *action_;
  }
  QPointer<QAction> action_;
  QPointer<QWidget> owner_;
};

class QtControls : public vbide::CommandBarControls {
 public:
  explicit QtControls(QWidget* owner) : owner_(owner) {}
  long Count() override { return static_cast<long>(Actions().size()); }
  vb::Object<vbide::CommandBarControl> Item(long index) override {
    auto actions = Actions();
    if (index < 1 || index > static_cast<long>(actions.size()))
      vbide::RaiseIdeError(vb::kInvalidProcedureCall);
    return Wrap(actions[static_cast<std::size_t>(index - 1)]);
  }
  vb::Object<vbide::CommandBarControl> Item(const std::string& caption) override {
    for (QAction* a : Actions())
      if (QtCommandBars::PlainCaption(FromQ(a->text())) == QtCommandBars::PlainCaption(caption))
        return Wrap(a);
    vbide::RaiseIdeError(vb::kInvalidProcedureCall);
  }
  vb::Object<vbide::CommandBarControl> AddButton(const std::string& caption, long before) override {
    QWidget& owner = Owner();
    auto actions = Actions();
    auto* action = new QAction(ToQ(caption), &owner);
    if (before > 0 && before <= static_cast<long>(actions.size()))
      owner.insertAction(actions[static_cast<std::size_t>(before - 1)], action);
    else
      owner.addAction(action);
    return Wrap(action);
  }

 private:
  QWidget& Owner() const {
    if (!owner_) vbide::RaiseMethodFailed("Controls", "CommandBar");
    return *owner_;
  }
  std::vector<QAction*> Actions() const {
    std::vector<QAction*> v;
    for (QAction* a : Owner().actions())
      if (!a->isSeparator()) v.push_back(a);
    return v;
  }
  vb::Object<vbide::CommandBarControl> Wrap(QAction* a) const {
    return vb::New<QtControl>(a, owner_.data());
  }
  QPointer<QWidget> owner_;
};

vb::Object<vbide::CommandBarControls> QtControl::Controls() {
  QAction& a = Live("Controls");
  if (!a.menu()) vbide::RaiseIdeError(vb::kObjectDoesNotSupport);
  return vb::New<QtControls>(a.menu());
}

class QtBar : public vbide::CommandBar {
 public:
  QtBar(std::string name, QWidget* widget) : name_(std::move(name)), widget_(widget) {}
  std::string Name() override { return name_; }
  vb::Object<vbide::CommandBarControls> Controls() override {
    return vb::New<QtControls>(widget_.data());
  }

 private:
  std::string name_;
  QPointer<QWidget> widget_;
};

class QtBars : public vbide::CommandBars {
 public:
  QtBars(QMenuBar* menuBar, QToolBar* toolbar) : menuBar_(menuBar), toolbar_(toolbar) {}
  vb::Object<vbide::CommandBar> Item(const std::string& name) override {
    if (vb::LCase(name) == "menu bar" && menuBar_) return vb::New<QtBar>("Menu Bar", menuBar_);
    if (vb::LCase(name) == "add-in toolbar" && toolbar_)
      return vb::New<QtBar>("Add-In Toolbar", toolbar_);
    vbide::RaiseIdeError(vb::kInvalidProcedureCall);
  }

 private:
  QPointer<QMenuBar> menuBar_;
  QPointer<QToolBar> toolbar_;
};

}  // namespace

class QtCommandBars::Source : public vbide::CommandBarEvents,
                              public std::enable_shared_from_this<Source> {
 public:
  Source(QtCommandBars& bars, QAction* action, std::string progId)
      : bars_(bars), action_(action), progId_(std::move(progId)) {}
  ~Source() override { QObject::disconnect(connection_); }
  void Connect() {
    std::weak_ptr<Source> self = weak_from_this();
    connection_ = QObject::connect(action_, &QAction::triggered, [self] {
      if (auto s = self.lock()) s->Clicked();
    });
  }
  long Advise(vbide::CommandBarEventsSink* sink) override {
    sinks_.emplace_back(++lastCookie_, sink);
    return lastCookie_;
  }
  void Unadvise(long cookie) override {
    std::erase_if(sinks_, [cookie](const auto& s) { return s.first == cookie; });
  }

 private:
  void Clicked() {
    auto keep = shared_from_this();
    auto sinks = sinks_;
    auto click = [&] {
      for (auto& [cookie, sink] : sinks) {
        bool handled = false, cancelDefault = false;
        com::HRESULT hr =
            sink->Click(vb::New<QtControl>(action_.data(), nullptr), handled, cancelDefault);
        if (com::Failed(hr)) {
          vb::Error error = com::TakeError(hr);
          if (bars_.failed_) bars_.failed_(progId_, error);
          return;
        }
      }
    };
    if (bars_.runner_)
      bars_.runner_(click);
    else
      click();
  }

  QtCommandBars& bars_;
  QPointer<QAction> action_;
  std::string progId_;
  QMetaObject::Connection connection_;
  std::vector<std::pair<long, vbide::CommandBarEventsSink*>> sinks_;
  long lastCookie_ = 0;
};

QtCommandBars::QtCommandBars(QMenuBar* menuBar, QToolBar* addInToolbar)
    : menuBar_(menuBar), addInToolbar_(addInToolbar) {}

QtCommandBars::~QtCommandBars() = default;

std::string QtCommandBars::PlainCaption(std::string caption) {
  caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
  return vb::LCase(caption);
}

vb::Object<vbide::CommandBars> QtCommandBars::Bars() {
  return vb::New<QtBars>(menuBar_.data(), addInToolbar_.data());
}

vb::Object<vbide::CommandBarEvents> QtCommandBars::EventsFor(
    vb::Object<vbide::CommandBarControl> control, const std::string& progId) {
  auto* c = dynamic_cast<QtControl*>(control.get());
  if (!c || !c->Action()) vbide::RaiseIdeError(vb::kInvalidProcedureCall);
  auto source = std::make_shared<Source>(*this, c->Action(), progId);
  source->Connect();
  return vb::Object<vbide::CommandBarEvents>(source);
}

}  // namespace ide::gui
