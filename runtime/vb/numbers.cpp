#include "runtime/vb/numbers.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "runtime/vb/error.h"

namespace vb {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Length of the digit run at s[i...].
std::size_t Digits(std::string_view s, std::size_t i) {
  std::size_t n = 0;
  while (i + n < s.size() && IsDigit(s[i + n]))
    ++n;
  return n;
}

}  // namespace

std::string Str(float value) {
  // to_chars, unlike printf, does not follow the C locale's decimal point.
  char buf[32];
  auto end = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value),
                           std::chars_format::general, 7)
                 .ptr;
  std::string digits(buf, end);
  for (char& c : digits)
    if (c == 'e') c = 'E';
  bool negative = !digits.empty() && digits[0] == '-';
  if (negative) digits.erase(0, 1);
  // Drop trailing zeros of the fraction that %G keeps in exponent form ("1.000000E+07").
  std::size_t e = digits.find('E');
  std::string mantissa = digits.substr(0, e);
  std::string exponent = e == std::string::npos ? "" : digits.substr(e);
  if (mantissa.find('.') != std::string::npos) {
    while (mantissa.back() == '0')
      mantissa.pop_back();
    if (mantissa.back() == '.') mantissa.pop_back();
  }
  if (mantissa.size() > 1 && mantissa[0] == '0' && mantissa[1] == '.') mantissa.erase(0, 1);
  return (negative ? "-" : " ") + mantissa + exponent;
}

double Val(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ')
    ++i;
  std::size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t intDigits = Digits(text, i);
  i += intDigits;
  std::size_t fracDigits = 0;
  if (i < text.size() && text[i] == '.') {
    fracDigits = Digits(text, i + 1);
    if (intDigits + fracDigits > 0) i += 1 + fracDigits;
  }
  if (intDigits + fracDigits == 0) return 0;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    std::size_t expDigits = Digits(text, j);
    if (expDigits > 0) i = j + expDigits;
  }
  std::string_view number = text.substr(start, i - start);
  if (number.front() == '+') number.remove_prefix(1);
  double value = 0;
  std::from_chars(number.data(), number.data() + number.size(), value);
  return value;
}

long RoundHalfEven(double value) {
  double r = std::nearbyint(value);
  // Beyond a long (or NaN) the cast is undefined: overflow, as CLng does.
  if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0)) throw RuntimeError(6);
  return static_cast<long>(r);
}

}  // namespace vb
