#include "host/memory_ide.h"

#include <algorithm>

#include "runtime/forms/form.h"
#include "runtime/vb/strings.h"

namespace vbide {

CodeModule::~CodeModule() = default;
CodePane::~CodePane() = default;
VBComponent::~VBComponent() = default;
CommandBarControls::~CommandBarControls() = default;
CommandBarControl::~CommandBarControl() = default;
CommandBar::~CommandBar() = default;
CommandBars::~CommandBars() = default;
CommandBarEventsSink::~CommandBarEventsSink() = default;
CommandBarEvents::~CommandBarEvents() = default;
Events::~Events() = default;
LinkedWindows::~LinkedWindows() = default;
Window::~Window() = default;
AddIn::~AddIn() = default;
Addins::~Addins() = default;
Windows::~Windows() = default;
VBE::~VBE() = default;
ObjectActivator::~ObjectActivator() = default;

namespace {

[[noreturn]] void Raise(long number) {
  throw vb::Error(number, "VBIDE", vb::StandardDescription(number));
}

// What a call on a destroyed object (a closed window, a deleted menu command) gives.
[[noreturn]] void RaiseMethodFailed(const std::string& method, const std::string& object) {
  throw vb::Error(com::E_FAIL, "VBIDE",
                  "Method '" + method + "' of object '" + object + "' failed");
}

}  // namespace

// ---- Code modules

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
    lines.push_back(text.substr(from, at - from));
  lines.push_back(text.substr(from));
  return lines;
}

std::string MemoryCodeModule::Lines(long startLine, long count) {
  if (count < 0) Raise(vb::kInvalidProcedureCall);
  if (count == 0) return "";
  if (startLine < 1 || startLine > CountOfLines()) Raise(vb::kSubscriptOutOfRange);
  long last = std::min(CountOfLines(), startLine + count - 1);
  std::string text;
  for (long i = startLine; i <= last; ++i) {
    if (i > startLine) text += "\r\n";
    text += lines_[static_cast<std::size_t>(i - 1)];
  }
  return text;
}

void MemoryCodeModule::InsertLines(long line, const std::string& text) {
  if (line < 1) Raise(vb::kInvalidProcedureCall);
  auto at = lines_.begin() + std::min<long>(line - 1, CountOfLines());
  std::vector<std::string> added = SplitCrLf(text);
  lines_.insert(at, added.begin(), added.end());
}

void MemoryCodeModule::ReplaceLine(long line, const std::string& text) {
  if (line < 1 || line > CountOfLines()) Raise(vb::kSubscriptOutOfRange);
  std::vector<std::string> parts = SplitCrLf(text);
  auto at = lines_.begin() + (line - 1);
  *at = parts.front();
  lines_.insert(at + 1, parts.begin() + 1, parts.end());
}

void MemoryCodeModule::DeleteLines(long startLine, long count) {
  if (count < 0 || startLine < 1 || startLine + count - 1 > CountOfLines())
    Raise(vb::kSubscriptOutOfRange);
  lines_.erase(lines_.begin() + (startLine - 1), lines_.begin() + (startLine - 1 + count));
}

// ---- The implementation objects

namespace {

class MemoryPane : public CodePane {
 public:
  explicit MemoryPane(std::shared_ptr<MemoryCodeModule> module) : module_(std::move(module)) {}
  Selection GetSelection() override { return selection_; }
  void SetSelection(const Selection& s) override { selection_ = s; }
  vb::Object<vbide::CodeModule> CodeModule() override {
    return vb::Object<vbide::CodeModule>(module_);
  }

 private:
  std::shared_ptr<MemoryCodeModule> module_;
  Selection selection_;
};

class MemoryComponent : public VBComponent {
 public:
  explicit MemoryComponent(std::string name) : name_(std::move(name)) {}
  std::string Name() override { return name_; }

