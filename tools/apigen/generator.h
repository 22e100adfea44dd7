// The Win32 API text generator: from the mingw-w64 headers and import libraries to the API text
// file the API browser's database is built from.
//
// One unit of the headers (with a detailed preprocessing record) gives the structures, the
// prototypes, the macros and the enums; the Types come first, since Declares refer to them; a
// second unit evaluates the macros. Everything the generator leaves out is counted under its
// reason in `Stats`, and every override must be used.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tools/apigen/clang_unit.h"
#include "tools/apigen/import_library.h"
#include "tools/apigen/overrides.h"
#include "tools/apigen/skips.h"
#include "tools/apigen/vb_text.h"

namespace bw::apigen {

// The headers and libraries the shipped file is made from.
const std::vector<std::string>& DefaultHeaders();
const std::vector<std::string>& DefaultLibraries();
// The defines the headers are read with: the Windows 10 API, no UNICODE, psapi.dll's names.
const std::vector<std::string>& DefaultDefines();

struct Sources {
  ParseSettings parse;
  std::vector<std::string> headers;    // included in this order
  std::string extra;                   // C text after the includes
  std::vector<ImportEntry> imports;    // every library's entries, in order of priority
  std::vector<std::string> libraries;  // the library names, for the file's header
  Overrides overrides;
};

struct Stats {
  Skips declareSkips;
  Skips constantSkips;
  Skips typeSkips;
  int markedTypes = 0;
  std::string mingwVersion;
  std::string clangVersion;
};

struct Generated {
  std::vector<VbDeclare> declares;
  std::vector<VbConst> constants;
  std::vector<VbType> types;
  Stats stats;
};

class GeneratorError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws GeneratorError when the headers do not parse (a missing header, say) or an override
// matches nothing.
Generated Generate(const Sources& sources);

// The comment lines opening the file: what made it, from what, and the counts.
std::vector<std::string> FileHeader(const Sources& sources, const Generated& g);

// A report of the counts and of every reason for leaving something out, one per line; with
// `names`, each reason is followed by the names left out for it.
std::string Report(const Generated& g, bool names = false);

}  // namespace bw::apigen
