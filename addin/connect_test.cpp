#include "addin/connect.h"

#include <gtest/gtest.h>

#include "addin/toolwindow.h"
#include "services/shared_state.h"
#include "services/testing/addin_test.h"

namespace bw {
namespace {

// Creates the tool window's document for its ProgID, as the registry and library would.
class TestActivator : public vbide::ObjectActivator {
 public:
  com::ComPtr<com::IUnknown> CreateObject(const std::string& progId) override {
    if (progId != "Brindlewick.ToolWindow") throw vb::RuntimeError(429);
    return com::ComPtr<com::IUnknown>::Attach(new ToolWindowDocument());
  }
};

class ConnectTest : public AddinTest {
 protected:
  void SetUp() override {
    AddinTest::SetUp();
    VBInst.SetNothing();  // the connection sets it
    platform_.Registry().SetValue("Brindlewick.ToolWindow\\Clsid", "",
                                  "{9A2D6E4B-1C7F-4B83-A5D2-6E0F3B9C8D17}");
    vbe_->SetActivator(&activator_);
    vbe_->ListAddIn("Brindlewick.Connect", "Brindlewick Tool Window");
  }
  void TearDown() override {
    connect_.Reset();
    AddinTest::TearDown();
  }

  com::HRESULT Connected(long mode) {
    std::vector<std::string> custom;
    return connect_->OnConnection(vb::Object<vbide::VBE>(vbe_), mode,
                                  vbe_->Addins()->Item("Brindlewick.Connect"), custom);
  }
  com::HRESULT Disconnected(long mode) {
    std::vector<std::string> custom;
    return connect_->OnDisconnection(mode, custom);
  }
  com::HRESULT StartupComplete() {
    std::vector<std::string> custom;
    return connect_->OnStartupComplete(custom);
  }
  std::vector<std::string> ViewMenu() { return *vbe_->MenuCaptions("View"); }

