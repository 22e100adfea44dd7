// Windows-1252 (the code page of VB6 source files) to UTF-8 and back.
//
// Bytes 0x00-0x7F and 0xA0-0xFF are the code points of the same value (Latin-1); 0x80-0x9F
// follow the code page's table (0x80 is the euro sign, 0x92 the right single quote, ...). The
// five bytes the code page leaves undefined, 0x81, 0x8D, 0x8F, 0x90 and 0x9D, become the C1
// control characters U+0081, U+008D, U+008F, U+0090 and U+009D and go back to the same bytes,
// so Utf8ToCp1252(Cp1252ToUtf8(b)) == b for every byte string b.
//
// Utf8ToCp1252 writes '?' for a character the code page cannot hold (a Greek letter, an emoji,
// or one of the 27 C1 controls that the code page's table replaces, such as U+0080). Input that
// is not well-formed UTF-8 (a stray continuation byte, a truncated sequence, an overlong form, a
// surrogate, a value above U+10FFFF) gives one '?' for each byte at which no well-formed
// character starts, and reading goes on with the next byte: a truncated euro sign "\xE2\x82"
// gives "??".
#pragma once

#include <string>
#include <string_view>

namespace ide {

std::string Cp1252ToUtf8(std::string_view bytes);
std::string Utf8ToCp1252(std::string_view text);

}  // namespace ide
