#include "runtime/vb/strings.h"

#include <gtest/gtest.h>

#include <functional>

#include "runtime/vb/error.h"

namespace vb {
namespace {

// The run-time error number `f` raises, 0 when it returns normally.
long ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.Number;
  }
  return 0;
}

// "Größe": five characters in seven bytes; "😀" is one character in four bytes.
constexpr std::string_view kGrosse =
    "Gr\xC3\xB6\xC3\x9F"
    "e";

TEST(StringsTest, LenCountsCharactersNotBytes) {
  EXPECT_EQ(Len(""), 0);
  EXPECT_EQ(Len("abc"), 3);
  EXPECT_EQ(Len(kGrosse), 5);
  EXPECT_EQ(Len("日本語"), 3);
  EXPECT_EQ(Len("a😀b"), 3);
  EXPECT_EQ(Len("\r\n"), 2);
}

TEST(StringsTest, LeftAndRightCutAtCharacterBoundaries) {
  EXPECT_EQ(Left(kGrosse, 3), "Grö");
  EXPECT_EQ(Left(kGrosse, 0), "");
  EXPECT_EQ(Left(kGrosse, 99), "Größe");
  EXPECT_EQ(Right(kGrosse, 3), "öße");
  EXPECT_EQ(Right(kGrosse, 0), "");
  EXPECT_EQ(Right(kGrosse, 5), "Größe");
  EXPECT_EQ(Right(kGrosse, 99), "Größe");
  EXPECT_EQ(Left("a😀b", 2), "a😀");
  EXPECT_EQ(Right("a😀b", 2), "😀b");
  EXPECT_EQ(Left("", 3), "");
  EXPECT_EQ(Right("", 3), "");
}

TEST(StringsTest, MidTakesCharactersFromAOneBasedStart) {
  EXPECT_EQ(Mid(kGrosse, 3, 2), "öß");
  EXPECT_EQ(Mid(kGrosse, 3), "öße");
  EXPECT_EQ(Mid(kGrosse, 1), "Größe");
  EXPECT_EQ(Mid(kGrosse, 5, 10), "e");
  EXPECT_EQ(Mid(kGrosse, 6), "");
  EXPECT_EQ(Mid(kGrosse, 40, 2), "");
  EXPECT_EQ(Mid(kGrosse, 2, 0), "");
  EXPECT_EQ(Mid("a😀b", 2, 1), "😀");
  EXPECT_EQ(Mid("abc", 2, kToEnd), "bc");
}

TEST(StringsTest, InStrGivesCharacterPositions) {
  EXPECT_EQ(InStr(kGrosse, "ß"), 4);
  EXPECT_EQ(InStr(kGrosse, "e"), 5);
  EXPECT_EQ(InStr(kGrosse, "x"), 0);
  EXPECT_EQ(InStr("a😀b😀c", "😀c"), 4);
  // a1 ö2 a3 ö4 a5: the search starts at the given character.
  EXPECT_EQ(InStr(1, "aöaöa", "ö"), 2);
  EXPECT_EQ(InStr(3, "aöaöa", "ö"), 4);
  EXPECT_EQ(InStr(5, "aöaöa", "ö"), 0);
  EXPECT_EQ(InStr(9, "aöaöa", "a"), 0);
  // Comparison is binary.
  EXPECT_EQ(InStr("Hello", "hello"), 0);
  EXPECT_EQ(InStr("Hello", "llo"), 3);
}

TEST(StringsTest, InStrOfEmptyTextFindsTheStart) {
  EXPECT_EQ(InStr("abc", ""), 1);
  EXPECT_EQ(InStr(2, "abc", ""), 2);
  EXPECT_EQ(InStr(4, "abc", ""), 4);
  EXPECT_EQ(InStr(5, "abc", ""), 0);
}

