// The VB string functions the add-in relies on, over UTF-8 text.
//
// Positions and lengths count characters (code points), never bytes, and are 1-based where VB's
// are. Arguments VB rejects (a negative length, a start below 1) raise run-time error 5, as the
// runtime does. Comparisons are binary (exact characters). Trimming removes blanks (code 32)
// only, not tabs.
#pragma once

#include <string>
#include <string_view>

namespace vb {

inline constexpr std::string_view vbCr = "\r";
inline constexpr std::string_view vbLf = "\n";
inline constexpr std::string_view vbCrLf = "\r\n";
inline constexpr std::string_view vbTab = "\t";

// Number of characters.
long Len(std::string_view s);

// REQUIRES: n >= 0 (else error 5).
std::string Left(std::string_view s, long n);
std::string Right(std::string_view s, long n);
// REQUIRES: start >= 1 and length >= 0 (else error 5). length < 0 means "to the end" only when
// passed as kToEnd.
inline constexpr long kToEnd = -1;
std::string Mid(std::string_view s, long start, long length = kToEnd);

// 1-based character position of the first `find` in `s` at or after `start`, 0 when absent. An
// empty `find` gives `start` (when start <= Len(s) + 1).
long InStr(std::string_view s, std::string_view find);
long InStr(long start, std::string_view s, std::string_view find);

std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);
std::string Trim(std::string_view s);

// REQUIRES: n >= 0 (else error 5).
std::string Space(long n);

std::string UCase(std::string_view s);
std::string LCase(std::string_view s);

// The character with that code (UTF-8 encoded). REQUIRES: 0 <= code <= 0x10FFFF.
std::string Chr(long code);

// The code point of the character starting at byte i, and its length in bytes (a stray byte
// stands for itself). REQUIRES: i < s.size().
long CodePointAt(std::string_view s, std::size_t i, std::size_t* length);

// Byte offset of the character at 0-based character index `chars` (or s.size() past the end).
std::size_t Utf8Offset(std::string_view s, long chars);

}  // namespace vb
