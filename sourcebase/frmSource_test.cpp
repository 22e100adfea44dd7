#include "sourcebase/frmSource.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sourcebase/frmAdd.h"
#include "sourcebase/library.h"
#include "sourcebase/testing/library_test_support.h"

namespace bw {
namespace {

// The browser over a small library, opened without an active code pane.
class BrowserTest : public LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    Store(
        {{"Subs", "Twin", "first"}, {"Subs", "Other", "other code"}, {"Misc", "Notes", "' notes"}});
    UnloadAtEnd(browser_);
    UnloadAtEnd(forms::DefaultInstance<frmAdd>());
    browser_.Show();
  }

  forms::Node* NodeAt(const std::vector<std::string>& path) const {
    forms::Node* node = browser_.Tree.FindPath(path);
    EXPECT_NE(node, nullptr);
    return node;
  }
  void Click(const std::string& category, const std::string& item) {
    browser_.Tree.UserClickNode(NodeAt({"Source Code Database", category, item}));
  }
  void Button(long index) { browser_.Toolbar1.UserClickButton(index); }
  // Every node's text, depth first, indented two blanks a level.
  std::vector<std::string> TreeTexts() const {
    std::vector<std::string> texts;
    std::function<void(const forms::Node*, int)> walk = [&](const forms::Node* n, int depth) {
      texts.push_back(std::string(static_cast<std::size_t>(2 * depth), ' ') + n->Text());
      for (const forms::Node* child : n->ChildNodes())
        walk(child, depth + 1);
    };
    for (const forms::Node* root : browser_.Tree.Roots())
      walk(root, 0);
    return texts;
  }
  std::vector<std::string> Panels() const {
    std::vector<std::string> texts;
    for (long i = 1; i <= browser_.StatusBar.PanelCount(); ++i)
      texts.push_back(browser_.StatusBar.Panels(i).Text);
    return texts;
  }
  // The critical reports shown so far: their routine lines and error numbers.
  std::vector<std::string> Reports() const {
    std::vector<std::string> reports;
    for (const rt::MsgBoxRecord& box : MessageBoxes()) {
      if (box.Title != "CRITICAL ERROR") continue;
      std::size_t routine = box.Prompt.find("   Routine Name : ");
      std::size_t number = box.Prompt.find("     Error Number : ");
      reports.push_back(box.Prompt.substr(routine, box.Prompt.find('\r', routine) - routine) +
                        " | " + box.Prompt.substr(number + 20, 4));
    }
    return reports;
  }

  // Types into the shown Twin, then fails a Save, a save on switching items and a Delete while
  // `failing` is on: each is reported with its routine's line and leaves the tree, the code box
  // and the file as they were.
  void CheckStoreFailures(const std::function<void(bool)>& failing, const std::string& number) {
    Click("Subs", "Twin");
    browser_.txtcode.SetSelStart(5);
    browser_.txtcode.UserType(" typed");
    const std::vector<std::string> tree = TreeTexts();
    const std::vector<std::string> panels = Panels();
    failing(true);

    Button(4);
    platform_.QueueAnswer(vb::vbYes);
    Click("Subs", "Other");
    // The failed switch left Twin selected, so Delete acts on it.
    EXPECT_EQ(browser_.Tree.SelectedItem(), NodeAt({"Source Code Database", "Subs", "Twin"}));
    platform_.QueueAnswer(vb::vbYes);
    Button(2);
    EXPECT_EQ(Reports(), (std::vector<std::string>{
                             "   Routine Name : Private Sub Toolbar1_ButtonClick | " + number,
                             "   Routine Name : Private Sub Tree_NodeClick | " + number,
                             "   Routine Name : Private Sub Toolbar1_ButtonClick | " + number}));
    EXPECT_EQ(browser_.txtcode.Text(), "first typed");
    EXPECT_EQ(TreeTexts(), tree);
    EXPECT_EQ(Panels(), panels);
    EXPECT_EQ(browser_.Tree.SelectedItem(), NodeAt({"Source Code Database", "Subs", "Twin"}));
    EXPECT_EQ(CurrentItemName, "Twin");
    EXPECT_TRUE(browser_.Visible());
    EXPECT_EQ(Rows("Subs")[0][1], "first");
    EXPECT_EQ(Names("Subs"), (std::vector<std::string>{"Twin", "Other"}));

    // Once the store takes writes again, nothing typed has been lost and the save goes through.
    failing(false);
    platform_.QueueAnswer(vb::vbYes);
    Click("Subs", "Other");
    EXPECT_EQ(Rows("Subs")[0][1], "first typed");
    EXPECT_EQ(browser_.txtcode.Text(), "other code");
    EXPECT_EQ(platform_.PendingAnswers(), 0u);
  }

