#include "runtime/forms/bars.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "runtime/forms/form.h"
#include "runtime/headless/headless_platform.h"
#include "runtime/vb/error.h"

namespace forms {
namespace {

using Log = std::vector<std::string>;

class frmBars : public Form {
 public:
  frmBars() : Form("frmBars") {
    On(Toolbar1, "ButtonClick", [this](EventArgs& a) {
      log.push_back("Toolbar1_ButtonClick " + std::to_string(a.ToolButton->Index) + " " +
                    a.ToolButton->Key);
    });
    On(TabBox, "Click", [this] { log.push_back("TabBox_Click " + std::to_string(TabBox.Tab())); });
  }
  StatusBar StatusBar1{this, "StatusBar1"};
  Toolbar Toolbar1{this, "Toolbar1"};
  ImageList ImageList1{this, "ImageList1"};
  TabControl TabBox{this, "TabBox"};
  Log log;

 protected:
  void InitializeComponent() override {
    StatusBar1.AddPanel("Ready", 3000);
    StatusBar1.AddPanel("");
    Toolbar1.SetImageList("ImageList1");
    Toolbar1.AddButton(tbrDefault, "Insert Message Box", 1, "MsgBox");
    Toolbar1.AddButton(tbrSeparator);
    Toolbar1.AddButton(tbrDefault, "Error Handler", 2, "ErrHandler");
    Toolbar1.AddButton(tbrDefault, "Comment", 3, "Comment").Enabled = false;
    ImageList1.Add(Picture{"bmp", "BM1"}, "one");
    ImageList1.Add(Picture{"png", "PNG2"});
    TabBox.SetTabs({"Abstract", "Methods", "Properties", "Events", "Parms", "Return"});
  }
};

class BarsTest : public ::testing::Test {
 protected:
  BarsTest() {
    rt::InstallPlatform(&platform_);
    f.Show();
    f.log.clear();
  }
  ~BarsTest() override { rt::InstallPlatform(nullptr); }

  long ErrorOf(const std::function<void()>& fn) {
    try {
      fn();
    } catch (const vb::Error& e) {
      description_ = e.Description;
      return e.Number;
    }
    return 0;
  }

