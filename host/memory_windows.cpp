#include "host/memory_ide.h"

#include <algorithm>
#include <utility>

#include "runtime/forms/form.h"
#include "runtime/vb/error.h"

namespace vbide {

class MemoryLinkedWindows : public LinkedWindows {
 public:
  void Add(vb::Object<Window> window) override;
  long Count() override {
    return static_cast<long>(
        std::ranges::count_if(windows_, [](const auto& w) { return !w.expired(); }));
  }

 private:
  std::vector<std::weak_ptr<Window>> windows_;
};

class MemoryWindow : public Window {
 public:
  explicit MemoryWindow(std::string caption, com::ComPtr<com::IUnknown> doc = {},
                        forms::Form* form = nullptr)
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
  void SetDocked(bool v) { docked_ = v; }
  ToolWindowState State() const { return {caption_, visible_, docked_, form_}; }

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
  if (!w) RaiseIdeError(vb::kInvalidProcedureCall);
  w->SetDocked(true);
  windows_.push_back(window.shared());
}

class MemoryVbe::WindowsObject : public vbide::Windows {
 public:
  explicit WindowsObject(std::weak_ptr<MemoryVbe> vbe) : vbe_(std::move(vbe)) {}
  vb::Object<Window> CreateToolWindow(vb::Object<AddIn> addInInst, const std::string& progId,
                                      const std::string& caption, const std::string& guidPosition,
                                      com::ComPtr<com::IUnknown>& docObj) override {
    auto vbe = vbe_.lock();
    if (!vbe || addInInst.IsNothing() || !vbe->activator_) RaiseIdeError(vb::kInvalidProcedureCall);
    com::ComPtr<com::IUnknown> object = vbe->activator_->CreateObject(progId);
    auto doc = object.As<IUserDocument>(IID_IUserDocument);
    if (!doc) RaiseIdeError(429);
    forms::Form* form = doc->Document();
    if (form) form->Load();
    auto window = std::make_shared<MemoryWindow>(caption, object, form);
    vbe->toolWindows_.push_back(window);
    docObj = object;
    return vb::Object<Window>(window);
  }

 private:
  std::weak_ptr<MemoryVbe> vbe_;
};

vb::Object<vbide::Windows> MemoryVbe::Windows() {
  return vb::New<WindowsObject>(weak_from_this());
}

vb::Object<Window> MemoryVbe::MainWindow() {
  if (!main_) main_ = std::make_shared<MemoryWindow>("Microsoft Visual Basic");
  return vb::Object<Window>(main_);
}

MemoryWindow* MemoryVbe::LatestWindow() const {
  for (auto it = toolWindows_.rbegin(); it != toolWindows_.rend(); ++it)
    if (!(*it)->Closed()) return it->get();
  return nullptr;
}

std::optional<ToolWindowState> MemoryVbe::LatestToolWindow() const {
  if (MemoryWindow* w = LatestWindow()) return w->State();
  return std::nullopt;
}

void MemoryVbe::UserCloseToolWindow() {
  if (MemoryWindow* w = LatestWindow()) w->SetVisible(false);
}

}  // namespace vbide
