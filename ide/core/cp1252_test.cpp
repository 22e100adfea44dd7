#include "ide/core/cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace ide {
namespace {

std::string AllBytes() {
  std::string bytes;
  for (int b = 0; b < 256; ++b)
    bytes += static_cast<char>(b);
  return bytes;
}

TEST(Cp1252Test, EveryByteStringComesBackUnchanged) {
  std::string bytes = AllBytes();
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(bytes)), bytes);
  std::string reversed(bytes.rbegin(), bytes.rend());
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(reversed)), reversed);
}

TEST(Cp1252Test, HighControlRangeFollowsTheCodePageTable) {
  std::string bytes;
  for (int b = 0x80; b <= 0x9F; ++b)
    bytes += static_cast<char>(b);
  // The undefined bytes 81, 8D, 8F, 90 and 9D stand for the C1 controls of the same value.
  EXPECT_EQ(Cp1252ToUtf8(bytes),
            "€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F"
            "\u0090‘’“”•–—˜™š›œ\u009DžŸ");
}

TEST(Cp1252Test, AsciiAndLatin1AreTheirOwnCodePoints) {
  EXPECT_EQ(Cp1252ToUtf8("MsgBox \"Caf\xE9 \xA0\xFF\xA9\", vbOKOnly\r\n"),
            "MsgBox \"Café \u00A0ÿ©\", vbOKOnly\r\n");
  EXPECT_EQ(Utf8ToCp1252("Résumé – 5 €, naïve, Ÿ"), "R\xE9sum\xE9 \x96 5 \x80, na\xEFve, \x9F");
  EXPECT_EQ(Cp1252ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(Cp1252ToUtf8(""), "");
  EXPECT_EQ(Utf8ToCp1252(""), "");
}

TEST(Cp1252Test, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  // Greek, CJK, an emoji (four bytes), and C1 controls the table replaces (U+0080, U+009F).
  EXPECT_EQ(Utf8ToCp1252("x = \"Ωλ中😀\u0080\u009F\" ' é"), "x = \"??????\" ' \xE9");
}

TEST(Cp1252Test, EachByteOfMalformedUtf8BecomesAQuestionMark) {
  EXPECT_EQ(Utf8ToCp1252("a\x80z"), "a?z");             // stray continuation byte
  EXPECT_EQ(Utf8ToCp1252("a\xE2\x82"), "a??");          // truncated euro sign at the end
  EXPECT_EQ(Utf8ToCp1252("a\xE2\x82z"), "a??z");        // truncated, text goes on
  EXPECT_EQ(Utf8ToCp1252("\xC0\xAF\xC1\xBF"), "????");  // overlong two-byte forms
  EXPECT_EQ(Utf8ToCp1252("\xE0\x80\xAF"), "???");       // overlong three-byte form
  EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "???");       // surrogate U+D800
  EXPECT_EQ(Utf8ToCp1252("\xF4\x90\x80\x80"), "????");  // above U+10FFFF
  EXPECT_EQ(Utf8ToCp1252("\xFE\xFF"), "??");            // never valid
  EXPECT_EQ(Utf8ToCp1252("\xC3\xA9\xC3"), "\xE9?");     // good character, then a cut one
}

}  // namespace
}  // namespace ide
