#include "generators/comment.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace bw
