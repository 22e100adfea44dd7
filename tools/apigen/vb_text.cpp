#include "tools/apigen/vb_text.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>

namespace bw::apigen {

namespace {

// Reserved words, in lower case: the statements, types, operators and conversion functions that
// cannot name a variable, member or procedure.
constexpr std::string_view kKeywords[] = {
    "addressof", "alias",    "and",        "any",      "as",         "attribute",  "boolean",
    "byref",     "byte",     "byval",      "call",     "case",       "cbool",      "cbyte",
    "ccur",      "cdate",    "cdbl",       "cdec",     "cint",       "clng",       "close",
    "const",     "csng",     "cstr",       "currency", "cvar",       "cverr",      "date",
    "debug",     "decimal",  "declare",    "defbool",  "defbyte",    "defcur",     "defdate",
    "defdbl",    "defdec",   "defint",     "deflng",   "defobj",     "defsng",     "defstr",
    "defvar",    "dim",      "do",         "double",   "each",       "else",       "elseif",
    "empty",     "end",      "endif",      "enum",     "eqv",        "erase",      "error",
    "event",     "exit",     "false",      "for",      "friend",     "function",   "get",
    "global",    "gosub",    "goto",       "if",       "imp",        "implements", "in",
    "input",     "integer",  "is",         "len",      "let",        "lib",        "like",
    "lock",      "long",     "loop",       "lset",     "me",         "mid",        "mod",
    "new",       "next",     "not",        "nothing",  "null",       "object",     "on",
    "open",      "option",   "optional",   "or",       "paramarray", "preserve",   "print",
    "private",   "property", "public",     "put",      "raiseevent", "redim",      "rem",
    "resume",    "return",   "rset",       "seek",     "select",     "set",        "single",
    "static",    "step",     "stop",       "string",   "sub",        "then",       "to",
    "true",      "type",     "typeof",     "unlock",   "until",      "variant",    "wend",
    "while",     "with",     "withevents", "write",    "xor"};

// Names the Visual Basic library already spells one way (its functions and statements, and the
// properties of forms and controls). The IDE gives every use of a name in a project the casing of
// its latest declaration, so a member declared "left" would turn every Left$() into left$(); such
// names are written in the library's casing.
constexpr std::string_view kLibraryCasing[] = {
    "Abs",    "Array",  "Asc",   "Beep",   "Caption", "ChDir",   "Chr",     "Command", "Cos",
    "Count",  "CurDir", "Day",   "Dir",    "Enabled", "Environ", "EOF",     "Exp",     "FileLen",
    "Filter", "Fix",    "Font",  "Format", "Handle",  "hDC",     "Height",  "Hex",     "Hour",
    "hWnd",   "Index",  "InStr", "Int",    "Item",    "Join",    "Key",     "Kill",    "LCase",
    "Left",   "Load",   "Loc",   "LOF",    "Log",     "LTrim",   "Minute",  "MkDir",   "Month",
    "Name",   "Now",    "Oct",   "Parent", "Path",    "Picture", "Replace", "Right",   "RmDir",
    "Rnd",    "Round",  "RTrim", "Second", "Sgn",     "Shell",   "Sin",     "Space",   "Split",
    "Sqr",    "Str",    "Style", "Tab",    "Tag",     "Tan",     "Text",    "Time",    "Timer",
    "Top",    "Trim",   "UCase", "Unload", "Val",     "Value",   "Visible", "Weekday", "Width",
    "Year"};

bool IsLetter(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) != 0;
}
bool IsWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

}  // namespace