  TestActivator activator_;
  com::ComPtr<Connect> connect_ = com::ComPtr<Connect>::Attach(new Connect());
  const std::vector<std::string> kOneCommand{"Brindlewick"};
};

TEST_F(ConnectTest, AfterStartupShowsDockedWindowAndAddsMenuCommand) {
  EXPECT_EQ(Connected(vbide::vbext_cm_AfterStartup), com::S_OK);
  EXPECT_TRUE(VBInst.Is(vb::Object<vbide::VBE>(vbe_)));
  auto window = vbe_->LatestToolWindow();
  ASSERT_TRUE(window);
  EXPECT_EQ(window->Caption, "Brindlewick");
  EXPECT_TRUE(window->Visible);
  EXPECT_TRUE(window->Docked);
  ASSERT_NE(window->Document, nullptr);
  EXPECT_EQ(window->Document->Name(), "ToolWindow");
  EXPECT_EQ(ViewMenu(), kOneCommand);
  EXPECT_TRUE(MessageBoxes().empty());
}

TEST_F(ConnectTest, StartupModesWaitForStartupComplete) {
  for (long mode : {vbide::vbext_cm_Startup, vbide::vbext_cm_CommandLine}) {
    connect_ = com::ComPtr<Connect>::Attach(new Connect());
    vbe_ = vbide::MemoryVbe::Create();
    SetUp();
    Connected(mode);
    EXPECT_FALSE(vbe_->LatestToolWindow());
    EXPECT_TRUE(ViewMenu().empty());
    EXPECT_EQ(StartupComplete(), com::S_OK);
    EXPECT_TRUE(vbe_->LatestToolWindow());
    EXPECT_EQ(ViewMenu(), kOneCommand);
  }
}

TEST_F(ConnectTest, ExternalStartOnlyExplainsAndRemovesToolbarButton) {
  vbe_->AddAddInToolbarButton("Brindlewick Tool Window", "Brindlewick.Connect");
  vbe_->AddAddInToolbarButton("Other", "Other.Connect");
  EXPECT_EQ(Connected(vbide::vbext_cm_External), com::S_OK);
  ASSERT_EQ(MessageBoxes().size(), 1u);
  const rt::MsgBoxRecord& box = MessageBoxes()[0];
  EXPECT_EQ(box.Buttons, 65600);
  EXPECT_EQ(box.Title, "Creating VB5 Add-Ins: Tool Window");
  EXPECT_EQ(box.Prompt,
            "An add-in that requires a menu item to\rrun correctly, like this programmer's\r"
            "log, can't be run from the toolbar.\r\rTo run this add-in, check the item \r"
            "'Creating VB5 Add-Ins: Tool Window' in\rthe Add-In Manager dialog box.\r\r"
            "Choose OK and button for this add-in\rwill be removed from Add-In toolbar.");
  EXPECT_FALSE(vbe_->LatestToolWindow());
  EXPECT_TRUE(ViewMenu().empty());
  EXPECT_EQ(vbe_->MenuCaptions("Add-In Toolbar"), std::vector<std::string>{"Other"});
  // With no menu command and no window, a click can only fail.
  bool handled = false, cancel = false;
  EXPECT_TRUE(com::Failed(connect_->CommandBar.Click(nullptr, handled, cancel)));
  EXPECT_EQ(com::TakeError(com::E_FAIL).Number, 91);
}

TEST_F(ConnectTest, SdiLeavesTheWindowFloating) {
  vbe_->SetDisplayModel(vbide::vbext_dm_SDI);
  Connected(vbide::vbext_cm_AfterStartup);
  ASSERT_TRUE(vbe_->LatestToolWindow());
  EXPECT_FALSE(vbe_->LatestToolWindow()->Docked);
  EXPECT_TRUE(vbe_->LatestToolWindow()->Visible);
}

TEST_F(ConnectTest, MenuCommandBringsClosedWindowBack) {
  Connected(vbide::vbext_cm_AfterStartup);
  vbe_->UserCloseToolWindow();
  EXPECT_FALSE(vbe_->LatestToolWindow()->Visible);
  auto result = vbe_->ClickCommand("View", "Brindlewick");
  ASSERT_TRUE(result);
  EXPECT_EQ(result->Result, com::S_OK);
  EXPECT_TRUE(vbe_->LatestToolWindow()->Visible);
}

TEST_F(ConnectTest, UserUnloadClosesWindowAndDeletesCommandAndReloadGivesOneCommand) {
  Connected(vbide::vbext_cm_AfterStartup);
  EXPECT_EQ(Disconnected(vbide::vbext_dm_UserClosed), com::S_OK);
  EXPECT_FALSE(vbe_->LatestToolWindow());
  EXPECT_TRUE(ViewMenu().empty());
  connect_ = com::ComPtr<Connect>::Attach(new Connect());
  Connected(vbide::vbext_cm_AfterStartup);
  EXPECT_EQ(ViewMenu(), kOneCommand);
  EXPECT_TRUE(vbe_->LatestToolWindow()->Visible);
}

TEST_F(ConnectTest, HostShutdownLeavesWindowAndCommand) {
  Connected(vbide::vbext_cm_AfterStartup);
  EXPECT_EQ(Disconnected(vbide::vbext_dm_HostShutdown), com::S_OK);
  EXPECT_TRUE(vbe_->LatestToolWindow()->Visible);
  EXPECT_EQ(ViewMenu(), kOneCommand);
}

TEST_F(ConnectTest, DisplayLogFailureShowsCriticalReportAndCreatesNothing) {
  platform_.Registry().DeleteTree("Brindlewick.ToolWindow");
  EXPECT_EQ(Connected(vbide::vbext_cm_AfterStartup), com::S_OK);
  ASSERT_EQ(MessageBoxes().size(), 1u);
  const rt::MsgBoxRecord& box = MessageBoxes()[0];
  EXPECT_EQ(box.Buttons, 16);
  EXPECT_EQ(box.Title, "CRITICAL ERROR");
  EXPECT_NE(
      box.Prompt.find("   Routine Name : Private Sub DisplayLog\r\n\r\n     Error Number : -"),
      std::string::npos);
  EXPECT_FALSE(vbe_->LatestToolWindow());
  EXPECT_TRUE(ViewMenu().empty());
  // Unloading then fails on the missing window, and the IDE hears of it.
  EXPECT_TRUE(com::Failed(Disconnected(vbide::vbext_dm_UserClosed)));
  EXPECT_EQ(com::TakeError(com::E_FAIL).Number, 91);
}

TEST_F(ConnectTest, AddInsUpdateRefreshesTheAddInList) {
  Connected(vbide::vbext_cm_AfterStartup);
  std::vector<std::string> custom;
  EXPECT_EQ(connect_->OnAddInsUpdate(custom), com::S_OK);
  EXPECT_EQ(vbe_->AddinsUpdates(), 1);
}

TEST_F(ConnectTest, ReleasingTheConnectionReleasesItsObjects) {
  long before = LiveObjects;
  Connected(vbide::vbext_cm_AfterStartup);
  EXPECT_EQ(LiveObjects.load(), before + 1);  // the tool window's document
  Disconnected(vbide::vbext_dm_UserClosed);
  EXPECT_EQ(LiveObjects.load(), before);
  connect_.Reset();
  EXPECT_EQ(LiveObjects.load(), before - 1);
}

}  // namespace
}  // namespace bw