  frmSource& browser_ = forms::DefaultInstance<frmSource>();
};

// Loaded but not yet shown, so not laid out: the tree, the code box, their labels and the
// splitter stand where the designer put them, but for the splitter's left edge, restored from
// the settings (the default 2295).
TEST_F(BrowserTest, LoadsWithTheDesignerLayout) {
  browser_.Unload();
  browser_.Load();
  std::string described =
      DescribeControls(browser_, {"Left", "Top", "Width", "Height", "Caption", "MultiLine",
                                  "FontName", "FontSize", "BackColor", "MousePointer"});
  std::string panes;
  for (std::size_t at = 0, end; at < described.size(); at = end + 1) {
    end = described.find('\n', at);
    std::string line = described.substr(at, end - at);
    for (const char* name :
         {"lblCode ", "Tree ", "imgSplitter ", "picSplitter ", "lblSource ", "txtcode "})
      if (line.starts_with(name)) panes += line + "\n";
  }
  EXPECT_EQ(
      panes,
      R"(lblCode Left=75 Top=450 Width=4140 Height=240 Caption=" Code Tree" FontName="MS Sans Serif" FontSize=8.25 BackColor=2147483663 MousePointer=0
Tree Left=75 Top=750 Width=4140 Height=3690 FontName="MS Sans Serif" FontSize=8.25 BackColor=2147483653 MousePointer=0
imgSplitter Left=2295 Top=450 Width=60 Height=4020 FontName="MS Sans Serif" FontSize=8.25 BackColor=2147483663 MousePointer=9
picSplitter Left=4200 Top=450 Width=45 Height=4005 FontName="MS Sans Serif" FontSize=8.25 BackColor=8421504 MousePointer=0 invisible
lblSource Left=4350 Top=450 Width=6315 Height=240 Caption=" Source Code" FontName="MS Sans Serif" FontSize=8.25 BackColor=2147483663 MousePointer=0
txtcode Left=4350 Top=750 Width=6315 Height=3690 MultiLine=True FontName="Courier New" FontSize=9 BackColor=2147483653 MousePointer=0 ScrollBars=3
)");
}

// Delete asks with the browser off the screen, and shows it again whatever the answer.
TEST_F(BrowserTest, DeleteAsksWithTheBrowserHidden) {
  WatchDialog(browser_);
  Click("Subs", "Other");
  platform_.QueueAnswer(vb::vbNo);
  Button(2);
  EXPECT_TRUE(browser_.Visible());
  platform_.QueueAnswer(vb::vbYes);
  Button(2);
  EXPECT_EQ(visibleAtBox_, (std::vector<bool>{false, false}));
  EXPECT_TRUE(browser_.Visible());
  EXPECT_EQ(Names("Subs"), (std::vector<std::string>{"Twin"}));
}

TEST_F(BrowserTest, WritesRefusedByTheStoreAreReportedAndChangeNothing) {
  auto engine = vb::New<RefusingEngine>();
  dao::SetDefaultEngine(engine);
  browser_.Unload();
  browser_.Show();  // the library opened through the refusing engine
  CheckStoreFailures([&](bool on) { engine->refuse = on; }, "3027");
}

TEST_F(BrowserTest, WritesWhileAnotherConnectionHoldsTheLockAreReportedAndChangeNothing) {
  std::unique_ptr<WriteLock> lock;
  CheckStoreFailures([&](bool on) { lock = on ? std::make_unique<WriteLock>(path_) : nullptr; },
                     "3218");
}

