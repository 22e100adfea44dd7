#include "host/db/text_compare.h"

#include <gtest/gtest.h>

namespace dao {
namespace {

TEST(TextCompareTest, IgnoresCaseOfAsciiAndEuropeanLetters) {
  EXPECT_TRUE(EqualsNoCase("GetWindowText", "getwindowtext"));
  EXPECT_TRUE(EqualsNoCase("ÉCOLE Ÿ Œuvre ŠKODA", "école ÿ œuvre škoda"));
  EXPECT_TRUE(EqualsNoCase("ΑΘΗΝΑ ΣΟΦΟΣ", "αθηνα σοφος"));
  EXPECT_TRUE(EqualsNoCase("МОСКВА ЁЖ", "москва ёж"));
  EXPECT_TRUE(EqualsNoCase("ĲĿŁŃ", "ĳŀłń"));
}

TEST(TextCompareTest, KeepsOtherDifferences) {
  EXPECT_FALSE(EqualsNoCase("e", "é"));
  EXPECT_FALSE(EqualsNoCase("Foo", "Foo "));
  EXPECT_FALSE(EqualsNoCase("ß", "ss"));
  EXPECT_FALSE(EqualsNoCase("×", "÷"));  // not letters: U+00D7 and U+00F7 stay apart
}

TEST(TextCompareTest, OrdersByFoldedCharacters) {
  EXPECT_LT(CompareNoCase("apple", "Banana"), 0);
  EXPECT_GT(CompareNoCase("b", "A"), 0);
  EXPECT_LT(CompareNoCase("abc", "ABCD"), 0);
  EXPECT_LT(CompareNoCase("z", "é"), 0);
  EXPECT_EQ(CompareNoCase("", ""), 0);
}

TEST(TextCompareTest, InvalidBytesCompareAsThemselvesAfterEveryCharacter) {
  std::string bad1 = "a\xC3";  // cut short
  std::string bad2 = "a\xFF";
  EXPECT_NE(CompareNoCase(bad1, bad2), 0);
  EXPECT_EQ(CompareNoCase(bad1, "A\xC3"), 0);
  EXPECT_GT(CompareNoCase(bad1, "a\xF4\x8F\xBF\xBF"), 0);         // U+10FFFF
  EXPECT_NE(CompareNoCase("\xC0\x80", std::string("\0", 1)), 0);  // overlong NUL
  EXPECT_GT(CompareNoCase("\xED\xA0\x80", "\xEF\xBF\xBF"), 0);    // surrogate vs U+FFFF
}

TEST(FoldCaseTest, MapsCapitalsOnly) {
  EXPECT_EQ(FoldCase(U'A'), U'a');
  EXPECT_EQ(FoldCase(U'a'), U'a');
  EXPECT_EQ(FoldCase(U'À'), U'à');
  EXPECT_EQ(FoldCase(U'Ÿ'), U'ÿ');
  EXPECT_EQ(FoldCase(U'Ά'), U'ά');
  EXPECT_EQ(FoldCase(U'Ώ'), U'ώ');
  EXPECT_EQ(FoldCase(U'ς'), U'σ');
  EXPECT_EQ(FoldCase(U'Ѐ'), U'ѐ');
  EXPECT_EQ(FoldCase(U'İ'), U'İ');
  EXPECT_EQ(FoldCase(U'漢'), U'漢');
}

}  // namespace
}  // namespace dao
