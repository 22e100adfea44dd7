#include "addin/connect.h"

#include "addin/error_report.h"
#include "addin/globals.h"
#include "runtime/platform.h"

namespace bw {
namespace {

const char kConnectProgId[] = "Brindlewick.Connect";
const char kToolWindowProgId[] = "Brindlewick.ToolWindow";
const char kExternalStartTitle[] = "Creating VB5 Add-Ins: Tool Window";

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
    long removed = 0;
    ToolbarComponent().RemoveButton(VBInst, kConnectProgId, removed);
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
    RegistryAccess& registry = RegistryComponent();
    long key = registry.OpenKey(0, keyPath);
    std::string clsid = registry.ReadValue(key, "");
    registry.CloseKey(key);

    vb::Object<vbide::AddIn> addIn = VBInst->Addins()->Item(kConnectProgId);
    com::ComPtr<com::IUnknown> docObj;
    toolWindow_ =
        VBInst->Windows()->CreateToolWindow(addIn, kToolWindowProgId, "Brindlewick", clsid, docObj);
    toolWindow_->SetVisible(true);
    toolWindow_->SetFocus();
    if (VBInst->DisplayModel() == vbide::vbext_dm_MDI)
      VBInst->MainWindow()->LinkedWindows()->Add(toolWindow_);
    AddMenuItem("Brindlewick");
  } catch (const vb::Error& e) {
    ShowCriticalError("   Routine Name : Private Sub DisplayLog", e);
  }
}

void Connect::AddMenuItem(const std::string& caption) {
  vb::Object<vbide::CommandBarControl> viewMenu =
      VBInst->CommandBars()->Item("Menu Bar")->Controls()->Item("View");
  menuItem_ = MenuComponent().AddCommand(VBInst, viewMenu, caption, 0, -1, "");
  CommandBar.Bind(VBInst->Events()->CommandBarEvents(menuItem_));
}

ToolbarAccess& Connect::ToolbarComponent() {
  if (!toolbarComponent_) toolbarComponent_ = std::make_unique<ToolbarAccess>();
  return *toolbarComponent_;
}

MenuAccess& Connect::MenuComponent() {
  if (!menuComponent_) menuComponent_ = std::make_unique<MenuAccess>();
  return *menuComponent_;
}

RegistryAccess& Connect::RegistryComponent() {
  if (!registryComponent_) registryComponent_ = std::make_unique<RegistryAccess>();
  return *registryComponent_;
}

}  // namespace bw
