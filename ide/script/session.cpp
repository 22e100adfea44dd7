#include "ide/script/session.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "runtime/vb/dates.h"

namespace script {
namespace fs = std::filesystem;

namespace {

// A whole number in the range of a VB Long, as every number of the IDE and the add-in is.
long ToNumber(const std::string& text, int line, const char* what) {
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(text.c_str(), &end, 10);
  if (text.empty() || *end)
    throw ScenarioError(line, std::string("not a whole number for ") + what + ": " + text);
  if (errno == ERANGE || v < INT32_MIN || v > INT32_MAX)
    throw ScenarioError(line, std::string("out of the range of a Long for ") + what + ": " + text);
  return static_cast<long>(v);
}

// A size or a position in twips: a finite number, and not negative for a size.
double ToTwips(const std::string& text, int line, bool size) {
  char* end = nullptr;
  double v = std::strtod(text.c_str(), &end);
  if (text.empty() || *end || !std::isfinite(v)) throw ScenarioError(line, "not a number: " + text);
  if (size && v < 0) throw ScenarioError(line, "a negative size: " + text);
  return v;
}

void RequireArgs(const std::vector<std::string>& a, std::size_t min, std::size_t max, int line) {
  if (a.size() - 1 < min || a.size() - 1 > max)
    throw ScenarioError(line, "wrong number of arguments for " + a[0]);
}

std::string Hex(long v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "0x%lX", v);
  return buf;
}

// A new folder inside `root` (the system's temporary folder when empty), for one copy of the
// add-in's folder or the Qt platform's own files.
fs::path FreshFolder(const fs::path& root) {
  const fs::path base = root.empty() ? fs::temp_directory_path() : root;
  std::string pattern = (base / "addin-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  return pattern;
}

}  // namespace

// FORM, FORM.CTL or FORM.CTL.PROP, the control with "(i)" for an array member.
struct Session::Target {
  std::string Form;
  std::string Control;
  int Index = -1;
  std::string Property;