 private:
  std::string name_;
};

class MemoryControls;

class MemoryControl : public CommandBarControl, public std::enable_shared_from_this<MemoryControl> {
 public:
  MemoryControl(std::string caption, long type, MemoryControls* parent)
      : caption_(std::move(caption)), type_(type), parent_(parent) {}
  std::string Caption() override { return Live(), caption_; }
  void SetCaption(const std::string& c) override { Live(), caption_ = c; }
  long Type() override { return Live(), type_; }
  std::string Parameter() override { return Live(), parameter_; }
  void SetParameter(const std::string& v) override { Live(), parameter_ = v; }
  vb::Object<CommandBarControls> Controls() override;
  void Delete() override;
  bool Deleted() const { return deleted_; }
  std::shared_ptr<MemoryControls> Children();

 private:
  void Live() const {
    if (deleted_) RaiseMethodFailed("Caption", "CommandBarControl");
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
    if (index < 1 || index > Count()) Raise(vb::kInvalidProcedureCall);
    return vb::Object<CommandBarControl>(items_[static_cast<std::size_t>(index - 1)]);
  }
  vb::Object<CommandBarControl> Item(const std::string& caption) override {
    auto c = Find(caption);
    if (!c) Raise(vb::kInvalidProcedureCall);
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
  // Captions compare without the access-key ampersand and without regard to case.
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
    items_.erase(
        std::remove_if(items_.begin(), items_.end(), [c](const auto& p) { return p.get() == c; }),
        items_.end());
  }
  std::vector<std::shared_ptr<MemoryControl>>& Items() { return items_; }

 private:
  std::vector<std::shared_ptr<MemoryControl>> items_;
};

std::shared_ptr<MemoryControls> MemoryControl::Children() {
  if (!children_) children_ = std::make_shared<MemoryControls>();
  return children_;
}

vb::Object<CommandBarControls> MemoryControl::Controls() {
  Live();
  if (type_ != msoControlPopup) Raise(vb::kObjectDoesNotSupport);
  return vb::Object<CommandBarControls>(Children());
}

void MemoryControl::Delete() {
  Live();
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
    sinks_.erase(std::remove_if(sinks_.begin(), sinks_.end(),
                                [cookie](const auto& s) { return s.first == cookie; }),
                 sinks_.end());
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

class MemoryWindow;

class MemoryLinkedWindows : public LinkedWindows {
 public:
  void Add(vb::Object<Window> window) override;
  long Count() override;

 private:
  std::vector<std::weak_ptr<Window>> windows_;
};

class MemoryWindow : public Window {
 public:
  MemoryWindow(std::string caption, com::ComPtr<com::IUnknown> doc, forms::Form* form)
      : caption_(std::move(caption)), doc_(std::move(doc)), form_(form) {}
  std::string Caption() override { return Live("Caption"), caption_; }
  bool Visible() override { return Live("Visible"), visible_; }
  void SetVisible(bool v) override {
    Live("Visible");
    visible_ = v;
    if (form_) form_->SetVisible(v);
  }
  void SetFocus() override { Live("SetFocus"); }
  void Close() override {
    Live("Close");
    closed_ = true;
    visible_ = false;
    if (form_) form_->Unload();
    form_ = nullptr;
    doc_.Reset();
  }
  vb::Object<vbide::LinkedWindows> LinkedWindows() override {
    Live("LinkedWindows");
    return vb::Object<vbide::LinkedWindows>(linked_);
  }
  bool Closed() const { return closed_; }
  bool Docked() const { return docked_; }
  void SetDocked(bool v) { docked_ = v; }
  forms::Form* Document() const { return form_; }

 private:
  void Live(const char* method) const {
    if (closed_) RaiseMethodFailed(method, "Window");
  }
  std::string caption_;
  com::ComPtr<com::IUnknown> doc_;
  forms::Form* form_;
  bool visible_ = false;
  bool closed_ = false;
  bool docked_ = false;
  std::shared_ptr<MemoryLinkedWindows> linked_ = std::make_shared<MemoryLinkedWindows>();
};

void MemoryLinkedWindows::Add(vb::Object<Window> window) {
  auto* w = dynamic_cast<MemoryWindow*>(window.get());
  if (!w) Raise(vb::kInvalidProcedureCall);
  w->SetDocked(true);
  windows_.push_back(window.shared());
}

long MemoryLinkedWindows::Count() {
  return static_cast<long>(
      std::count_if(windows_.begin(), windows_.end(), [](const auto& w) { return !w.expired(); }));
}

class MemoryAddIn : public AddIn {
 public:
  MemoryAddIn(std::string progId, std::string description)
      : progId_(std::move(progId)), description_(std::move(description)) {}
  std::string ProgId() override { return progId_; }
  std::string Description() override { return description_; }
  bool Connect() override { return false; }

 private:
  std::string progId_;
  std::string description_;
};

}  // namespace

// ---- The IDE's state and its collections

struct MemoryVbe::State {
  struct Module {
    std::shared_ptr<MemoryCodeModule> Code;
    std::shared_ptr<MemoryPane> Pane;
    std::shared_ptr<MemoryComponent> Component;
  };
  std::map<std::string, Module> Modules;
  std::string Active;  // empty: no active pane
  enum class Selected { kFollowActive, kNone, kNamed } SelectedMode = Selected::kFollowActive;
  std::string SelectedName;
  std::vector<std::shared_ptr<MemoryBar>> Bars;
  std::vector<std::weak_ptr<MemoryBarEvents>> EventSources;
  std::vector<std::shared_ptr<MemoryWindow>> ToolWindows;
  std::shared_ptr<MemoryWindow> Main;
  std::vector<std::shared_ptr<MemoryAddIn>> AddIns;
  int AddinsUpdates = 0;

