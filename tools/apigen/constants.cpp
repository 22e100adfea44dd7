#include "tools/apigen/constants.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <set>
#include <unordered_map>

#include "tools/apigen/types.h"

namespace bw::apigen {

namespace {

struct Macro {
  std::string name;
  std::vector<std::string> body;
};

bool IsHexLiteral(const std::string& token) {
  return token.size() > 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X');
}

bool IsIdentifierToken(const std::string& token) {
  return !token.empty() && (std::isalpha(static_cast<unsigned char>(token[0])) || token[0] == '_');
}

// Braces, semicolons, preprocessor operators or unbalanced brackets: not an expression, and
// unsafe to paste into the evaluating unit.
bool IsFragment(const std::vector<std::string>& body) {
  int paren = 0;
  int bracket = 0;
  for (const auto& t : body) {
    if (t == "{" || t == "}" || t == ";" || t == "#" || t == "##") return true;
    paren += t == "(" ? 1 : t == ")" ? -1 : 0;
    bracket += t == "[" ? 1 : t == "]" ? -1 : 0;
    if (paren < 0 || bracket < 0) return true;
  }
  return paren != 0 || bracket != 0;
}

// Whether a constant reads best in hex: its definition, or a macro it names, has a hex literal.
class HexStyle {
 public:
  explicit HexStyle(const std::unordered_map<std::string, const Macro*>& macros)
      : macros_(macros) {}

  bool Tokens(const std::vector<std::string>& tokens) {
    for (const auto& t : tokens) {
      if (IsHexLiteral(t)) return true;
      // __MINGW_NAME_AW(X) pastes an A on: X stands for XA.
      if (IsIdentifierToken(t) && (Named(t) || Named(t + "A"))) return true;
    }
    return false;
  }

  bool Named(const std::string& name) {
    auto known = memo_.find(name);
    if (known != memo_.end()) return known->second;
    memo_[name] = false;  // guards against a macro that names itself
    auto m = macros_.find(name);
    bool hex = false;
    if (m != macros_.end()) hex = Tokens(m->second->body);
    memo_[name] = hex;
    return hex;
  }

  void Remember(const std::string& name, bool hex) { memo_[name] = hex; }

