#include "runtime/vb/numbers.h"

#include <gtest/gtest.h>

#include <cmath>

#include "runtime/vb/error.h"

namespace vb {
namespace {

TEST(StrTest, NonNegativeValuesGetALeadingBlank) {
  EXPECT_EQ(Str(10230.0f), " 10230");
  EXPECT_EQ(Str(4087.5f), " 4087.5");
  EXPECT_EQ(Str(0.0f), " 0");
  EXPECT_EQ(Str(6825.0f), " 6825");
  EXPECT_EQ(Str(1234567.0f), " 1234567");
}

TEST(StrTest, NegativeValuesStartWithTheSign) {
  EXPECT_EQ(Str(-3.0f), "-3");
  EXPECT_EQ(Str(-4087.5f), "-4087.5");
  EXPECT_EQ(Str(-0.25f), "-.25");
}

TEST(StrTest, FractionsBelowOneHaveNoLeadingZero) {
  EXPECT_EQ(Str(0.5f), " .5");
  EXPECT_EQ(Str(0.1f), " .1");
  EXPECT_EQ(Str(0.125f), " .125");
  EXPECT_EQ(Str(1.0f / 3.0f), " .3333333");
}

TEST(StrTest, SevenSignificantDigitsAndExponentFormForLargeAndTinyValues) {
  EXPECT_EQ(Str(12345678.0f), " 1.234568E+07");
  EXPECT_EQ(Str(10000000.0f), " 1E+07");
  EXPECT_EQ(Str(-12345678.0f), "-1.234568E+07");
  EXPECT_EQ(Str(1.5e-5f), " 1.5E-05");
  EXPECT_EQ(Str(123456.7f), " 123456.7");
}

TEST(ValTest, ReadsTheLongestNumberPrefixAfterLeadingBlanks) {
  EXPECT_EQ(Val("  12000"), 12000);
  EXPECT_EQ(Val(" 4087.5"), 4087.5);
  EXPECT_EQ(Val("10230"), 10230);
  EXPECT_EQ(Val("12abc"), 12);
  EXPECT_EQ(Val("-3.5"), -3.5);
  EXPECT_EQ(Val(".5"), 0.5);
  EXPECT_EQ(Val("-.5"), -0.5);
  EXPECT_EQ(Val("+4"), 4);
  EXPECT_EQ(Val("1.5.3"), 1.5);
  EXPECT_EQ(Val("2."), 2);
  EXPECT_EQ(Val("7 8"), 7);
}

TEST(ValTest, ExponentOnlyWhenDigitsFollow) {
  EXPECT_EQ(Val("1e3"), 1000);
  EXPECT_EQ(Val("1E+3x"), 1000);
  EXPECT_DOUBLE_EQ(Val("25E-2"), 0.25);
  EXPECT_EQ(Val("1e"), 1);
  EXPECT_EQ(Val("1e+"), 1);
  EXPECT_EQ(Val("1ex"), 1);
}

TEST(ValTest, TextWithoutANumberReadsAsZero) {
  EXPECT_EQ(Val(""), 0);
  EXPECT_EQ(Val("abc"), 0);
  EXPECT_EQ(Val("   "), 0);
  EXPECT_EQ(Val("-"), 0);
  EXPECT_EQ(Val("."), 0);
  EXPECT_EQ(Val("+.e5"), 0);
  EXPECT_EQ(Val("- 5"), 0);
  EXPECT_EQ(Val("e5"), 0);
}

TEST(ValTest, ReadsBackWhatStrWrote) {
  for (float v : {10230.0f, 4087.5f, -3.0f, 0.5f, 0.0f, -0.25f, 1234567.0f})
    EXPECT_EQ(static_cast<float>(Val(Str(v))), v) << Str(v);
}

TEST(RoundHalfEvenTest, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(-3.5), -4);
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(682.5), 682);
  EXPECT_EQ(RoundHalfEven(272.5), 272);
}

TEST(RoundHalfEvenTest, OtherValuesGoToTheNearest) {
  EXPECT_EQ(RoundHalfEven(2.4), 2);
  EXPECT_EQ(RoundHalfEven(2.6), 3);
  EXPECT_EQ(RoundHalfEven(-2.6), -3);
  EXPECT_EQ(RoundHalfEven(-0.4), 0);
  EXPECT_EQ(RoundHalfEven(10237.0 / 15), 682);
  EXPECT_EQ(RoundHalfEven(4088.0 / 15), 273);
}

TEST(RoundHalfEvenTest, ValuesBeyondALongRaiseOverflow) {
  for (double v : {1e300, -1e300, 1e19, std::nan("")}) {
    try {
      RoundHalfEven(v);
      ADD_FAILURE() << "no error for " << v;
    } catch (const Error& e) {
      EXPECT_EQ(e.Number, 6);
      EXPECT_EQ(e.Description, "Overflow");
    }
  }
}

TEST(RoundHalfEvenTest, SystemColourValuesPass) {
  // Colours such as &H80000012 are kept as positive longs and are converted through here.
  EXPECT_EQ(RoundHalfEven(2147483666.0), 2147483666L);
  EXPECT_EQ(RoundHalfEven(-2147483648.0), -2147483648L);
}

}  // namespace
}  // namespace vb