  MemoryBar* Bar(const std::string& name) {
    for (auto& b : Bars)
      if (vb::LCase(b->Name()) == vb::LCase(name)) return b.get();
    return nullptr;
  }
};

namespace {

class MemoryAddins : public Addins {
 public:
  explicit MemoryAddins(std::weak_ptr<MemoryVbe> vbe) : vbe_(std::move(vbe)) {}
  long Count() override { return static_cast<long>(State().AddIns.size()); }
  vb::Object<AddIn> Item(const std::string& progId) override {
    for (auto& a : State().AddIns)
      if (vb::LCase(a->ProgId()) == vb::LCase(progId)) return vb::Object<AddIn>(a);
    Raise(vb::kSubscriptOutOfRange);
  }
  void Update() override { ++State().AddinsUpdates; }

 private:
  MemoryVbe::State& State() {
    auto vbe = vbe_.lock();
    if (!vbe) Raise(vb::kObjectNotSet);
    return vbe->state();
  }
  std::weak_ptr<MemoryVbe> vbe_;
};

class MemoryWindows : public Windows {
 public:
  explicit MemoryWindows(std::weak_ptr<MemoryVbe> vbe) : vbe_(std::move(vbe)) {}
  vb::Object<Window> CreateToolWindow(vb::Object<AddIn> addInInst, const std::string& progId,
                                      const std::string& caption, const std::string& guidPosition,
                                      com::ComPtr<com::IUnknown>& docObj) override {
    auto vbe = vbe_.lock();
    if (!vbe || addInInst.IsNothing() || !vbe->Activator()) Raise(vb::kInvalidProcedureCall);
    com::ComPtr<com::IUnknown> object = vbe->Activator()->CreateObject(progId);
    auto doc = object.As<IUserDocument>(IID_IUserDocument);
    if (!doc) throw vb::Error(429, "VBIDE", vb::StandardDescription(429));
    forms::Form* form = doc->Document();
    if (form) form->Load();
    auto window = std::make_shared<MemoryWindow>(caption, object, form);
    vbe->state().ToolWindows.push_back(window);
    docObj = object;
    return vb::Object<Window>(window);
  }

 private:
  std::weak_ptr<MemoryVbe> vbe_;
};

class MemoryEvents : public Events {
 public:
  explicit MemoryEvents(std::weak_ptr<MemoryVbe> vbe) : vbe_(std::move(vbe)) {}
  vb::Object<vbide::CommandBarEvents> CommandBarEvents(
      vb::Object<CommandBarControl> control) override {
    auto c = std::dynamic_pointer_cast<MemoryControl>(control.shared());
    auto vbe = vbe_.lock();
    if (!c || !vbe) Raise(vb::kInvalidProcedureCall);
    auto source = std::make_shared<MemoryBarEvents>(c);
    vbe->state().EventSources.push_back(source);
    return vb::Object<vbide::CommandBarEvents>(source);
  }

