// The exported functions of the import libraries as Visual Basic 6 Declare statements.
//
// One Declare per code export that has a prototype in the headers: Lib from the DLL the import
// library names; where the DLL exports an A/W pair, the A function under the name without the A
// (the W one is skipped); a name that is not a Visual Basic identifier (_lopen) declared without
// its leading underscores; the exported name as Alias wherever it differs from the declared one.
// Variadic and non-stdcall functions are left out, and so is any function whose parameter bytes
// in the header differ from the @N of its symbol, or that VB6 cannot call (a structure passed or
// returned by value); every skip is counted under its reason.
//
// Parameters: handles, DWORD, UINT, LONG, BOOL, WPARAM, LPARAM, enums and callbacks
// "ByVal ... As Long"; WORD and SHORT Integer; BYTE Byte; float Single, double Double; 64-bit
// integers, LARGE_INTEGER and ULARGE_INTEGER "ByVal ... As Currency"; ANSI strings
// "ByVal ... As String"; wide strings "ByVal ... As Long" (a StrPtr); void and byte pointers
// "... As Any"; pointers to numbers by reference as the number; pointers to a structure with an
// exact Type by reference as that Type (else As Any); pointers to pointers, to handles' tags and
// to COM interfaces "As Long" (by reference for the first, by value for the others). A structure
// of 4-byte fields passed by value (POINT) becomes one ByVal parameter per field, any other of
// 4 bytes (COORD) one ByVal Long, and a 4-byte structure returned a Long. Overrides may
// turn a parameter into "As Any" (optional structure pointers) or "ByVal As Any" (resource names)
// and rename a function.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tools/apigen/clang_unit.h"
#include "tools/apigen/import_library.h"
#include "tools/apigen/overrides.h"
#include "tools/apigen/skips.h"
#include "tools/apigen/types.h"
#include "tools/apigen/vb_text.h"

namespace bw::apigen {

// The stack bytes a Declare's parameters push: 8 for ByVal Currency and ByVal Double, 4 for any
// other parameter.
int PushedBytes(const std::vector<VbParam>& params);

// `imports` lists the entries of every import library, in the order of priority (the first
// library to declare a name keeps it).
std::vector<VbDeclare> BuildDeclares(Unit& unit, TypeTable& types,
                                     const std::vector<ImportEntry>& imports,
                                     const Overrides& overrides, Skips& skips);

}  // namespace bw::apigen