TEST(StringsTest, ArgumentsVbRejectsRaiseError5) {
  EXPECT_EQ(ErrorOf([] { Left("abc", -1); }), kInvalidProcedureCall);
  EXPECT_EQ(ErrorOf([] { Right("abc", -1); }), kInvalidProcedureCall);
  EXPECT_EQ(ErrorOf([] { Mid("abc", 0); }), kInvalidProcedureCall);
  EXPECT_EQ(ErrorOf([] { Mid("abc", -3, 1); }), kInvalidProcedureCall);
  EXPECT_EQ(ErrorOf([] { Mid("abc", 1, -2); }), kInvalidProcedureCall);
  EXPECT_EQ(ErrorOf([] { InStr(0, "abc", "a"); }), kInvalidProcedureCall);
  EXPECT_EQ(ErrorOf([] { Space(-1); }), kInvalidProcedureCall);
  EXPECT_EQ(ErrorOf([] { Chr(-1); }), kInvalidProcedureCall);
  EXPECT_EQ(ErrorOf([] { Chr(0x110000); }), kInvalidProcedureCall);
  try {
    Left("abc", -1);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.Description, "Invalid procedure call or argument");
  }
}

TEST(StringsTest, TrimmingRemovesBlanksOnlyNotTabsOrLineBreaks) {
  const std::string text = "  \tword one\t \r\n  ";
  EXPECT_EQ(LTrim(text), "\tword one\t \r\n  ");
  EXPECT_EQ(RTrim(text), "  \tword one\t \r\n");
  EXPECT_EQ(Trim(text), "\tword one\t \r\n");
  EXPECT_EQ(Trim("  a b  "), "a b");
  EXPECT_EQ(Trim("    "), "");
  EXPECT_EQ(LTrim("   "), "");
  EXPECT_EQ(RTrim("   "), "");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(Trim(" Größe "), "Größe");
}

TEST(StringsTest, SpaceMakesBlanks) {
  EXPECT_EQ(Space(0), "");
  EXPECT_EQ(Space(4), "    ");
}

TEST(StringsTest, ChrEncodesTheCodeAsUtf8) {
  EXPECT_EQ(Chr(65), "A");
  EXPECT_EQ(Chr(0), std::string(1, '\0'));
  EXPECT_EQ(Chr(9), vbTab);
  EXPECT_EQ(Chr(13) + Chr(10), vbCrLf);
  EXPECT_EQ(Chr(34), "\"");
  EXPECT_EQ(Chr(0xE9), "é");
  EXPECT_EQ(Chr(0x20AC), "€");
  EXPECT_EQ(Chr(0x1F600), "😀");
  EXPECT_EQ(Len(Chr(0x1F600)), 1);
}

TEST(StringsTest, CaseConversionOfAsciiLetters) {
  EXPECT_EQ(UCase("abc XYZ 123 _!"), "ABC XYZ 123 _!");
  EXPECT_EQ(LCase("abc XYZ 123 _!"), "abc xyz 123 _!");
}

TEST(StringsTest, CaseConversionOfAccentedLetters) {
  EXPECT_EQ(UCase("àéöñ çœšž ÿ"), "ÀÉÖÑ ÇŒŠŽ Ÿ");
  EXPECT_EQ(LCase("ÀÉÖÑ ÇŒŠŽ Ÿ"), "àéöñ çœšž ÿ");
  // Characters without a case stay as they are.
  EXPECT_EQ(UCase("ß × ÷ 日本"), "ß × ÷ 日本");
}

TEST(StringsTest, Utf8OffsetMapsCharacterIndexToByteOffset) {
  EXPECT_EQ(Utf8Offset(kGrosse, 0), 0u);
  EXPECT_EQ(Utf8Offset(kGrosse, 3), 4u);
  EXPECT_EQ(Utf8Offset(kGrosse, 4), 6u);
  EXPECT_EQ(Utf8Offset(kGrosse, 5), kGrosse.size());
  EXPECT_EQ(Utf8Offset(kGrosse, 50), kGrosse.size());
}

}  // namespace
}  // namespace vb
