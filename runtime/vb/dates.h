// Calendar dates and VB's Format for them.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vb {

struct Date {
  int Year = 1899;
  int Month = 12;
  int Day = 30;

  friend bool operator==(const Date&, const Date&) = default;
};

// What the user's locale decides in a date format: month names and the date separator.
struct DateLocale {
  std::array<std::string, 12> MonthNames;
  std::array<std::string, 12> MonthAbbreviations;
  std::string DateSeparator;

  static const DateLocale& English();  // "January", "Jan", "/"
};

// Format(date, pattern) for the date tokens d, dd, m, mm, mmm, mmmm, yy, yyyy and the separator
// "/" (which becomes the locale's). Other characters are copied. "ddmmmyy" gives "24Jan99",
// "mm/d/yyyy" gives "03/7/2026".
std::string FormatDate(const Date& date, std::string_view pattern, const DateLocale& locale);

// Parses "YYYY-MM-DD"; false when the text is not such a date.
bool ParseIsoDate(std::string_view text, Date* date);

}  // namespace vb
