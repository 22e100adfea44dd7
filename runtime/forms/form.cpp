#include "runtime/forms/form.h"

#include <algorithm>

#include "runtime/platform.h"
#include "runtime/vb/error.h"

namespace forms {
namespace {

std::vector<Form*>& AllFormsList() {
  static auto* forms = new std::vector<Form*>;  // never destroyed: forms may outlive statics
  return *forms;
}

std::vector<Form*>& LoadedList() {
  static auto* forms = new std::vector<Form*>;  // never destroyed: forms may outlive statics
  return *forms;
}

std::vector<FormObserver*>& Observers() {
  static auto* observers = new std::vector<FormObserver*>;
  return *observers;
}

void Erase(std::vector<Form*>& v, Form* f) {
  v.erase(std::remove(v.begin(), v.end(), f), v.end());
}

long NextHwnd() {
  static long next = 0x10010;
  next += 0x10;
  return next;
}

std::string Key(std::string_view source, std::string_view event) {
  return std::string(source) + "." + std::string(event);
}

// The window frame around the client area, in twips: both side borders together, and the
// borders plus the title bar.
struct Frame {
  double Horizontal;
  double Vertical;
};

Frame FrameOf(int borderStyle, bool hasTitleBar) {
  double side = 0, caption = 0;
  switch (borderStyle) {
    case vbBSNone:
      return {0, 0};
    case vbSizable:
      side = 60, caption = 330;
      break;
    case vbFixedToolWindow:
      side = 45, caption = 255;
      break;
    case vbSizableToolWindow:
      side = 60, caption = 255;
      break;
    default:
      side = 45, caption = 330;
      break;
  }
  return {2 * side, 2 * side + (hasTitleBar ? caption : 0)};
}

}  // namespace

Form::Form(std::string name) : Widget(std::move(name)) {
  Reset();
  AllFormsList().push_back(this);
}

Form::~Form() {
  Erase(AllFormsList(), this);
  Erase(LoadedList(), this);
  // A window destroyed while loaded (a tool window's document released by its host) is gone
  // for its observers too; its controls are gone already.
  if (loaded_)
    for (FormObserver* o : Observers())
      o->FormUnloaded(*this);
}

const PropertyTable& Form::Properties() const {
  static const PropertyTable table = Extend<Form, Widget>({
      {"Caption", &Form::caption_, "", &Form::SetCaption},
      {"Width", 4800.0},
      {"Height", 3600.0},
      {"ScaleWidth", &Form::ScaleWidth},
      {"ScaleHeight", &Form::ScaleHeight},
      {"WindowState", &Form::windowState_, vbNormal, &Form::SetWindowState},
      {"Visible", &Form::visible_, false, &Form::SetVisible},
      {"BorderStyle", &Form::borderStyle_, vbSizable, &Form::SetBorderStyle},
      {"ControlBox", &Form::controlBox_, true, &Form::SetControlBox},
      {"StartUpPosition", &Form::startUpPosition_, kManual, &Form::SetStartUpPosition},
  });
  return table;
}

void Form::Reset() {
  Widget::Reset();
  caption_ = Name();
}

void Form::RegisterControl(Control* control) {
  controls_.push_back(control);
}

void Form::UnregisterControl(Control* control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  if (active_ == control) active_ = nullptr;
}

Control* Form::FindControl(std::string_view name, int index) const {
  for (Control* c : controls_)
    if (c->Name() == name && c->Index() == index) return c;
  return nullptr;
}

void Form::AddHandler(std::string_view source, std::string_view event, Handler handler) {
  handlers_[Key(source, event)] = std::move(handler);
}

bool Form::HasHandler(std::string_view source, std::string_view event) const {
  return handlers_.count(Key(source, event)) > 0;
}

bool Form::Raise(std::string_view source, std::string_view event, EventArgs& args) {
  if (designing_) return false;
  auto it = handlers_.find(Key(source, event));
  if (it == handlers_.end()) return false;
  Handler handler = it->second;  // the routine may unload the form; keep our own copy
  handler(args);
  return true;
}

void Form::Raise(std::string_view event, EventArgs& args) {
  Raise("Form", event, args);
}

void Form::Notify(std::string_view name) {
  NotifyChanged(nullptr, name);
}

void Form::NotifyChanged(Control* control, std::string_view property) {
  if (designing_ || !loaded_) return;
  for (FormObserver* o : Observers())
    o->PropertyChanged(*this, control, property);
}

void Form::ResetControls() {
  for (Control* c : controls_)
    c->Reset();
  Reset();
  active_ = nullptr;
}

void Form::Load() {
  if (loaded_) return;
  designing_ = true;
  ResetControls();
  InitializeComponent();
  designing_ = false;
  if (startUpPosition_ == kCenterScreen) {
    left_ = (vb::Screen().Width - width_) / 2;
    top_ = (vb::Screen().Height - height_) / 2;
  }
  loaded_ = true;
  visible_ = false;
  shownSinceLoad_ = false;
  hwnd_ = NextHwnd();
  LoadedList().push_back(this);
  for (FormObserver* o : Observers())
    o->FormLoaded(*this);
  Raise("Load");
}

void Form::EnsureLoaded() {
  if (!loaded_) Load();
}

void Form::Show() {
  EnsureLoaded();
  // Form_Load may have unloaded the window again.
  if (!loaded_) throw vb::Error(364, vb::DefaultErrorSource(), "Object was unloaded");
  SetVisible(true);
}

void Form::Hide() {
  SetVisible(false);
}

void Form::SetVisible(bool v) {
  EnsureLoaded();
  if (!loaded_ || visible_ == v) return;
  Put(visible_, v);
  if (v && !shownSinceLoad_) {
    shownSinceLoad_ = true;
    Raise("Resize");
  }
}

void Form::Unload() {
  Close(/*unloadMode=*/1);
}

void Form::UserClose() {
  Close(/*unloadMode=*/0);
}

void Form::Close(int unloadMode) {
  if (!loaded_) return;
  EventArgs query;
  query.UnloadMode = unloadMode;
  Raise("Form", "QueryUnload", query);
  if (query.Cancel) return;
  EventArgs unload;
  Raise("Form", "Unload", unload);
  // The routine may have cancelled, or unloaded the window itself.
  if (unload.Cancel || !loaded_) return;
  visible_ = false;
  loaded_ = false;
  hwnd_ = 0;
  active_ = nullptr;
  Erase(LoadedList(), this);
  for (FormObserver* o : Observers())
    o->FormUnloaded(*this);
}

void Form::SetWidth(double v) {
  if (v == width_) return;
  Widget::SetWidth(v);
  if (loaded_ && !designing_) Raise("Resize");
}

void Form::SetHeight(double v) {
  if (v == height_) return;
  Widget::SetHeight(v);
  if (loaded_ && !designing_) Raise("Resize");
}

double Form::ScaleWidth() const {
  bool titleBar = controlBox_ || !caption_.empty();
  return std::max(0.0, width_ - FrameOf(borderStyle_, titleBar).Horizontal);
}

double Form::ScaleHeight() const {
  bool titleBar = controlBox_ || !caption_.empty();
  return std::max(0.0, height_ - FrameOf(borderStyle_, titleBar).Vertical);
}

void Form::SetClientSize(double scaleWidth, double scaleHeight) {
  bool titleBar = controlBox_ || !caption_.empty();
  Frame f = FrameOf(borderStyle_, titleBar);
  width_ = scaleWidth + f.Horizontal;
  height_ = scaleHeight + f.Vertical;
  Changed(&width_), Changed(&height_);
}

void Form::UserResize(double scaleWidth, double scaleHeight) {
  SetClientSize(scaleWidth, scaleHeight);
  if (loaded_) Raise("Resize");
}

void Form::SetWindowState(int v) {
  if (v == windowState_) return;
  if (windowState_ == vbNormal) {
    normalLeft_ = left_, normalTop_ = top_, normalWidth_ = width_, normalHeight_ = height_;
  }
  if (v == vbMaximized) {
    left_ = top_ = 0;
    width_ = vb::Screen().Width;
    height_ = vb::Screen().Height;
  } else if (v == vbNormal) {
    left_ = normalLeft_, top_ = normalTop_, width_ = normalWidth_, height_ = normalHeight_;
  }
  Put(windowState_, v);
  if (loaded_ && !designing_) Raise("Resize");
}

void Form::UserSetWindowState(int state) {
  SetWindowState(state);
}

void Form::Refresh() {
  if (!loaded_) return;
  for (FormObserver* o : Observers())
    o->Refreshed(*this);
}

void Form::MoveFocus(Control* to) {
  if (active_ == to) return;
  Control* old = active_;
  active_ = to;
  NotifyChanged(nullptr, "ActiveControl");
  if (old) {
    EventArgs args;
    args.Index = old->Index();
    Raise(old->Name(), "LostFocus", args);
  }
  if (to && active_ == to) {
    EventArgs args;
    args.Index = to->Index();
    Raise(to->Name(), "GotFocus", args);
  }
}

const std::vector<Form*>& AllForms() {
  return AllFormsList();
}
const std::vector<Form*>& LoadedForms() {
  return LoadedList();
}

Form* FindLoadedForm(std::string_view name) {
  auto& loaded = LoadedList();
  for (auto it = loaded.rbegin(); it != loaded.rend(); ++it)
    if ((*it)->Name() == name) return *it;
  return nullptr;
}

bool FormExists(std::string_view name) {
  for (Form* f : AllFormsList())
    if (f->Name() == name) return true;
  return false;
}

void UserAction(const std::function<void()>& action) {
  try {
    action();
  } catch (const vb::Error& e) {
    vb::MsgBox("Run-time error '" + std::to_string(e.Number) + "':\r\n\r\n" + e.Description,
               vb::vbCritical, vb::App().Title);
  }
}

FormObserver::~FormObserver() = default;

void AddObserver(FormObserver* observer) {
  Observers().push_back(observer);
}

void RemoveObserver(FormObserver* observer) {
  auto& v = Observers();
  v.erase(std::remove(v.begin(), v.end(), observer), v.end());
}

}  // namespace forms
