#include "ide/gui/gui_vbe.h"

#include <QCloseEvent>
#include <QDockWidget>
#include <QMainWindow>

#include "runtime/forms/form.h"
#include "runtime/qt/convert.h"
#include "runtime/vb/error.h"
#include "runtime/vb/strings.h"

namespace ide::gui {

using rt::qt::FromQ;
using rt::qt::ToQ;

namespace {

class GuiComponent : public vbide::VBComponent {
 public:
  explicit GuiComponent(std::string name) : name_(std::move(name)) {}
  std::string Name() override { return name_; }

 private:
  std::string name_;
};

class GuiAddIn : public vbide::AddIn {
 public:
  explicit GuiAddIn(ListedAddin a) : a_(std::move(a)) {}
  std::string ProgId() override { return a_.ProgId; }
  std::string Description() override { return a_.Description; }
  bool Connect() override { return a_.Connected; }

 private:
  ListedAddin a_;
};

// A dock widget that tells its tool window when the user closes it.
class ToolDock : public QDockWidget {
 public:
  ToolDock(const QString& caption, QWidget* parent) : QDockWidget(caption, parent) {}
  std::function<void()> OnClose;

 protected:
  void closeEvent(QCloseEvent* e) override {
    QDockWidget::closeEvent(e);
    if (e->isAccepted() && OnClose) OnClose();
  }
};

class ListOfLinked : public vbide::LinkedWindows {
 public:
  explicit ListOfLinked(std::function<void(vb::Object<vbide::Window>)> add = nullptr)
      : add_(std::move(add)) {}
  void Add(vb::Object<vbide::Window> window) override {
    if (!add_) vbide::RaiseIdeError(vb::kInvalidProcedureCall);
    add_(window);
    windows_.push_back(window.shared());
  }
  long Count() override {
    return static_cast<long>(
        std::count_if(windows_.begin(), windows_.end(), [](auto& w) { return !w.expired(); }));
  }

 private:
  std::function<void(vb::Object<vbide::Window>)> add_;
  std::vector<std::weak_ptr<vbide::Window>> windows_;
};

}  // namespace

class GuiToolWindow : public vbide::Window {
 public:
  GuiToolWindow(std::string caption, ToolDock* dock, com::ComPtr<com::IUnknown> doc,
                forms::Form* form)
      : caption_(std::move(caption)), dock_(dock), doc_(std::move(doc)), form_(form) {
    dock->OnClose = [this] {
      if (!form_) return;
      try {
        form_->SetVisible(false);
      } catch (const vb::Error&) {
      }
    };
  }
  ~GuiToolWindow() override {
    if (dock_) dock_->OnClose = nullptr;
  }
  std::string Caption() override { return Live("Caption"), caption_; }
  bool Visible() override { return !Live("Visible").isHidden(); }
  void SetVisible(bool v) override {
    QDockWidget& dock = Live("Visible");
    if (form_) form_->SetVisible(v);
    dock.setVisible(v);
  }
  void SetFocus() override {
    QDockWidget& dock = Live("SetFocus");
    dock.raise();
    if (dock.isFloating()) dock.activateWindow();
    if (QWidget* w = dock.widget()) w->setFocus(Qt::OtherFocusReason);
  }
  void Close() override {
    QDockWidget& dock = Live("Close");
    closed_ = true;
    static_cast<ToolDock&>(dock).OnClose = nullptr;
    dock.hide();
    forms::Form* form = std::exchange(form_, nullptr);
    if (form) form->Unload();
    doc_.Reset();
    dock.deleteLater();
  }
  vb::Object<vbide::LinkedWindows> LinkedWindows() override {
    Live("LinkedWindows");
    return vb::Object<vbide::LinkedWindows>(linked_);
  }

  QDockWidget* Dock() const { return closed_ ? nullptr : dock_.data(); }

