// Text comparison without regard to case, the way Jet compares text in criteria and names.
//
// Both texts are UTF-8. Capital letters of ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic
// compare equal to their small letters (final sigma equals sigma); every other character compares
// by its code point. A byte that is not part of valid UTF-8 compares as itself, after every
// character. The order is total and consistent, so it can serve as a collation.
#pragma once

#include <cstdint>
#include <string_view>

namespace dao {

// The small letter for a capital, else the code point unchanged.
char32_t FoldCase(char32_t c);

// <0, 0 or >0 as `a` sorts before, equal to or after `b`.
int CompareNoCase(std::string_view a, std::string_view b);

inline bool EqualsNoCase(std::string_view a, std::string_view b) {
  return CompareNoCase(a, b) == 0;
}

}  // namespace dao
