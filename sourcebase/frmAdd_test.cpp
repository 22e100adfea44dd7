#include "sourcebase/frmAdd.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "sourcebase/frmSource.h"
#include "sourcebase/library.h"
#include "sourcebase/testing/library_test_support.h"

namespace bw {
namespace {

class AddDialogTest : public LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    Store({{"Subs", "Twin", "first"}});
    engine_ = vb::New<RefusingEngine>();
    dao::SetDefaultEngine(engine_);
    UnloadAtEnd(browser_);
    WatchDialog(dialog_);
    browser_.Show();
  }

  frmSource& browser_ = forms::DefaultInstance<frmSource>();
  frmAdd& dialog_ = forms::DefaultInstance<frmAdd>();
  vb::Object<RefusingEngine> engine_;
};

// Every control where the designer put it; each of the three refusals shows its message with the
// dialog off the screen, then shows the dialog again.
TEST_F(AddDialogTest, OpensWithTheDesignerValuesAndRefusesWhileHidden) {
  browser_.Toolbar1.UserClickButton(1);
  EXPECT_EQ(
      DescribeControls(dialog_, {"Left", "Top", "Width", "Height", "Caption", "Value", "MultiLine",
                                 "FontName", "FontSize", "FontBold"}),
      R"(Frame2 Left=75 Top=0 Width=8265 Height=765 Caption="Name" FontName="Arial" FontSize=9 FontBold=True
txtName in Frame2 Left=150 Top=300 Width=7965 Height=315 MultiLine=False FontName="Arial" FontSize=9 FontBold=False
Frame3 Left=75 Top=825 Width=5865 Height=1965 Caption="Description" FontName="Arial" FontSize=9 FontBold=True
txtDesc in Frame3 Left=150 Top=375 Width=5565 Height=1365 MultiLine=True FontName="Courier New" FontSize=9 FontBold=False ScrollBars=3
Frame1 Left=6000 Top=825 Width=2340 Height=1965 Caption="Code Type" FontName="Arial" FontSize=9 FontBold=True
Opt(0) in Frame1 Left=225 Top=375 Width=1965 Height=240 Caption="Class" Value=False FontName="Arial" FontSize=9 FontBold=False
Opt(1) in Frame1 Left=225 Top=675 Width=1965 Height=240 Caption="Module" Value=False FontName="Arial" FontSize=9 FontBold=False
Opt(2) in Frame1 Left=225 Top=975 Width=1965 Height=240 Caption="Sub" Value=False FontName="Arial" FontSize=9 FontBold=False
Opt(3) in Frame1 Left=225 Top=1275 Width=1965 Height=240 Caption="Function" Value=False FontName="Arial" FontSize=9 FontBold=False
Opt(4) in Frame1 Left=225 Top=1575 Width=1965 Height=240 Caption="Miscellaneous" Value=False FontName="Arial" FontSize=9 FontBold=False
Frame4 Left=75 Top=2850 Width=8265 Height=3690 Caption="Code" FontName="Arial" FontSize=9 FontBold=True
txtCode in Frame4 Left=150 Top=300 Width=7965 Height=3240 MultiLine=True FontName="Courier New" FontSize=9 FontBold=False ScrollBars=3
cmdAdd Left=5700 Top=6750 Width=1215 Height=390 Caption="&Add" FontName="Arial" FontSize=9 FontBold=False
cmdCancel Left=7050 Top=6750 Width=1215 Height=390 Caption="&Canel" FontName="Arial" FontSize=9 FontBold=False
)");

  dialog_.cmdAdd.UserClick();
  dialog_.txtName.UserType("Hello");
  dialog_.cmdAdd.UserClick();
  dialog_.txtCode.UserType("Sub Hello()");
  dialog_.cmdAdd.UserClick();
  ASSERT_EQ(MessageBoxes().size(), 3u);
  EXPECT_EQ(MessageBoxes()[1].Title, "Name Not Entered");
  EXPECT_EQ(MessageBoxes()[2].Title, "Code Type Not Selected");
  EXPECT_EQ(visibleAtBox_, (std::vector<bool>{false, false, false}));
  EXPECT_TRUE(dialog_.Visible());
  EXPECT_FALSE(browser_.Visible());
}

