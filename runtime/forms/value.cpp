#include "runtime/forms/value.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "runtime/quote.h"
#include "runtime/vb/error.h"
#include "runtime/vb/numbers.h"
#include "runtime/vb/strings.h"

namespace forms {
namespace {

[[noreturn]] void Mismatch() {
  throw vb::RuntimeError(vb::kTypeMismatch);
}

// The whole text as a decimal number, or false.
bool ParseNumber(const std::string& text, double* out) {
  std::string t = vb::Trim(text);
  // A plain decimal number: from_chars reads no hexadecimal and ignores the C locale.
  const char* begin = t.data();
  const char* end = t.data() + t.size();
  if (begin != end && *begin == '+') {
    ++begin;
    if (begin != end && *begin == '-') return false;
  }
  double v = 0;
  auto [stop, ec] = std::from_chars(begin, end, v);
  if (begin == end || ec != std::errc() || stop != end || !std::isfinite(v)) return false;
  *out = v;
  return true;
}

bool ParseBool(const std::string& text, bool* out) {
  std::string t = vb::LCase(vb::Trim(text));
  if (t == "true") return *out = true, true;
  if (t == "false") return *out = false, true;
  double d;
  if (!ParseNumber(text, &d)) return false;
  *out = d != 0;
  return true;
}

}  // namespace

std::string FormatNumber(double value) {
  char buf[40];
  // Whole numbers without a fraction; others in the shortest form that reads back the same.
  bool whole = value == std::floor(value) && std::fabs(value) < 1e15;
  auto end = whole ? std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 0).ptr
                   : std::to_chars(buf, buf + sizeof buf, value).ptr;
  return std::string(buf, end);
}

std::string FormatValue(const PropertyValue& value) {
  if (auto* b = std::get_if<bool>(&value)) return *b ? "True" : "False";
  if (auto* l = std::get_if<long>(&value)) return std::to_string(*l);
  if (auto* d = std::get_if<double>(&value)) return FormatNumber(*d);
  return rt::Quote(std::get<std::string>(value));
}

PropertyValue ParseValueLike(const PropertyValue& like, const std::string& text) {
  if (std::holds_alternative<std::string>(like)) return text;
  if (std::holds_alternative<bool>(like)) {
    bool b;
    if (!ParseBool(text, &b)) Mismatch();
    return b;
  }
  double d;
  if (!ParseNumber(text, &d)) Mismatch();
  if (std::holds_alternative<long>(like)) return vb::RoundHalfEven(d);
  return d;
}

bool AsBool(const PropertyValue& value) {
  if (auto* b = std::get_if<bool>(&value)) return *b;
  if (auto* l = std::get_if<long>(&value)) return *l != 0;
  if (auto* d = std::get_if<double>(&value)) return *d != 0;
  bool b;
  if (!ParseBool(std::get<std::string>(value), &b)) Mismatch();
  return b;
}

double AsDouble(const PropertyValue& value) {
  if (auto* b = std::get_if<bool>(&value)) return *b ? -1 : 0;  // VB's True is -1
  if (auto* l = std::get_if<long>(&value)) return static_cast<double>(*l);
  if (auto* d = std::get_if<double>(&value)) return *d;
  double d;
  if (!ParseNumber(std::get<std::string>(value), &d)) Mismatch();
  return d;
}

long AsLong(const PropertyValue& value) {
  return vb::RoundHalfEven(AsDouble(value));
}

std::string AsText(const PropertyValue& value) {
  if (auto* s = std::get_if<std::string>(&value)) return *s;
  if (auto* b = std::get_if<bool>(&value)) return *b ? "True" : "False";
  return FormatNumber(AsDouble(value));
}

}  // namespace forms
