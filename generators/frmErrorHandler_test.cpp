#include "generators/frmErrorHandler.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "services/testing/addin_test.h"
#include "services/testing/code_text.h"

namespace bw {
namespace {

// The worked layout: a procedure with a blank line after its header and before its end.
constexpr std::string_view kSaveModule = R"(
Option Explicit

Private mDirty As Boolean

Private Sub cmdClose_Click()
    Unload Me
End Sub

' Saves the document.
Private Sub cmdSave_Click()

    SaveDocument
    mDirty = False

End Sub
)";

class ErrorHandlerTest : public AddinTest {
 protected:
  void SetUp() override {
    AddinTest::SetUp();
    WatchDialog(dialog_);
    UseModule(kSaveModule);
  }

  // The caret stands inside the line: only its line counts.
  void Caret(long line) { AddinTest::Caret(line, 3); }
  void Add() { dialog_.cmdOK.UserClick(); }

  frmErrorHandler dialog_;
};

TEST_F(ErrorHandlerTest, WorkedLayoutEndToEnd) {
  Caret(12);
  dialog_.Show();
  EXPECT_EQ(dialog_.txtName.Text(), "Private Sub cmdSave_Click");
  EXPECT_EQ(dialog_.txtMsg.Text(), "");
  EXPECT_EQ(dialog_.SelStartLine, 12);
  EXPECT_EQ(dialog_.ProcHeaderLine, 10);
  Add();
  EXPECT_EQ(ModuleLines(), CodeLines(R"(
Option Explicit

Private mDirty As Boolean

Private Sub cmdClose_Click()
    Unload Me
End Sub

' Saves the document.
Private Sub cmdSave_Click()

→On Error Goto ErrHandler

    SaveDocument
    mDirty = False
→Exit Sub

ErrHandler:

→MsgBox →"  Program Name : " & App.FileDescription & vbCrLf & vbCrLf & _
→→→"   Routine Name : Private Sub cmdSave_Click" & vbCrLf & vbCrLf & _
→→→"     Error Number : " & Err.Number & vbCrLf & _ $
→→→"      Error Source : " & Err.Source & vbCrLf & _ $
→→→"Error Description : " & Err.Description & vbCrLf & vbCrLf & _
→→→"" _ $
→→→, vbCritical, "CRITICAL ERROR"


End Sub
)"));
  EXPECT_FALSE(dialog_.IsLoaded());
  EXPECT_TRUE(MessageBoxes().empty());
}

TEST_F(ErrorHandlerTest, EditedNameAndMessageAreCopiedAsTyped) {
  Caret(13);
  dialog_.Show();
  dialog_.txtName.Set("Text", std::string("frmMain.cmdSave_Click"));
  dialog_.txtMsg.UserType("Could not save \"the\" file.\r\nTry again.");
  Add();
  EXPECT_EQ(ModuleLines(), CodeLines(R"(
Option Explicit

Private mDirty As Boolean

Private Sub cmdClose_Click()
    Unload Me
End Sub

' Saves the document.
Private Sub cmdSave_Click()

→On Error Goto ErrHandler

    SaveDocument
    mDirty = False
→Exit Sub

ErrHandler:

→MsgBox →"  Program Name : " & App.FileDescription & vbCrLf & vbCrLf & _
→→→"   Routine Name : frmMain.cmdSave_Click" & vbCrLf & vbCrLf & _
→→→"     Error Number : " & Err.Number & vbCrLf & _ $
→→→"      Error Source : " & Err.Source & vbCrLf & _ $
→→→"Error Description : " & Err.Description & vbCrLf & vbCrLf & _
→→→"Could not save "the" file.
Try again." _ $
→→→, vbCritical, "CRITICAL ERROR"


End Sub
)"));
}

TEST_F(ErrorHandlerTest, ProcedureWithoutBlankLinesLeavesItsBodyUncovered) {
  UseModule(R"(
Public Sub Tick()
    mCount = mCount + 1
End Sub
)");
  Caret(2);
  dialog_.Show();
  EXPECT_EQ(dialog_.txtName.Text(), "Public Sub Tick");
  Add();
  EXPECT_EQ(ModuleLines(), CodeLines(R"(
Public Sub Tick()
    mCount = mCount + 1
→On Error Goto ErrHandler
→Exit Sub

ErrHandler:

→MsgBox →"  Program Name : " & App.FileDescription & vbCrLf & vbCrLf & _
→→→"   Routine Name : Public Sub Tick" & vbCrLf & vbCrLf & _
→→→"     Error Number : " & Err.Number & vbCrLf & _ $
→→→"      Error Source : " & Err.Source & vbCrLf & _ $
→→→"Error Description : " & Err.Description & vbCrLf & vbCrLf & _
→→→"" _ $
→→→, vbCritical, "CRITICAL ERROR"


End Sub
)"));
}

TEST_F(ErrorHandlerTest, FunctionsExitWithExitFunction) {
  for (std::string_view header :
       {"Public Function Total(a As Long) As Long", "Private Function Total(a As Long) As Long"}) {
    SCOPED_TRACE(header);
    UseModule(std::string("\n") + std::string(header) + R"(

    Total = a * 2

End Function
)");
    Caret(3);
    dialog_.Show();
    Add();
    std::string name(header.substr(0, header.find('(')));
    EXPECT_EQ(ModuleLines(), CodeLines(std::string("\n") + std::string(header) + R"(

→On Error Goto ErrHandler

    Total = a * 2
→Exit Function

ErrHandler:

→MsgBox →"  Program Name : " & App.FileDescription & vbCrLf & vbCrLf & _
→→→"   Routine Name : )" + name +
                                       R"(" & vbCrLf & vbCrLf & _
→→→"     Error Number : " & Err.Number & vbCrLf & _ $
→→→"      Error Source : " & Err.Source & vbCrLf & _ $
→→→"Error Description : " & Err.Description & vbCrLf & vbCrLf & _
→→→"" _ $
→→→, vbCritical, "CRITICAL ERROR"


End Function
)"));
  }
}

TEST_F(ErrorHandlerTest, HeaderSearchStartsOnTheCaretLineAndGoesUp) {
  Caret(10);  // on the header itself
  dialog_.Show();
  EXPECT_EQ(dialog_.ProcHeaderLine, 10);
  dialog_.Unload();
  Caret(7);  // on "End Sub" of cmdClose_Click: its header is above
  dialog_.Show();
  EXPECT_EQ(dialog_.txtName.Text(), "Private Sub cmdClose_Click");
  EXPECT_EQ(dialog_.ProcHeaderLine, 5);
}

TEST_F(ErrorHandlerTest, UnrecognisedHeadersAreSkippedUpward) {
  UseModule(R"(
Private Sub Outer()
End Sub
Friend Sub A()
Static Sub B()
Public Property Get C() As Long
Sub D()
Function E()
    x = 1
)");
  Caret(8);
  dialog_.Show();
  EXPECT_EQ(dialog_.txtName.Text(), "Private Sub Outer");
  EXPECT_EQ(dialog_.ProcHeaderLine, 1);
}

TEST_F(ErrorHandlerTest, KeywordsInCommentsCountAsHeaderAndEndLines) {
  UseModule(R"(
' Called from Private Sub Main (see there)
    x = 1
    y = 2
    ' nothing more: End Sub comes later
    z = 3
)");
  Caret(3);
  dialog_.Show();
  EXPECT_EQ(dialog_.txtName.Text(), "' Called from Private Sub Main ");
  Add();
  EXPECT_EQ(ModuleLines(), CodeLines(R"(
' Called from Private Sub Main (see there)
    x = 1
→On Error Goto ErrHandler

→Exit Sub

ErrHandler:

→MsgBox →"  Program Name : " & App.FileDescription & vbCrLf & vbCrLf & _
→→→"   Routine Name : ' Called from Private Sub Main " & vbCrLf & vbCrLf & _
→→→"     Error Number : " & Err.Number & vbCrLf & _ $
→→→"      Error Source : " & Err.Source & vbCrLf & _ $
→→→"Error Description : " & Err.Description & vbCrLf & vbCrLf & _
→→→"" _ $
→→→, vbCritical, "CRITICAL ERROR"

    y = 2
    ' nothing more: End Sub comes later
    z = 3
)"));
}

TEST_F(ErrorHandlerTest, HeaderWithoutParenthesisFailsTheLoadAndNothingIsInserted) {
  constexpr std::string_view kModule = R"(
Public SubTotal As Currency
Private Sub Broken
    x = 1
End Sub
)";
  UseModule(kModule);
  for (long caret : {1, 3}) {
    Caret(caret);
    dialog_.Load();
    EXPECT_FALSE(dialog_.IsLoaded());
  }
  ASSERT_EQ(MessageBoxes().size(), 2u);
  for (const rt::MsgBoxRecord& box : MessageBoxes()) {
    EXPECT_EQ(box.Title, "CRITICAL ERROR");
    EXPECT_EQ(box.Prompt,
              "  Program Name : Brindlewick - Visual Basic Code Helper Add-In\r\n\r\n"
              "   Routine Name : Private Sub Form_Load\r\n\r\n"
              "     Error Number : 5\r\n"
              "      Error Source : Brindlewick\r\n"
              "Error Description : Invalid procedure call or argument\r\n\r\n");
  }
  EXPECT_EQ(dialog_.ProcHeaderLine, 0);
  EXPECT_EQ(ModuleLines(), CodeLines(kModule));
}

TEST_F(ErrorHandlerTest, WithoutEndLineOnlyTheOnErrorLineIsInserted) {
  UseModule(R"(
Private Sub Unfinished()
    x = 1
    y = 2
)");
  Caret(3);
  dialog_.Show();
  Add();
  EXPECT_EQ(ModuleLines(), CodeLines(R"(
Private Sub Unfinished()
    x = 1
→On Error Goto ErrHandler

    y = 2
)"));
  EXPECT_FALSE(dialog_.IsLoaded());
}

TEST_F(ErrorHandlerTest, CaretAboveEveryProcedureFindsNoHeaderAndAddInsertsNothing) {
  Caret(2);
  dialog_.Show();
  EXPECT_EQ(dialog_.txtName.Text(), "");
  EXPECT_EQ(dialog_.SelStartLine, 2);
  EXPECT_EQ(dialog_.ProcHeaderLine, 0);
  Add();
  EXPECT_EQ(ModuleLines(), CodeLines(kSaveModule));
  EXPECT_FALSE(dialog_.IsLoaded());
  EXPECT_TRUE(MessageBoxes().empty());
}

TEST_F(ErrorHandlerTest, FormLevelLinesSurviveUnloadingAndAStaleHeaderIsNotUsed) {
  Caret(12);
  dialog_.Show();
  dialog_.cmdCancel.UserClick();
  EXPECT_FALSE(dialog_.IsLoaded());
  EXPECT_EQ(dialog_.SelStartLine, 12);
  EXPECT_EQ(dialog_.ProcHeaderLine, 10);

  // The next load finds no header: the earlier header line stays, but "&Add" leaves it alone.
  Caret(3);
  dialog_.Show();
  EXPECT_EQ(dialog_.txtName.Text(), "");
  EXPECT_EQ(dialog_.SelStartLine, 3);
  EXPECT_EQ(dialog_.ProcHeaderLine, 10);
  Add();
  EXPECT_EQ(ModuleLines(), CodeLines(kSaveModule));
  EXPECT_FALSE(dialog_.IsLoaded());
}

TEST_F(ErrorHandlerTest, LinesAreFixedAtLoadAndControlsStartEmpty) {
  Caret(6);
  dialog_.Show();
  dialog_.txtMsg.UserType("old");
  dialog_.cmdCancel.UserClick();
  Caret(12);
  dialog_.Show();
  EXPECT_EQ(dialog_.txtMsg.Text(), "");
  Caret(2);  // moving the caret now changes nothing
  Add();
  EXPECT_EQ(ModuleLines()[11], "\tOn Error Goto ErrHandler");
  EXPECT_EQ(ModuleLines()[15], "\tExit Sub");
}

TEST_F(ErrorHandlerTest, LoadWithoutCodeWindowHidesTellsAndUnloads) {
  vbe_->Deactivate();
  dialog_.Load();
  rt::MsgBoxRecord box = OnlyBox();
  EXPECT_EQ(box.Prompt, "You must first be in a VB Code window before Error code can be added.");
  EXPECT_EQ(box.Buttons, 64);
  EXPECT_EQ(box.Title, "Error: Cannot Insert Code");
  EXPECT_EQ(visibleAtBox_, std::vector<bool>{false});
  EXPECT_FALSE(dialog_.IsLoaded());
  // Placement ran before the failure.
  EXPECT_TRUE(platform_.LastSetWindowPos(hwndAtBox_).has_value());
}

TEST_F(ErrorHandlerTest, OtherLoadFailuresGiveTheCriticalReport) {
  Caret(40);  // past the module's end: the IDE refuses to read line 40
  dialog_.Load();
  rt::MsgBoxRecord box = OnlyBox();
  EXPECT_EQ(box.Title, "CRITICAL ERROR");
  EXPECT_EQ(box.Buttons, 16);
  EXPECT_EQ(box.Prompt,
            "  Program Name : Brindlewick - Visual Basic Code Helper Add-In\r\n\r\n"
            "   Routine Name : Private Sub Form_Load\r\n\r\n"
            "     Error Number : 9\r\n"
            "      Error Source : VBIDE\r\n"
            "Error Description : Subscript out of range\r\n\r\n");
  EXPECT_FALSE(dialog_.IsLoaded());
  EXPECT_EQ(dialog_.SelStartLine, 40);
}

TEST_F(ErrorHandlerTest, AddFailureGivesTheCriticalReportAndUnloads) {
  Caret(12);
  dialog_.Show();
  vbe_->Deactivate();
  Add();
  rt::MsgBoxRecord box = OnlyBox();
  EXPECT_EQ(box.Title, "CRITICAL ERROR");
  EXPECT_EQ(box.Prompt,
            "  Program Name : Brindlewick - Visual Basic Code Helper Add-In\r\n\r\n"
            "   Routine Name : Private Sub cmdOK_Click\r\n\r\n"
            "     Error Number : 91\r\n"
            "      Error Source : Brindlewick\r\n"
            "Error Description : Object variable or With block variable not set\r\n\r\n");
  EXPECT_EQ(visibleAtBox_, std::vector<bool>{false});
  EXPECT_FALSE(dialog_.IsLoaded());
  EXPECT_EQ(ModuleLines(), CodeLines(kSaveModule));
}

TEST_F(ErrorHandlerTest, CancelInsertsNothing) {
  Caret(12);
  dialog_.Show();
  dialog_.cmdCancel.UserClick();
  EXPECT_FALSE(dialog_.IsLoaded());
  EXPECT_EQ(ModuleLines(), CodeLines(kSaveModule));
}

}  // namespace
}  // namespace bw