// A store that refuses the new row, read-only or locked: the report names cmdAdd_Click, and
// the dialog stays open with everything typed until the store takes the row.
TEST_F(AddDialogTest, ARowTheStoreRefusesIsReportedAndNothingTypedIsLost) {
  browser_.Toolbar1.UserClickButton(1);
  ASSERT_TRUE(dialog_.Visible());
  EXPECT_FALSE(browser_.Visible());
  dialog_.txtName.UserType("Kelly's Sub");
  dialog_.txtDesc.UserType("kept");
  dialog_.txtCode.UserType("Sub Kelly()\r\nEnd Sub");
  dialog_.Opt(2).UserClick();

  engine_->refuse = true;
  dialog_.cmdAdd.UserClick();
  {
    WriteLock lock(path_);
    engine_->refuse = false;
    dialog_.cmdAdd.UserClick();
  }
  ASSERT_EQ(MessageBoxes().size(), 2u);
  const char* const numbers[] = {"3027", "3218"};
  for (int i = 0; i < 2; ++i) {
    const rt::MsgBoxRecord& box = MessageBoxes()[static_cast<std::size_t>(i)];
    EXPECT_EQ(box.Title, "CRITICAL ERROR");
    EXPECT_NE(box.Prompt.find("\r\n\r\n   Routine Name : Private Sub cmdAdd_Click\r\n\r\n"
                              "     Error Number : " +
                              std::string(numbers[i]) + "\r\n"),
              std::string::npos)
        << box.Prompt;
  }
  EXPECT_EQ(visibleAtBox_, (std::vector<bool>{false, false}));
  EXPECT_TRUE(dialog_.Visible());
  EXPECT_FALSE(browser_.Visible());
  EXPECT_EQ(dialog_.txtName.Text(), "Kelly's Sub");
  EXPECT_EQ(dialog_.txtDesc.Text(), "kept");
  EXPECT_EQ(dialog_.txtCode.Text(), "Sub Kelly()\r\nEnd Sub");
  EXPECT_TRUE(dialog_.Opt(2).Value());
  EXPECT_EQ(Names("Subs"), (std::vector<std::string>{"Twin"}));
  EXPECT_EQ(browser_.Tree.Count(), 7);

  dialog_.cmdAdd.UserClick();
  EXPECT_FALSE(dialog_.IsLoaded());
  EXPECT_TRUE(browser_.Visible());
  EXPECT_EQ(Rows("Subs").back(), (StoredRow{"Kelly's Sub", "Sub Kelly()\r\nEnd Sub", "kept",
                                            "03/7/2026", std::nullopt, "03/7/2026", std::nullopt}));
  forms::Node* added = browser_.Tree.FindPath({"Source Code Database", "Subs", "Kelly's Sub"});
  ASSERT_NE(added, nullptr);
  browser_.Tree.UserClickNode(added);
  EXPECT_EQ(browser_.txtcode.Text(), "Sub Kelly()\r\nEnd Sub");
  EXPECT_EQ(MessageBoxes().size(), 2u);
}

// A successful add has the browser fill its tree again from the library: a row deleted behind
// its back is gone, the new item is the last of its category, the root is expanded and the
// categories collapsed; the code box keeps the item it showed.
TEST_F(AddDialogTest, AnAddRebuildsTheBrowsersTree) {
  Store({{"Subs", "Gone", "' deleted elsewhere"}, {"Subs", "Kept", "' kept"}});
  browser_.Unload();
  browser_.Show();
  browser_.Tree.UserClickNode(browser_.Tree.FindPath({"Source Code Database", "Subs", "Twin"}));
  browser_.Tree.FindPath({"Source Code Database", "Subs"})->SetExpanded(true);
  dao::testing::ExecSql(path_, "DELETE FROM Subs WHERE Name = 'Gone'");

  browser_.Toolbar1.UserClickButton(1);
  dialog_.txtName.UserType("New");
  dialog_.txtCode.UserType("' new");
  dialog_.Opt(2).UserClick();
  dialog_.cmdAdd.UserClick();
  forms::Node* subs = browser_.Tree.FindPath({"Source Code Database", "Subs"});
  ASSERT_NE(subs, nullptr);
  std::vector<std::string> items;
  for (const forms::Node* item : subs->ChildNodes())
    items.push_back(item->Text());
  EXPECT_EQ(items, (std::vector<std::string>{"Twin", "Kept", "New"}));
  EXPECT_FALSE(subs->Expanded());
  EXPECT_TRUE(browser_.Tree.Nodes(1).Expanded());
  EXPECT_EQ(browser_.txtcode.Text(), "first");
  EXPECT_TRUE(browser_.Visible());
}

}  // namespace
}  // namespace bw
