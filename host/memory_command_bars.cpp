#include "host/memory_ide.h"

#include <algorithm>
#include <utility>

#include "runtime/vb/strings.h"

namespace vbide {

class MemoryControl : public CommandBarControl, public std::enable_shared_from_this<MemoryControl> {
 public:
  MemoryControl(std::string caption, long type, MemoryControls* parent)
      : caption_(std::move(caption)), type_(type), parent_(parent) {}
  std::string Caption() override { return Live("Caption"), caption_; }
  void SetCaption(const std::string& c) override { Live("Caption"), caption_ = c; }
  long Type() override { return Live("Type"), type_; }
  std::string Parameter() override { return Live("Parameter"), parameter_; }
  void SetParameter(const std::string& v) override { Live("Parameter"), parameter_ = v; }
  vb::Object<CommandBarControls> Controls() override;
  void Delete() override;
  std::shared_ptr<MemoryControls> Children();

 private:
  void Live(const char* method) const {
    if (deleted_) RaiseMethodFailed(method, "CommandBarControl");
  }
  std::string caption_;
  long type_;
  std::string parameter_;
  MemoryControls* parent_;
  std::shared_ptr<MemoryControls> children_;
  bool deleted_ = false;
};

class MemoryControls : public CommandBarControls {
 public:
  long Count() override { return static_cast<long>(items_.size()); }
  vb::Object<CommandBarControl> Item(long index) override {
    if (index < 1 || index > Count()) RaiseIdeError(vb::kInvalidProcedureCall);
    return vb::Object<CommandBarControl>(items_[static_cast<std::size_t>(index - 1)]);
  }
  vb::Object<CommandBarControl> Item(const std::string& caption) override {
    auto c = Find(caption);
    if (!c) RaiseIdeError(vb::kInvalidProcedureCall);
    return vb::Object<CommandBarControl>(c);
  }
  vb::Object<CommandBarControl> AddButton(const std::string& caption, long before) override {
    return vb::Object<CommandBarControl>(Add(caption, msoControlButton, before));
  }

  std::shared_ptr<MemoryControl> Add(const std::string& caption, long type, long before = 0) {
    auto c = std::make_shared<MemoryControl>(caption, type, this);
    auto at = before > 0 && before <= Count() ? items_.begin() + (before - 1) : items_.end();
    items_.insert(at, c);
    return c;
  }
  std::shared_ptr<MemoryControl> Find(const std::string& caption) const {
    auto plain = [](std::string s) {
      s.erase(std::remove(s.begin(), s.end(), '&'), s.end());
      return vb::LCase(s);
    };
    for (const auto& c : items_)
      if (plain(c->Caption()) == plain(caption)) return c;
    return nullptr;
  }
  void Remove(MemoryControl* c) {
    std::erase_if(items_, [c](const auto& p) { return p.get() == c; });
  }
  const std::vector<std::shared_ptr<MemoryControl>>& Items() const { return items_; }

 private:
  std::vector<std::shared_ptr<MemoryControl>> items_;
};

std::shared_ptr<MemoryControls> MemoryControl::Children() {
  if (!children_) children_ = std::make_shared<MemoryControls>();
  return children_;
}

vb::Object<CommandBarControls> MemoryControl::Controls() {
  Live("Controls");
  if (type_ != msoControlPopup) RaiseIdeError(vb::kObjectDoesNotSupport);
  return vb::Object<CommandBarControls>(Children());
}

void MemoryControl::Delete() {
  Live("Delete");
  deleted_ = true;
  auto keep = shared_from_this();  // the parent's list held the last reference
  parent_->Remove(this);
}

class MemoryBar : public CommandBar {
 public:
  explicit MemoryBar(std::string name)
      : name_(std::move(name)), controls_(std::make_shared<MemoryControls>()) {}
  std::string Name() override { return name_; }
  vb::Object<CommandBarControls> Controls() override {
    return vb::Object<CommandBarControls>(controls_);
  }
  MemoryControls& Impl() { return *controls_; }

 private:
  std::string name_;
  std::shared_ptr<MemoryControls> controls_;
};

class MemoryBarEvents : public CommandBarEvents {
 public:
  explicit MemoryBarEvents(std::shared_ptr<MemoryControl> control) : control_(std::move(control)) {}
  long Advise(CommandBarEventsSink* sink) override {
    sinks_.emplace_back(++lastCookie_, sink);
    return lastCookie_;
  }
  void Unadvise(long cookie) override {
    std::erase_if(sinks_, [cookie](const auto& s) { return s.first == cookie; });
  }
  const std::shared_ptr<MemoryControl>& Control() const { return control_; }
  std::vector<CommandBarEventsSink*> Sinks() const {
    std::vector<CommandBarEventsSink*> v;
    for (const auto& s : sinks_)
      v.push_back(s.second);
    return v;
  }

