// The API window's designer values, what a load shows while it runs, the drag, and the order of
// Insert's work; the flows themselves are walked by the api_*.scn scenarios.
#include "apiref/frmApi.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "host/db/schema.h"
#include "runtime/forms/forms.h"
#include "services/testing/addin_test.h"
#include "services/testing/code_text.h"

namespace bw {
namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::optional<std::string>>>;

// What a load shows, as the renderer hears it: status texts, the pointer, the progress bar.
class LoadWatcher : public forms::FormObserver {
 public:
  explicit LoadWatcher(frmApi& f) : f_(f) { forms::AddObserver(this); }
  ~LoadWatcher() override { forms::RemoveObserver(this); }
  void PropertyChanged(forms::Form& form, forms::Control* c, std::string_view p) override {
    if (&form != &f_) return;
    if (!c && p == "MousePointer") seen.push_back("pointer " + std::to_string(f_.MousePointer()));
    if (!c && p == "Visible" && f_.Visible()) seen.push_back("visible");
    if (c == &f_.StatusBar1) seen.push_back("status " + f_.StatusBar1.Panels(1).Text);
    if (c == &f_.ProgressBar && p == "Max")
      seen.push_back("max " + forms::FormatNumber(f_.ProgressBar.Max()));
    if (c == &f_.ProgressBar && p == "Value")
      seen.push_back("value " + forms::FormatNumber(f_.ProgressBar.Value()));
    if (c == &f_.ProgressBar && p == "Visible")
      seen.push_back(f_.ProgressBar.Visible() ? "bar shown" : "bar hidden");
  }
  void Refreshed(forms::Form& form) override {
    if (&form == &f_) seen.push_back("refresh");
  }
  std::vector<std::string> seen;

