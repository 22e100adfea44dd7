#include "runtime/vb/dates.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

const DateLocale& German() {
  static const DateLocale kGerman = {
      {"Januar", "Februar", "März", "April", "Mai", "Juni", "Juli", "August", "September",
       "Oktober", "November", "Dezember"},
      {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"},
      "."};
  return kGerman;
}

TEST(FormatDateTest, TokensWithTheEnglishLocale) {
  const DateLocale& en = DateLocale::English();
  EXPECT_EQ(FormatDate({1999, 1, 24}, "ddmmmyy", en), "24Jan99");
  EXPECT_EQ(FormatDate({2026, 3, 7}, "mm/d/yyyy", en), "03/7/2026");
  EXPECT_EQ(FormatDate({2026, 3, 7}, "dd/mm/yy", en), "07/03/26");
  EXPECT_EQ(FormatDate({2026, 3, 7}, "d/m/yyyy", en), "7/3/2026");
  EXPECT_EQ(FormatDate({2026, 3, 7}, "mmmm d, yyyy", en), "March 7, 2026");
  EXPECT_EQ(FormatDate({2001, 12, 31}, "ddmmmyy", en), "31Dec01");
  EXPECT_EQ(FormatDate({2000, 9, 5}, "dd mmm yyyy", en), "05 Sep 2000");
}

TEST(FormatDateTest, OtherCharactersAreCopied) {
  EXPECT_EQ(FormatDate({2026, 3, 7}, "yyyy-mm-dd", DateLocale::English()), "2026-03-07");
  EXPECT_EQ(FormatDate({2026, 3, 7}, "[d] (mmm)", DateLocale::English()), "[7] (Mar)");
  EXPECT_EQ(FormatDate({2026, 3, 7}, "", DateLocale::English()), "");
}

TEST(FormatDateTest, NamesAndSeparatorComeFromTheLocale) {
  EXPECT_EQ(FormatDate({2026, 3, 7}, "mm/d/yyyy", German()), "03.7.2026");
  EXPECT_EQ(FormatDate({1999, 3, 24}, "ddmmmyy", German()), "24Mär99");
  EXPECT_EQ(FormatDate({2026, 3, 7}, "d. mmmm yyyy", German()), "7. März 2026");
  // Only "/" is the date separator; other punctuation is copied as written.
  EXPECT_EQ(FormatDate({2026, 3, 7}, "yyyy-mm-dd", German()), "2026-03-07");
}

TEST(ParseIsoDateTest, AcceptsRealCalendarDates) {
  Date d;
  ASSERT_TRUE(ParseIsoDate("2026-03-07", &d));
  EXPECT_EQ(d, (Date{2026, 3, 7}));
  ASSERT_TRUE(ParseIsoDate("2024-02-29", &d));
  EXPECT_EQ(d, (Date{2024, 2, 29}));
  ASSERT_TRUE(ParseIsoDate("2000-02-29", &d));
  EXPECT_EQ(d, (Date{2000, 2, 29}));
  ASSERT_TRUE(ParseIsoDate("1999-12-31", &d));
  EXPECT_EQ(d, (Date{1999, 12, 31}));
}

TEST(ParseIsoDateTest, RejectsImpossibleDates) {
  Date d;
  EXPECT_FALSE(ParseIsoDate("2026-02-29", &d));
  EXPECT_FALSE(ParseIsoDate("1900-02-29", &d));
  EXPECT_FALSE(ParseIsoDate("2026-04-31", &d));
  EXPECT_FALSE(ParseIsoDate("2026-13-01", &d));
  EXPECT_FALSE(ParseIsoDate("2026-00-10", &d));
  EXPECT_FALSE(ParseIsoDate("2026-01-00", &d));
}

TEST(ParseIsoDateTest, RejectsOtherShapes) {
  Date d;
  EXPECT_FALSE(ParseIsoDate("", &d));
  EXPECT_FALSE(ParseIsoDate("2026-3-7", &d));
  EXPECT_FALSE(ParseIsoDate("2026-03-07x", &d));
  EXPECT_FALSE(ParseIsoDate("2026-03-07 ", &d));
  EXPECT_FALSE(ParseIsoDate("2026/03/07", &d));
  EXPECT_FALSE(ParseIsoDate("07-03-2026", &d));
  EXPECT_FALSE(ParseIsoDate("today", &d));
}

TEST(ParseIsoDateTest, RejectsSignsAndBlanksInsideFields) {
  Date d;
  EXPECT_FALSE(ParseIsoDate("2026-+3-07", &d));
  EXPECT_FALSE(ParseIsoDate("2026- 3-07", &d));
  EXPECT_FALSE(ParseIsoDate("2026-03- 7", &d));
  EXPECT_FALSE(ParseIsoDate("-001-03-07", &d));
  EXPECT_FALSE(ParseIsoDate("+026-03-07", &d));
  EXPECT_FALSE(ParseIsoDate(" 026-03-07", &d));
}

}  // namespace
}  // namespace vb