 private:
  const std::unordered_map<std::string, const Macro*>& macros_;
  std::unordered_map<std::string, bool> memo_;
};

struct Evaluated {
  enum class Kind { kNone, kInt, kFloat, kString, kOther } kind = Kind::kNone;
  int64_t value = 0;
  bool outOfRange = false;
  std::string text;
};

Evaluated Evaluate(CXCursor var) {
  Evaluated out;
  CXEvalResult r = clang_Cursor_Evaluate(var);
  if (r == nullptr) return out;
  switch (clang_EvalResult_getKind(r)) {
    case CXEval_Int:
      out.kind = Evaluated::Kind::kInt;
      if (clang_EvalResult_isUnsignedInt(r)) {
        const unsigned long long u = clang_EvalResult_getAsUnsigned(r);
        out.outOfRange = u > 0xFFFFFFFFull;
        out.value = static_cast<int64_t>(u & 0xFFFFFFFFull);
      } else {
        out.value = clang_EvalResult_getAsLongLong(r);
        out.outOfRange = out.value < -2147483648LL || out.value > 4294967295LL;
      }
      break;
    case CXEval_Float:
      out.kind = Evaluated::Kind::kFloat;
      break;
    case CXEval_StrLiteral:
      out.kind = Evaluated::Kind::kString;
      out.text = clang_EvalResult_getAsStr(r);
      break;
    default:
      out.kind = Evaluated::Kind::kOther;
      break;
  }
  clang_EvalResult_dispose(r);
  return out;
}

bool IsIntegerType(CXType ct) {
  switch (ct.kind) {
    case CXType_Bool:
    case CXType_Char_S:
    case CXType_Char_U:
    case CXType_SChar:
    case CXType_UChar:
    case CXType_Short:
    case CXType_UShort:
    case CXType_Int:
    case CXType_UInt:
    case CXType_Long:
    case CXType_ULong:
    case CXType_LongLong:
    case CXType_ULongLong:
    case CXType_WChar:
    case CXType_Enum:
      return true;
    default:
      return false;
  }
}

// The three evaluating declarations of one macro and what became of them.
struct Probe {
  CXCursor var[3] = {clang_getNullCursor(), clang_getNullCursor(), clang_getNullCursor()};
  bool error[3] = {false, false, false};
};
constexpr int kAuto = 0;    // static const __auto_type __bwaN = (M);
constexpr int kLong = 1;    // static const long long __bwiN = (long long)(M);
constexpr int kString = 2;  // static const char *__bwsN = M;
constexpr std::string_view kProbePrefix[3] = {"__bwa", "__bwi", "__bws"};

}  // namespace

ConstantsResult BuildConstants(Unit& unit, const ParseSettings& settings, const std::string& source,
                               Skips& skips) {
  // Every object-like macro of the headers, the last definition of a name winning.
  std::vector<Macro> macros;
  std::unordered_map<std::string, size_t> macroIndex;
  std::set<std::string> functionLike;
  ForEachChild(unit.Root(), [&](CXCursor c) {
    if (clang_getCursorKind(c) != CXCursor_MacroDefinition || clang_Cursor_isMacroBuiltin(c) ||
        !unit.FromHeaders(c))
      return;
    const std::string name = Spelling(c);
    if (clang_Cursor_isMacroFunctionLike(c)) {
      functionLike.insert(name);
      return;
    }
    std::vector<std::string> tokens = Tokens(unit.tu(), c);
    if (!tokens.empty()) tokens.erase(tokens.begin());  // the name itself
    auto [it, fresh] = macroIndex.emplace(name, macros.size());
    if (fresh) {
      macros.push_back({name, std::move(tokens)});
    } else {
      macros[it->second].body = std::move(tokens);
    }
  });
  auto& functionLikeSkips = skips["function-like macro"];
  functionLikeSkips.insert(functionLikeSkips.end(), functionLike.begin(), functionLike.end());
  std::unordered_map<std::string, const Macro*> byName;
  for (const auto& m : macros)
    byName[m.name] = &m;

  std::vector<const Macro*> candidates;
  for (const auto& m : macros) {
    if (functionLike.count(m.name) != 0) continue;  // redefined as function-like: counted there
    if (m.body.empty()) {
      skips["empty macro (a switch or an include guard)"].push_back(m.name);
    } else if (IsVbKeyword(m.name)) {
      skips["name is a VB reserved word"].push_back(m.name);
    } else if (!IsVbIdentifier(m.name)) {
      skips["name is not a VB identifier"].push_back(m.name);
    } else if (IsFragment(m.body)) {
      skips["a statement fragment"].push_back(m.name);
    } else {
      candidates.push_back(&m);
    }
  }

  // The evaluating unit: the same source, then three declarations per candidate, a line each.
  std::string probe = source;
  if (!probe.empty() && probe.back() != '\n') probe += '\n';
  probe +=
      "#ifdef __MINGW64_VERSION_STR\nstatic const char *__bw_mingw = __MINGW64_VERSION_STR;\n"
      "#endif\n";
  const unsigned firstLine =
      static_cast<unsigned>(std::count(probe.begin(), probe.end(), '\n')) + 1;
  for (size_t i = 0; i < candidates.size(); ++i) {
    const std::string& n = candidates[i]->name;
    const std::string k = std::to_string(i);
    probe += "static const __auto_type __bwa" + k + " = (" + n + ");\n";
    probe += "static const long long __bwi" + k + " = (long long)(" + n + ");\n";
    probe += "static const char *__bws" + k + " = " + n + ";\n";
  }
  Unit eval(settings, "constants.c", probe, CXTranslationUnit_SkipFunctionBodies);

  ConstantsResult result;
  std::vector<Probe> probes(candidates.size());
  for (unsigned line : eval.ErrorLines()) {
    if (line < firstLine) continue;
    const size_t at = line - firstLine;
    if (at / 3 < probes.size()) probes[at / 3].error[at % 3] = true;
  }
  ForEachChild(eval.Root(), [&](CXCursor c) {
    if (clang_getCursorKind(c) != CXCursor_VarDecl ||
        !clang_Location_isFromMainFile(clang_getCursorLocation(c)))
      return;
    const std::string name = Spelling(c);
    if (name == "__bw_mingw") {
      Evaluated v = Evaluate(c);
      if (v.kind == Evaluated::Kind::kString) result.mingwVersion = v.text;
      return;
    }
    for (int kind = 0; kind < 3; ++kind) {
      if (!name.starts_with(kProbePrefix[kind])) continue;
      size_t index = 0;
      const char* digits = name.data() + kProbePrefix[kind].size();
      auto [end, ec] = std::from_chars(digits, name.data() + name.size(), index);
      if (ec == std::errc() && end == name.data() + name.size() && index < probes.size())
        probes[index].var[kind] = c;
    }
  });

  HexStyle hex(byName);
  std::vector<VbConst> all;
  for (size_t i = 0; i < candidates.size(); ++i) {
    const Macro& m = *candidates[i];
    const Probe& p = probes[i];
    auto readable = [&](int kind) { return !p.error[kind] && !clang_Cursor_isNull(p.var[kind]); };
    if (!readable(kAuto)) {
      skips["not an expression"].push_back(m.name);
      continue;
    }
    const CXType type = clang_getCanonicalType(clang_getCursorType(p.var[kAuto]));
    Evaluated v;
    if (IsIntegerType(type)) {
      v = Evaluate(p.var[kAuto]);
    } else if (type.kind == CXType_Pointer) {
      const CXType pointee = clang_getCanonicalType(clang_getPointeeType(type));
      if (IsPlainChar(pointee) && readable(kString)) v = Evaluate(p.var[kString]);
      if (v.kind != Evaluated::Kind::kString && readable(kLong)) v = Evaluate(p.var[kLong]);
      if (v.kind != Evaluated::Kind::kString && v.kind != Evaluated::Kind::kInt &&
          (pointee.kind == CXType_UShort || pointee.kind == CXType_WChar)) {
        skips["a wide string"].push_back(m.name);
        continue;
      }
    } else if (type.kind == CXType_Float || type.kind == CXType_Double ||
               type.kind == CXType_LongDouble) {
      skips["a floating-point value"].push_back(m.name);
      continue;
    }
    if (v.kind == Evaluated::Kind::kString) {
      if (auto text = VbStringLiteral(v.text)) {
        all.push_back({m.name, *text});
      } else {
        skips["a string with characters a VB6 literal cannot hold"].push_back(m.name);
      }
    } else if (v.kind != Evaluated::Kind::kInt) {
      skips["not a constant (a type, function or variable)"].push_back(m.name);
    } else if (v.outOfRange) {
      skips["a value outside 32 bits"].push_back(m.name);
    } else {
      all.push_back({m.name, *VbLongLiteral(v.value, hex.Named(m.name))});
    }
  }

  // Enum values, after the macros.
  ForEachChild(unit.Root(), [&](CXCursor e) {
    if (clang_getCursorKind(e) != CXCursor_EnumDecl || !unit.FromHeaders(e) ||
        !clang_isCursorDefinition(e))
      return;
    const CXType integer = clang_getCanonicalType(clang_getEnumDeclIntegerType(e));
    const bool isUnsigned = integer.kind == CXType_UInt || integer.kind == CXType_ULong ||
                            integer.kind == CXType_ULongLong || integer.kind == CXType_UShort ||
                            integer.kind == CXType_UChar;
    ForEachChild(e, [&](CXCursor c) {
      if (clang_getCursorKind(c) != CXCursor_EnumConstantDecl) return;
      const std::string name = Spelling(c);
      if (IsVbKeyword(name)) {
        skips["name is a VB reserved word"].push_back(name);
        return;
      }
      if (!IsVbIdentifier(name)) {
        skips["name is not a VB identifier"].push_back(name);
        return;
      }
      const int64_t value = isUnsigned
                                ? static_cast<int64_t>(clang_getEnumConstantDeclUnsignedValue(c))
                                : clang_getEnumConstantDeclValue(c);
      std::vector<std::string> tokens = Tokens(unit.tu(), c);
      if (!tokens.empty()) tokens.erase(tokens.begin());
      const bool asHex = hex.Tokens(tokens);
      hex.Remember(name, asHex);
      if (auto literal = VbLongLiteral(value, asHex)) {
        all.push_back({name, *literal});
      } else {
        skips["a value outside 32 bits"].push_back(name);
      }
    });
  });

  std::set<std::string> taken;
  for (auto& c : all) {
    if (!taken.insert(LowerName(c.name)).second) {
      skips["same name as another constant"].push_back(c.name);
      continue;
    }
    result.constants.push_back(std::move(c));
  }
  return result;
}

}  // namespace bw::apigen