std::string LowerName(std::string_view name) {
  std::string out(name);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

bool NameEqual(std::string_view a, std::string_view b) {
  return a.size() == b.size() && LowerName(a) == LowerName(b);
}

bool NameLess(std::string_view a, std::string_view b) {
  const std::string la = LowerName(a);
  const std::string lb = LowerName(b);
  if (la != lb) return la < lb;
  return a < b;
}

bool IsVbKeyword(std::string_view name) {
  const std::string lower = LowerName(name);
  return std::find(std::begin(kKeywords), std::end(kKeywords), lower) != std::end(kKeywords);
}

bool IsVbIdentifier(std::string_view name) {
  if (name.empty() || name.size() > 255 || !IsLetter(name[0])) return false;
  if (!std::all_of(name.begin(), name.end(), IsWordChar)) return false;
  return !IsVbKeyword(name);
}

std::string ToVbIdentifier(std::string_view cName) {
  while (!cName.empty() && cName[0] == '_')
    cName.remove_prefix(1);
  std::string name(cName);
  if (name.empty() || !IsLetter(name[0]) || !std::all_of(name.begin(), name.end(), IsWordChar))
    return {};
  if (IsVbKeyword(name)) name += '_';
  if (name.size() > 255) return {};
  for (auto cased : kLibraryCasing)
    if (NameEqual(name, cased)) return std::string(cased);
  return name;
}

std::string Distinct(const std::string& name, std::initializer_list<std::string_view> taken) {
  for (auto t : taken) {
    if (NameEqual(name, t)) {
      std::string out = "p" + name;
      out[1] = static_cast<char>(std::toupper(static_cast<unsigned char>(out[1])));
      return out;
    }
  }
  return name;
}

std::optional<std::string> VbLongLiteral(int64_t value, bool hex) {
  if (value < -2147483648LL || value > 4294967295LL) return std::nullopt;
  const uint32_t bits = static_cast<uint32_t>(value);
  const int32_t signedValue = static_cast<int32_t>(bits);
  char buf[32];
  if (hex || signedValue == INT32_MIN) {
    std::snprintf(buf, sizeof buf, "&H%X&", static_cast<unsigned>(bits));
  } else {
    std::snprintf(buf, sizeof buf, "%d", static_cast<int>(signedValue));
  }
  return std::string(buf);
}

std::optional<std::string> VbStringLiteral(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u >= 0x7F) return std::nullopt;
    out += c;
    if (c == '"') out += '"';
  }
  out += '"';
  return out;
}

std::string DeclareText(const VbDeclare& d) {
  std::string s = "Public Declare ";
  s += d.returns.empty() ? "Sub " : "Function ";
  s += d.name + " Lib \"" + d.lib + "\"";
  if (!d.alias.empty()) s += " Alias \"" + d.alias + "\"";
  s += " (";
  for (size_t i = 0; i < d.params.size(); ++i) {
    const auto& p = d.params[i];
    if (i > 0) s += ", ";
    if (p.byVal) s += "ByVal ";
    s += p.name + " As " + p.type;
  }
  s += ")";
  if (!d.returns.empty()) s += " As " + d.returns;
  return s;
}

std::string ConstText(const VbConst& c) {
  return "Public Const " + c.name + " = " + c.value;
}

std::string TypeText(const VbType& t) {
  std::string s = "Public Type " + t.name + "\n";
  for (const auto& item : t.items)
    s += "    " + item + "\n";
  s += "End Type\n";
  return s;
}

std::string ApiText(const std::vector<std::string>& header, std::vector<VbDeclare> declares,
                    std::vector<VbConst> constants, std::vector<VbType> types) {
  auto byName = [](const auto& a, const auto& b) { return NameLess(a.name, b.name); };
  std::stable_sort(declares.begin(), declares.end(), byName);
  std::stable_sort(constants.begin(), constants.end(), byName);
  std::stable_sort(types.begin(), types.end(), byName);

  std::string out;
  for (const auto& line : header)
    out += line.empty() ? "'\n" : "' " + line + "\n";
  out += "'\n' Declarations\n";
  for (const auto& d : declares)
    out += DeclareText(d) + "\n";
  out += "'\n' Constants\n";
  for (const auto& c : constants)
    out += ConstText(c) + "\n";
  out += "'\n' Types\n";
  for (const auto& t : types)
    out += TypeText(t);
  return out;
}

}  // namespace bw::apigen
