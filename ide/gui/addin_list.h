// The IDE's add-in list and the connections of the add-ins on it.
//
// The list is kept in the IDE's settings file as the VB6 IDE keeps vbaddin.ini: group
// "Add-Ins32", one value per ProgID, 1 when the add-in loads at start-up, 0 when not. An add-in
// is described by its ProgID key's default value in the registry (its class description).
//
// Connections follow the IDE's rules: an add-in loaded from the Add-In Manager connects with
// mode 0 (after start-up); at start-up those marked load with mode 1, followed by start-up
// complete; an add-in the user unloads disconnects with remove mode 1; at shutdown every
// connected add-in disconnects with remove mode 0. A failure is reported in a message box and
// the IDE goes on: an add-in that cannot be created ("Add-In Manager", naming it and why), and
// an event that fails (ide::AddinManager's report).
#pragma once

#include <QSettings>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ide/core/addin_manager.h"
#include "ide/core/com_runtime.h"
#include "ide/gui/gui_vbe.h"

namespace ide::gui {

class AddinList {
 public:
  // `activator` creates the add-ins' connection objects (the COM runtime, through the registry).
  AddinList(QSettings& settings, vbide::ObjectActivator& activator)
      : settings_(settings), activator_(activator) {}
  ~AddinList();
  void SetVbe(vb::Object<vbide::VBE> vbe) { vbe_ = std::move(vbe); }

  // The listed add-ins, in the order of their ProgIDs.
  std::vector<ListedAddin> Entries() const;
  bool IsListed(const std::string& progId) const;
  // Lists an add-in (an installer's step); an add-in already listed keeps its choice.
  void List(const std::string& progId, bool loadOnStartup);
  bool LoadOnStartup(const std::string& progId) const;
  void SetLoadOnStartup(const std::string& progId, bool load);

  bool IsConnected(const std::string& progId) const;
  // Connects the add-in with that mode; false (reported) when it cannot be created.
  bool Connect(const std::string& progId, long mode);
  void Disconnect(const std::string& progId, long removeMode);
  // Connects those marked to load at start-up (mode 1).
  void StartUp();
  // Disconnects every connected add-in (remove mode 0).
  void ShutDown();
  // The ProgID of the add-in whose connection events run now; empty when none.
  const std::string& Connecting() const { return connecting_; }

 private:
  static QString Key(const std::string& progId);

  QSettings& settings_;
  vbide::ObjectActivator& activator_;
  vb::Object<vbide::VBE> vbe_;
  std::map<std::string, std::unique_ptr<ide::AddinManager>> connected_;
  std::string connecting_;
};

}  // namespace ide::gui
