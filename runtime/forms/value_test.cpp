#include "runtime/forms/value.h"

#include <gtest/gtest.h>

#include <functional>

#include "runtime/vb/error.h"

namespace forms {
namespace {

long ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const vb::Error& e) {
    return e.Number;
  }
  return 0;
}

TEST(FormatValueTest, EachKindAsTranscriptsPrintIt) {
  EXPECT_EQ(FormatValue(true), "True");
  EXPECT_EQ(FormatValue(false), "False");
  EXPECT_EQ(FormatValue(42L), "42");
  EXPECT_EQ(FormatValue(-1L), "-1");
  EXPECT_EQ(FormatValue(10230.0), "10230");
  EXPECT_EQ(FormatValue(4087.5), "4087.5");
  EXPECT_EQ(FormatValue(-3.0), "-3");
  EXPECT_EQ(FormatValue(std::string("Hello")), R"("Hello")");
  EXPECT_EQ(FormatValue(std::string("a\r\n\"b\"\t\\")), R"("a\r\n\"b\"\t\\")");
  EXPECT_EQ(FormatValue(std::string()), R"("")");
}

TEST(FormatNumberTest, WholeNumbersWithoutFraction) {
  EXPECT_EQ(FormatNumber(0), "0");
  EXPECT_EQ(FormatNumber(6825), "6825");
  EXPECT_EQ(FormatNumber(-7935), "-7935");
  EXPECT_EQ(FormatNumber(0.25), "0.25");
  EXPECT_EQ(FormatNumber(2295.75), "2295.75");
  EXPECT_EQ(FormatNumber(123456789012.0), "123456789012");
}

TEST(ParseValueLikeTest, TextStaysText) {
  EXPECT_EQ(ParseValueLike(std::string("old"), " 12 "), PropertyValue(std::string(" 12 ")));
  EXPECT_EQ(ParseValueLike(std::string(), "True"), PropertyValue(std::string("True")));
}

TEST(ParseValueLikeTest, BooleansInAnyCaseOrAsNumbers) {
  for (const char* t : {"True", "true", "TRUE", "tRuE", " True ", "-1", "1", "2.5"})
    EXPECT_EQ(ParseValueLike(false, t), PropertyValue(true)) << t;
  for (const char* t : {"False", "false", "FALSE", "0", " 0 "})
    EXPECT_EQ(ParseValueLike(true, t), PropertyValue(false)) << t;
  for (const char* t : {"yes", "", "Truth", "T"})
    EXPECT_EQ(ErrorOf([t] { ParseValueLike(true, t); }), vb::kTypeMismatch) << t;
}

TEST(ParseValueLikeTest, NumbersKeepTheirKind) {
  EXPECT_EQ(ParseValueLike(0L, "12"), PropertyValue(12L));
  EXPECT_EQ(ParseValueLike(0L, "-3"), PropertyValue(-3L));
  EXPECT_EQ(ParseValueLike(0L, "2.5"), PropertyValue(2L));
  EXPECT_EQ(ParseValueLike(0L, "3.5"), PropertyValue(4L));
  EXPECT_EQ(ParseValueLike(0.0, "4087.5"), PropertyValue(4087.5));
  EXPECT_EQ(ParseValueLike(0.0, " 10230 "), PropertyValue(10230.0));
  EXPECT_EQ(ParseValueLike(0.0, "1e3"), PropertyValue(1000.0));
  EXPECT_EQ(ParseValueLike(0.0, ".5"), PropertyValue(0.5));
}

TEST(ParseValueLikeTest, TextThatIsNotANumberIsATypeMismatch) {
  for (const char* t : {"", "   ", "abc", "12abc", "1 2", "True", "inf", "nan", "1e999"}) {
    EXPECT_EQ(ErrorOf([t] { ParseValueLike(0L, t); }), vb::kTypeMismatch) << t;
    EXPECT_EQ(ErrorOf([t] { ParseValueLike(0.0, t); }), vb::kTypeMismatch) << t;
  }
  try {
    ParseValueLike(0L, "abc");
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Description, "Type mismatch");
  }
}

TEST(ParseValueLikeTest, HexadecimalCNotationIsNoNumber) {
  EXPECT_EQ(ErrorOf([] { ParseValueLike(0L, "0x10"); }), vb::kTypeMismatch);
  EXPECT_EQ(ErrorOf([] { AsDouble(std::string("0x1A")); }), vb::kTypeMismatch);
  EXPECT_EQ(ErrorOf([] { AsBool(std::string("0x0")); }), vb::kTypeMismatch);
}

TEST(AsConversionsTest, BooleansAreMinusOneAndZero) {
  EXPECT_EQ(AsLong(true), -1);
  EXPECT_EQ(AsLong(false), 0);
  EXPECT_EQ(AsDouble(true), -1.0);
  EXPECT_EQ(AsText(true), "True");
  EXPECT_EQ(AsText(false), "False");
  EXPECT_TRUE(AsBool(-1L));
  EXPECT_TRUE(AsBool(7L));
  EXPECT_TRUE(AsBool(0.5));
  EXPECT_FALSE(AsBool(0L));
  EXPECT_FALSE(AsBool(0.0));
}

TEST(AsConversionsTest, NumbersBetweenKinds) {
  EXPECT_EQ(AsLong(2.5), 2);
  EXPECT_EQ(AsLong(3.5), 4);
  EXPECT_EQ(AsLong(-2.5), -2);
  EXPECT_EQ(AsDouble(12L), 12.0);
  EXPECT_EQ(AsText(12L), "12");
  EXPECT_EQ(AsText(4087.5), "4087.5");
  EXPECT_EQ(AsText(std::string("as is")), "as is");
}

TEST(AsConversionsTest, TextConvertsWhenItIsANumberOrABoolean) {
  EXPECT_EQ(AsLong(std::string(" 12 ")), 12);
  EXPECT_EQ(AsLong(std::string("2.5")), 2);
  EXPECT_EQ(AsDouble(std::string("-3.25")), -3.25);
  EXPECT_TRUE(AsBool(std::string("true")));
  EXPECT_FALSE(AsBool(std::string("FALSE")));
  EXPECT_TRUE(AsBool(std::string("-1")));
  EXPECT_EQ(ErrorOf([] { AsLong(std::string("abc")); }), vb::kTypeMismatch);
  EXPECT_EQ(ErrorOf([] { AsDouble(std::string("")); }), vb::kTypeMismatch);
  EXPECT_EQ(ErrorOf([] { AsBool(std::string("maybe")); }), vb::kTypeMismatch);
  EXPECT_EQ(ErrorOf([] { AsBool(std::string("")); }), vb::kTypeMismatch);
}

}  // namespace
}  // namespace forms