 private:
  std::shared_ptr<MemoryControl> control_;
  std::vector<std::pair<long, CommandBarEventsSink*>> sinks_;
  long lastCookie_ = 0;
};

class MemoryVbe::BarsObject : public vbide::CommandBars {
 public:
  explicit BarsObject(std::weak_ptr<MemoryVbe> vbe) : vbe_(std::move(vbe)) {}
  vb::Object<CommandBar> Item(const std::string& name) override {
    auto vbe = vbe_.lock();
    if (!vbe) RaiseIdeError(vb::kObjectNotSet);
    if (auto bar = vbe->Bar(name)) return vb::Object<CommandBar>(bar);
    RaiseIdeError(vb::kInvalidProcedureCall);
  }

 private:
  std::weak_ptr<MemoryVbe> vbe_;
};

class MemoryVbe::EventsObject : public vbide::Events {
 public:
  explicit EventsObject(std::weak_ptr<MemoryVbe> vbe) : vbe_(std::move(vbe)) {}
  vb::Object<vbide::CommandBarEvents> CommandBarEvents(
      vb::Object<CommandBarControl> control) override {
    auto c = std::dynamic_pointer_cast<MemoryControl>(control.shared());
    auto vbe = vbe_.lock();
    if (!c || !vbe) RaiseIdeError(vb::kInvalidProcedureCall);
    auto source = std::make_shared<MemoryBarEvents>(c);
    vbe->sources_.push_back(source);
    return vb::Object<vbide::CommandBarEvents>(source);
  }

 private:
  std::weak_ptr<MemoryVbe> vbe_;
};

namespace {

const char* const kMenus[] = {"&File", "&Edit",  "&View",    "&Project", "F&ormat", "&Debug",
                              "&Run",  "&Tools", "&Add-Ins", "&Window",  "&Help"};
const char kMenuBar[] = "Menu Bar";
const char kAddInToolbar[] = "Add-In Toolbar";

}  // namespace

std::vector<std::shared_ptr<MemoryBar>> MemoryVbe::IdeBars() {
  auto menuBar = std::make_shared<MemoryBar>(kMenuBar);
  for (const char* menu : kMenus)
    menuBar->Impl().Add(menu, msoControlPopup);
  return {menuBar, std::make_shared<MemoryBar>(kAddInToolbar)};
}

vb::Object<vbide::CommandBars> MemoryVbe::CommandBars() {
  return vb::New<BarsObject>(weak_from_this());
}

vb::Object<vbide::Events> MemoryVbe::Events() {
  return vb::New<EventsObject>(weak_from_this());
}

std::shared_ptr<MemoryBar> MemoryVbe::Bar(const std::string& name) const {
  for (auto& b : bars_)
    if (vb::LCase(b->Name()) == vb::LCase(name)) return b;
  return nullptr;
}

MemoryControls* MemoryVbe::MenuControls(const std::string& menu) const {
  if (auto bar = Bar(kMenuBar))
    if (auto popup = bar->Impl().Find(menu)) return popup->Children().get();
  if (auto bar = Bar(menu)) return &bar->Impl();
  return nullptr;
}

std::optional<std::vector<std::string>> MemoryVbe::MenuCaptions(const std::string& menu) const {
  MemoryControls* controls = MenuControls(menu);
  if (!controls) return std::nullopt;
  std::vector<std::string> captions;
  for (auto& c : controls->Items())
    captions.push_back(c->Caption());
  return captions;
}

void MemoryVbe::AddAddInToolbarButton(const std::string& caption, const std::string& progId) {
  Bar(kAddInToolbar)->Impl().Add(caption, msoControlButton)->SetParameter(progId);
}

std::optional<CommandResult> MemoryVbe::ClickCommand(const std::string& menu,
                                                     const std::string& caption) {
  MemoryControls* controls = MenuControls(menu);
  std::shared_ptr<MemoryControl> control = controls ? controls->Find(caption) : nullptr;
  if (!control) return std::nullopt;
  // Sources the add-in has dropped no longer hear anything.
  std::erase_if(sources_, [](const auto& w) { return w.expired(); });
  std::vector<std::shared_ptr<MemoryBarEvents>> live;
  for (auto& w : sources_)
    if (auto s = w.lock(); s && s->Control() == control) live.push_back(s);
  for (auto& source : live) {
    for (CommandBarEventsSink* sink : source->Sinks()) {
      bool handled = false, cancelDefault = false;
      com::HRESULT hr = sink->Click(vb::Object<CommandBarControl>(control), handled, cancelDefault);
      if (com::Failed(hr)) return CommandResult{hr, com::TakeError(hr)};
    }
  }
  return CommandResult{};
}

}  // namespace vbide
