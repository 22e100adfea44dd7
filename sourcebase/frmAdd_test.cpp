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

}  // namespace
}  // namespace bw