TEST_F(BrowserTest, AnItemThatCannotBeReadKeepsTheShownItem) {
  Click("Subs", "Twin");
  browser_.txtcode.UserType("x");
  {
    WriteLock lock(path_, /*exclusive=*/true);
    platform_.QueueAnswer(vb::vbNo);
    Click("Miscellaneous", "Notes");
  }
  EXPECT_EQ(Reports(),
            (std::vector<std::string>{"   Routine Name : Private Sub Tree_NodeClick | 3218"}));
  EXPECT_EQ(browser_.txtcode.Text(), "xfirst");
  EXPECT_EQ(Panels()[0], "Name: Twin");
  EXPECT_EQ(browser_.Tree.SelectedItem()->Text(), "Twin");
  // The typing is still marked as unsaved.
  platform_.QueueAnswer(vb::vbYes);
  Click("Miscellaneous", "Notes");
  EXPECT_EQ(Rows("Subs")[0][1], "xfirst");
  EXPECT_EQ(browser_.txtcode.Text(), "' notes");
}

// A row removed from the file since the tree was filled: the click shows an empty code box and
// leaves the status bar, and Delete still removes the node, each after the no-match message.
TEST_F(BrowserTest, AnItemWhoseRowIsGoneGivesTheNoMatchMessage) {
  Click("Subs", "Twin");
  dao::testing::ExecSql(path_, "DELETE FROM Misc WHERE Name = 'Notes'");
  Click("Miscellaneous", "Notes");
  EXPECT_EQ(browser_.txtcode.Text(), "");
  EXPECT_EQ(Panels()[0], "Name: Twin");
  platform_.QueueAnswer(vb::vbYes);
  Button(2);
  EXPECT_EQ(NodeAt({"Source Code Database", "Miscellaneous"})->Children(), 0);
  ASSERT_EQ(MessageBoxes().size(), 3u);
  for (std::size_t i : {0u, 2u}) {
    EXPECT_EQ(MessageBoxes()[i].Prompt,
              "No Match for Name = 'Notes'\r\n\r\nThis database may need repaired.");
    EXPECT_EQ(MessageBoxes()[i].Title, "SourceBase Database Error");
  }
  EXPECT_TRUE(browser_.Visible());
}

TEST_F(BrowserTest, TreeFillSkipsWhatCannotBeRead) {
  {
    WriteLock lock(path_, /*exclusive=*/true);
    browser_.LoadData();
  }
  EXPECT_EQ(TreeTexts(), (std::vector<std::string>{"Source Code Database", "  Classes", "  Modules",
                                                   "  Subs", "  Functions", "  Miscellaneous"}));
  EXPECT_TRUE(browser_.Tree.Nodes(1).Expanded());
  // A row deleted by someone else since the library was opened is left out; the rest shows.
  dao::testing::ExecSql(path_, "DELETE FROM Subs WHERE Name = 'Twin'");
  browser_.LoadData();
  EXPECT_EQ(TreeTexts(),
            (std::vector<std::string>{"Source Code Database", "  Classes", "  Modules", "  Subs",
                                      "    Other", "  Functions", "  Miscellaneous", "    Notes"}));
  EXPECT_TRUE(MessageBoxes().empty());
}

// Backspace and control keys such as Ctrl+V yield a character too, so they mark the shown
// code as changed (the scenarios type letters, Tab and Enter, and move the caret).
TEST_F(BrowserTest, BackspaceAndControlKeysMarkTheCodeAsChanged) {
  for (const char* key : {"\b", "\x16"}) {
    Click("Subs", "Twin");
    ASSERT_FALSE(CodeChanged);
    browser_.txtcode.SetSelStart(1);
    browser_.txtcode.UserType(key);
    EXPECT_TRUE(CodeChanged) << static_cast<int>(key[0]);
    platform_.QueueAnswer(vb::vbNo);  // clicking Twin again asks
  }
  Click("Subs", "Twin");
  EXPECT_EQ(platform_.PendingAnswers(), 0u);
}

}  // namespace
}  // namespace bw
