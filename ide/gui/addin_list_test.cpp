// The add-in list and the Add-In Manager: the connect and remove modes an add-in hears, the
// start-up choice remembered, and failures reported while the IDE goes on.
#include "ide/gui/addin_list.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCheckBox>
#include <QTreeWidget>
#include <filesystem>

#include "host/memory_ide.h"
#include "ide/gui/addin_manager_dialog.h"
#include "ide/gui/testing/ide_harness.h"
#include "runtime/headless/headless_platform.h"

namespace ide::gui {
namespace {

namespace fs = std::filesystem;
using Log = std::vector<std::string>;

// A connection object that logs its events; `failIn` names an event that fails.
class LoggingAddin final : public vbide::IDTExtensibility {
 public:
  LoggingAddin(Log& log, std::string failIn) : log_(log), failIn_(std::move(failIn)) {}
  com::HRESULT QueryInterface(const com::IID& iid, void** object) override {
    if (iid == com::IID_IUnknown || iid == vbide::IID_IDTExtensibility) {
      AddRef();
      *object = static_cast<vbide::IDTExtensibility*>(this);
      return com::S_OK;
    }
    *object = nullptr;
    return com::E_NOINTERFACE;
  }
  unsigned long AddRef() override { return ++refs_; }
  unsigned long Release() override {
    unsigned long n = --refs_;
    if (n == 0) delete this;
    return n;
  }
  com::HRESULT OnConnection(vb::Object<vbide::VBE>, long mode, vb::Object<vbide::AddIn>,
                            std::vector<std::string>&) noexcept override {
    return Event("OnConnection " + std::to_string(mode));
  }
  com::HRESULT OnDisconnection(long mode, std::vector<std::string>&) noexcept override {
    return Event("OnDisconnection " + std::to_string(mode));
  }
  com::HRESULT OnAddInsUpdate(std::vector<std::string>&) noexcept override {
    return Event("OnAddInsUpdate");
  }
  com::HRESULT OnStartupComplete(std::vector<std::string>&) noexcept override {
    return Event("OnStartupComplete");
  }

 private:
  com::HRESULT Event(const std::string& what) {
    log_.push_back(what);
    if (what.rfind(failIn_, 0) != 0 || failIn_.empty()) return com::S_OK;
    return com::SetError(vb::Error(5, "Logging", "Invalid procedure call or argument"));
  }
  Log& log_;
  std::string failIn_;
  unsigned long refs_ = 1;
};

class LoggingActivator : public vbide::ObjectActivator {
 public:
  com::ComPtr<com::IUnknown> CreateObject(const std::string& progId) override {
    if (progId != "Logging.Connect")
      throw vb::Error(429, "test", "ActiveX component can't create object");
    return com::ComPtr<com::IUnknown>::Attach(new LoggingAddin(log, failIn));
  }
  Log log;
  std::string failIn;
};

class AddinListTest : public ::testing::Test {
 protected:
  AddinListTest() {
    testing::IdeHarness::EnsureApplication();
    rt::InstallPlatform(&platform_);
    vbe_->ListAddIn("Logging.Connect", "Logging");
    vbe_->ListAddIn("Missing.Connect", "Missing");
  }
  ~AddinListTest() override {
    rt::InstallPlatform(nullptr);
    std::error_code ec;
    fs::remove(file_, ec);
  }
  // The list as the IDE reads it from its settings file (afresh: the IDE started again).
  std::unique_ptr<AddinList> Open() {
    settings_ =
        std::make_unique<QSettings>(QString::fromStdString(file_.string()), QSettings::IniFormat);
    auto list = std::make_unique<AddinList>(*settings_, activator_);
    list->SetVbe(vb::Object<vbide::VBE>(vbe_));
    return list;
  }

