// The real IDE driven through its widgets (offscreen): the example project opened, the add-in
// loaded at start-up, and one whole flow per add-in window, each ending with one undo.
#include <gtest/gtest.h>

#include <QDockWidget>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <filesystem>

#include "ide/gui/testing/ide_harness.h"
#include "runtime/forms/form.h"

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace ide::gui {
namespace {

namespace fs = std::filesystem;
using testing::IdeHarness;
using testing::Text;

const char kFrmMain[] = R"(Option Explicit

Private Sub cmdTotal_Click()
    Dim Values() As String

    Values = Split(txtValues.Text, vbCrLf)
    ShowTotal Values
End Sub
)";

class IdeFlowTest : public ::testing::Test {
 protected:
  IdeFlowTest()
      : harness_({.AddinLibrary = BW_ADDIN_LIBRARY, .DataFolder = BW_TEST_DATA, .Ide = {}}) {
    project_ = harness_.ConfigFolder() / "project";
    fs::create_directories(project_);
    for (const char* f : {"Example.vbp", "frmMain.frm", "basMain.bas", "CTally.cls"})
      fs::copy_file(fs::path(BW_EXAMPLES) / f, project_ / f);
    EXPECT_TRUE(Ide().OpenProject(project_ / "Example.vbp"));
    Ide().StartAddins();
    IdeHarness::Settle();
  }
  IdeWindow& Ide() { return harness_.Ide(); }
  std::string Module(const std::string& name) { return Text(*harness_.Editor(name)); }
  // One undo in the code window gives back `before`.
  void ExpectOneUndoRestores(const std::string& module, const std::string& before) {
    Ide().ShowCode(module);
    ASSERT_TRUE(harness_.Trigger("actionUndo"));
    EXPECT_EQ(Module(module), before);
  }
  bool Button(long index) { return harness_.ClickToolbarButton("ToolWindow", "Toolbar1", index); }
  bool Loaded(const char* form) { return forms::FindLoadedForm(form) != nullptr; }

  IdeHarness harness_;
  fs::path project_;
};

TEST_F(IdeFlowTest, TheProjectIsOpenAndTheToolWindowDockedWithItsViewCommand) {
  EXPECT_NE(Ide().windowTitle().indexOf("Brindlewick"), -1);
  std::vector<std::string> names;
  for (auto& m : Ide().Modules())
    names.push_back(m->Name);
  EXPECT_EQ(names, (std::vector<std::string>{"frmMain", "basMain", "CTally"}));
  EXPECT_EQ(Module("frmMain"), kFrmMain);
  EXPECT_EQ(Ide().ActiveModule()->Name, "frmMain");

  QDockWidget* dock = Ide().Vbe().LatestToolDock();
  ASSERT_NE(dock, nullptr);
  EXPECT_EQ(dock->windowTitle(), "Brindlewick");
  EXPECT_FALSE(dock->isFloating());
  EXPECT_EQ(Ide().dockWidgetArea(dock), Qt::RightDockWidgetArea);
  EXPECT_TRUE(dock->isVisible());
  EXPECT_NE(dock->findChild<QToolBar*>("Toolbar1"), nullptr);

  // Closed by the user, it comes back from the add-in's command at the end of the View menu.
  dock->close();
  IdeHarness::Settle();
  EXPECT_FALSE(dock->isVisible());
  QMenu* view = Ide().menuBar()->findChildren<QMenu*>().at(2);
  ASSERT_EQ(view->title(), "&View");
  QAction* command = view->actions().last();
  EXPECT_EQ(command->text(), "Brindlewick");
  command->trigger();
  IdeHarness::Settle();
  EXPECT_TRUE(dock->isVisible());
  EXPECT_TRUE(harness_.Platform().Shown.empty());
}

TEST_F(IdeFlowTest, InsertAMessageBox) {
  harness_.Select("frmMain", 7, 1, 7, 1);
  ASSERT_TRUE(Button(1));
  ASSERT_TRUE(Loaded("frmAddMsgBox"));
  ASSERT_TRUE(harness_.TypeInto("frmAddMsgBox", "txtMsg", "Totalling the values."));
  ASSERT_TRUE(harness_.TypeInto("frmAddMsgBox", "txtTitle", "Example"));
  ASSERT_TRUE(harness_.ClickButton("frmAddMsgBox", "Option1(4)"));
  ASSERT_TRUE(harness_.ClickButton("frmAddMsgBox", "optButton(1)"));
  ASSERT_TRUE(harness_.ClickButton("frmAddMsgBox", "cmdOK"));
  EXPECT_FALSE(Loaded("frmAddMsgBox"));
  EXPECT_EQ(Module("frmMain"), R"(Option Explicit

Private Sub cmdTotal_Click()
    Dim Values() As String

    Values = Split(txtValues.Text, vbCrLf)
	MsgBox "Totalling the values.", vbInformation + vbOKCancel + vbDefaultButton1 ,"Example"
    ShowTotal Values
End Sub
)");
  // The caret stays on line 7, now the new line, as the in-memory IDE keeps it.
  EXPECT_EQ(Ide().Vbe().ActiveCodePane()->GetSelection(), (vbide::Selection{7, 1, 7, 1}));
  ExpectOneUndoRestores("frmMain", kFrmMain);
}

TEST_F(IdeFlowTest, CommentAndUncommentTheSelectedLines) {
  const std::string commented = R"(Option Explicit

Private Sub cmdTotal_Click()
'    Dim Values() As String
'
'    Values = Split(txtValues.Text, vbCrLf)
'    ShowTotal Values
End Sub
)";
  harness_.Select("frmMain", 4, 1, 8, 1);
  ASSERT_TRUE(Button(5));
  EXPECT_EQ(Module("frmMain"), commented);
  EXPECT_EQ(Ide().Vbe().ActiveCodePane()->GetSelection(), (vbide::Selection{4, 1, 8, 1}));
  ExpectOneUndoRestores("frmMain", kFrmMain);
  ASSERT_TRUE(harness_.Trigger("actionRedo"));
  EXPECT_EQ(Module("frmMain"), commented);
  harness_.Select("frmMain", 4, 1, 8, 1);
  ASSERT_TRUE(Button(6));
  EXPECT_EQ(Module("frmMain"), kFrmMain);
  ExpectOneUndoRestores("frmMain", commented);

  // With every code window closed there is no active pane: the command says so.
  for (auto& m : Ide().Modules())
    m->Frame->close();
  EXPECT_EQ(Ide().ActiveModule(), nullptr);
  ASSERT_TRUE(Button(5));
  ASSERT_EQ(harness_.Platform().Shown.size(), 1u);
  EXPECT_EQ(harness_.Platform().Shown[0].Prompt,
            "You must first be in a VB Code window before you comment out code.");
}

