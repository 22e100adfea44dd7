#include "tools/apigen/clang_unit.h"

#include <stdexcept>

namespace bw::apigen {

Unit::Unit(const ParseSettings& settings, const std::string& fileName, const std::string& source,
           unsigned options)
    : includeDir_(settings.includeDir) {
  std::vector<std::string> args = {"-x",        "c",  "-target",        "i686-w64-mingw32",
                                   "-nostdinc", "-w", "-ferror-limit=0"};
  for (const auto& dir : {settings.builtinDir, settings.includeDir}) {
    args.push_back("-isystem");
    args.push_back(dir);
  }
  for (const auto& d : settings.defines)
    args.push_back("-D" + d);
  std::vector<const char*> argv;
  for (const auto& a : args)
    argv.push_back(a.c_str());

  index_ = clang_createIndex(0, 0);
  CXUnsavedFile file{fileName.c_str(), source.c_str(), static_cast<unsigned long>(source.size())};
  const CXErrorCode rc =
      clang_parseTranslationUnit2(index_, fileName.c_str(), argv.data(),
                                  static_cast<int>(argv.size()), &file, 1, options, &tu_);
  if (rc != CXError_Success || tu_ == nullptr) {
    clang_disposeIndex(index_);
    throw std::runtime_error("libclang could not parse " + fileName + " (error " +
                             std::to_string(rc) + ")");
  }
}

Unit::~Unit() {
  clang_disposeTranslationUnit(tu_);
  clang_disposeIndex(index_);
}

std::set<unsigned> Unit::ErrorLines() const {
  std::set<unsigned> lines;
  const unsigned n = clang_getNumDiagnostics(tu_);
  for (unsigned i = 0; i < n; ++i) {
    CXDiagnostic d = clang_getDiagnostic(tu_, i);
    if (clang_getDiagnosticSeverity(d) >= CXDiagnostic_Error) {
      CXSourceLocation loc = clang_getDiagnosticLocation(d);
      if (clang_Location_isFromMainFile(loc)) {
        unsigned line = 0;
        clang_getFileLocation(loc, nullptr, &line, nullptr, nullptr);
        lines.insert(line);
      }
    }
    clang_disposeDiagnostic(d);
  }
  return lines;
}

std::vector<std::string> Unit::Errors(size_t limit) const {
  std::vector<std::string> out;
  const unsigned n = clang_getNumDiagnostics(tu_);
  for (unsigned i = 0; i < n && out.size() < limit; ++i) {
    CXDiagnostic d = clang_getDiagnostic(tu_, i);
    if (clang_getDiagnosticSeverity(d) >= CXDiagnostic_Error)
      out.push_back(Str(clang_formatDiagnostic(d, CXDiagnostic_DisplaySourceLocation)));
    clang_disposeDiagnostic(d);
  }
  return out;
}

bool Unit::FromHeaders(CXCursor c) {
  CXSourceLocation loc = clang_getCursorLocation(c);
  if (clang_Location_isFromMainFile(loc)) return true;
  CXFile file = nullptr;
  clang_getExpansionLocation(loc, &file, nullptr, nullptr, nullptr);
  if (file == nullptr) return false;
  auto it = fileInHeaders_.find(file);
  if (it != fileInHeaders_.end()) return it->second;
  const std::string name = Str(clang_getFileName(file));
  const bool in = !includeDir_.empty() && name.starts_with(includeDir_);
  fileInHeaders_.emplace(file, in);
  return in;
}

std::string Str(CXString s) {
  const char* text = clang_getCString(s);
  std::string out = text != nullptr ? text : "";
  clang_disposeString(s);
  return out;
}

std::string Spelling(CXCursor c) {
  return Str(clang_getCursorSpelling(c));
}

std::string TypeSpelling(CXType t) {
  return Str(clang_getTypeSpelling(t));
}

CXType Unwrap(CXType t) {
  for (;;) {
    if (t.kind == CXType_Elaborated) {
      t = clang_Type_getNamedType(t);
    } else if (t.kind == CXType_Attributed) {
      t = clang_Type_getModifiedType(t);
    } else if (t.kind == CXType_Unexposed) {
      CXType canonical = clang_getCanonicalType(t);
      if (canonical.kind == CXType_Unexposed) return t;
      return canonical;  // sugar libclang does not expose (parentheses, decay): take its meaning
    } else {
      return t;
    }
  }
}

std::vector<std::string> TypedefChain(CXType t) {
  std::vector<std::string> chain;
  t = Unwrap(t);
  while (t.kind == CXType_Typedef) {
    chain.push_back(Str(clang_getTypedefName(t)));
    t = Unwrap(clang_getTypedefDeclUnderlyingType(clang_getTypeDeclaration(t)));
  }
  return chain;
}

std::vector<std::string> Tokens(CXTranslationUnit tu, CXCursor c) {
  CXToken* tokens = nullptr;
  unsigned n = 0;
  clang_tokenize(tu, clang_getCursorExtent(c), &tokens, &n);
  std::vector<std::string> out;
  out.reserve(n);
  for (unsigned i = 0; i < n; ++i)
    out.push_back(Str(clang_getTokenSpelling(tu, tokens[i])));
  clang_disposeTokens(tu, tokens, n);
  return out;
}

}  // namespace bw::apigen
