// Machine checks over the whole committed API text file, read back from its text (not from the
// generator's own data): every statement well formed and in order; every Declare pushes the
// bytes its stdcall symbol in the import library says; every Type has the size clang gives the
// C structure, or is marked; the counts; and well-known items as a VB6 programmer writes them
// from the C prototypes.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "tools/apigen/clang_unit.h"
#include "tools/apigen/generator.h"
#include "tools/apigen/import_library.h"
#include "tools/apigen/overrides.h"
#include "tools/apigen/vb_text.h"

namespace bw::apigen {
namespace {

struct Param {
  bool byVal = false;
  std::string name;
  std::string type;
};

struct Declare {
  std::string line;
  std::string name;
  std::string lib;
  std::string alias;
  std::vector<Param> params;
};

struct Type {
  std::string name;
  std::vector<std::string> items;
};

struct ApiFile {
  std::vector<Declare> declares;
  std::map<std::string, std::string> constants;  // name -> the whole line
  std::vector<std::string> constantOrder;
  std::vector<Type> types;
  std::vector<std::string> problems;  // lines that break the format, with their numbers
};

const std::regex kDeclare(
    R"re(Public Declare (Function|Sub) (\w+) Lib "([\w.]+)"(?: Alias "([^"]+)")? \((.*)\)(?: As (\w+))?)re");
const std::regex kParam(R"((ByVal )?(\w+) As (\w+))");
const std::regex kConst(R"re(Public Const (\w+) = (-?[0-9]+|&H[0-9A-F]{1,8}&|"([^"]|"")*"))re");
const std::regex kMember(R"((\w+)(?:\(0 To ([0-9]+)\))? As (\w+)(?: \* ([0-9]+))?)");

ApiFile Parse(const std::string& path) {
  ApiFile f;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    f.problems.push_back("cannot open " + path);
    return f;
  }
  enum { kHeader, kDeclares, kConstants, kTypes } group = kHeader;
  Type* open = nullptr;
  std::string line;
  int number = 0;
  std::smatch m;
  while (std::getline(in, line)) {
    ++number;
    auto bad = [&](const std::string& why) {
      f.problems.push_back(std::to_string(number) + ": " + why + ": " + line.substr(0, 120));
    };
    if (line.size() > 1023) bad("longer than a VB6 line");
    for (char c : line)
      if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) {
        bad("a character outside printable ASCII");
        break;
      }
    if (open != nullptr) {
      if (line == "End Type") {
        open = nullptr;
      } else if (line.starts_with("    ")) {
        open->items.push_back(line.substr(4));
      } else {
        bad("not a member line");
      }
      continue;
    }
    if (line == "' Declarations") group = kDeclares;
    if (line == "' Constants") group = kConstants;
    if (line == "' Types") group = kTypes;
    if (line.starts_with("'")) continue;
    if (group == kDeclares && std::regex_match(line, m, kDeclare)) {
      Declare d{line, m[2], m[3], m[4], {}};
      std::smatch p;
      std::string rest = m[5];
      while (!rest.empty()) {
        const size_t comma = rest.find(", ");
        const std::string one = rest.substr(0, comma);
        if (!std::regex_match(one, p, kParam)) bad("a parameter out of form: " + one);
        d.params.push_back({p[1].matched, p[2], p[3]});
        rest = comma == std::string::npos ? "" : rest.substr(comma + 2);
      }
      if ((m[1] == "Function") != m[6].matched) bad("a Function without As or a Sub with it");
      f.declares.push_back(std::move(d));
    } else if (group == kConstants && std::regex_match(line, m, kConst)) {
      f.constants[m[1]] = line;
      f.constantOrder.push_back(m[1]);
    } else if (group == kTypes && line.starts_with("Public Type ")) {
      f.types.push_back({line.substr(12), {}});
      open = &f.types.back();
    } else {
      bad("not a statement of its group");
    }
  }
  if (open != nullptr) f.problems.push_back("the last Type has no End Type");
  return f;
}

const ApiFile& File() {
  static const ApiFile file = Parse(BW_API_TEXT);
  return file;
}

// The count and the first 20 of a list of failures, for a test's message.
std::string Listed(const std::vector<std::string>& failures) {
  std::string out = std::to_string(failures.size()) + ":\n";
  for (size_t i = 0; i < failures.size() && i < 20; ++i)
    out += failures[i] + "\n";
  return out;
}

bool IsMarked(const Type& t) {
  return !t.items.empty() && t.items[0].starts_with("' Not expressible in VB6: ");
}

const std::set<std::string> kIntrinsic = {"Byte",   "Integer", "Boolean",  "Long",
                                          "Single", "Double",  "Currency", "String"};

template <typename Names>
void ExpectSortedAndUnique(const Names& names, const std::string& group) {
  for (size_t i = 1; i < names.size(); ++i) {
    EXPECT_TRUE(NameLess(names[i - 1], names[i]))
        << group << ": " << names[i - 1] << " then " << names[i];
    EXPECT_FALSE(NameEqual(names[i - 1], names[i])) << group << ": twice " << names[i];
  }
}

TEST(ApiFile, EveryLineIsAStatementOfItsGroupInOrder) {
  const ApiFile& f = File();
  EXPECT_TRUE(f.problems.empty()) << Listed(f.problems);

  std::vector<std::string> names;
  std::set<std::string> types;
  for (const auto& t : f.types)
    types.insert(t.name);
  std::set<std::string> marked;
  for (const auto& t : f.types)
    if (IsMarked(t)) marked.insert(t.name);
  for (const auto& d : f.declares) {
    names.push_back(d.name);
    EXPECT_TRUE(IsVbIdentifier(d.name)) << d.line;
    for (const auto& p : d.params) {
      EXPECT_TRUE(IsVbIdentifier(p.name)) << d.line;
      const bool known = kIntrinsic.count(p.type) != 0 || p.type == "Any" ||
                         (p.type == "Variant" && !p.byVal) || types.count(p.type);
      EXPECT_TRUE(known) << "unknown type " << p.type << " in " << d.line;
      EXPECT_EQ(marked.count(p.type), 0u) << "a marked Type passed in " << d.line;
    }
  }
  ExpectSortedAndUnique(names, "Declares");
  ExpectSortedAndUnique(f.constantOrder, "Constants");
  names.clear();
  std::smatch m;
  for (const auto& t : f.types) {
    names.push_back(t.name);
    EXPECT_TRUE(IsVbIdentifier(t.name)) << t.name;
    std::set<std::string> members;
    for (const auto& item : t.items) {
      if (item.starts_with("'")) continue;
      ASSERT_TRUE(std::regex_match(item, m, kMember)) << t.name << ": " << item;
      EXPECT_TRUE(IsVbIdentifier(m[1].str())) << t.name << ": " << item;
      EXPECT_TRUE(members.insert(LowerName(m[1].str())).second) << t.name << ": " << item;
      const std::string type = m[3];
      EXPECT_TRUE(kIntrinsic.count(type) != 0 || types.count(type) != 0) << t.name << ": " << item;
      if (m[4].matched) {
        EXPECT_EQ(type, "String") << t.name << ": " << item;
      }
    }
    EXPECT_FALSE(members.empty()) << t.name << " has no members";
  }
  ExpectSortedAndUnique(names, "Types");
}

TEST(ApiFile, EveryDeclarePushesTheBytesOfItsStdcallSymbol) {
  const ApiFile& f = File();
  std::map<std::string, std::string> symbols;  // "lib!export" -> decorated symbol
  std::set<std::string> libs;
  for (const auto& d : f.declares)
    libs.insert(d.lib);
  for (const auto& lib : libs) {
    const std::string file =
        std::string(BW_APIGEN_LIB_DIR) + "/lib" + lib.substr(0, lib.find('.')) + ".a";
    for (const auto& e : ReadImportLibraryFile(file))
      if (e.code && !e.importName.empty() && LibName(e.dll) == lib)
        symbols.emplace(lib + "!" + e.importName, e.symbol);
  }
  int checked = 0;
  std::vector<std::string> failures;
  for (const auto& d : f.declares) {
    const std::string exported = d.alias.empty() ? d.name : d.alias;
    auto s = symbols.find(d.lib + "!" + exported);
    if (s == symbols.end()) {
      failures.push_back("no export " + exported + " in " + d.lib);
      continue;
    }
    int pushed = 0;
    for (const auto& p : d.params)
      pushed += p.byVal && (p.type == "Currency" || p.type == "Double") ? 8 : 4;
    const auto bytes = StdcallBytes(s->second);
    if (!bytes || *bytes != pushed)
      failures.push_back(s->second + " against " + std::to_string(pushed) + ": " + d.line);
    ++checked;
  }
  EXPECT_EQ(checked, static_cast<int>(f.declares.size()));
  EXPECT_TRUE(failures.empty()) << Listed(failures);
}

int64_t RoundUp(int64_t n, int64_t a) {
  return (n + a - 1) / a * a;
}

struct Layout {
  int64_t size = 0;
  int64_t align = 1;
  int64_t len = 0;  // what VB's Len() gives: the members' sizes, no gap counted
};

// A Type's size as VB6 lays it out, from its member lines: each member at the next multiple of
// its alignment (at most 4), the whole rounded up to its largest alignment.
class VbLayouts {
 public:
  explicit VbLayouts(const std::vector<Type>& types) {
    for (const auto& t : types)
      byName_[t.name] = &t;
  }

