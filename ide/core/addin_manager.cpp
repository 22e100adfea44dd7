#include "ide/core/addin_manager.h"

#include <vector>

#include "runtime/platform.h"

namespace ide {

std::string AddinFailurePrompt(const std::string& progId, const std::string& event,
                               const vb::Error& error) {
  return "The add-in '" + progId + "' failed in " + event + ".\r\n\r\nRun-time error '" +
         std::to_string(error.Number) + "':\r\n" + error.Description;
}

AddinManager::~AddinManager() = default;

void AddinManager::Report(const char* event, com::HRESULT hr) {
  if (!com::Failed(hr)) return;
  vb::MsgBox(AddinFailurePrompt(progId_, event, com::TakeError(hr)), vb::vbCritical,
             "Add-In Manager");
}

void AddinManager::Connect(const std::string& progId, long mode) {
  com::ComPtr<com::IUnknown> object = activator_.CreateObject(progId);
  auto connection = object.As<vbide::IDTExtensibility>(vbide::IID_IDTExtensibility);
  if (!connection) throw vb::Error(429, "AddinManager", vb::StandardDescription(429));
  progId_ = progId;
  connection_ = connection;
  std::vector<std::string> custom;
  Report("OnConnection",
         connection_->OnConnection(vbe_, mode, vbe_->Addins()->Item(progId), custom));
  if (connection_ && (mode == vbide::vbext_cm_Startup || mode == vbide::vbext_cm_CommandLine))
    Report("OnStartupComplete", connection_->OnStartupComplete(custom));
}

void AddinManager::Disconnect(long removeMode) {
  std::vector<std::string> custom;
  Report("OnDisconnection", connection_->OnDisconnection(removeMode, custom));
  connection_.Reset();
}

void AddinManager::AddInsUpdate() {
  std::vector<std::string> custom;
  Report("OnAddInsUpdate", connection_->OnAddInsUpdate(custom));
}

}  // namespace ide