TEST_F(IdeFlowTest, InsertAnErrorHandler) {
  const std::string before = Module("basMain");
  harness_.Select("basMain", 9, 1, 9, 1);
  ASSERT_TRUE(Button(3));
  auto* name = harness_.Control<QLineEdit>("frmErrorHandler", "txtName");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->text(), "Public Function Total");
  ASSERT_TRUE(harness_.TypeInto("frmErrorHandler", "txtMsg", "Check the list of values."));
  ASSERT_TRUE(harness_.ClickButton("frmErrorHandler", "cmdOK"));
  EXPECT_FALSE(Loaded("frmErrorHandler"));
  std::vector<std::string> lines = harness_.Editor("basMain")->AllLines();
  ASSERT_EQ(lines.size(), 31u);
  EXPECT_EQ(lines[5], "\tOn Error Goto ErrHandler");
  EXPECT_EQ(lines[13], "\tExit Function");
  EXPECT_EQ(lines[15], "ErrHandler:");
  EXPECT_EQ(lines[18], "\t\t\t\"   Routine Name : Public Function Total\" & vbCrLf & vbCrLf & _");
  EXPECT_EQ(lines[22], "\t\t\t\"Check the list of values.\" _ ");
  EXPECT_EQ(lines[26], "End Function");
  // Two insertions, one undo step.
  ExpectOneUndoRestores("basMain", before);
}

