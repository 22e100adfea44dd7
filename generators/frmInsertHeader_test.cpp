#include "generators/frmInsertHeader.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "services/testing/addin_test.h"
#include "services/testing/code_text.h"

namespace bw {
namespace {

// One line per control: its name, where it sits, and what the user sees of it.
std::string Describe(const forms::Form& form) {
  return DescribeControls(form, {"Caption", "Text", "MaxLength"});
}

constexpr std::string_view kModule = R"(
Option Explicit

Public Sub LoadData(Index As Integer)
End Sub
)";

class InsertHeaderTest : public AddinTest {
 protected:
  void SetUp() override {
    AddinTest::SetUp();
    WatchDialog(dialog_);
    platform_.SetToday(vb::Date{1999, 1, 24});
    UseModule(kModule);
    Caret(3);
  }

  void StoreUserName(const std::string& name) {
    platform_.Settings().Save("Brindlewick", "Settings", "UserName", name);
  }
  void Add() { dialog_.cmdOK.UserClick(); }

  frmInsertHeader dialog_;
};

TEST_F(InsertHeaderTest, WorkedExampleIsInsertedAboveTheCaretLine) {
  StoreUserName("dev1");
  dialog_.Show();
  dialog_.txtName.UserType("LoadData");
  dialog_.txtAbstract.UserType("Fills the tree\r\nfrom the database");
  dialog_.TabBox.Set("Tab", 4L);
  dialog_.txtParms.UserType("Index");
  Add();
  EXPECT_EQ(ModuleLines(), CodeLines(R"(
Option Explicit

'=========================================================================================
'
' Name       :  LoadData
'
' Abstract   :  Fills the tree
'               from the database
'
' Parms      :  Index
'
'
'
' Modification History
'
' Name            Date        Abstract
' dev1            24Jan99     Initial Creation
'
'=========================================================================================

Public Sub LoadData(Index As Integer)
End Sub
)"));
  EXPECT_FALSE(dialog_.IsLoaded());
  EXPECT_TRUE(MessageBoxes().empty());
}

TEST_F(InsertHeaderTest, WithNoStoredNameAndEveryFieldEmpty) {
  dialog_.Show();
  EXPECT_EQ(dialog_.txtModName.Text(), "");
  dialog_.txtModDate.Set("Text", std::string(""));
  Add();
  EXPECT_EQ(ModuleLines(), CodeLines(R"(
Option Explicit

'=========================================================================================
'
' Name       :  $
'
' Abstract   :  $
'
'
'
' Modification History
'
' Name            Date        Abstract
'                             Initial Creation
'
'=========================================================================================

Public Sub LoadData(Index As Integer)
End Sub
)"));
}

TEST_F(InsertHeaderTest, SectionsKeepTheirOrderWhateverTabWasFilledFirst) {
  StoreUserName("dev1");
  dialog_.Show();
  dialog_.txtName.UserType("clsQueue");
  dialog_.txtReturn.UserType("Nothing");
  dialog_.txtEvents.UserType("Changed\r\n");
  dialog_.txtProperties.UserType("Count\r\n\r\nItem");
  dialog_.txtMethods.UserType("Push\r\nPop");
  dialog_.txtParms.UserType("   ");  // only blanks: left out
  dialog_.txtModAbstract.Set("Text", std::string("Split from clsList  "));
  Add();
  EXPECT_EQ(ModuleLines(), CodeLines(R"(
Option Explicit

'=========================================================================================
'
' Name       :  clsQueue
'
' Abstract   :  $
'
' Methods    :  Push
'               Pop
'
' Properties :  Count
'               $
'               Item
'
' Events     :  Changed
'               $
'
' Return     :  Nothing
'
'
'
' Modification History
'
' Name            Date        Abstract
' dev1            24Jan99     Split from clsList  $
'
'=========================================================================================

Public Sub LoadData(Index As Integer)
End Sub
)"));
}

TEST_F(InsertHeaderTest, StoredNameLongerThanTheColumnIsWrittenWholeWithOneBlank) {
  StoreUserName("Christopher Robinson");
  dialog_.Show();
  EXPECT_EQ(dialog_.txtModName.Text(), "Christopher Robinson");
  Add();
  EXPECT_EQ(ModuleLines(), CodeLines(R"(
Option Explicit

'=========================================================================================
'
' Name       :  $
'
' Abstract   :  $
'
'
'
' Modification History
'
' Name            Date        Abstract
' Christopher Robinson 24Jan99     Initial Creation
'
'=========================================================================================

Public Sub LoadData(Index As Integer)
End Sub
)"));
}

TEST_F(InsertHeaderTest, TypedHistoryValuesStopAtTheBoxLimits) {
  dialog_.Show();
  dialog_.txtModName.UserType("ABCDEFGHIJKLMNOPQRST");
  dialog_.txtModDate.Set("Text", std::string(""));
  dialog_.txtModDate.UserType("2026-12-07 10:00");
  EXPECT_EQ(dialog_.txtModName.Text(), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(dialog_.txtModDate.Text(), "2026-12-07 1");
  Add();
  EXPECT_EQ(ModuleLines(), CodeLines(R"(
Option Explicit

'=========================================================================================
'
' Name       :  $
'
' Abstract   :  $
'
'
'
' Modification History
'
' Name            Date        Abstract
' ABCDEFGHIJKLMNOP2026-12-07 1Initial Creation
'
'=========================================================================================

Public Sub LoadData(Index As Integer)
End Sub
)"));
}

TEST_F(InsertHeaderTest, DateIsTheDateOfOpeningAndCaretIsReadAtAdd) {
  platform_.SetToday(vb::Date{2026, 12, 7});
  dialog_.Show();
  platform_.SetToday(vb::Date{2026, 12, 8});
  Caret(1);
  Add();
  EXPECT_EQ(ModuleLines(), CodeLines(R"(
'=========================================================================================
'
' Name       :  $
'
' Abstract   :  $
'
'
'
' Modification History
'
' Name            Date        Abstract
'                 07Dec26     Initial Creation
'
'=========================================================================================

Option Explicit

Public Sub LoadData(Index As Integer)
End Sub
)"));
}

TEST_F(InsertHeaderTest, InsertsWithoutASelectedComponent) {
  vbe_->SelectNoComponent();
  dialog_.Show();
  Add();
  EXPECT_EQ(ModuleLines(), CodeLines(R"(
Option Explicit

'=========================================================================================
'
' Name       :  $
'
' Abstract   :  $
'
'
'
' Modification History
'
' Name            Date        Abstract
'                 24Jan99     Initial Creation
'
'=========================================================================================

Public Sub LoadData(Index As Integer)
End Sub
)"));
  EXPECT_TRUE(MessageBoxes().empty());
}

TEST_F(InsertHeaderTest, WithoutCodeWindowTheDialogHidesTellsAndUnloads) {
  vbe_->Deactivate();
  dialog_.Show();
  Add();
  rt::MsgBoxRecord box = OnlyBox();
  EXPECT_EQ(box.Prompt,
            "You must first be in a VB Code window before Header Comment code can be added.");
  EXPECT_EQ(box.Buttons, 64);
  EXPECT_EQ(box.Title, "Error: Cannot Insert Code");
  EXPECT_EQ(visibleAtBox_, std::vector<bool>{false});
  EXPECT_FALSE(dialog_.IsLoaded());
  EXPECT_EQ(ModuleLines(), CodeLines(kModule));
}

TEST_F(InsertHeaderTest, OtherFailuresGiveTheCriticalReportWithItsExtraLine) {
  Select(0, 1, 0, 1);  // the IDE refuses line 0
  dialog_.Show();
  Add();
  rt::MsgBoxRecord box = OnlyBox();
  EXPECT_EQ(box.Title, "CRITICAL ERROR");
  EXPECT_EQ(box.Buttons, 16);
  EXPECT_EQ(box.Prompt,
            "  Program Name : Brindlewick - Visual Basic Code Helper Add-In\r\n\r\n"
            "   Routine Name : Private Sub cmdOK_Click\r\n\r\n"
            "     Error Number : 5\r\n"
            "      Error Source : VBIDE\r\n"
            "Error Description : Invalid procedure call or argument\r\n\r\n"
            "You must first be in a code window before you can insert code.");
  EXPECT_EQ(visibleAtBox_, std::vector<bool>{false});
  EXPECT_FALSE(dialog_.IsLoaded());
  EXPECT_EQ(ModuleLines(), CodeLines(kModule));
}

TEST_F(InsertHeaderTest, CancelInsertsNothingAndTheNextOpeningStartsAfresh) {
  StoreUserName("dev1");
  dialog_.Show();
  const std::string initial = Describe(dialog_);
  dialog_.txtName.UserType("X");
  dialog_.txtReturn.UserType("Y");
  dialog_.txtModName.Set("Text", std::string("someone"));
  dialog_.TabBox.SetTab(5);
  dialog_.cmdCancel.UserClick();
  EXPECT_FALSE(dialog_.IsLoaded());
  EXPECT_EQ(ModuleLines(), CodeLines(kModule));
  dialog_.Show();
  EXPECT_EQ(Describe(dialog_), initial);
  EXPECT_EQ(dialog_.TabBox.Tab(), 0);
}

}  // namespace
}  // namespace bw
