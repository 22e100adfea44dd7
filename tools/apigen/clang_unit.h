// A parsed translation unit of the mingw-w64 headers, through the libclang C API, and the few
// cursor and type helpers the generator shares.
//
// Units are parsed for the i686 mingw target with the compiler's own include paths only: no
// system include folder, the mingw include folder and clang's builtin headers as system folders.
// Warnings are off and errors never stop the parse; `ErrorLines` tells which lines of the main
// file had errors.
#pragma once

#include <clang-c/Index.h>

#include <set>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

namespace bw::apigen {

struct ParseSettings {
  std::string includeDir;            // the mingw-w64 include folder
  std::string builtinDir;            // clang's builtin headers (stddef.h, stdarg.h, ...)
  std::vector<std::string> defines;  // "NAME=VALUE" or "NAME"
};

class Unit {
 public:
  // Parses `source` as the C file `fileName`. `options` are CXTranslationUnit_* flags.
  // Throws std::runtime_error when libclang returns no unit at all.
  Unit(const ParseSettings& settings, const std::string& fileName, const std::string& source,
       unsigned options);
  ~Unit();
  Unit(const Unit&) = delete;
  Unit& operator=(const Unit&) = delete;

  CXTranslationUnit tu() const { return tu_; }
  CXCursor Root() const { return clang_getTranslationUnitCursor(tu_); }

  // The 1-based lines of the main file that carry an error.
  std::set<unsigned> ErrorLines() const;
  // The first `limit` error messages, for reports.
  std::vector<std::string> Errors(size_t limit) const;

  // True when the cursor comes from the mingw headers or from the main file itself.
  bool FromHeaders(CXCursor c);

 private:
  CXIndex index_ = nullptr;
  CXTranslationUnit tu_ = nullptr;
  std::string includeDir_;
  std::unordered_map<CXFile, bool> fileInHeaders_;
};

std::string Str(CXString s);  // takes the string and disposes of it
std::string Spelling(CXCursor c);
std::string TypeSpelling(CXType t);

// Calls `f(child)` for each direct child of `c`.
template <typename F>
void ForEachChild(CXCursor c, F&& f) {
  clang_visitChildren(
      c,
      [](CXCursor child, CXCursor, CXClientData data) {
        (*static_cast<std::remove_reference_t<F>*>(data))(child);
        return CXChildVisit_Continue;
      },
      &f);
}

// Calls `f(field)` for each field of a record type, the unnamed fields holding anonymous
// structs and unions included.
template <typename F>
void ForEachField(CXType record, F&& f) {
  clang_Type_visitFields(
      record,
      [](CXCursor field, CXClientData data) {
        (*static_cast<std::remove_reference_t<F>*>(data))(field);
        return CXVisit_Continue;
      },
      &f);
}

// The type with one layer of sugar (elaboration, attributes, parentheses) removed, or the type
// itself when it has none; a typedef is kept.
CXType Unwrap(CXType t);

// The typedef names a type is spelled through, outermost first, down to the first type that is
// not a typedef: PSID gives PSID, PVOID (then void *).
std::vector<std::string> TypedefChain(CXType t);

// The tokens of a cursor's extent, as text.
std::vector<std::string> Tokens(CXTranslationUnit tu, CXCursor c);

}  // namespace bw::apigen
