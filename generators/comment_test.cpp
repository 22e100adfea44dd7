#include "generators/comment.h"

#include <gtest/gtest.h>

#include "host/memory_ide.h"

namespace bw {
namespace {

TEST(CommentLineTest, PutsTheMarkInFrontOfAnyLine) {
  EXPECT_EQ(CommentLine(""), "'");
  EXPECT_EQ(CommentLine("'x"), "''x");
  EXPECT_EQ(CommentLine("    x = 1"), "'    x = 1");
}

TEST(UncommentLineTest, DropsEverythingUpToTheFirstMark) {
  EXPECT_EQ(UncommentLine("'x = 1"), "x = 1");
  EXPECT_EQ(UncommentLine("''x"), "'x");
  EXPECT_EQ(UncommentLine("    ' note"), " note");
  EXPECT_EQ(UncommentLine("\t'note"), "note");
  EXPECT_EQ(UncommentLine("'"), "");
}

TEST(UncommentLineTest, LeavesLinesWithCodeBeforeTheMarkOrWithoutMark) {
  EXPECT_EQ(UncommentLine("x = 1 ' trailing"), "x = 1 ' trailing");
  EXPECT_EQ(UncommentLine("s = \"it's\""), "s = \"it's\"");
  EXPECT_EQ(UncommentLine("x = 1"), "x = 1");
  EXPECT_EQ(UncommentLine(""), "");
}

TEST(UncommentLineTest, RestoresEveryCommentedLine) {
  for (std::string line : {"", "'", "''x", "    x = 1", "\tMsgBox \"a'b\"", "y = 2 ' c", " "})
    EXPECT_EQ(UncommentLine(CommentLine(line)), line) << line;
}

class TransformSelectedLinesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = vbe_->AddModule("Module1", vbide::SplitCrLf("a\r\nb\r\nc\r\nd\r\ne\r\nf"));
    vbe_->Activate("Module1");
  }
  void Select(long sl, long sc, long el, long ec) {
    vbe_->ActiveCodePane()->SetSelection({sl, sc, el, ec});
  }
  std::shared_ptr<vbide::MemoryVbe> vbe_ = vbide::MemoryVbe::Create();
  vb::Object<vbide::VBE> vbInst_{vbe_};
  std::shared_ptr<vbide::MemoryCodeModule> module_;
};

TEST_F(TransformSelectedLinesTest, ChangesStartLineUpToTheLineBeforeTheEndLine) {
  Select(3, 1, 6, 1);
  TransformSelectedLines(vbInst_, CommentLine);
  EXPECT_EQ(module_->AllLines(), vbide::SplitCrLf("a\r\nb\r\n'c\r\n'd\r\n'e\r\nf"));
  Select(3, 4, 6, 2);  // from mid line 3 to mid line 6: line 6 stays
  TransformSelectedLines(vbInst_, UncommentLine);
  EXPECT_EQ(module_->AllLines(), vbide::SplitCrLf("a\r\nb\r\nc\r\nd\r\ne\r\nf"));
}

TEST_F(TransformSelectedLinesTest, CaretOrOneLineSelectionChangesNothing) {
  Select(2, 1, 2, 1);
  TransformSelectedLines(vbInst_, CommentLine);
  Select(2, 1, 2, 2);
  TransformSelectedLines(vbInst_, CommentLine);
  EXPECT_EQ(module_->AllLines(), vbide::SplitCrLf("a\r\nb\r\nc\r\nd\r\ne\r\nf"));
}

TEST_F(TransformSelectedLinesTest, NoActivePaneRaises91) {
  vbe_->Deactivate();
  try {
    TransformSelectedLines(vbInst_, CommentLine);
    FAIL() << "no error";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number, 91);
  }
}

TEST_F(TransformSelectedLinesTest, StopsAtTheFailingLineKeepingEarlierChanges) {
  Select(5, 1, 9, 1);  // lines 7 and 8 do not exist
  EXPECT_THROW(TransformSelectedLines(vbInst_, CommentLine), vb::Error);
  EXPECT_EQ(module_->AllLines(), vbide::SplitCrLf("a\r\nb\r\nc\r\nd\r\n'e\r\n'f"));
}

}  // namespace
}  // namespace bw