 private:
  QDockWidget& Live(const char* method) const {
    if (closed_ || !dock_) vbide::RaiseMethodFailed(method, "Window");
    return *dock_;
  }
  std::string caption_;
  QPointer<ToolDock> dock_;
  com::ComPtr<com::IUnknown> doc_;
  forms::Form* form_;
  bool closed_ = false;
  std::shared_ptr<ListOfLinked> linked_ = std::make_shared<ListOfLinked>();
};

namespace {

class GuiMainWindow : public vbide::Window {
 public:
  GuiMainWindow(QMainWindow* main, std::function<void(QDockWidget*)> dock)
      : main_(main), linked_(std::make_shared<ListOfLinked>([dock](vb::Object<vbide::Window> w) {
          auto* tool = dynamic_cast<GuiToolWindow*>(w.get());
          if (!tool || !tool->Dock()) vbide::RaiseIdeError(vb::kInvalidProcedureCall);
          dock(tool->Dock());
        })) {}
  std::string Caption() override { return FromQ(Live("Caption").windowTitle()); }
  bool Visible() override { return Live("Visible").isVisible(); }
  void SetVisible(bool v) override { Live("Visible").setVisible(v); }
  void SetFocus() override { Live("SetFocus").activateWindow(); }
  void Close() override { vbide::RaiseIdeError(vb::kInvalidProcedureCall); }
  vb::Object<vbide::LinkedWindows> LinkedWindows() override {
    Live("LinkedWindows");
    return vb::Object<vbide::LinkedWindows>(linked_);
  }

 private:
  QMainWindow& Live(const char* method) const {
    if (!main_) vbide::RaiseMethodFailed(method, "Window");
    return *main_;
  }
  QPointer<QMainWindow> main_;
  std::shared_ptr<ListOfLinked> linked_;
};

}  // namespace

class GuiVbe::AddinsObject : public vbide::Addins {
 public:
  explicit AddinsObject(std::weak_ptr<GuiVbe> vbe) : vbe_(std::move(vbe)) {}
  long Count() override { return static_cast<long>(Vbe().Parts().Addins().size()); }
  vb::Object<vbide::AddIn> Item(const std::string& progId) override {
    for (ListedAddin& a : Vbe().Parts().Addins())
      if (vb::LCase(a.ProgId) == vb::LCase(progId)) return vb::New<GuiAddIn>(std::move(a));
    vbide::RaiseIdeError(vb::kSubscriptOutOfRange);
  }
  void Update() override {
    if (Vbe().Parts().UpdateAddins) Vbe().Parts().UpdateAddins();
  }

 private:
  GuiVbe& Vbe() {
    auto vbe = vbe_.lock();
    if (!vbe) vbide::RaiseIdeError(vb::kObjectNotSet);
    return *vbe;
  }
  std::weak_ptr<GuiVbe> vbe_;
};

class GuiVbe::WindowsObject : public vbide::Windows {
 public:
  explicit WindowsObject(std::weak_ptr<GuiVbe> vbe) : vbe_(std::move(vbe)) {}
  vb::Object<vbide::Window> CreateToolWindow(vb::Object<vbide::AddIn> addInInst,
                                             const std::string& progId, const std::string& caption,
                                             const std::string& guidPosition,
                                             com::ComPtr<com::IUnknown>& docObj) override {
    auto vbe = vbe_.lock();
    if (!vbe || addInInst.IsNothing()) vbide::RaiseIdeError(vb::kInvalidProcedureCall);
    return vbe->CreateToolWindow(progId, caption, guidPosition, docObj);
  }

 private:
  std::weak_ptr<GuiVbe> vbe_;
};

class GuiVbe::EventsObject : public vbide::Events {
 public:
  explicit EventsObject(std::weak_ptr<GuiVbe> vbe) : vbe_(std::move(vbe)) {}
  vb::Object<vbide::CommandBarEvents> CommandBarEvents(
      vb::Object<vbide::CommandBarControl> control) override {
    auto vbe = vbe_.lock();
    if (!vbe) vbide::RaiseIdeError(vb::kInvalidProcedureCall);
    const GuiParts& parts = vbe->Parts();
    return parts.Bars->EventsFor(control, parts.ConnectingAddin ? parts.ConnectingAddin() : "");
  }