 private:
  frmApi& f_;
};

class ApiWindowTest : public AddinTest {
 protected:
  void SetUp() override {
    AddinTest::SetUp();
    dir_ = fs::temp_directory_path() / ("bw_frmApi_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    path_ = (dir_ / "Win32api.MDB").string();
    MakeDatabase();
    platform_.SetAddinFolder(dir_.string());
    WatchDialog(f_);
    UseModule("a = 1\nb = 2\n");
  }
  void TearDown() override {
    AddinTest::TearDown();
    fs::remove_all(dir_);
  }
  void MakeDatabase() {
    fs::remove(path_);
    dao::CreateApiFile(path_);
    dao::InsertRows(path_, "Declares", {"Name", "FullName"},
                    Rows{{"Sleep", "Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)"},
                         {"beep", "Declare Function beep Lib \"kernel32\" () As Long"}});
    dao::InsertRows(path_, "Constants", {"Name", "FullName"},
                    Rows{{"C3", "Const C3 = 3"}, {"c1", "Const c1 = 1"}, {"C2", "Const C2 = 2"}});
    dao::InsertRows(path_, "Types", {"Name", "Id"}, Rows{{"P", "1"}});
    dao::InsertRows(path_, "TypeItems", {"TypeID", "TypeItem"}, Rows{{"1", "    x As Long"}});
  }
  void DropDeclares() {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "DROP TABLE Declares", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
  }

  frmApi f_;
  fs::path dir_;
  std::string path_;
};

TEST_F(ApiWindowTest, OpensWithTheDesignerValuesOnTheDeclares) {
  f_.Show();
  EXPECT_EQ(
      DescribeControls(f_, {"Left", "Top", "Width", "Height", "Text", "Caption", "FontName",
                            "FontSize", "FontBold", "TabIndex"}),
      R"(cboType Left=75 Top=75 Width=4290 Height=345 Text="Declares" FontName="Courier New" FontSize=9 FontBold=False TabIndex=1
lstItems Left=75 Top=525 Width=4290 Height=1860 Text="" FontName="Courier New" FontSize=9 FontBold=False TabIndex=0
cmdAdd Left=4575 Top=1200 Width=3165 Height=315 Caption="&Insert" FontName="MS Sans Serif" FontSize=8.25 FontBold=False TabIndex=2
cmdCancel Left=4575 Top=1875 Width=3165 Height=315 Caption="&Exit" FontName="MS Sans Serif" FontSize=8.25 FontBold=False TabIndex=3
Label4 Left=5370 Top=345 Width=1665 Height=240 Caption="WIN32 API Utility" FontName="Arial" FontSize=9.75 FontBold=True TabIndex=5
Label7 Left=5385 Top=360 Width=1665 Height=240 Caption="WIN32 API Utility" FontName="Arial" FontSize=9.75 FontBold=True TabIndex=6
txtPreview Left=75 Top=2475 Width=7740 Height=1515 Text="" FontName="Courier New" FontSize=9 FontBold=False TabIndex=4 ScrollBars=3
StatusBar1 Left=0 Top=4065 Width=7935 Height=315 FontName="MS Sans Serif" FontSize=8.25 FontBold=False TabIndex=7
ProgressBar Left=4125 Top=4125 Width=3765 Height=240 FontName="MS Sans Serif" FontSize=8.25 FontBold=False TabIndex=8 invisible
)");
  EXPECT_EQ(f_.cboType.Items(), (std::vector<std::string>{"Constants", "Declares", "Types"}));
  EXPECT_EQ(f_.cboType.ListIndex(), -1);
  EXPECT_TRUE(f_.lstItems.Sorted());
  EXPECT_EQ(f_.lstItems.ToolTipText(),
            "Double Click Here To Automatically Insert Into VB Code Window");
  EXPECT_TRUE(f_.txtPreview.MultiLine());
  EXPECT_EQ(f_.txtPreview.BackColor(), 0xFFFFFF);
  EXPECT_EQ(f_.Label4.ForeColor(), 0x000000);  // black under white
  EXPECT_EQ(f_.Label7.ForeColor(), 0xFFFFFF);
  EXPECT_EQ(f_.Label4.BackStyle(), 0);
  EXPECT_EQ(f_.Label7.BackStyle(), 0);
  EXPECT_FALSE(f_.cmdAdd.Default() || f_.cmdAdd.Cancel() || f_.cmdCancel.Default() ||
               f_.cmdCancel.Cancel());
  // No caption, title bar or control box: the client area is the window less the dialog frame.
  EXPECT_EQ(f_.Caption(), "");
  EXPECT_FALSE(f_.ControlBox());
  EXPECT_EQ(f_.BorderStyle(), forms::vbFixedDialog);
  EXPECT_EQ(f_.ScaleWidth(), 7935);
  EXPECT_EQ(f_.ScaleHeight(), 4380);
  EXPECT_EQ(f_.BackColor(), 0xC0C0C0);
  EXPECT_EQ(f_.ActiveControl(), &f_.lstItems);
  EXPECT_EQ(f_.lstItems.Items(), (std::vector<std::string>{"beep", "Sleep"}));
  EXPECT_TRUE(MessageBoxes().empty());
}

// Opening shows the window at once and draws it before the long load begins.
TEST_F(ApiWindowTest, OpeningShowsAndDrawsTheWindowBeforeTheLoad) {
  LoadWatcher watcher(f_);
  f_.Show();
  ASSERT_GE(watcher.seen.size(), 4u);
  EXPECT_EQ(
      std::vector<std::string>(watcher.seen.begin(), watcher.seen.begin() + 4),
      (std::vector<std::string>{"visible", "refresh", "pointer 11", "status Loading Declares..."}));
}

TEST_F(ApiWindowTest, ALoadShowsItsStatusAndProgressThenComesBackToRest) {
  f_.Show();
  LoadWatcher watcher(f_);
  f_.LoadConstants();
  EXPECT_EQ(watcher.seen,
            (std::vector<std::string>{"pointer 11", "status Loading Constants...", "refresh",
                                      "max 3", "bar shown", "value 0", "value 1", "value 2",
                                      "bar hidden", "status Idle...", "pointer 0"}));
  EXPECT_EQ(f_.lstItems.Items(), (std::vector<std::string>{"c1", "C2", "C3"}));
  watcher.seen.clear();
  f_.LoadTypes();
  EXPECT_EQ(watcher.seen[1], "status Loading Types...");
  EXPECT_EQ(f_.lstItems.Items(), (std::vector<std::string>{"P"}));
}

// A load that fails halfway (a Constants table without Name), with the progress bar already
// shown: the window comes back to rest before the report, which names the event routine.
TEST_F(ApiWindowTest, ALoadThatFailsHalfwayComesBackToRestThenReports) {
  f_.Show();
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "DROP TABLE Constants; CREATE TABLE Constants (Title TEXT, FullName TEXT);"
                         "INSERT INTO Constants VALUES ('A', 'Const A = 1'), ('B', 'Const B = 2')",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  LoadWatcher watcher(f_);
  f_.cboType.UserChoose("Constants");
  EXPECT_EQ(watcher.seen, (std::vector<std::string>{"pointer 11", "status Loading Constants...",
                                                    "refresh", "max 2", "bar shown", "bar hidden",
                                                    "status Idle...", "pointer 0"}));
  rt::MsgBoxRecord box = OnlyBox();
  EXPECT_EQ(box.Title, "CRITICAL ERROR");
  EXPECT_NE(box.Prompt.find("   Routine Name : Private Sub cboType_Click\r\n\r\n     Error "
                            "Number : 3265\r\n"),
            std::string::npos)
      << box.Prompt;
  EXPECT_EQ(f_.lstItems.ListCount(), 0);
  EXPECT_TRUE(f_.Visible());
}

TEST_F(ApiWindowTest, DraggingTheBackgroundMovesTheWindowAndLetsItRepaint) {
  f_.Show();
  double left = f_.Left(), top = f_.Top();
  int repaints = platform_.DoEventsCalls();
  f_.UserMouse("move", 0, 500, 500);  // no button down: nothing moves
  f_.UserMouse("down", 2, 100, 200);
  f_.UserMouse("move", 2, 400, 150);
  f_.UserMouse("move", 2, 160, 260);
  f_.UserMouse("up", 2, 160, 260);
  f_.UserMouse("move", 0, 900, 900);
  EXPECT_EQ(f_.Left(), left + 300 + 60);
  EXPECT_EQ(f_.Top(), top - 50 + 60);
  EXPECT_EQ(platform_.DoEventsCalls(), repaints + 2);
  // The title labels take no part.
  f_.Label7.UserMouse("down", 1, 0, 0);
  f_.Label7.UserMouse("move", 1, 500, 500);
  EXPECT_EQ(f_.Left(), left + 360);
}

// The table goes away under the open window: a search now fails. Without a code window, Insert
// fails on the selection before it searches (the code-window message); with one, the search's
// failure gives the critical report. Either way the window is hidden, then unloaded.
TEST_F(ApiWindowTest, InsertReadsTheSelectionBeforeItSearches) {
  Caret(2);
  f_.Show();
  f_.lstItems.UserChoose("Sleep");
  DropDeclares();
  vbe_->Deactivate();
  f_.cmdAdd.UserClick();
  rt::MsgBoxRecord box = OnlyBox();
  EXPECT_EQ(box.Buttons, 64);
  EXPECT_EQ(box.Title, "Error: Cannot Insert Code");
  EXPECT_EQ(box.Prompt, "You must first be in a VB Code window before API code can be added.");
  EXPECT_FALSE(f_.IsLoaded());

  MakeDatabase();
  f_.Show();
  f_.lstItems.UserChoose("Sleep");
  DropDeclares();
  vbe_->Activate("Module1");
  f_.cmdAdd.UserClick();
  ASSERT_EQ(MessageBoxes().size(), 2u);
  EXPECT_EQ(MessageBoxes()[1].Title, "CRITICAL ERROR");
  EXPECT_NE(MessageBoxes()[1].Prompt.find("   Routine Name : Private Sub cmdAdd_Click\r\n"),
            std::string::npos);
  EXPECT_EQ(visibleAtBox_, (std::vector<bool>{false, false}));
  EXPECT_FALSE(f_.IsLoaded());
  EXPECT_EQ(ModuleLines(), CodeLines("a = 1\nb = 2\n"));
}

}  // namespace
}  // namespace bw