  rt::HeadlessPlatform platform_;
  frmBars f;
  std::string description_;
};

class RefreshCounter : public FormObserver {
 public:
  void Refreshed(Form&) override { ++refreshes; }
  int refreshes = 0;
};

TEST_F(BarsTest, StatusBarPanelsAreNumberedFromOne) {
  EXPECT_EQ(f.StatusBar1.PanelCount(), 2);
  EXPECT_EQ(f.StatusBar1.Panels(1).Text, "Ready");
  EXPECT_EQ(f.StatusBar1.Panels(1).Width, 3000);
  EXPECT_EQ(f.StatusBar1.Panels(2).Text, "");
  EXPECT_EQ(f.StatusBar1.Panels(2).Width, 1440);
  f.StatusBar1.SetPanelText(2, "Loading 3 of 10");
  EXPECT_EQ(f.StatusBar1.Panels(2).Text, "Loading 3 of 10");
  EXPECT_EQ(ErrorOf([&] { f.StatusBar1.Panels(0); }), 35600);
  EXPECT_EQ(description_, "Index out of bounds");
  EXPECT_EQ(ErrorOf([&] { f.StatusBar1.Panels(3); }), 35600);
  EXPECT_EQ(ErrorOf([&] { f.StatusBar1.SetPanelText(3, "x"); }), 35600);
}

TEST_F(BarsTest, StatusBarRefreshRedrawsTheLoadedWindow) {
  RefreshCounter counter;
  AddObserver(&counter);
  f.StatusBar1.Refresh();
  f.Unload();
  f.StatusBar1.Refresh();
  RemoveObserver(&counter);
  EXPECT_EQ(counter.refreshes, 1);
}

TEST_F(BarsTest, ToolbarButtonsAreNumberedFromOne) {
  EXPECT_EQ(f.Toolbar1.ButtonCount(), 4);
  EXPECT_EQ(f.Toolbar1.Buttons(1).Index, 1);
  EXPECT_EQ(f.Toolbar1.Buttons(1).ToolTipText, "Insert Message Box");
  EXPECT_EQ(f.Toolbar1.Buttons(1).Image, 1);
  EXPECT_EQ(f.Toolbar1.Buttons(2).Style, tbrSeparator);
  EXPECT_EQ(f.Toolbar1.Buttons(3).Key, "ErrHandler");
  EXPECT_EQ(f.Toolbar1.Buttons(4).Index, 4);
  EXPECT_EQ(f.Toolbar1.ImageList(), "ImageList1");
  EXPECT_EQ(ErrorOf([&] { f.Toolbar1.Buttons(0); }), 35600);
  EXPECT_EQ(ErrorOf([&] { f.Toolbar1.Buttons(5); }), 35600);
}

TEST_F(BarsTest, AButtonStaysValidWhileMoreButtonsAreAdded) {
  ToolbarButton& first = f.Toolbar1.AddButton(tbrDefault, "Fifth");
  for (int i = 0; i < 64; ++i)
    f.Toolbar1.AddButton(tbrDefault, "More");
  first.Enabled = false;
  EXPECT_EQ(first.ToolTipText, "Fifth");
  EXPECT_FALSE(f.Toolbar1.Buttons(5).Enabled);
}

TEST_F(BarsTest, ClickingAButtonRaisesButtonClickWithTheButton) {
  f.Toolbar1.UserClickButton(3);
  f.Toolbar1.UserClickButton(1);
  EXPECT_EQ(f.log, (Log{"Toolbar1_ButtonClick 3 ErrHandler", "Toolbar1_ButtonClick 1 MsgBox"}));
}

TEST_F(BarsTest, SeparatorsAndDisabledButtonsRaiseNothing) {
  f.Toolbar1.UserClickButton(2);
  f.Toolbar1.UserClickButton(4);
  f.Toolbar1.SetEnabled(false);
  f.Toolbar1.UserClickButton(1);
  EXPECT_TRUE(f.log.empty());
  EXPECT_EQ(ErrorOf([&] { f.Toolbar1.UserClickButton(9); }), 35600);
  f.Toolbar1.SetEnabled(true);
  f.Toolbar1.Buttons(4).Enabled = true;
  f.Toolbar1.UserClickButton(4);
  EXPECT_EQ(f.log, (Log{"Toolbar1_ButtonClick 4 Comment"}));
}

TEST_F(BarsTest, HiddenButtonsAndAHiddenToolbarRaiseNothing) {
  f.Toolbar1.Buttons(3).Visible = false;
  f.Toolbar1.UserClickButton(3);
  f.Toolbar1.SetVisible(false);
  f.Toolbar1.UserClickButton(1);
  EXPECT_TRUE(f.log.empty());
}

TEST_F(BarsTest, ImageListHoldsPicturesNumberedFromOne) {
  EXPECT_EQ(f.ImageList1.Count(), 2);
  EXPECT_EQ(f.ImageList1.ListImages(1).Key, "one");
  EXPECT_EQ(f.ImageList1.ListImages(1).Picture.Format, "bmp");
  EXPECT_EQ(f.ImageList1.ListImages(2).Picture.Data, "PNG2");
  EXPECT_EQ(f.ImageList1.ListImages(2).Key, "");
  EXPECT_FALSE(f.ImageList1.Visible());
  EXPECT_FALSE(f.ImageList1.HasTabStop());
  EXPECT_EQ(ErrorOf([&] { f.ImageList1.ListImages(0); }), 35600);
  EXPECT_EQ(ErrorOf([&] { f.ImageList1.ListImages(3); }), 35600);
}

TEST_F(BarsTest, TabControlTabsAndClick) {
  EXPECT_EQ(f.TabBox.Tabs(), 6);
  EXPECT_EQ(f.TabBox.Tab(), 0);
  EXPECT_EQ(f.TabBox.TabCaption(0), "Abstract");
  EXPECT_EQ(f.TabBox.TabCaption(5), "Return");
  f.TabBox.SetTab(4);
  f.TabBox.SetTab(4);
  EXPECT_TRUE(f.TabBox.Set("Tab", std::string("1")));
  EXPECT_EQ(f.TabBox.Get("Tab"), PropertyValue(1L));
  EXPECT_EQ(f.TabBox.Get("Tabs"), PropertyValue(6L));
  EXPECT_EQ(f.log, (Log{"TabBox_Click 4", "TabBox_Click 1"}));
  EXPECT_EQ(ErrorOf([&] { f.TabBox.SetTab(6); }), vb::kInvalidPropertyValue);
  EXPECT_EQ(ErrorOf([&] { f.TabBox.SetTab(-1); }), vb::kInvalidPropertyValue);
  EXPECT_EQ(ErrorOf([&] { f.TabBox.TabCaption(6); }), vb::kInvalidPropertyValue);
  EXPECT_EQ(f.TabBox.Tab(), 1);
}

TEST_F(BarsTest, PartsComeBackFromTheDesignerAtEachLoad) {
  f.StatusBar1.SetPanelText(1, "Busy");
  f.StatusBar1.AddPanel("extra");
  f.Toolbar1.AddButton(tbrDefault, "More");
  f.TabBox.SetTab(3);
  f.Unload();
  f.Load();
  EXPECT_EQ(f.StatusBar1.PanelCount(), 2);
  EXPECT_EQ(f.StatusBar1.Panels(1).Text, "Ready");
  EXPECT_EQ(f.Toolbar1.ButtonCount(), 4);
  EXPECT_FALSE(f.Toolbar1.Buttons(4).Enabled);
  EXPECT_EQ(f.TabBox.Tab(), 0);
  EXPECT_EQ(f.ImageList1.Count(), 2);
}

}  // namespace
}  // namespace forms
