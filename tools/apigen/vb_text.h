// Visual Basic 6 text for an API text file: identifiers, literals, and the three kinds of
// statement (Declare, Const, Type) the file holds, with the file's layout.
//
// The file: apostrophe comment lines at the top; then every Declare, every Const and every Type,
// each group sorted by name (letter case ignored, then as written) so that regenerated files diff
// cleanly. One statement per line; a Type's member lines are indented by four blanks and closed
// by "End Type". Lines end with LF; the text is plain ASCII (a subset of Windows-1252).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bw::apigen {

// True for the reserved words of the language (And, As, Type, String, ...), any letter case.
bool IsVbKeyword(std::string_view name);

// True when `name` can stand as a Visual Basic identifier: a letter, then letters, digits and
// underscores, at most 255 characters, and not a reserved word.
bool IsVbIdentifier(std::string_view name);

// A usable identifier made from a C name: leading underscores dropped, a reserved word given a
// trailing underscore, a name of the VB library (Left, Top, hWnd, ...) in the library's letter
// case. Empty when nothing usable is left.
std::string ToVbIdentifier(std::string_view cName);

// `name`, or "p" and `name` with its first letter in upper case when it equals one of `taken`,
// letter case ignored: a parameter or member named as its own Type or function (Luid As LUID)
// becomes pLuid.
std::string Distinct(const std::string& name, std::initializer_list<std::string_view> taken);

// A Long literal for a 32-bit value given as a number from -2^31 to 2^32 - 1 (values from 2^31
// on are the same bits read as a negative Long). Hex is written "&H...&" so that small values
// stay Longs; decimal as a signed number. -2^31 is always written in hex, since its decimal form
// would be read as a Double. Nothing when the value does not fit 32 bits.
std::optional<std::string> VbLongLiteral(int64_t value, bool hex);

// A string literal with quotes doubled; nothing when the text holds a character outside
// printable ASCII (a control character or a byte of 0x80 and above).
std::optional<std::string> VbStringLiteral(std::string_view text);

struct VbParam {
  std::string name;
  bool byVal = true;
  std::string type;  // Long, String, Any, RECT, ...

  bool operator==(const VbParam&) const = default;
};

struct VbDeclare {
  std::string name;   // the declared name, the list entry
  std::string lib;    // "user32"
  std::string alias;  // the exported name when it differs from `name`, else empty
  std::vector<VbParam> params;
  std::string returns;  // empty for a Sub

  bool operator==(const VbDeclare&) const = default;
};

struct VbConst {
  std::string name;
  std::string value;  // a literal as written

  bool operator==(const VbConst&) const = default;
};

struct VbType {
  std::string name;
  std::vector<std::string> items;  // member and comment lines, without the indentation

  bool operator==(const VbType&) const = default;
};

std::string DeclareText(const VbDeclare& d);
std::string ConstText(const VbConst& c);
// The Type's lines, "Public Type NAME", the indented items, "End Type", each ended by LF.
std::string TypeText(const VbType& t);

// The whole file: `header` lines as comments, then the three groups sorted by name.
std::string ApiText(const std::vector<std::string>& header, std::vector<VbDeclare> declares,
                    std::vector<VbConst> constants, std::vector<VbType> types);

// The sort order of names in the file: letter case ignored first, then as written.
bool NameLess(std::string_view a, std::string_view b);
// Names equal but for letter case, as Visual Basic compares them.
bool NameEqual(std::string_view a, std::string_view b);
std::string LowerName(std::string_view name);

}  // namespace bw::apigen
