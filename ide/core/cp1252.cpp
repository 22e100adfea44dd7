#include "ide/core/cp1252.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace ide {
namespace {

// Code points of bytes 0x80-0x9F. The undefined bytes keep their own value.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

constexpr char kUnmappable = '?';

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {  // everything in the table is below U+10000
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The byte for a code point, or kUnmappable.
char ToByte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  auto it = std::find(kHigh.begin(), kHigh.end(), c);
  return it == kHigh.end() ? kUnmappable : static_cast<char>(0x80 + (it - kHigh.begin()));
}

// Decodes one well-formed UTF-8 character at text[pos]. Returns its length in bytes, or 0 when
// the bytes there do not form one.
std::size_t DecodeOne(std::string_view text, std::size_t pos, char32_t& c) {
  auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  std::uint8_t lead = byte(pos);
  std::size_t len;
  char32_t min;
  if (lead < 0x80) {
    c = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    len = 2, min = 0x80, c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    len = 3, min = 0x800, c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    len = 4, min = 0x10000, c = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() - pos < len) return 0;
  for (std::size_t i = 1; i < len; ++i) {
    std::uint8_t b = byte(pos + i);
    if ((b & 0xC0) != 0x80) return 0;
    c = (c << 6) | (b & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return len;
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    auto b = static_cast<std::uint8_t>(ch);
    AppendUtf8(out, b >= 0x80 && b <= 0x9F ? kHigh[b - 0x80] : char32_t{b});
  }
  return out;
}

std::string Utf8ToCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    char32_t c = 0;
    std::size_t len = DecodeOne(text, pos, c);
    out += len == 0 ? kUnmappable : ToByte(c);
    pos += len == 0 ? 1 : len;  // a malformed byte is one '?'
  }
  return out;
}

}  // namespace ide
