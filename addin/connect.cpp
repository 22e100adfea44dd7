#include "addin/connect.h"

#include "runtime/platform.h"
#include "services/error_report.h"
#include "services/names.h"
#include "services/shared_state.h"

namespace bw {
namespace {

const char kExternalStartTitle[] = "Creating VB5 Add-Ins: Tool Window";

template <class T>
T& CreatedOnFirstUse(std::unique_ptr<T>& component) {
  if (!component) component = std::make_unique<T>();
  return *component;
}

}  // namespace

// ---- The WithEvents variable

CommandBarEventsVariable::~CommandBarEventsVariable() {
  Bind(nullptr);
}

void CommandBarEventsVariable::Bind(vb::Object<vbide::CommandBarEvents> source) {
  if (!source_.IsNothing()) source_->Unadvise(cookie_);
  source_ = std::move(source);
  cookie_ = source_.IsNothing() ? 0 : source_->Advise(this);
}

com::HRESULT CommandBarEventsVariable::Click(vb::Object<vbide::CommandBarControl> control,
                                             bool& handled, bool& cancelDefault) noexcept {
  return com::Guard([&] { owner_->CommandBar_Click(control, handled, cancelDefault); });
}

// ---- Connect

std::string ExternalStartMessage() {
  const std::string cr = "\r";
  return "An add-in that requires a menu item to" + cr + "run correctly, like this programmer's" +
         cr + "log, can't be run from the toolbar." + cr + cr +
         "To run this add-in, check the item " + cr + "'" + kExternalStartTitle + "' in" + cr +
         "the Add-In Manager dialog box." + cr + cr + "Choose OK and button for this add-in" + cr +
         "will be removed from Add-In toolbar.";
}

Connect::Connect() : ComObject(vbide::IID_IDTExtensibility) {}

Connect::~Connect() {
  CommandBar.Bind(nullptr);
  toolbarComponent_.reset();
  menuComponent_.reset();
  registryComponent_.reset();
  menuItem_.SetNothing();
  toolWindow_.SetNothing();
}

com::HRESULT Connect::OnConnection(vb::Object<vbide::VBE> application, long connectMode,
                                   vb::Object<vbide::AddIn> addInInst,
                                   std::vector<std::string>&) noexcept {
  return com::Guard([&] { IDTExtensibility_OnConnection(application, connectMode, addInInst); });
}

com::HRESULT Connect::OnDisconnection(long removeMode, std::vector<std::string>&) noexcept {
  return com::Guard([&] { IDTExtensibility_OnDisconnection(removeMode); });
}

com::HRESULT Connect::OnAddInsUpdate(std::vector<std::string>&) noexcept {
  return com::Guard([&] { IDTExtensibility_OnAddInsUpdate(); });
}

com::HRESULT Connect::OnStartupComplete(std::vector<std::string>&) noexcept {
  return com::Guard([&] { IDTExtensibility_OnStartupComplete(); });
}

void Connect::IDTExtensibility_OnConnection(vb::Object<vbide::VBE> vbInst, long ConnectMode,
                                            vb::Object<vbide::AddIn>) {
  VBInst = std::move(vbInst);
  if (ConnectMode == vbide::vbext_cm_External) {
    vb::MsgBox(ExternalStartMessage(), vb::vbInformation + vb::vbMsgBoxSetForeground,
               kExternalStartTitle);
    CreatedOnFirstUse(toolbarComponent_).RemoveButton(VBInst, kConnectProgId);
  } else if (ConnectMode == vbide::vbext_cm_AfterStartup) {
    DisplayLog();
  }
}

void Connect::IDTExtensibility_OnStartupComplete() {
  DisplayLog();
}

void Connect::IDTExtensibility_OnAddInsUpdate() {
  VBInst->Addins()->Update();
}

void Connect::IDTExtensibility_OnDisconnection(long RemoveMode) {
  if (RemoveMode != vbide::vbext_dm_UserClosed) return;
  if (toolWindow_->Visible()) toolWindow_->Close();
  menuItem_->Delete();
}

void Connect::CommandBar_Click(vb::Object<vbide::CommandBarControl>, bool&, bool&) {
  if (!toolWindow_->Visible()) toolWindow_->SetVisible(true);
  toolWindow_->SetFocus();
}

void Connect::DisplayLog() {
  try {
    const std::string keyPath = std::string(kToolWindowProgId) + "\\Clsid";
    RegistryAccess& registry = CreatedOnFirstUse(registryComponent_);
    long key = registry.OpenKey(keyPath);
    std::string clsid = registry.ReadValue(key, "");
    registry.CloseKey(key);

    vb::Object<vbide::AddIn> addIn = VBInst->Addins()->Item(kConnectProgId);
    com::ComPtr<com::IUnknown> docObj;
    toolWindow_ =
        VBInst->Windows()->CreateToolWindow(addIn, kToolWindowProgId, kProductName, clsid, docObj);
    toolWindow_->SetVisible(true);
    toolWindow_->SetFocus();
    if (VBInst->DisplayModel() == vbide::vbext_dm_MDI)
      VBInst->MainWindow()->LinkedWindows()->Add(toolWindow_);
    AddMenuItem(kProductName);
  } catch (const vb::Error& e) {
    ShowCriticalError("   Routine Name : Private Sub DisplayLog", e);
  }
}

void Connect::AddMenuItem(const std::string& caption) {
  vb::Object<vbide::CommandBarControl> viewMenu =
      VBInst->CommandBars()->Item("Menu Bar")->Controls()->Item("View");
  menuItem_ = CreatedOnFirstUse(menuComponent_).AddCommand(viewMenu, caption);
  CommandBar.Bind(VBInst->Events()->CommandBarEvents(menuItem_));
}

}  // namespace bw
