#include "generators/frmAddMsgBox.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "services/resources.h"
#include "services/testing/addin_test.h"
#include "services/testing/code_text.h"

namespace bw {
namespace {

// One line per control: its name, where it sits, and what the user sees of it.
std::string Describe(const forms::Form& form) {
  return DescribeControls(form, {"Caption", "Text", "Value"});
}

constexpr std::string_view kModule = R"(
Private Sub Form_Load()
    x = 1
End Sub
)";

class AddMsgBoxTest : public AddinTest {
 protected:
  void SetUp() override {
    AddinTest::SetUp();
    WatchDialog(dialog_);
    UseModule(kModule);
    Caret(2);
  }

  // The caret stands inside the line: only its line counts.
  void Caret(long line) { AddinTest::Caret(line, 5); }
  void Add() { dialog_.cmdOK.UserClick(); }

  frmAddMsgBox dialog_;
};

TEST_F(AddMsgBoxTest, IconsAreTheEmbeddedPicturesAt32Pixels) {
  dialog_.Show();
  const char* const kIcons[] = {"critical32.xpm", "question32.xpm", "exclamation32.xpm",
                                "information32.xpm"};
  for (int i = 0; i < 4; ++i) {
    const forms::Picture& p = dialog_.Image1(i).GetPicture();
    EXPECT_EQ(p.Format, "xpm");
    EXPECT_NE(p.Data.find("\"32 32 "), std::string::npos) << i;
    EXPECT_EQ(p.Data, Resource(kIcons[i])) << i;
    EXPECT_EQ(dialog_.Image1(i).Width(), 480);
    EXPECT_EQ(dialog_.Image1(i).Height(), 480);
  }
}

TEST_F(AddMsgBoxTest, PlainMessageIsInsertedAboveTheCaretLine) {
  dialog_.Show();
  dialog_.txtMsg.UserType("Hello");
  dialog_.txtTitle.UserType("Greeting");
  Add();
  EXPECT_EQ(ModuleLines(), CodeLines(R"(
Private Sub Form_Load()
→MsgBox "Hello", + vbOKOnly + vbDefaultButton1 ,"Greeting"
    x = 1
End Sub
)"));
  EXPECT_FALSE(dialog_.IsLoaded());
  EXPECT_TRUE(MessageBoxes().empty());
}

TEST_F(AddMsgBoxTest, IconPieceStandsFirst) {
  dialog_.Show();
  dialog_.txtMsg.Set("Text", std::string("Hello"));
  dialog_.txtTitle.Set("Text", std::string("Greeting"));
  dialog_.Option1(1).UserClick();
  Add();
  EXPECT_EQ(ModuleLines(), CodeLines(R"(
Private Sub Form_Load()
→MsgBox "Hello", vbCritical + vbOKOnly + vbDefaultButton1 ,"Greeting"
    x = 1
End Sub
)"));
}

TEST_F(AddMsgBoxTest, TypedLinesIconButtonsDefaultAndFlagsInTheirFixedOrder) {
  dialog_.Show();
  dialog_.txtMsg.UserType("First line\r\nSecond line\r\nThird");
  dialog_.txtTitle.UserType("Save");
  // Clicked in another order than the pieces are written.
  dialog_.chkForeground.UserClick();
  dialog_.optDefault(1).UserClick();
  dialog_.chkSysModal.UserClick();
  dialog_.optButton(3).UserClick();
  dialog_.Option1(2).UserClick();
  Add();
  EXPECT_EQ(ModuleLines(), CodeLines(R"(
Private Sub Form_Load()
→MsgBox "First line" & vbCrLf & "Second line" & vbCrLf & "Third", vbQuestion + vbYesNoCancel + vbDefaultButton2 + vbSystemModal + vbMsgBoxSetForeground ,"Save"
    x = 1
End Sub
)"));
}

TEST_F(AddMsgBoxTest, HelpButtonAddsHelpFileAndContextId) {
  dialog_.Show();
  dialog_.txtMsg.UserType("M");
  dialog_.txtTitle.UserType("T");
  dialog_.chkHelpBtn.UserClick();
  dialog_.txtHelpFile.UserType("app.hlp");
  dialog_.txtHelpID.UserType("1001");
  Add();
  EXPECT_EQ(ModuleLines(), CodeLines(R"(
Private Sub Form_Load()
→MsgBox "M", + vbOKOnly + vbDefaultButton1 + vbMsgBoxHelpButton ,"T" , "app.hlp" , 1001
    x = 1
End Sub
)"));
}

TEST_F(AddMsgBoxTest, TextsAreCopiedAsTypedWithEveryBreak) {
  dialog_.Show();
  dialog_.txtMsg.UserType("Say \"hi\"\r\n\r\nEnds with break\r\n");
  dialog_.txtTitle.UserType(" \"T\" ");
  dialog_.optButton(5).UserClick();
  dialog_.optDefault(3).UserClick();
  dialog_.Option1(4).UserClick();
  Add();
  EXPECT_EQ(ModuleLines(), CodeLines(R"(
Private Sub Form_Load()
→MsgBox "Say "hi"" & vbCrLf & "" & vbCrLf & "Ends with break" & vbCrLf & "", vbInformation + vbRetryCancel + vbDefaultButton4 ," "T" "
    x = 1
End Sub
)"));
}

TEST_F(AddMsgBoxTest, EmptyMessageAndTitle) {
  dialog_.Show();
  Add();
  EXPECT_EQ(ModuleLines(), CodeLines(R"(
Private Sub Form_Load()
→MsgBox "", + vbOKOnly + vbDefaultButton1 ,""
    x = 1
End Sub
)"));
}

TEST_F(AddMsgBoxTest, HelpCheckBoxEnablesAndDisablesHelpControlsKeepingTheirText) {
  dialog_.Show();
  dialog_.chkHelpBtn.UserClick();
  dialog_.txtHelpFile.UserType("kept.hlp");
  dialog_.txtHelpID.UserType("7");
  const forms::Control* const help[] = {&dialog_.lblHelpFile, &dialog_.txtHelpFile,
                                        &dialog_.cmdHelpFile, &dialog_.lblContextID,
                                        &dialog_.txtHelpID};
  for (const forms::Control* c : help)
    EXPECT_TRUE(c->Enabled()) << c->Name();
  dialog_.chkHelpBtn.UserClick();
  EXPECT_EQ(Describe(dialog_).substr(Describe(dialog_).find("chkHelpBtn")),
            R"(chkHelpBtn in Frame2 Caption="Help &Button" Value=0
lblHelpFile in Frame2 Caption="Help File" disabled
txtHelpFile in Frame2 Text="kept.hlp" disabled
cmdHelpFile in Frame2 Caption="..." disabled
lblContextID in Frame2 Caption="Context ID" disabled
txtHelpID in Frame2 Text="7" disabled
cdlHelpFile invisible
cmdOK Caption="&Add"
cmdCancel Caption="&Cancel"
)");
  // Unchecked, the kept texts play no part in the statement.
  dialog_.txtMsg.UserType("M");
  Add();
  EXPECT_EQ(ModuleLines()[1], "\tMsgBox \"M\", + vbOKOnly + vbDefaultButton1 ,\"\"");
}

TEST_F(AddMsgBoxTest, HelpFileDialogFillsTheBoxAndCancelLeavesIt) {
  dialog_.Show();
  dialog_.chkHelpBtn.UserClick();
  platform_.QueueFileDialog("C:\\Help\\app.hlp");
  dialog_.cmdHelpFile.UserClick();
  EXPECT_EQ(dialog_.txtHelpFile.Text(), "C:\\Help\\app.hlp");
  EXPECT_EQ(dialog_.cdlHelpFile.Flags, 4);
  platform_.QueueFileDialog(std::nullopt);
  dialog_.cmdHelpFile.UserClick();
  EXPECT_EQ(dialog_.txtHelpFile.Text(), "C:\\Help\\app.hlp");
  EXPECT_EQ(transcript_,
            (std::vector<std::string>{
                R"(file-dialog "HelpFile" "Help Files (*.hlp)|*.hlp" -> "C:\\Help\\app.hlp")",
                R"(file-dialog "HelpFile" "Help Files (*.hlp)|*.hlp" -> cancel)"}));
  EXPECT_TRUE(platform_.TakeFaults().empty());
  EXPECT_TRUE(MessageBoxes().empty());
}

TEST_F(AddMsgBoxTest, HelpValuesOfOnlyBlanksFailTheCheckAndTheDialogStays) {
  dialog_.Show();
  dialog_.txtMsg.UserType("M");
  dialog_.chkHelpBtn.UserClick();
  dialog_.txtHelpFile.UserType("app.hlp");
  dialog_.txtHelpID.UserType("   ");
  Add();
  rt::MsgBoxRecord box = OnlyBox();
  EXPECT_EQ(box.Prompt,
            "If Help button is checked, you must also specify Help file and context ID.");
  EXPECT_EQ(box.Buttons, 16);
  EXPECT_EQ(box.Title, "ERROR - Invaild Help File (and or) Context ID");
  EXPECT_EQ(ModuleLines(), CodeLines(kModule));
  EXPECT_TRUE(dialog_.IsLoaded());
  EXPECT_TRUE(dialog_.Visible());
  EXPECT_EQ(dialog_.txtHelpID.Text(), "   ");

  // Corrected, with trailing blanks that pass the check and are written as typed.
  dialog_.txtHelpID.UserType("5 ");
  Add();
  EXPECT_EQ(ModuleLines()[1],
            "\tMsgBox \"M\", + vbOKOnly + vbDefaultButton1 + vbMsgBoxHelpButton ,\"\" , "
            "\"app.hlp\" ,    5 ");
}

TEST_F(AddMsgBoxTest, HelpCheckComesBeforeTheComponentCheck) {
  vbe_->SelectNoComponent();
  dialog_.Show();
  dialog_.chkHelpBtn.UserClick();
  Add();
  EXPECT_EQ(OnlyBox().Title, "ERROR - Invaild Help File (and or) Context ID");
  EXPECT_TRUE(dialog_.Visible());
}

TEST_F(AddMsgBoxTest, WithoutSelectedComponentNothingIsInsertedAndTheDialogStays) {
  vbe_->SelectNoComponent();
  dialog_.Show();
  dialog_.txtMsg.UserType("Hello");
  Add();
  rt::MsgBoxRecord box = OnlyBox();
  EXPECT_EQ(box.Prompt, "Can't insert MsgBox code\runless component is selected.");
  EXPECT_EQ(box.Buttons, 16);
  EXPECT_EQ(box.Title, "Brindlewick");
  EXPECT_EQ(ModuleLines(), CodeLines(kModule));
  EXPECT_TRUE(dialog_.Visible());
  EXPECT_EQ(dialog_.txtMsg.Text(), "Hello");
}

TEST_F(AddMsgBoxTest, WithoutCodeWindowTheDialogHidesTellsAndUnloads) {
  vbe_->SelectComponent("Module1");
  vbe_->Deactivate();
  dialog_.Show();
  dialog_.txtMsg.UserType("Hello");
  Add();
  rt::MsgBoxRecord box = OnlyBox();
  EXPECT_EQ(box.Prompt,
            "You must first be in a VB Code window before message box code can be added.");
  EXPECT_EQ(box.Buttons, 64);
  EXPECT_EQ(box.Title, "Error: Cannot Insert Code");
  EXPECT_EQ(visibleAtBox_, std::vector<bool>{false});
  EXPECT_FALSE(dialog_.IsLoaded());
  EXPECT_EQ(ModuleLines(), CodeLines(kModule));
}

TEST_F(AddMsgBoxTest, OtherFailuresGiveTheCriticalReportAndUnload) {
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
            "Error Description : Invalid procedure call or argument\r\n\r\n");
  EXPECT_EQ(visibleAtBox_, std::vector<bool>{false});
  EXPECT_FALSE(dialog_.IsLoaded());
  EXPECT_EQ(ModuleLines(), CodeLines(kModule));
}

TEST_F(AddMsgBoxTest, InsertionPointIsReadAtAdd) {
  dialog_.Show();
  dialog_.txtMsg.UserType("Bye");
  Caret(3);
  Add();
  EXPECT_EQ(ModuleLines(), CodeLines(R"(
Private Sub Form_Load()
    x = 1
→MsgBox "Bye", + vbOKOnly + vbDefaultButton1 ,""
End Sub
)"));
}

TEST_F(AddMsgBoxTest, CancelInsertsNothingAndTheNextOpeningStartsAfresh) {
  dialog_.Show();
  const std::string initial = Describe(dialog_);
  dialog_.txtMsg.UserType("Hello");
  dialog_.txtTitle.UserType("Greeting");
  dialog_.Option1(3).UserClick();
  dialog_.optButton(2).UserClick();
  dialog_.optDefault(2).UserClick();
  dialog_.chkSysModal.UserClick();
  dialog_.chkHelpBtn.UserClick();
  dialog_.txtHelpID.UserType("9");
  dialog_.cmdCancel.UserClick();
  EXPECT_FALSE(dialog_.IsLoaded());
  EXPECT_EQ(ModuleLines(), CodeLines(kModule));
  dialog_.Show();
  EXPECT_EQ(Describe(dialog_), initial);
  EXPECT_TRUE(MessageBoxes().empty());
}

}  // namespace
}  // namespace bw