 private:
  std::weak_ptr<GuiVbe> vbe_;
};

GuiVbe::~GuiVbe() = default;

const GuiParts& GuiVbe::Parts() const {
  if (!attached_) vbide::RaiseIdeError(vb::kObjectNotSet);
  return parts_;
}

void GuiVbe::Detach() {
  attached_ = false;
  toolWindows_.clear();
  main_.reset();
  parts_ = GuiParts{};
}

vb::Object<vbide::CodePane> GuiVbe::ActiveCodePane() {
  if (!attached_ || !parts_.ActiveDocument) return nullptr;
  std::shared_ptr<EditorDocument> doc = parts_.ActiveDocument();
  if (!doc) return nullptr;
  return doc->Pane();
}

vb::Object<vbide::VBComponent> GuiVbe::SelectedVBComponent() {
  std::string name = Parts().SelectedComponent ? Parts().SelectedComponent() : "";
  if (name.empty()) return nullptr;
  return vb::New<GuiComponent>(name);
}

vb::Object<vbide::Addins> GuiVbe::Addins() {
  Parts();
  return vb::New<AddinsObject>(weak_from_this());
}

vb::Object<vbide::Windows> GuiVbe::Windows() {
  Parts();
  return vb::New<WindowsObject>(weak_from_this());
}

vb::Object<vbide::Events> GuiVbe::Events() {
  Parts();
  return vb::New<EventsObject>(weak_from_this());
}

vb::Object<vbide::CommandBars> GuiVbe::CommandBars() {
  return Parts().Bars->Bars();
}

vb::Object<vbide::Window> GuiVbe::MainWindow() {
  const GuiParts& parts = Parts();
  if (!main_) main_ = std::make_shared<GuiMainWindow>(parts.Main, parts.Dock);
  return vb::Object<vbide::Window>(main_);
}

vb::Object<vbide::Window> GuiVbe::CreateToolWindow(const std::string& progId,
                                                   const std::string& caption,
                                                   const std::string& guidPosition,
                                                   com::ComPtr<com::IUnknown>& docObj) {
  const GuiParts& parts = Parts();
  if (!parts.Activator || !parts.Main) vbide::RaiseIdeError(vb::kInvalidProcedureCall);
  com::ComPtr<com::IUnknown> object = parts.Activator->CreateObject(progId);
  auto doc = object.As<vbide::IUserDocument>(vbide::IID_IUserDocument);
  if (!doc) vbide::RaiseIdeError(429);
  forms::Form* form = doc->Document();

  auto* dock = new ToolDock(ToQ(caption), parts.Main);
  dock->setObjectName(ToQ("ToolWindow" + guidPosition));
  dock->setAllowedAreas(Qt::AllDockWidgetAreas);
  parts.Main->addDockWidget(Qt::RightDockWidgetArea, dock);
  dock->setFloating(true);
  dock->hide();
  if (form) {
    struct Hosting {
      GuiVbe& vbe;
      ~Hosting() { vbe.hosting_ = nullptr, vbe.hostingDock_ = nullptr; }
    } hosting{*this};
    hosting_ = form;
    hostingDock_ = dock;
    form->Load();
  }
  // The document's window has no layout: its size as drawn is the least the dock may give it.
  if (QWidget* w = dock->widget()) {
    w->setMinimumSize(w->size());
    dock->resize(w->size());
  }
  auto window = std::make_shared<GuiToolWindow>(caption, dock, object, form);
  toolWindows_.push_back(window);
  docObj = object;
  return vb::Object<vbide::Window>(window);
}

void GuiVbe::HostDocument(forms::Form& form, QWidget* window) {
  QDockWidget* dock = hostingDock_;
  if (&form != hosting_ || !dock) {
    // A document no tool window is waiting for: a floating tool window of its own.
    if (!attached_ || !parts_.Main) return;
    dock = new ToolDock(ToQ(form.Caption()), parts_.Main);
    parts_.Main->addDockWidget(Qt::RightDockWidgetArea, dock);
    dock->setFloating(true);
  }
  dock->setWidget(window);
}

QDockWidget* GuiVbe::LatestToolDock() const {
  for (auto it = toolWindows_.rbegin(); it != toolWindows_.rend(); ++it)
    if (QDockWidget* d = (*it)->Dock()) return d;
  return nullptr;
}

void GuiVbe::CloseToolWindows() {
  for (auto& w : toolWindows_)
    if (w->Dock()) w->Close();
  toolWindows_.clear();
}

}  // namespace ide::gui
