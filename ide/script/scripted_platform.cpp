#include "ide/script/scripted_platform.h"

#include <stdexcept>
#include <utility>

#ifdef BW_WITH_QT
#include "runtime/qt/scripted_qt.h"
#endif

namespace script {

ScriptedPlatform::~ScriptedPlatform() = default;

namespace {

// The scenario's settings and the platform's records, which both platforms keep alike.
template <class P>
class Forwarding : public ScriptedPlatform {
 public:
  template <class... Args>
  explicit Forwarding(Args&&... args) : p_(std::forward<Args>(args)...) {}
  void QueueAnswer(long answer) override { p_.QueueAnswer(answer); }
  void QueueFileDialog(std::optional<std::string> path) override {
    p_.QueueFileDialog(std::move(path));
  }
  void SetScreen(double width, double height) override { p_.SetScreen(width, height); }
  void SetToday(const vb::Date& date) override { p_.SetToday(date); }
  void SetAddinFolder(std::string folder) override { p_.SetAddinFolder(std::move(folder)); }
  void SetTranscript(std::function<void(const std::string&)> sink) override {
    p_.SetTranscript(std::move(sink));
  }
  std::optional<rt::SetWindowPosCall> LastSetWindowPos(long hwnd) const override {
    return p_.LastSetWindowPos(hwnd);
  }
  std::vector<std::string> TakeFaults() override { return p_.TakeFaults(); }

 protected:
  P p_;
};

class Headless final : public Forwarding<rt::HeadlessPlatform> {
 public:
  rt::Platform& Platform() override { return p_; }

  void ClickButton(forms::Toolbar& toolbar, long index) override {
    forms::UserAction([&] { toolbar.UserClickButton(index); });
  }
  void Click(forms::Control& control) override {
    forms::UserAction([&] { control.UserClick(); });
  }
  void DblClick(forms::Control& control) override {
    forms::UserAction([&] { control.UserDblClick(); });
  }
  void Focus(forms::Control& control) override {
    forms::UserAction([&] { control.SetFocus(); });
  }
  void Type(forms::TextBox& box, const std::string& text) override {
    forms::UserAction([&] { box.UserType(text); });
  }
  void Choose(forms::ListControl& list, long index) override {
    forms::UserAction([&] { list.UserChoose(list.List(index)); });
  }
  void ClickNode(forms::TreeView& tree, forms::Node& node) override {
    forms::UserAction([&] { tree.UserClickNode(&node); });
  }
  bool SetProperty(forms::Control& control, std::string_view property,
                   const forms::PropertyValue& value) override {
    bool known = true;
    forms::UserAction([&] { known = control.Set(property, value); });
    return known;
  }
  void Mouse(forms::Control& control, std::string_view action, int button, double x,
             double y) override {
    forms::UserAction([&] { control.UserMouse(action, button, x, y); });
  }
  void Mouse(forms::Form& form, std::string_view action, int button, double x, double y) override {
    forms::UserAction([&] { form.UserMouse(action, button, x, y); });
  }
  void Resize(forms::Form& form, double scaleWidth, double scaleHeight) override {
    forms::UserAction([&] { form.UserResize(scaleWidth, scaleHeight); });
  }
  void SetWindowState(forms::Form& form, int state) override {
    forms::UserAction([&] { form.UserSetWindowState(state); });
  }
  void Close(forms::Form& form) override {
    forms::UserAction([&] { form.UserClose(); });
  }
};

#ifdef BW_WITH_QT
class OnQt final : public Forwarding<rt::qt::ScriptedQt> {
 public:
  explicit OnQt(const std::filesystem::path& folder) : Forwarding(folder.string()) {}
  rt::Platform& Platform() override { return p_.Platform(); }

  void ClickButton(forms::Toolbar& toolbar, long index) override { p_.ClickButton(toolbar, index); }
  void Click(forms::Control& control) override { p_.Click(control); }
  void DblClick(forms::Control& control) override { p_.DblClick(control); }
  void Focus(forms::Control& control) override { p_.Focus(control); }
  void Type(forms::TextBox& box, const std::string& text) override { p_.Type(box, text); }
  void Choose(forms::ListControl& list, long index) override { p_.Choose(list, index); }
  void ClickNode(forms::TreeView& tree, forms::Node& node) override { p_.ClickNode(tree, node); }
  bool SetProperty(forms::Control& control, std::string_view property,
                   const forms::PropertyValue& value) override {
    return p_.SetProperty(control, property, value);
  }
  void Mouse(forms::Control& control, std::string_view action, int button, double x,
             double y) override {
    p_.Mouse(control, action, button, x, y);
  }
  void Mouse(forms::Form& form, std::string_view action, int button, double x, double y) override {
    p_.Mouse(form, action, button, x, y);
  }
  void Resize(forms::Form& form, double scaleWidth, double scaleHeight) override {
    p_.Resize(form, scaleWidth, scaleHeight);
  }
  void SetWindowState(forms::Form& form, int state) override { p_.SetWindowState(form, state); }
  void Close(forms::Form& form) override { p_.Close(form); }
  void Settle() override { p_.Settle(); }
  void SavePictures(const std::filesystem::path& folder) override {
    p_.SavePictures(folder.string());
  }
};
#endif

}  // namespace

std::unique_ptr<ScriptedPlatform> MakeHeadlessPlatform() {
  return std::make_unique<Headless>();
}

std::unique_ptr<ScriptedPlatform> MakeQtPlatform(const std::filesystem::path& configFolder) {
#ifdef BW_WITH_QT
  return std::make_unique<OnQt>(configFolder);
#else
  (void)configFolder;
  throw std::runtime_error("this runner was built without the Qt platform");
#endif
}

}  // namespace script
