#include "services/testing/code_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace bw {
namespace {

using Lines = std::vector<std::string>;

TEST(CodeTextTest, TabsKeptBlanksAndCrLfBreaks) {
  EXPECT_EQ(CodeText(R"(
Sub A()
→x = 1 $
→→s = "$" $
End Sub
)"),
            "Sub A()\r\n\tx = 1 \r\n\t\ts = \"$\" \r\nEnd Sub\r\n");
  EXPECT_EQ(CodeText("no break"), "no break");
  EXPECT_EQ(CodeText("$\n$\n"), "\r\n\r\n");
  EXPECT_EQ(CodeText("\n\nx"), "\r\nx");  // only the first break is layout
  EXPECT_EQ(CodeText("a $"), "a $");      // a "$" ends nothing without a break after it
  EXPECT_EQ(CodeText(""), "");
}

TEST(CodeLinesTest, OneLinePerLineAndTheClosingBreakEndsTheLast) {
  EXPECT_EQ(CodeLines(R"(
Sub A()
→x = 1 $

End Sub
)"),
            (Lines{"Sub A()", "\tx = 1 ", "", "End Sub"}));
  EXPECT_EQ(CodeLines("a\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(CodeLines("a\n\n"), (Lines{"a", ""}));
  EXPECT_EQ(CodeLines("a$\n"), Lines{"a"});
  EXPECT_EQ(CodeLines(""), Lines{""});
  EXPECT_EQ(CodeLines("\n"), Lines{""});
}

}  // namespace
}  // namespace bw