TEST_F(IdeFlowTest, InsertAHeader) {
  const std::string before = Module("basMain");
  vb::SaveSetting("Brindlewick", "Settings", "UserName", "A. Programmer");
  harness_.Select("basMain", 4, 1, 4, 1);
  ASSERT_TRUE(Button(8));
  ASSERT_TRUE(harness_.TypeInto("frmInsertHeader", "txtName", "Total"));
  ASSERT_TRUE(harness_.TypeInto("frmInsertHeader", "txtAbstract", "Adds up a list."));
  ASSERT_TRUE(harness_.ClickButton("frmInsertHeader", "cmdOK"));
  EXPECT_FALSE(Loaded("frmInsertHeader"));
  std::vector<std::string> lines = harness_.Editor("basMain")->AllLines();
  ASSERT_GT(lines.size(), 20u);
  EXPECT_EQ(lines[2], "' Totals the numbers of a list, skipping what is not a number.");
  EXPECT_EQ(lines[3].substr(0, 10), "'=========");
  EXPECT_EQ(lines[5], "' Name       :  Total");
  EXPECT_EQ(lines[7], "' Abstract   :  Adds up a list.");
  EXPECT_EQ(lines[14].substr(0, 17), "' A. Programmer  ");
  EXPECT_EQ(lines[18], "Public Function Total(Values() As String) As Double");
  ExpectOneUndoRestores("basMain", before);
}

TEST_F(IdeFlowTest, InsertFromTheApiWindow) {
  const std::string before = Module("basMain");
  harness_.Select("basMain", 5, 1, 5, 1);
  ASSERT_TRUE(Button(10));
  ASSERT_TRUE(Loaded("frmApi"));
  ASSERT_TRUE(harness_.ChooseItem("frmApi", "lstItems", "DeleteObject"));
  ASSERT_TRUE(harness_.ClickButton("frmApi", "cmdAdd"));
  EXPECT_TRUE(Loaded("frmApi"));  // the window stays open for more
  std::vector<std::string> lines = harness_.Editor("basMain")->AllLines();
  ASSERT_GT(lines.size(), 5u);
  EXPECT_EQ(lines[4],
            "Declare Function DeleteObject Lib \"gdi32\" (ByVal hObject As Long) As Long");
  EXPECT_EQ(lines[5], "");
  ExpectOneUndoRestores("basMain", before);
  ASSERT_TRUE(harness_.ClickButton("frmApi", "cmdCancel"));
  EXPECT_FALSE(Loaded("frmApi"));
}

TEST_F(IdeFlowTest, InsertFromTheSourceLibrary) {
  harness_.Select("frmMain", 3, 1, 3, 1);
  ASSERT_TRUE(Button(12));
  ASSERT_TRUE(Loaded("frmSource"));
  ASSERT_TRUE(
      harness_.ClickNode("frmSource", "Tree", {"Source Code Database", "Functions", "Max"}));
  ASSERT_TRUE(harness_.ClickToolbarButton("frmSource", "Toolbar1", 6));
  std::vector<std::string> lines = harness_.Editor("frmMain")->AllLines();
  ASSERT_GT(lines.size(), 5u);
  EXPECT_EQ(lines[2], "Public Function Max(a As Long, b As Long) As Long");
  EXPECT_EQ(lines[3], "    If a > b Then Max = a Else Max = b");
  EXPECT_EQ(lines[4], "End Function");
  EXPECT_EQ(lines[5], "Private Sub cmdTotal_Click()");
  ExpectOneUndoRestores("frmMain", kFrmMain);
}

}  // namespace
}  // namespace ide::gui