 private:
  std::weak_ptr<MemoryVbe> vbe_;
};

class MemoryCommandBars : public CommandBars {
 public:
  explicit MemoryCommandBars(std::weak_ptr<MemoryVbe> vbe) : vbe_(std::move(vbe)) {}
  vb::Object<CommandBar> Item(const std::string& name) override {
    auto vbe = vbe_.lock();
    if (!vbe) Raise(vb::kObjectNotSet);
    for (auto& b : vbe->state().Bars)
      if (vb::LCase(b->Name()) == vb::LCase(name)) return vb::Object<CommandBar>(b);
    Raise(vb::kInvalidProcedureCall);
  }

 private:
  std::weak_ptr<MemoryVbe> vbe_;
};

const char* const kMenus[] = {"&File", "&Edit",  "&View",    "&Project", "F&ormat", "&Debug",
                              "&Run",  "&Tools", "&Add-Ins", "&Window",  "&Help"};
const char kMenuBar[] = "Menu Bar";
const char kAddInToolbar[] = "Add-In Toolbar";

}  // namespace

// ---- MemoryVbe

MemoryVbe::MemoryVbe() : state_(std::make_unique<State>()) {
  auto menuBar = std::make_shared<MemoryBar>(kMenuBar);
  for (const char* menu : kMenus)
    menuBar->Impl().Add(menu, msoControlPopup);
  state_->Bars.push_back(menuBar);
  state_->Bars.push_back(std::make_shared<MemoryBar>(kAddInToolbar));
  state_->Main = std::make_shared<MemoryWindow>("Microsoft Visual Basic",
                                                com::ComPtr<com::IUnknown>(), nullptr);
}

std::shared_ptr<MemoryVbe> MemoryVbe::Create() {
  return std::shared_ptr<MemoryVbe>(new MemoryVbe());
}

vb::Object<CodePane> MemoryVbe::ActiveCodePane() {
  if (state_->Active.empty()) return nullptr;
  return vb::Object<CodePane>(state_->Modules.at(state_->Active).Pane);
}

vb::Object<VBComponent> MemoryVbe::SelectedVBComponent() {
  switch (state_->SelectedMode) {
    case State::Selected::kNone:
      return nullptr;
    case State::Selected::kNamed:
      return vb::Object<VBComponent>(state_->Modules.at(state_->SelectedName).Component);
    case State::Selected::kFollowActive:
      if (state_->Active.empty()) return nullptr;
      return vb::Object<VBComponent>(state_->Modules.at(state_->Active).Component);
  }
  return nullptr;
}

vb::Object<vbide::Addins> MemoryVbe::Addins() {
  return vb::New<MemoryAddins>(weak_from_this());
}

vb::Object<vbide::Windows> MemoryVbe::Windows() {
  return vb::New<MemoryWindows>(weak_from_this());
}

vb::Object<Window> MemoryVbe::MainWindow() {
  return vb::Object<Window>(state_->Main);
}

vb::Object<vbide::Events> MemoryVbe::Events() {
  return vb::New<MemoryEvents>(weak_from_this());
}

vb::Object<vbide::CommandBars> MemoryVbe::CommandBars() {
  return vb::New<MemoryCommandBars>(weak_from_this());
}

std::shared_ptr<MemoryCodeModule> MemoryVbe::AddModule(const std::string& name,
                                                       std::vector<std::string> lines) {
  auto it = state_->Modules.find(name);
  if (it != state_->Modules.end()) {
    it->second.Code->SetAllLines(std::move(lines));
    return it->second.Code;
  }
  auto code = std::make_shared<MemoryCodeModule>(std::move(lines));
  state_->Modules[name] = State::Module{code, std::make_shared<MemoryPane>(code),
                                        std::make_shared<MemoryComponent>(name)};
  return code;
}

std::shared_ptr<MemoryCodeModule> MemoryVbe::FindModule(const std::string& name) const {
  auto it = state_->Modules.find(name);
  return it == state_->Modules.end() ? nullptr : it->second.Code;
}

bool MemoryVbe::Activate(const std::string& name) {
  if (!state_->Modules.count(name)) return false;
  state_->Active = name;
  return true;
}

void MemoryVbe::Deactivate() {
  state_->Active.clear();
}

vb::Object<CodePane> MemoryVbe::PaneOf(const std::string& name) const {
  auto it = state_->Modules.find(name);
  if (it == state_->Modules.end()) return nullptr;
  return vb::Object<CodePane>(it->second.Pane);
}

bool MemoryVbe::SelectComponent(const std::string& name) {
  if (!state_->Modules.count(name)) return false;
  state_->SelectedMode = State::Selected::kNamed;
  state_->SelectedName = name;
  return true;
}

void MemoryVbe::SelectNoComponent() {
  state_->SelectedMode = State::Selected::kNone;
}

void MemoryVbe::ListAddIn(const std::string& progId, const std::string& description) {
  state_->AddIns.push_back(std::make_shared<MemoryAddIn>(progId, description));
}

int MemoryVbe::AddinsUpdates() const {
  return state_->AddinsUpdates;
}

namespace {

MemoryControls* MenuControls(MemoryVbe::State& state, const std::string& menu) {
  if (MemoryBar* bar = state.Bar(kMenuBar))
    if (auto popup = bar->Impl().Find(menu)) return popup->Children().get();
  if (MemoryBar* bar = state.Bar(menu)) return &bar->Impl();
  return nullptr;
}

}  // namespace

std::optional<std::vector<std::string>> MemoryVbe::MenuCaptions(const std::string& menu) const {
  MemoryControls* controls = MenuControls(*state_, menu);
  if (!controls) return std::nullopt;
  std::vector<std::string> captions;
  for (auto& c : controls->Items())
    captions.push_back(c->Caption());
  return captions;
}

void MemoryVbe::AddAddInToolbarButton(const std::string& caption, const std::string& progId) {
  state_->Bar(kAddInToolbar)->Impl().Add(caption, msoControlButton)->SetParameter(progId);
}

std::optional<CommandResult> MemoryVbe::ClickCommand(const std::string& menu,
                                                     const std::string& caption) {
  MemoryControls* controls = MenuControls(*state_, menu);
  std::shared_ptr<MemoryControl> control = controls ? controls->Find(caption) : nullptr;
  if (!control) return std::nullopt;
  CommandResult result;
  // Sources the add-in has dropped no longer hear anything.
  auto& sources = state_->EventSources;
  sources.erase(
      std::remove_if(sources.begin(), sources.end(), [](const auto& w) { return w.expired(); }),
      sources.end());
  std::vector<std::shared_ptr<MemoryBarEvents>> live;
  for (auto& w : sources)
    if (auto s = w.lock(); s && s->Control() == control) live.push_back(s);
  for (auto& source : live) {
    for (CommandBarEventsSink* sink : source->Sinks()) {
      bool handled = false, cancelDefault = false;
      com::HRESULT hr = sink->Click(vb::Object<CommandBarControl>(control), handled, cancelDefault);
      if (com::Failed(hr)) return CommandResult{hr, com::TakeError(hr)};
    }
  }
  return result;
}

std::optional<MemoryVbe::ToolWindowState> MemoryVbe::LatestToolWindow() const {
  auto& windows = state_->ToolWindows;
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    if ((*it)->Closed()) continue;
    return ToolWindowState{(*it)->Caption(), (*it)->Visible(), (*it)->Docked(), (*it)->Document()};
  }
  return std::nullopt;
}

void MemoryVbe::UserCloseToolWindow() {
  auto& windows = state_->ToolWindows;
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    if ((*it)->Closed()) continue;
    (*it)->SetVisible(false);
    return;
  }
}

}  // namespace vbide
