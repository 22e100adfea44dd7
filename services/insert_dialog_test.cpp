#include "services/insert_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/forms/forms.h"
#include "services/testing/addin_test.h"
#include "services/testing/code_text.h"

namespace bw {
namespace {

const RoutineErrorTexts kTexts = {"   Routine Name : Private Sub cmdOK_Click",
                                  "Be in a code window.", "Error: X", ""};

// An insert dialog that records where it stood when its own load steps ran.
class frmTest : public InsertDialog {
 public:
  frmTest() : InsertDialog("frmTest") {}
  forms::CommandButton cmdCancel{this, "cmdCancel"};
  void Form_Load() override { leftAtLoad = Left(); }
  void Insert(const std::string& text, long failWith = 0) {
    RunReported(kTexts, [&] {
      if (failWith) throw vb::RuntimeError(failWith);
      InsertAndUnload(text);
    });
  }
  double leftAtLoad = -1;

 protected:
  void InitializeComponent() override { SetWidth(3000), SetHeight(2000); }
};

class InsertDialogTest : public AddinTest {
 protected:
  void SetUp() override {
    AddinTest::SetUp();
    WatchDialog(dialog_);
    UseModule("a\nb\nc\n");
  }
  frmTest dialog_;
};

TEST_F(InsertDialogTest, LoadCentresAndKeepsOnTopBeforeTheDialogsOwnSteps) {
  platform_.SetScreen(12000, 9000);
  dialog_.Show();
  EXPECT_EQ(dialog_.leftAtLoad, 4500);
  EXPECT_EQ(dialog_.Top(), 3500);
  auto pos = platform_.LastSetWindowPos(dialog_.hWnd());
  ASSERT_TRUE(pos);
  EXPECT_EQ((std::vector<long>{pos->InsertAfter, pos->X, pos->Y, pos->Cx, pos->Cy, pos->Flags}),
            (std::vector<long>{-1, 300, 233, 200, 133, 0x50}));
  EXPECT_TRUE(dialog_.Visible());
}

TEST_F(InsertDialogTest, CancelUnloadsAndInsertGoesBeforeTheSelectionStartReadThen) {
  dialog_.Show();
  dialog_.cmdCancel.UserClick();
  EXPECT_FALSE(dialog_.IsLoaded());
  dialog_.Show();
  Select(2, 2, 3, 1);
  dialog_.Insert("x\r\n");
  EXPECT_EQ(ModuleLines(), CodeLines("a\nx\n\nb\nc\n"));
  EXPECT_FALSE(dialog_.IsLoaded());
  EXPECT_TRUE(MessageBoxes().empty());
}

TEST_F(InsertDialogTest, FailuresHideReportAndUnload) {
  struct Case {
    bool noPane;
    long failWith;
    const char* title;
  };
  for (const Case& c : {Case{true, 0, "Error: X"}, Case{false, 5, "CRITICAL ERROR"}}) {
    SCOPED_TRACE(c.title);
    if (c.noPane) vbe_->Deactivate();
    dialog_.Show();
    dialog_.Insert("x", c.failWith);
    EXPECT_EQ(MessageBoxes().back().Title, c.title);
    EXPECT_EQ(visibleAtBox_.back(), false);
    EXPECT_FALSE(dialog_.IsLoaded());
    vbe_->Activate("Module1");
  }
  EXPECT_EQ(MessageBoxes().size(), 2u);
  EXPECT_NE(MessageBoxes()[1].Prompt.find("   Routine Name : Private Sub cmdOK_Click"),
            std::string::npos);
  EXPECT_EQ(ModuleLines(), CodeLines("a\nb\nc\n"));
}

}  // namespace
}  // namespace bw
