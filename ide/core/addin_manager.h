// The IDE's add-in manager: connects an add-in by its ProgID and drives its connection events.
//
// A failure the add-in returns from an event is shown to the user in a message box titled
// "Add-In Manager" naming the add-in and the event, and the IDE goes on; the add-in stays in
// whatever state the failure left it.
#pragma once

#include <optional>
#include <string>

#include "host/com.h"
#include "host/vbide.h"
#include "runtime/vb/object.h"

namespace ide {

class AddinManager {
 public:
  AddinManager(vb::Object<vbide::VBE> vbe, vbide::ObjectActivator& activator)
      : vbe_(std::move(vbe)), activator_(activator) {}
  ~AddinManager();

  // Creates the add-in's connection object and raises its connection event with `mode`; modes
  // 1 and 3 are followed by start-up complete. REQUIRES: not connected. Raises what creating the
  // object raises (429 when it cannot be created).
  void Connect(const std::string& progId, long mode);
  // Raises the disconnection event with `removeMode` and releases the connection object.
  // REQUIRES: connected.
  void Disconnect(long removeMode);
  // Raises the add-ins-update event. REQUIRES: connected.
  void AddInsUpdate();
  bool IsConnected() const { return static_cast<bool>(connection_); }

 private:
  void Report(const char* event, com::HRESULT hr);

  vb::Object<vbide::VBE> vbe_;
  vbide::ObjectActivator& activator_;
  std::string progId_;
  com::ComPtr<vbide::IDTExtensibility> connection_;
};

// The text the IDE shows when an add-in's event fails.
std::string AddinFailurePrompt(const std::string& progId, const std::string& event,
                               const vb::Error& error);

}  // namespace ide
