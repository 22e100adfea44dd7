// The constants of the headers: every object-like macro with an integer or string value, and
// every enum value, as Visual Basic 6 Const statements.
//
// Macros are taken from the first unit's preprocessing record, then evaluated by clang in a
// second unit that includes the same headers and declares, for each candidate, one variable
// initialised with the macro (its type tells integer, string or other), one with the macro cast
// to long long (for handle-like values such as HWND_TOPMOST or MAKEINTRESOURCE numbers) and one
// char pointer (for the string). Each declaration stands on a line of its own, so an error on a
// line rules out that one reading only. Macros that cannot be read that way are skipped and
// counted by reason: function-like, empty, names no Visual Basic identifier, a statement fragment
// (braces, semicolons or unbalanced brackets, kept out of the second unit so they cannot disturb
// the other lines), not an expression, not a constant, floating point, wide string, outside 32
// bits.
//
// Values are written as Longs: in hex ("&H...&") when the macro's definition, or a macro it
// uses, is written in hex; signed from 0x80000000 on.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tools/apigen/clang_unit.h"
#include "tools/apigen/skips.h"
#include "tools/apigen/vb_text.h"

namespace bw::apigen {

struct ConstantsResult {
  std::vector<VbConst> constants;
  std::string mingwVersion;  // __MINGW64_VERSION_STR, empty when the headers have none
};

// `unit` must have been parsed with a detailed preprocessing record from `source`; the second
// unit is parsed from `source` with the evaluating lines after it.
ConstantsResult BuildConstants(Unit& unit, const ParseSettings& settings, const std::string& source,
                               Skips& skips);

}  // namespace bw::apigen