  Layout Of(const std::string& type) {
    static const std::map<std::string, Layout> kSizes = {
        {"Byte", {1, 1, 1}},     {"Integer", {2, 2, 2}}, {"Boolean", {2, 2, 2}},
        {"Long", {4, 4, 4}},     {"Single", {4, 4, 4}},  {"Double", {8, 4, 8}},
        {"Currency", {8, 4, 8}}, {"String", {4, 4, 4}}};
    if (auto s = kSizes.find(type); s != kSizes.end()) return s->second;
    if (auto done = memo_.find(type); done != memo_.end()) return done->second;
    Layout l;
    std::smatch m;
    for (const auto& item : byName_.at(type)->items) {
      if (item.starts_with("'") || !std::regex_match(item, m, kMember)) continue;
      Layout member = m[4].matched ? Layout{std::stoll(m[4]), 1, std::stoll(m[4])} : Of(m[3]);
      const int64_t count = m[2].matched ? std::stoll(m[2]) + 1 : 1;
      l.size = RoundUp(l.size, member.align) + member.size * count;
      l.len += member.len * count;
      l.align = std::max(l.align, member.align);
    }
    l.size = RoundUp(l.size, l.align);
    return memo_[type] = l;
  }

 private:
  std::map<std::string, const Type*> byName_;
  std::map<std::string, Layout> memo_;
};

TEST(ApiFile, EveryTypeHasItsCSizeOrIsMarked) {
  const ApiFile& f = File();
  std::string source;
  for (const auto& h : DefaultHeaders())
    source += "#include <" + h + ">\n";
  Unit unit({BW_APIGEN_INCLUDE_DIR, BW_APIGEN_BUILTIN_DIR, DefaultDefines()}, "sizes.c", source,
            CXTranslationUnit_SkipFunctionBodies);
  std::map<std::string, long long> cSizes;  // typedef and tag names of structures
  std::function<void(CXCursor)> visit = [&](CXCursor c) {
    const auto kind = clang_getCursorKind(c);
    const CXType t = clang_getCanonicalType(clang_getCursorType(c));
    if ((kind == CXCursor_TypedefDecl || kind == CXCursor_StructDecl) && t.kind == CXType_Record)
      cSizes.emplace(Spelling(c), clang_Type_getSizeOf(t));
    if (kind == CXCursor_StructDecl || kind == CXCursor_UnionDecl) ForEachChild(c, visit);
  };
  ForEachChild(unit.Root(), visit);
  std::map<std::string, std::string> renamed;  // Type name -> C name, from the overrides
  const Overrides overrides = Overrides::ReadFile(BW_APIGEN_OVERRIDES);
  for (const auto& o : overrides.all())
    if (o.kind == Override::Kind::kType) renamed[o.name] = o.target;

  VbLayouts vb(f.types);
  int marked = 0;
  std::vector<std::string> failures;
  for (const auto& t : f.types) {
    if (IsMarked(t)) {
      ++marked;
      continue;
    }
    long long cSize = -1;
    std::string c = renamed.count(t.name) ? renamed[t.name] : t.name;
    if (c.ends_with('_') && IsVbKeyword(c.substr(0, c.size() - 1))) c.pop_back();  // INPUT_
    for (const auto& candidate :
         {c, c + "A", c + "_A", "_" + c, "__" + c, "tag" + c, "tag" + c + "A"}) {
      if (auto s = cSizes.find(candidate); s != cSizes.end()) {
        cSize = s->second;
        break;
      }
    }
    // Both the Type's memory and its Len(), which cbSize fields are set from, are the C size.
    const Layout layout = vb.Of(t.name);
    if (cSize != layout.size || cSize != layout.len)
      failures.push_back(t.name + ": C " + std::to_string(cSize) + ", VB6 " +
                         std::to_string(layout.size) + ", Len " + std::to_string(layout.len));
  }
  EXPECT_TRUE(failures.empty()) << Listed(failures);
  EXPECT_LE(marked * 10, static_cast<int>(f.types.size())) << marked << " marked";
}

TEST(ApiFile, Counts) {
  const ApiFile& f = File();
  const std::set<std::string> core = {"kernel32", "user32",  "gdi32",
                                      "advapi32", "shell32", "comdlg32"};
  std::map<std::string, int> perLib;
  for (const auto& d : f.declares)
    ++perLib[d.lib];
  int coreDeclares = 0;
  for (const auto& lib : core) {
    EXPECT_GT(perLib[lib], 0) << lib;
    coreDeclares += perLib[lib];
  }
  EXPECT_GE(coreDeclares, 2000);
  EXPECT_GE(f.constants.size(), 20000u);
  EXPECT_GE(f.types.size(), 2000u);
}

// Written from the C prototypes in the mingw-w64 headers, as a VB6 programmer declares them.
TEST(ApiFile, WellKnownItems) {
  const ApiFile& f = File();
  const std::vector<std::string> declares = {
      R"(Public Declare Function GetWindowText Lib "user32" Alias "GetWindowTextA" (ByVal hWnd As Long, ByVal lpString As String, ByVal nMaxCount As Long) As Long)",
      R"(Public Declare Function SendMessage Lib "user32" Alias "SendMessageA" (ByVal hWnd As Long, ByVal Msg As Long, ByVal wParam As Long, ByVal lParam As Long) As Long)",
      R"(Public Declare Function MessageBox Lib "user32" Alias "MessageBoxA" (ByVal hWnd As Long, ByVal lpText As String, ByVal lpCaption As String, ByVal uType As Long) As Long)",
      R"(Public Declare Function GetTickCount Lib "kernel32" () As Long)",
      R"(Public Declare Sub Sleep Lib "kernel32" (ByVal dwMilliseconds As Long))",
      R"(Public Declare Function FindWindow Lib "user32" Alias "FindWindowA" (ByVal lpClassName As String, ByVal lpWindowName As String) As Long)",
      R"(Public Declare Function SetWindowPos Lib "user32" (ByVal hWnd As Long, ByVal hWndInsertAfter As Long, ByVal X As Long, ByVal Y As Long, ByVal cx As Long, ByVal cy As Long, ByVal uFlags As Long) As Long)",
      R"(Public Declare Function GetSystemMetrics Lib "user32" (ByVal nIndex As Long) As Long)",
      R"(Public Declare Function RegOpenKeyEx Lib "advapi32" Alias "RegOpenKeyExA" (ByVal hKey As Long, ByVal lpSubKey As String, ByVal ulOptions As Long, ByVal samDesired As Long, phkResult As Long) As Long)",
      R"(Public Declare Function ShellExecute Lib "shell32" Alias "ShellExecuteA" (ByVal hWnd As Long, ByVal lpOperation As String, ByVal lpFile As String, ByVal lpParameters As String, ByVal lpDirectory As String, ByVal nShowCmd As Long) As Long)",
      R"(Public Declare Function GetOpenFileName Lib "comdlg32" Alias "GetOpenFileNameA" (pOpenfilename As OPENFILENAME) As Long)",
      R"(Public Declare Function CreateFont Lib "gdi32" Alias "CreateFontA" (ByVal cHeight As Long, ByVal cWidth As Long, ByVal cEscapement As Long, ByVal cOrientation As Long, ByVal cWeight As Long, ByVal bItalic As Long, ByVal bUnderline As Long, ByVal bStrikeOut As Long, ByVal iCharSet As Long, ByVal iOutPrecision As Long, ByVal iClipPrecision As Long, ByVal iQuality As Long, ByVal iPitchAndFamily As Long, ByVal pszFaceName As String) As Long)",
      R"(Public Declare Sub CopyMemory Lib "kernel32" Alias "RtlMoveMemory" (Destination As Any, Source As Any, ByVal Length As Long))",
      R"(Public Declare Function WindowFromPoint Lib "user32" (ByVal PointX As Long, ByVal PointY As Long) As Long)",
      // A block handed out is freed by its value; a PIDL is a Long; a reserved pointer is NULL;
      // security attributes and overlapped records may be NULL; a VARIANT is VB's Variant.
      R"(Public Declare Sub CoTaskMemFree Lib "ole32" (ByVal pv As Long))",
      R"(Public Declare Function SHGetPathFromIDList Lib "shell32" Alias "SHGetPathFromIDListA" (ByVal pidl As Long, ByVal pszPath As String) As Long)",
      R"(Public Declare Function RegQueryValueEx Lib "advapi32" Alias "RegQueryValueExA" (ByVal hKey As Long, ByVal lpValueName As String, ByVal lpReserved As Long, lpType As Long, lpData As Any, lpcbData As Long) As Long)",
      R"(Public Declare Function ConnectNamedPipe Lib "kernel32" (ByVal hNamedPipe As Long, lpOverlapped As Any) As Long)",
      R"(Public Declare Function VariantCopy Lib "oleaut32" (pvargDest As Variant, pvargSrc As Variant) As Long)",
      R"(Public Declare Function lstrlen Lib "kernel32" Alias "lstrlenA" (ByVal lpString As Any) As Long)",
  };
  for (const auto& text : declares) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(text, m, kDeclare)) << text;
    auto d = std::find_if(f.declares.begin(), f.declares.end(),
                          [&](const Declare& x) { return x.name == m[2]; });
    ASSERT_NE(d, f.declares.end()) << m[2];
    EXPECT_EQ(d->line, text);
  }

