#include "runtime/vb/dates.h"

#include <cstdio>

namespace vb {
namespace {

std::size_t RunLength(std::string_view s, std::size_t i) {
  std::size_t n = 1;
  while (i + n < s.size() && s[i + n] == s[i])
    ++n;
  return n;
}

std::string TwoDigits(int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", n % 100);
  return buf;
}

bool DaysInMonthOk(int y, int m, int d) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (m < 1 || m > 12 || d < 1) return false;
  bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return d <= kDays[m - 1] + (m == 2 && leap ? 1 : 0);
}

}  // namespace

const DateLocale& DateLocale::English() {
  static const DateLocale kEnglish = {
      {"January", "February", "March", "April", "May", "June", "July", "August", "September",
       "October", "November", "December"},
      {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
      "/"};
  return kEnglish;
}

std::string FormatDate(const Date& date, std::string_view pattern, const DateLocale& locale) {
  std::string out;
  for (std::size_t i = 0; i < pattern.size();) {
    char c = pattern[i];
    std::size_t n = (c == 'd' || c == 'm' || c == 'y') ? RunLength(pattern, i) : 1;
    if (c == 'd') {
      out += n == 1 ? std::to_string(date.Day) : TwoDigits(date.Day);
    } else if (c == 'm') {
      if (n == 1)
        out += std::to_string(date.Month);
      else if (n == 2)
        out += TwoDigits(date.Month);
      else if (n == 3)
        out += locale.MonthAbbreviations[date.Month - 1];
      else
        out += locale.MonthNames[date.Month - 1];
    } else if (c == 'y') {
      out += n <= 2 ? TwoDigits(date.Year) : std::to_string(date.Year);
    } else if (c == '/') {
      out += locale.DateSeparator;
    } else {
      out += c;
    }
    i += n;
  }
  return out;
}

bool ParseIsoDate(std::string_view text, Date* date) {
  // Exactly four, two and two digits between two hyphens: no signs, no blanks.
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  auto field = [&](std::size_t at, std::size_t n, int* out) {
    *out = 0;
    for (std::size_t k = at; k < at + n; ++k) {
      if (text[k] < '0' || text[k] > '9') return false;
      *out = *out * 10 + (text[k] - '0');
    }
    return true;
  };
  int y = 0, m = 0, d = 0;
  if (!field(0, 4, &y) || !field(5, 2, &m) || !field(8, 2, &d)) return false;
  if (!DaysInMonthOk(y, m, d)) return false;
  *date = Date{y, m, d};
  return true;
}

}  // namespace vb
