#include "generators/line_breaks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace bw {
namespace {

std::vector<std::string> Parts(std::string_view text) {
  std::vector<std::string> out;
  for (std::string_view part : SplitAtBreaks(text))
    out.emplace_back(part);
  return out;
}

using Lines = std::vector<std::string>;

TEST(SplitAtBreaksTest, TypedBreaksSeparateParts) {
  EXPECT_EQ(Parts(""), Lines{""});
  EXPECT_EQ(Parts("one"), Lines{"one"});
  EXPECT_EQ(Parts("a\r\nb\r\nc"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(Parts("a\r\n\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(Parts("end\r\n"), (Lines{"end", ""}));
  EXPECT_EQ(Parts("a\nb"), Lines{"a\nb"});
}

TEST(SplitAtBreaksTest, OneWholeCharacterAfterEachCrIsDropped) {
  EXPECT_EQ(Parts("a\rXb"), (Lines{"a", "b"}));
  EXPECT_EQ(Parts("a\r€b"), (Lines{"a", "b"}));
  EXPECT_EQ(Parts("a\r"), (Lines{"a", ""}));
}

}  // namespace
}  // namespace bw
