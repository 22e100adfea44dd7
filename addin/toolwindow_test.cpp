#include "addin/toolwindow.h"

#include <gtest/gtest.h>

#include "generators/frmAddMsgBox.h"
#include "generators/frmErrorHandler.h"
#include "generators/frmInsertHeader.h"
#include "services/testing/addin_test.h"
#include "services/testing/code_text.h"

namespace bw {
namespace {

constexpr std::string_view kModule = R"(
Sub A()
    x = 1
End Sub
)";

class ToolWindowTest : public AddinTest {
 protected:
  void SetUp() override {
    AddinTest::SetUp();
    module_ = AddModule("Module1", kModule);
    UnloadAtEnd(window_);
    window_.Load();
  }
  void Click(long index) { window_.Toolbar1.UserClickButton(index); }

  ToolWindow window_;
};

TEST_F(ToolWindowTest, ToolbarHasTwelveButtonsWithTheirTipsAndPictures) {
  const char* kTips[] = {"Insert Message Box",
                         nullptr,
                         "Insert Error Handler",
                         nullptr,
                         "Comment Selected Code",
                         "UN-Comment Selected Code",
                         nullptr,
                         "Insert Header Comment",
                         nullptr,
                         "Insert WIN32 API Reference",
                         nullptr,
                         "Source Code Database"};
  ASSERT_EQ(window_.Toolbar1.ButtonCount(), 12);
  long picture = 0;
  for (long i = 1; i <= 12; ++i) {
    const forms::ToolbarButton& b = window_.Toolbar1.Buttons(i);
    const char* tip = kTips[i - 1];
    EXPECT_EQ(b.Style, tip ? forms::tbrDefault : forms::tbrSeparator) << i;
    EXPECT_EQ(b.ToolTipText, tip ? tip : "") << i;
    EXPECT_EQ(b.Image, tip ? ++picture : 0) << i;
    EXPECT_TRUE(b.Caption.empty());
  }
  EXPECT_EQ(window_.Caption(), "Brindlewick");
}

TEST_F(ToolWindowTest, ImageListHoldsSevenSixteenPixelPicturesWithSilverMask) {
  ASSERT_EQ(window_.ImageList1.Count(), 7);
  EXPECT_EQ(window_.ImageList1.MaskColor, 0xC0C0C0);
  for (long i = 1; i <= 7; ++i) {
    const forms::Picture& p = window_.ImageList1.ListImages(i).Picture;
    EXPECT_EQ(p.Format, "xpm");
    EXPECT_NE(p.Data.find("\"16 16 "), std::string::npos) << i;
    EXPECT_NE(p.Data.find("c #C0C0C0"), std::string::npos) << i;
  }
}

TEST_F(ToolWindowTest, CommentAndUncommentButtonsWorkOnTheActivePane) {
  vbe_->Activate("Module1");
  Select(1, 1, 3, 1);
  Click(5);
  EXPECT_EQ(ModuleLines(), CodeLines(R"(
'Sub A()
'    x = 1
End Sub
)"));
  Click(6);
  EXPECT_EQ(ModuleLines(), CodeLines(kModule));
  EXPECT_TRUE(MessageBoxes().empty());
}

TEST_F(ToolWindowTest, WithoutCodeWindowEachCommandShowsItsOwnMessage) {
  Click(5);
  Click(6);
  ASSERT_EQ(MessageBoxes().size(), 2u);
  EXPECT_EQ(MessageBoxes()[0].Prompt,
            "You must first be in a VB Code window before you comment out code.");
  EXPECT_EQ(MessageBoxes()[0].Title, "Error: Cannot Comment Code");
  EXPECT_EQ(MessageBoxes()[0].Buttons, 64);
  EXPECT_EQ(MessageBoxes()[1].Prompt,
            "You must first be in a VB Code window before you can uncomment code.");
  EXPECT_EQ(MessageBoxes()[1].Title, "Error: Cannot Uncomment Code");
}

TEST_F(ToolWindowTest, OtherFailuresGiveTheCriticalReportWithTheRoutineLine) {
  vbe_->Activate("Module1");
  Select(3, 1, 6, 1);  // lines 4 and 5 do not exist
  Click(6);
  ASSERT_EQ(MessageBoxes().size(), 1u);
  EXPECT_EQ(MessageBoxes()[0].Title, "CRITICAL ERROR");
  EXPECT_NE(
      MessageBoxes()[0].Prompt.find(
          "   Routine Name : Private Sub cmdUncomment_Click\r\n\r\n     Error Number : 9\r\n"),
      std::string::npos);
}

TEST_F(ToolWindowTest, DispatchIgnoresEveryError) {
  forms::ToolbarButton separator;
  for (long index : {2, 4, 7, 9, 11, 13, -1}) {
    separator.Index = index;
    window_.Toolbar1_ButtonClick(separator);
  }
  EXPECT_TRUE(MessageBoxes().empty());
  EXPECT_EQ(ModuleLines(), CodeLines(kModule));
}

TEST_F(ToolWindowTest, ButtonOneShowsTheMessageBoxDialogWhichInserts) {
  frmAddMsgBox& dialog = DefaultDialog<frmAddMsgBox>();
  vbe_->Activate("Module1");
  Caret(2);
  Click(1);
  ASSERT_TRUE(dialog.IsLoaded());
  EXPECT_TRUE(dialog.Visible());
  EXPECT_TRUE(platform_.LastSetWindowPos(dialog.hWnd()).has_value());
  dialog.txtMsg.UserType("Hello");
  // A second click shows the open dialog again, values and all.
  Click(1);
  EXPECT_EQ(dialog.txtMsg.Text(), "Hello");
  dialog.txtTitle.UserType("Greeting");
  dialog.cmdOK.UserClick();
  EXPECT_EQ(ModuleLines(), CodeLines(R"(
Sub A()
→MsgBox "Hello", + vbOKOnly + vbDefaultButton1 ,"Greeting"
    x = 1
End Sub
)"));
  EXPECT_FALSE(dialog.IsLoaded());
  // The next click loads it afresh.
  Click(1);
  EXPECT_TRUE(dialog.Visible());
  EXPECT_EQ(dialog.txtMsg.Text(), "");
}

TEST_F(ToolWindowTest, ButtonThreeShowsTheErrorHandlerDialog) {
  frmErrorHandler& dialog = DefaultDialog<frmErrorHandler>();
  AddModule("Module2", "Private Sub B()\n    y = 2\nEnd Sub");
  vbe_->Activate("Module2");
  Caret(2);
  Click(3);
  ASSERT_TRUE(dialog.IsLoaded());
  EXPECT_TRUE(dialog.Visible());
  EXPECT_EQ(dialog.txtName.Text(), "Private Sub B");
  EXPECT_EQ(dialog.ProcHeaderLine, 1);
  dialog.cmdCancel.UserClick();
  EXPECT_FALSE(dialog.IsLoaded());
  EXPECT_TRUE(MessageBoxes().empty());
}

TEST_F(ToolWindowTest, ErrorHandlerDialogThatFailsToLoadLeavesOnlyItsOwnMessage) {
  frmErrorHandler& dialog = DefaultDialog<frmErrorHandler>();
  Click(3);  // no code window: the load reports and unloads, and showing it fails silently
  EXPECT_FALSE(dialog.IsLoaded());
  ASSERT_EQ(MessageBoxes().size(), 1u);
  EXPECT_EQ(MessageBoxes()[0].Prompt,
            "You must first be in a VB Code window before Error code can be added.");
}

TEST_F(ToolWindowTest, ButtonEightShowsTheHeaderDialog) {
  frmInsertHeader& dialog = DefaultDialog<frmInsertHeader>();
  platform_.Settings().Save("Brindlewick", "Settings", "UserName", "dev1");
  platform_.SetToday(vb::Date{1999, 1, 24});
  Click(8);
  ASSERT_TRUE(dialog.IsLoaded());
  EXPECT_TRUE(dialog.Visible());
  EXPECT_EQ(dialog.txtModName.Text(), "dev1");
  EXPECT_EQ(dialog.txtModDate.Text(), "24Jan99");
  dialog.cmdCancel.UserClick();
  EXPECT_FALSE(dialog.IsLoaded());
}

}  // namespace
}  // namespace bw