  fs::path file_ = fs::temp_directory_path() / ("addins-" + std::to_string(getpid()) + ".ini");
  rt::HeadlessPlatform platform_;
  std::shared_ptr<vbide::MemoryVbe> vbe_ = vbide::MemoryVbe::Create();
  LoggingActivator activator_;
  std::unique_ptr<QSettings> settings_;
};

TEST_F(AddinListTest, ModesFollowHowTheAddinIsLoadedAndUnloaded) {
  auto list = Open();
  list->List("Logging.Connect", /*loadOnStartup=*/true);
  list->List("Other.Connect", false);
  list->StartUp();  // only the one marked
  EXPECT_TRUE(list->IsConnected("Logging.Connect"));
  EXPECT_FALSE(list->IsConnected("Other.Connect"));
  list->Disconnect("Logging.Connect", vbide::vbext_dm_UserClosed);
  list->Connect("Logging.Connect", vbide::vbext_cm_AfterStartup);
  list->ShutDown();
  EXPECT_FALSE(list->IsConnected("Logging.Connect"));
  EXPECT_EQ(activator_.log, (Log{"OnConnection 1", "OnStartupComplete", "OnDisconnection 1",
                                 "OnConnection 0", "OnDisconnection 0"}));
  EXPECT_TRUE(platform_.MessageBoxes().empty());
}

TEST_F(AddinListTest, TheStartupChoiceIsRememberedAndListingKeepsIt) {
  {
    auto list = Open();
    list->List("Logging.Connect", true);
    list->SetLoadOnStartup("Logging.Connect", false);
    list->List("Logging.Connect", true);  // already listed: the user's choice stays
  }
  auto list = Open();
  ASSERT_EQ(list->Entries().size(), 1u);
  EXPECT_EQ(list->Entries()[0].ProgId, "Logging.Connect");
  EXPECT_FALSE(list->LoadOnStartup("Logging.Connect"));
  list->StartUp();
  EXPECT_TRUE(activator_.log.empty());
}

TEST_F(AddinListTest, FailuresAreReportedAndTheIdeGoesOn) {
  auto list = Open();
  EXPECT_FALSE(list->Connect("Missing.Connect", vbide::vbext_cm_AfterStartup));
  activator_.failIn = "OnConnection";
  EXPECT_TRUE(list->Connect("Logging.Connect", vbide::vbext_cm_AfterStartup));
  ASSERT_EQ(platform_.MessageBoxes().size(), 2u);
  EXPECT_EQ(platform_.MessageBoxes()[0].Title, "Add-In Manager");
  EXPECT_EQ(platform_.MessageBoxes()[0].Prompt,
            "'Missing.Connect' could not be loaded.\r\n\r\nActiveX component can't create object");
  EXPECT_EQ(platform_.MessageBoxes()[1].Prompt,
            ide::AddinFailurePrompt("Logging.Connect", "OnConnection",
                                    vb::Error(5, "Logging", "Invalid procedure call or argument")));
  // Still connected as far as the IDE goes: the user can unload it.
  list->Disconnect("Logging.Connect", vbide::vbext_dm_UserClosed);
  EXPECT_EQ(activator_.log, (Log{"OnConnection 0", "OnDisconnection 1"}));
}

TEST_F(AddinListTest, TheManagerDialogLoadsUnloadsAndRemembers) {
  auto list = Open();
  list->List("Logging.Connect", false);
  {
    AddinManagerDialog dialog(*list);
    auto* view = dialog.findChild<QTreeWidget*>("addinList");
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->topLevelItemCount(), 1);
    EXPECT_EQ(view->topLevelItem(0)->text(0), "Logging.Connect");  // no description registered
    dialog.findChild<QCheckBox*>("chkLoaded")->click();
    dialog.findChild<QCheckBox*>("chkStartup")->click();
    EXPECT_EQ(view->topLevelItem(0)->text(1), "Startup / Loaded");
    EXPECT_TRUE(activator_.log.empty());  // nothing before OK
    dialog.Apply();
  }
  EXPECT_TRUE(list->IsConnected("Logging.Connect"));
  EXPECT_TRUE(list->LoadOnStartup("Logging.Connect"));
  {
    AddinManagerDialog dialog(*list);
    auto* loaded = dialog.findChild<QCheckBox*>("chkLoaded");
    EXPECT_TRUE(loaded->isChecked());
    loaded->click();
    dialog.Apply();
  }
  EXPECT_EQ(activator_.log, (Log{"OnConnection 0", "OnDisconnection 1"}));
  EXPECT_TRUE(Open()->LoadOnStartup("Logging.Connect"));
}

}  // namespace
}  // namespace ide::gui
