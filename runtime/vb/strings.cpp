#include "runtime/vb/strings.h"

#include <algorithm>

#include "runtime/vb/error.h"

namespace vb {
namespace {

bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

void Require(bool ok) {
  if (!ok) throw RuntimeError(kInvalidProcedureCall);
}

}  // namespace

long Len(std::string_view s) {
  return static_cast<long>(std::count_if(
      s.begin(), s.end(), [](char c) { return !IsContinuation(static_cast<unsigned char>(c)); }));
}

std::size_t Utf8Offset(std::string_view s, long chars) {
  std::size_t i = 0;
  for (long n = 0; n < chars && i < s.size(); ++n) {
    ++i;
    while (i < s.size() && IsContinuation(static_cast<unsigned char>(s[i])))
      ++i;
  }
  return i;
}

std::string Left(std::string_view s, long n) {
  Require(n >= 0);
  return std::string(s.substr(0, Utf8Offset(s, n)));
}

std::string Right(std::string_view s, long n) {
  Require(n >= 0);
  long len = Len(s);
  if (n >= len) return std::string(s);
  return std::string(s.substr(Utf8Offset(s, len - n)));
}

std::string Mid(std::string_view s, long start, long length) {
  Require(start >= 1 && length >= kToEnd);
  std::size_t from = Utf8Offset(s, start - 1);
  std::string_view rest = s.substr(from);
  if (length == kToEnd) return std::string(rest);
  return std::string(rest.substr(0, Utf8Offset(rest, length)));
}

long InStr(std::string_view s, std::string_view find) {
  return InStr(1, s, find);
}

long InStr(long start, std::string_view s, std::string_view find) {
  Require(start >= 1);
  long len = Len(s);
  if (start > len) return find.empty() && start == len + 1 ? start : 0;
  std::size_t from = Utf8Offset(s, start - 1);
  std::size_t at = s.find(find, from);
  if (at == std::string_view::npos) return 0;
  return Len(s.substr(0, at)) + 1;
}

std::string LTrim(std::string_view s) {
  std::size_t i = s.find_first_not_of(' ');
  return i == std::string_view::npos ? std::string() : std::string(s.substr(i));
}

std::string RTrim(std::string_view s) {
  std::size_t i = s.find_last_not_of(' ');
  return i == std::string_view::npos ? std::string() : std::string(s.substr(0, i + 1));
}

std::string Trim(std::string_view s) {
  return LTrim(RTrim(s));
}

std::string Space(long n) {
  Require(n >= 0);
  return std::string(static_cast<std::size_t>(n), ' ');
}

long CodePointAt(std::string_view s, std::size_t i, std::size_t* length) {
  auto c = static_cast<unsigned char>(s[i]);
  *length = Utf8Offset(s.substr(i), 1);
  if (c < 0x80 || *length == 1) return c;
  long code = c & (c >= 0xF0 ? 0x07 : c >= 0xE0 ? 0x0F : 0x1F);
  for (std::size_t k = 1; k < *length; ++k) code = (code << 6) | (s[i + k] & 0x3F);
  return code;
}

namespace {

// Upper case of the letters a Windows-1252 text can hold; other characters unchanged.
long UpperOf(long c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  switch (c) {
    case 0xFF: return 0x178;
    case 0x153: return 0x152;
    case 0x161: return 0x160;
    case 0x17E: return 0x17D;
    default: return c;
  }
}

long LowerOf(long c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  switch (c) {
    case 0x178: return 0xFF;
    case 0x152: return 0x153;
    case 0x160: return 0x161;
    case 0x17D: return 0x17E;
    default: return c;
  }
}

std::string MapLetters(std::string_view s, long (*map)(long)) {
  std::string r;
  r.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    std::size_t n = 1;
    long c = CodePointAt(s, i, &n);
    long m = map(c);
    if (m == c) r.append(s.substr(i, n));
    else r += Chr(m);
    i += n;
  }
  return r;
}

}  // namespace

std::string UCase(std::string_view s) { return MapLetters(s, UpperOf); }

std::string LCase(std::string_view s) { return MapLetters(s, LowerOf); }

std::string Chr(long code) {
  Require(code >= 0 && code <= 0x10FFFF);
  std::string r;
  auto u = static_cast<unsigned long>(code);
  if (u < 0x80) {
    r += static_cast<char>(u);
  } else if (u < 0x800) {
    r += static_cast<char>(0xC0 | (u >> 6));
    r += static_cast<char>(0x80 | (u & 0x3F));
  } else if (u < 0x10000) {
    r += static_cast<char>(0xE0 | (u >> 12));
    r += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    r += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    r += static_cast<char>(0xF0 | (u >> 18));
    r += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
    r += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    r += static_cast<char>(0x80 | (u & 0x3F));
  }
  return r;
}

}  // namespace vb