  static Target Parse(const std::string& text, int line) {
    Target t;
    std::size_t a = text.find('.');
    t.Form = text.substr(0, a);
    if (a != std::string::npos) {
      std::size_t b = text.find('.', a + 1);
      t.Control = text.substr(a + 1, b == std::string::npos ? std::string::npos : b - a - 1);
      if (b != std::string::npos) t.Property = text.substr(b + 1);
    }
    std::size_t open = t.Control.find('(');
    if (open != std::string::npos) {
      if (t.Control.back() != ')') throw ScenarioError(line, "bad control name: " + t.Control);
      long index =
          ToNumber(t.Control.substr(open + 1, t.Control.size() - open - 2), line, "an index");
      if (index < 0) throw ScenarioError(line, "a negative index: " + t.Control);
      t.Index = static_cast<int>(index);
      t.Control.erase(open);
    }
    if (t.Form.empty() || (a != std::string::npos && t.Control.empty()))
      throw ScenarioError(line, "bad window or control name: " + text);
    return t;
  }
  std::string Display() const {
    std::string s = Form + "." + Control;
    if (Index >= 0) s += "(" + std::to_string(Index) + ")";
    return s;
  }
};

Session::Session(SessionOptions options) : options_(std::move(options)) {
  if (options_.Platform == "qt") {
    tempFolders_.push_back(FreshFolder(options_.TempRoot));
    platform_ = MakeQtPlatform(tempFolders_.back());
  } else if (options_.Platform == "headless") {
    platform_ = MakeHeadlessPlatform();
  } else {
    throw ScenarioError(0, "unknown platform " + options_.Platform);
  }
  rt::InstallPlatform(&platform_->Platform());
  platform_->SetTranscript([this](const std::string& line) { Print(line); });
  forms::AddObserver(this);
  UseAddinFolder(options_.ShippedData);
  vbe_ = vbide::MemoryVbe::Create();
  vbe_->SetActivator(&com_);
  // As an installer would; a failure is the fault of the first command that loads the add-in.
  try {
    com_.RegisterServer(options_.AddinLibrary.string());
  } catch (const vb::Error& e) {
    registrationError_ = "cannot register the add-in library " + options_.AddinLibrary.string() +
                         ": " + (com_.LastError().empty() ? e.Description : com_.LastError());
  }
  const std::string& progId = options_.ProgId;
  addinDescription_ = platform_->Platform().Registry().GetValue(progId, "").value_or(progId);
  vbe_->ListAddIn(progId, addinDescription_);
  // The user has put the add-in on the IDE's Add-In toolbar too, from where it can be started.
  vbe_->AddAddInToolbarButton(addinDescription_, progId);
  addins_ = std::make_unique<ide::AddinManager>(vb::Object<vbide::VBE>(vbe_), com_);
}

Session::~Session() {
  addins_.reset();
  forms::RemoveObserver(this);
  platform_->SetTranscript(nullptr);
  std::error_code ec;
  for (const fs::path& p : tempFolders_)
    fs::remove_all(p, ec);
}

fs::path Session::PathOf(const std::string& arg) const {
  fs::path p(arg);
  return p.is_absolute() ? p : options_.ScenarioDir / p;
}

std::vector<std::string> Session::Run(const Command& command) {
  output_.clear();
  line_ = command.Line;
  Dispatch(command);
  platform_->Settle();
  if (!options_.Pictures.empty()) platform_->SavePictures(options_.Pictures);
  std::vector<std::string> faults = platform_->TakeFaults();
  if (!faults.empty()) throw ScenarioError(line_, "left unanswered: " + faults.front());
  return std::move(output_);
}

// Each command: its fewest and most arguments, and its handler.
struct Session::CommandSpec {
  std::size_t Min;
  std::size_t Max;
  void (Session::*Run)(const Command&);
};

const std::map<std::string, Session::CommandSpec, std::less<>>& Session::Commands() {
  static const std::map<std::string, CommandSpec, std::less<>> kCommands = {
      {"module", {1, 2, &Session::AddModule}},
      {"save", {2, 2, &Session::SaveModule}},
      {"activate", {1, 1, &Session::Activate}},
      {"deactivate", {0, 0, &Session::Deactivate}},
      {"component", {1, 1, &Session::SelectComponent}},
      {"select", {4, 4, &Session::Select}},
      {"screen", {2, 2, &Session::SetScreen}},
      {"today", {1, 1, &Session::SetToday}},
      {"setting", {3, 3, &Session::WriteSetting}},
      {"appdir", {1, 1, &Session::SetAppDir}},
      {"display", {1, 1, &Session::SetDisplay}},
      {"connect", {1, 1, &Session::ConnectAddin}},
      {"disconnect", {1, 1, &Session::DisconnectAddin}},
      {"menu", {1, 1, &Session::ChooseMenu}},
      {"close-toolwindow", {0, 0, &Session::CloseToolWindow}},
      {"answer", {1, 64, &Session::QueueAnswers}},
      {"file-dialog", {1, 1, &Session::QueueFileDialog}},
      {"button", {2, 2, &Session::UserOnControl}},
      {"click", {1, 1, &Session::UserOnControl}},
      {"type", {2, 2, &Session::UserOnControl}},
      {"focus", {1, 1, &Session::UserOnControl}},
      {"choose", {2, 2, &Session::UserOnControl}},
      {"dblclick", {1, 1, &Session::UserOnControl}},
      {"node", {2, 64, &Session::UserOnControl}},
      {"set", {2, 2, &Session::SetProperty}},
      {"mouse", {5, 5, &Session::Mouse}},
      {"resize", {3, 3, &Session::UserOnWindow}},
      {"state", {2, 2, &Session::UserOnWindow}},
      {"close", {1, 1, &Session::UserOnWindow}},
      {"print", {1, 3, &Session::PrintCommand}},
  };
  return kCommands;
}

void Session::Dispatch(const Command& c) {
  auto it = Commands().find(c.Args[0]);
  if (it == Commands().end()) throw ScenarioError(line_, "unknown command " + c.Args[0]);
  RequireArgs(c.Args, it->second.Min, it->second.Max, line_);
  (this->*it->second.Run)(c);
}

// ---- Set-up

void Session::Activate(const Command& c) {
  if (!vbe_->Activate(c.Args[1])) throw ScenarioError(line_, "no module " + c.Args[1]);
}

void Session::Deactivate(const Command&) {
  vbe_->Deactivate();
}

void Session::SelectComponent(const Command& c) {
  const std::string& name = c.Args[1];
  if (name == "none")
    vbe_->SelectNoComponent();
  else if (!vbe_->SelectComponent(name))
    throw ScenarioError(line_, "no module " + name);
}

void Session::Select(const Command& c) {
  auto pane = vbe_->ActiveCodePane();
  if (pane.IsNothing()) throw ScenarioError(line_, "no code pane is active");
  auto n = [&](int i) { return ToNumber(c.Args[static_cast<std::size_t>(i)], line_, "select"); };
  pane->SetSelection({n(1), n(2), n(3), n(4)});  // a braced list is read from left to right
}

void Session::SetScreen(const Command& c) {
  double width = ToTwips(c.Args[1], line_, true), height = ToTwips(c.Args[2], line_, true);
  platform_->SetScreen(width, height);
}

void Session::SetToday(const Command& c) {
  vb::Date d;
  if (!vb::ParseIsoDate(c.Args[1], &d))
    throw ScenarioError(line_, "not a date YYYY-MM-DD: " + c.Args[1]);
  platform_->SetToday(d);
}

void Session::WriteSetting(const Command& c) {
  vb::SaveSetting(options_.SettingsApp, c.Args[1], c.Args[2], c.Args[3]);
}

void Session::SetAppDir(const Command& c) {
  if (!fs::is_directory(PathOf(c.Args[1]))) throw ScenarioError(line_, "no folder " + c.Args[1]);
  UseAddinFolder(PathOf(c.Args[1]));
}

void Session::SetDisplay(const Command& c) {
  const std::string& model = c.Args[1];
  if (model != "sdi" && model != "mdi") throw ScenarioError(line_, "display sdi or mdi");
  vbe_->SetDisplayModel(model == "mdi" ? vbide::vbext_dm_MDI : vbide::vbext_dm_SDI);
}

void Session::AddModule(const Command& c) {
  const std::string& name = c.Args[1];
  if (c.Args.size() == 2) {
    files_.erase(name);
    vbe_->AddModule(name, c.ModuleLines);
    return;
  }
  try {
    ide::SourceFile file = ide::ReadSourceFile(PathOf(c.Args[2]));
    vbe_->AddModule(name, file.Lines);
    files_[name] = std::move(file);
  } catch (const vb::Error& e) {
    throw ScenarioError(line_, "cannot read " + c.Args[2] + ": " + e.Description);
  }
}

void Session::SaveModule(const Command& c) {
  const Args& a = c.Args;
  auto module = vbe_->FindModule(a[1]);
  if (!module) throw ScenarioError(line_, "no module " + a[1]);
  auto it = files_.find(a[1]);
  const ide::SourceFile original = it == files_.end() ? ide::NewSourceFile() : it->second;
  try {
    ide::WriteSourceFile(PathOf(a[2]), original, module->AllLines());
  } catch (const vb::Error& e) {
    throw ScenarioError(line_, "cannot write " + a[2] + ": " + e.Description);
  }
}

void Session::UseAddinFolder(const fs::path& from) {
  fs::path folder = FreshFolder(options_.TempRoot);
  tempFolders_.push_back(folder);
  std::error_code ec;
  if (fs::is_directory(from))
    fs::copy(from, folder, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
  if (ec) throw ScenarioError(line_, "cannot copy " + from.string() + ": " + ec.message());
  platform_->SetAddinFolder(folder.string());
}

// ---- The add-in's life

void Session::ConnectAddin(const Command& c) {
  long mode = ToNumber(c.Args[1], line_, "connect");
  if (!registrationError_.empty()) throw ScenarioError(line_, registrationError_);
  if (addins_->IsConnected()) throw ScenarioError(line_, "the add-in is already connected");
  try {
    addins_->Connect(options_.ProgId, mode);
  } catch (const vb::Error& e) {
    throw ScenarioError(line_, "cannot create " + options_.ProgId + ": " +
                                   (com_.LastError().empty() ? e.Description : com_.LastError()));
  }
}

void Session::DisconnectAddin(const Command& c) {
  if (!addins_->IsConnected()) throw ScenarioError(line_, "the add-in is not connected");
  addins_->Disconnect(ToNumber(c.Args[1], line_, "disconnect"));
}

void Session::ChooseMenu(const Command& c) {
  auto result = vbe_->ClickCommand("View", c.Args[1]);
  if (!result) throw ScenarioError(line_, "no command " + c.Args[1] + " on the View menu");
  if (result->Error)
    vb::MsgBox(ide::AddinFailurePrompt(options_.ProgId, "CommandBar_Click", *result->Error),
               vb::vbCritical, "Add-In Manager");
}

void Session::CloseToolWindow(const Command&) {
  if (!vbe_->LatestToolWindow()) throw ScenarioError(line_, "there is no tool window");
  forms::UserAction([&] { vbe_->UserCloseToolWindow(); });
}

void Session::QueueAnswers(const Command& c) {
  for (std::size_t i = 1; i < c.Args.size(); ++i) {
    long answer = rt::AnswerFromName(c.Args[i]);
    if (!answer) throw ScenarioError(line_, "unknown answer " + c.Args[i]);
    platform_->QueueAnswer(answer);
  }
}

void Session::QueueFileDialog(const Command& c) {
  const std::string& path = c.Args[1];
  platform_->QueueFileDialog(path == "cancel" ? std::nullopt : std::optional<std::string>(path));
}

// ---- The user's actions

forms::Form& Session::FindForm(const std::string& name) const {
  if (forms::Form* f = forms::FindLoadedForm(name)) return *f;
  if (forms::FormExists(name)) throw ScenarioError(line_, "the window " + name + " is not loaded");
  throw ScenarioError(line_, "unknown window " + name);
}

forms::Control& Session::FindControl(const Target& t) const {
  forms::Form& form = FindForm(t.Form);
  forms::Control* c = form.FindControl(t.Control, t.Index);
  if (!c) throw ScenarioError(line_, "unknown control " + t.Display());
  return *c;
}

void Session::RequireUsable(const forms::Control& control) const {
  if (!control.Parent().Visible())
    throw ScenarioError(line_, "the window " + control.Parent().Name() + " is not visible");
  for (const forms::Control* c = &control; c; c = c->Container()) {
    if (!c->Visible() || !c->Enabled())
      throw ScenarioError(line_,
                          "the control " + c->DisplayName() + " is not visible or not enabled");
  }
}

void Session::UserOnWindow(const Command& c) {
  const Args& a = c.Args;
  forms::Form& form = FindForm(a[1]);
  if (a[0] == "resize") {
    double w = ToTwips(a[2], line_, true), h = ToTwips(a[3], line_, true);
    platform_->Resize(form, w, h);
  } else if (a[0] == "state") {
    int state = a[2] == "normal"      ? forms::vbNormal
                : a[2] == "minimized" ? forms::vbMinimized
                : a[2] == "maximized" ? forms::vbMaximized
                                      : -1;
    if (state < 0) throw ScenarioError(line_, "state normal, minimized or maximized");
    platform_->SetWindowState(form, state);
  } else {
    platform_->Close(form);
  }
}

void Session::UserOnControl(const Command& c) {
  const Args& a = c.Args;
  const std::string& action = a[0];
  Target t = Target::Parse(a[1], line_);
  forms::Control& control = FindControl(t);
  RequireUsable(control);
  auto wrongKind = [&] {
    throw ScenarioError(line_, action + " does not apply to " + t.Display() + ", a " +
                                   forms::KindName(control.Kind()));
  };
  std::function<void()> gesture;
  if (action == "button") {
    auto* bar = dynamic_cast<forms::Toolbar*>(&control);
    if (!bar) wrongKind();
    long index = ToNumber(a[2], line_, "button");
    if (index < 1 || index > bar->ButtonCount())
      throw ScenarioError(line_, "no button " + a[2] + " on " + t.Display());
    gesture = [this, bar, index] { platform_->ClickButton(*bar, index); };
  } else if (action == "click") {
    gesture = [this, &control] { platform_->Click(control); };
  } else if (action == "dblclick") {
    gesture = [this, &control] { platform_->DblClick(control); };
  } else if (action == "focus") {
    if (!control.HasTabStop()) wrongKind();
    gesture = [this, &control] { platform_->Focus(control); };
  } else if (action == "type") {
    auto* box = dynamic_cast<forms::TextBox*>(&control);
    if (!box) wrongKind();
    gesture = [this, box, text = a[2]] { platform_->Type(*box, text); };
  } else if (action == "choose") {
    auto* list = dynamic_cast<forms::ListControl*>(&control);
    if (!list) wrongKind();
    const auto& items = list->Items();
    auto entry = std::find(items.begin(), items.end(), a[2]);
    if (entry == items.end())
      throw ScenarioError(line_, "no entry " + rt::Quote(a[2]) + " in " + t.Display());
    long index = static_cast<long>(entry - items.begin());
    gesture = [this, list, index] { platform_->Choose(*list, index); };
  } else {  // node
    auto* tree = dynamic_cast<forms::TreeView*>(&control);
    if (!tree) wrongKind();
    forms::Node* node = tree->FindPath(Args(a.begin() + 2, a.end()));
    if (!node || a.size() < 3) throw ScenarioError(line_, "no such node in " + t.Display());
    gesture = [this, tree, node] { platform_->ClickNode(*tree, *node); };
  }
  gesture();
}

void Session::SetProperty(const Command& c) {
  const Args& a = c.Args;
  Target t = Target::Parse(a[1], line_);
  if (t.Property.empty()) throw ScenarioError(line_, "set needs WINDOW.CONTROL.PROPERTY");
  forms::Control& control = FindControl(t);
  RequireUsable(control);
  std::optional<forms::PropertyValue> now = control.Get(t.Property);
  if (!now) throw ScenarioError(line_, "unknown property " + t.Property + " of " + t.Display());
  forms::PropertyValue value;
  try {
    value = forms::ParseValueLike(*now, a[2]);
  } catch (const vb::Error&) {
    throw ScenarioError(line_, "not a value for " + t.Property + ": " + a[2]);
  }
  bool known = platform_->SetProperty(control, t.Property, value);
  if (!known) throw ScenarioError(line_, "the property " + t.Property + " cannot be set");
}

void Session::Mouse(const Command& c) {
  const Args& a = c.Args;
  Target t = Target::Parse(a[1], line_);
  const std::string& action = a[2];
  if (action != "down" && action != "move" && action != "up")
    throw ScenarioError(line_, "mouse down, move or up");
  int button = a[3] == "left"     ? 1
               : a[3] == "right"  ? 2
               : a[3] == "middle" ? 4
                                  : static_cast<int>(ToNumber(a[3], line_, "a button"));
  double x = ToTwips(a[4], line_, false), y = ToTwips(a[5], line_, false);
  if (t.Control.empty()) {
    forms::Form& form = FindForm(t.Form);
    if (!form.Visible()) throw ScenarioError(line_, "the window " + t.Form + " is not visible");
    platform_->Mouse(form, action, button, x, y);
    return;
  }
  forms::Control& control = FindControl(t);
  RequireUsable(control);
  platform_->Mouse(control, action, button, x, y);
}

// ---- Looking

void Session::PrintCommand(const Command& c) {
  const Args& a = c.Args;
  const std::string& what = a[1];
  // How many arguments each kind of print takes; a window's control or property takes one.
  static const std::map<std::string, std::size_t, std::less<>> kArgs = {
      {"module", 2},   {"forms", 1}, {"setting", 3},    {"setwindowpos", 2},
      {"geometry", 2}, {"menu", 2},  {"toolwindow", 1},
  };
  auto known = kArgs.find(what);
  std::size_t n = known == kArgs.end() ? 1 : known->second;
  RequireArgs(a, n, n, line_);
  if (what == "module") {
    PrintModule(a[2]);
  } else if (what == "forms") {
    for (forms::Form* f : forms::LoadedForms())
      if (!f->IsDocument()) Print(f->Name() + (f->Visible() ? " visible" : " hidden"));
  } else if (what == "setting") {
    auto v = platform_->Platform().Settings().Get(options_.SettingsApp, a[2], a[3]);
    Print(a[2] + "." + a[3] + (v ? " = " + rt::Quote(*v) : " missing"));
  } else if (what == "setwindowpos") {
    auto hwnd = lastHwnd_.find(a[2]);
    auto call = hwnd == lastHwnd_.end() ? std::nullopt : platform_->LastSetWindowPos(hwnd->second);
    if (!call) {
      Print("setwindowpos " + a[2] + " none");
      return;
    }
    Print("setwindowpos " + a[2] + " " + std::to_string(call->InsertAfter) + " " +
          std::to_string(call->X) + " " + std::to_string(call->Y) + " " + std::to_string(call->Cx) +
          " " + std::to_string(call->Cy) + " " + Hex(call->Flags));
  } else if (what == "geometry") {
    forms::Form& f = FindForm(a[2]);
    Print(a[2] + " " + forms::FormatNumber(f.Left()) + " " + forms::FormatNumber(f.Top()) + " " +
          forms::FormatNumber(f.Width()) + " " + forms::FormatNumber(f.Height()));
  } else if (what == "menu") {
    auto captions = vbe_->MenuCaptions(a[2]);
    if (!captions) throw ScenarioError(line_, "no menu " + a[2]);
    for (const std::string& caption : *captions)
      Print(rt::Quote(caption));
  } else if (what == "toolwindow") {
    auto w = vbe_->LatestToolWindow();
    if (!w) {
      Print("toolwindow none");
      return;
    }
    Print("toolwindow " + rt::Quote(w->Caption) + (w->Visible ? " visible" : " hidden") +
          (w->Docked ? " docked" : " floating"));
  } else {
    PrintTarget(Target::Parse(what, line_));
  }
}

void Session::PrintModule(const std::string& name) {
  auto module = vbe_->FindModule(name);
  if (!module) throw ScenarioError(line_, "no module " + name);
  long n = 0;
  for (const std::string& line : module->AllLines())
    Print(std::to_string(++n) + " " + rt::Quote(line));
}

void Session::PrintTarget(const Target& t) {
  forms::Form& form = FindForm(t.Form);
  if (t.Control.empty()) throw ScenarioError(line_, "print needs WINDOW.CONTROL");
  forms::Control* control = form.FindControl(t.Control, t.Index);
  if (!t.Property.empty() || !control) {
    std::optional<forms::PropertyValue> v;
    std::string label;
    if (control) {
      v = control->Get(t.Property);
      label = t.Display() + "." + t.Property;
    } else if (t.Property.empty()) {
      v = form.Get(t.Control);
      label = t.Form + "." + t.Control;
    }
    if (!v)
      throw ScenarioError(line_, "unknown control or property " + t.Display() +
                                     (t.Property.empty() ? "" : "." + t.Property));
    Print(label + " = " + forms::FormatValue(*v));
    return;
  }
  if (auto* tree = dynamic_cast<forms::TreeView*>(control)) {
    PrintTree(*tree);
  } else if (auto* list = dynamic_cast<forms::ListControl*>(control)) {
    for (const std::string& item : list->Items())
      Print(rt::Quote(item));
  } else if (auto* bar = dynamic_cast<forms::StatusBar*>(control)) {
    for (long i = 1; i <= bar->PanelCount(); ++i)
      Print(rt::Quote(bar->Panels(i).Text));
  } else if (auto* toolbar = dynamic_cast<forms::Toolbar*>(control)) {
    for (long i = 1; i <= toolbar->ButtonCount(); ++i) {
      const forms::ToolbarButton& b = toolbar->Buttons(i);
      Print(std::to_string(i) + (b.Style == forms::tbrSeparator
                                     ? std::string(" separator")
                                     : " button " + rt::Quote(b.ToolTipText)));
    }
  } else {
    throw ScenarioError(line_, "print needs a property of " + t.Display());
  }
}

void Session::PrintTree(const forms::TreeView& tree) {
  std::function<void(const forms::Node*, int)> walk = [&](const forms::Node* n, int depth) {
    std::string line(static_cast<std::size_t>(2 * depth), ' ');
    line += rt::Quote(n->Text()) + " key=" + rt::Quote(n->Key()) +
            " image=" + std::to_string(n->Image());
    if (n->Bold()) line += " bold";
    if (n->Expanded()) line += " expanded";
    if (n->Selected()) line += " selected";
    Print(line);
    for (const forms::Node* child : n->ChildNodes())
      walk(child, depth + 1);
  };
  for (const forms::Node* root : tree.Roots())
    walk(root, 0);
}

}  // namespace script