  const std::map<std::string, std::vector<std::string>> types = {
      {"RECT", {"Left As Long", "Top As Long", "Right As Long", "bottom As Long"}},
      {"POINTAPI", {"x As Long", "y As Long"}},
      {"OSVERSIONINFO",
       {"dwOSVersionInfoSize As Long", "dwMajorVersion As Long", "dwMinorVersion As Long",
        "dwBuildNumber As Long", "dwPlatformId As Long", "szCSDVersion As String * 128"}},
      {"OPENFILENAME",
       {"lStructSize As Long",
        "hwndOwner As Long",
        "hInstance As Long",
        "lpstrFilter As String",
        "lpstrCustomFilter As String",
        "nMaxCustFilter As Long",
        "nFilterIndex As Long",
        "lpstrFile As String",
        "nMaxFile As Long",
        "lpstrFileTitle As String",
        "nMaxFileTitle As Long",
        "lpstrInitialDir As String",
        "lpstrTitle As String",
        "Flags As Long",
        "nFileOffset As Integer",
        "nFileExtension As Integer",
        "lpstrDefExt As String",
        "lCustData As Long",
        "lpfnHook As Long",
        "lpTemplateName As String",
        "pvReserved As Long",
        "dwReserved As Long",
        "FlagsEx As Long"}},
  };
  for (const auto& [name, items] : types) {
    auto t =
        std::find_if(f.types.begin(), f.types.end(), [&](const Type& x) { return x.name == name; });
    ASSERT_NE(t, f.types.end()) << name;
    EXPECT_EQ(t->items, items) << name;
  }

  const std::map<std::string, std::string> constants = {
      {"WM_SETTEXT", "&HC&"},
      {"HWND_TOPMOST", "-1"},
      {"HKEY_LOCAL_MACHINE", "&H80000002&"},
      {"MAX_PATH", "260"},
      {"SW_SHOWNORMAL", "1"},
      {"IDC_ARROW", "32512"},
      {"INFINITE", "&HFFFFFFFF&"},
      {"GENERIC_READ", "&H80000000&"},
      {"SE_SHUTDOWN_NAME", "\"SeShutdownPrivilege\""}};
  for (const auto& [name, value] : constants) {
    auto c = f.constants.find(name);
    ASSERT_NE(c, f.constants.end()) << name;
    EXPECT_EQ(c->second, "Public Const " + name + " = " + value);
  }
}

}  // namespace
}  // namespace bw::apigen
