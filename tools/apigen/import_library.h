// Import libraries: which DLL exports which function under which name.
//
// A mingw import library is an ar archive. Its members are either short import members (a
// 20-byte header starting 00 00 FF FF, then the symbol and the DLL name), or COFF objects that
// binutils' dlltool writes: one head object naming the import descriptor, one tail object holding
// the DLL name in .idata$7, and one stub object per export defining `__imp_<symbol>` with the
// import's hint and name in .idata$6 (or its ordinal in .idata$4). Both forms are read here; other
// members (ordinary code) are passed over.
//
// On i686 the symbol carries the C decoration: `_GetTickCount@0` for a stdcall function taking
// no argument bytes, `_wsprintfA` for a cdecl one.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace bw::apigen {

struct ImportEntry {
  std::string symbol;      // decorated symbol, "_GetTickCount@0"
  std::string importName;  // name looked up in the DLL, "GetTickCount"; empty when by ordinal
  int ordinal = -1;        // the ordinal when imported by ordinal
  std::string dll;         // "KERNEL32.dll"
  bool code = true;        // false for a data export (no call stub)
};

class ImportLibraryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the entries of an import library held in memory. Throws ImportLibraryError when the
// bytes are not an ar archive or a member is cut short; `name` is used in the message.
std::vector<ImportEntry> ReadImportLibrary(std::string_view bytes, std::string_view name);

// Reads the import library file at `path`. Throws ImportLibraryError when it cannot be read.
std::vector<ImportEntry> ReadImportLibraryFile(const std::string& path);

// The argument bytes of a stdcall symbol ("_Sleep@4" gives 4); nothing for any other symbol.
std::optional<int> StdcallBytes(std::string_view symbol);

// The C name of a decorated symbol: "_Sleep@4" gives "Sleep", "_wsprintfA" gives "wsprintfA".
std::string UndecoratedName(std::string_view symbol);

// The name a Declare's Lib clause gives a DLL: "KERNEL32.dll" gives "kernel32",
// "WINSPOOL.DRV" gives "winspool.drv".
std::string LibName(std::string_view dll);

}  // namespace bw::apigen
