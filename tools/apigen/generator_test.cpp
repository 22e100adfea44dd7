// The generator on small self-contained C sources (no Windows headers), with made-up import
// entries: layouts, the parameter mapping, the A/W rules, the overrides and the constants.
#include "tools/apigen/generator.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace bw::apigen {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const char kPreamble[] = R"(
#define WINAPI __stdcall
typedef unsigned long DWORD; typedef int BOOL; typedef unsigned short WORD; typedef unsigned char BYTE;
typedef long long LONGLONG; typedef char CHAR; typedef unsigned short WCHAR;
typedef void *HANDLE; typedef void *PVOID; typedef void *LPVOID;
typedef char *LPSTR; typedef const char *LPCSTR; typedef WCHAR *LPWSTR; typedef const WCHAR *LPCWSTR;
typedef struct HWND__ { int unused; } *HWND;
typedef union _LARGE_INTEGER { struct { DWORD LowPart; long HighPart; }; LONGLONG QuadPart; } LARGE_INTEGER;
typedef struct tagPOINT { long x; long y; } POINT;
typedef struct tagRECT { long left; long top; long right; long bottom; } RECT;
typedef struct _COORD { short X; short Y; } COORD;
)";

ImportEntry Stdcall(const std::string& name, int bytes, const std::string& dll = "USER32.dll") {
  return {"_" + name + "@" + std::to_string(bytes), name, -1, dll, true};
}

Generated GenerateFrom(const std::string& source, std::vector<ImportEntry> imports = {},
                       const std::string& overrides = "") {
  Sources s;
  s.parse = {BW_APIGEN_INCLUDE_DIR, BW_APIGEN_BUILTIN_DIR, {}};
  s.extra = kPreamble + source;
  s.imports = std::move(imports);
  s.overrides = Overrides::Parse(overrides);
  return apigen::Generate(s);
}

std::vector<std::string> Items(const Generated& g, const std::string& type) {
  for (const auto& t : g.types)
    if (t.name == type) return t.items;
  ADD_FAILURE() << "no Type " << type;
  return {};
}

std::string Declared(const Generated& g, const std::string& name) {
  for (const auto& d : g.declares)
    if (d.name == name) return DeclareText(d);
  return "(not declared)";
}

std::string Constant(const Generated& g, const std::string& name) {
  for (const auto& c : g.constants)
    if (c.name == name) return c.value;
  return "(none)";
}

bool SkippedFor(const Skips& skips, const std::string& reason, const std::string& name) {
  auto it = skips.find(reason);
  return it != skips.end() &&
         std::find(it->second.begin(), it->second.end(), name) != it->second.end();
}

// Every gap is a member of its own, so that Len() of the Type is the C size.
TEST(GeneratorTypes, PadsWhereCAlignsFurther) {
  const auto g = GenerateFrom("typedef struct { BYTE b; double d; int i; } PADDED;");
  EXPECT_THAT(Items(g, "PADDED"), ElementsAre("b As Byte", "Pad1(0 To 6) As Byte", "d As Double",
                                              "i As Long", "Pad2(0 To 3) As Byte"));
}

TEST(GeneratorTypes, PackedStructures) {
  const auto g = GenerateFrom(R"(
#pragma pack(push, 2)
typedef struct { WORD w; DWORD d; } PACKED2;
#pragma pack(1)
typedef struct { DWORD d; BYTE b; } PACKED1;
#pragma pack(pop)
)");
  EXPECT_THAT(Items(g, "PACKED2"),
              ElementsAre("w As Integer",
                          "' d: C places d As Long at byte 2, where a VB6 Type cannot; held as "
                          "Integers",
                          "d(0 To 1) As Integer"));
  EXPECT_THAT(Items(g, "PACKED1"),
              ElementsAre("' Not expressible in VB6: C packs it into 5 bytes; a VB6 Type takes 8",
                          "d As Long", "b As Byte"));
  EXPECT_EQ(g.stats.markedTypes, 1);
}

TEST(GeneratorTypes, BitfieldsUnionsArraysAndNesting) {
  const auto g = GenerateFrom(R"(
typedef struct { DWORD a; DWORD f1:1; DWORD f2:3; DWORD :4; DWORD f3:2; WORD w; } BITS;
typedef struct { DWORD kind; union { DWORD num; CHAR text[8]; } u;
                 union { struct { WORD lo; WORD hi; }; DWORD whole; };
                 union { BYTE bytes[3]; WORD w; } odd; } UNIONS;
typedef struct { POINT pts[2]; CHAR names[3][4]; WCHAR wide[5]; LARGE_INTEGER big; WORD m[2][3];
                 struct { BYTE r, g; } color; BYTE tail[]; } ARRAYS;
)",
                              {}, "type POINT POINTAPI\n");
  EXPECT_THAT(Items(g, "BITS"),
              ElementsAre("a As Long",
                          "' Bits1 holds the bitfields f1 (bit 0), f2 (bits 1-3), unused (bits "
                          "4-7), f3 (bits 8-9)",
                          "Bits1 As Long", "w As Integer", "Pad1(0 To 1) As Byte"));
  EXPECT_THAT(Items(g, "UNIONS"),
              ElementsAre("kind As Long", "' u: union of num | text", "u As String * 8",
                          "' union of (unnamed) | whole", "lo As Integer", "hi As Integer",
                          "' odd: union of bytes | w", "' odd: a union, held as bytes",
                          "odd(0 To 3) As Byte"));
  EXPECT_THAT(Items(g, "ARRAYS"),
              ElementsAre("pts(0 To 1) As POINTAPI", "names(0 To 2) As String * 4",
                          "wide(0 To 4) As Integer", "Pad1(0 To 1) As Byte", "big As Currency",
                          "' m: the C array unsigned short[2][3], in one dimension",
                          "m(0 To 5) As Integer", "color_r As Byte", "color_g As Byte",
                          "' tail: a variable-length array of unsigned char follows",
                          "Pad2(0 To 1) As Byte"));
  EXPECT_THAT(Items(g, "POINTAPI"), ElementsAre("x As Long", "y As Long"));
  EXPECT_THAT(Items(g, "RECT"),
              ElementsAre("Left As Long", "Top As Long", "Right As Long", "bottom As Long"));
}

TEST(GeneratorTypes, WhatIsLeftOut) {
  const auto g = GenerateFrom(R"(
typedef struct _NAMEDA { CHAR s[4]; } NAMEDA;
typedef struct _NAMEDW { WCHAR s[4]; } NAMEDW;
typedef struct IThingVtbl { void *QueryInterface; } IThingVtbl;
typedef struct IThing { struct IThingVtbl *lpVtbl; } IThing;
struct _TAGONLY { int v; };
typedef union { int a; float b; } JUSTUNION;
typedef struct { int a; } Dup; typedef struct { int b; } DUP;
)");
  EXPECT_THAT(Items(g, "NAMED"), ElementsAre("s As String * 4"));
  EXPECT_THAT(Items(g, "TAGONLY"), ElementsAre("v As Long"));
  const auto& s = g.stats.typeSkips;
  EXPECT_TRUE(SkippedFor(s, "the W twin of an A structure", "NAMEDW"));
  EXPECT_TRUE(SkippedFor(s, "a COM interface or its vtable", "IThingVtbl"));
  EXPECT_TRUE(SkippedFor(s, "a COM interface or its vtable", "IThing"));
  EXPECT_TRUE(SkippedFor(s, "the tag of a handle type (DECLARE_HANDLE)", "HWND__"));
  EXPECT_TRUE(SkippedFor(s, "a union, not a structure", "JUSTUNION"));
  EXPECT_TRUE(SkippedFor(s, "a union, not a structure", "LARGE_INTEGER"));
  EXPECT_TRUE(SkippedFor(s, "same name as another type", "DUP"));
}

TEST(GeneratorDeclares, ParameterMapping) {
  const auto g = GenerateFrom(
      R"(
HANDLE WINAPI Mix(HANDLE h, PVOID buffer, LPCWSTR wide, POINT pt, LARGE_INTEGER big,
                  LONGLONG ll, double d, float f, WORD w, BYTE b, DWORD *Count, RECT *rc,
                  HANDLE *out, BOOL (WINAPI *callback)(int), LPVOID *pp, COORD at, HWND hwnd);
LONGLONG WINAPI Ticks(void);
COORD WINAPI Size(void);
BOOL WINAPI Pick(RECT *);
)",
      {Stdcall("Mix", 84), Stdcall("Ticks", 0), Stdcall("Size", 0), Stdcall("Pick", 4)});
  EXPECT_EQ(Declared(g, "Mix"),
            "Public Declare Function Mix Lib \"user32\" (ByVal h As Long, buffer As Any, "
            "ByVal wide As Long, ByVal ptX As Long, ByVal ptY As Long, ByVal big As Currency, "
            "ByVal ll As Currency, ByVal d As Double, ByVal f As Single, ByVal w As Integer, "
            "ByVal b As Byte, Count As Long, rc As RECT, out As Long, ByVal callback As Long, "
            "pp As Long, ByVal at As Long, ByVal hWnd As Long) As Long");
  EXPECT_EQ(Declared(g, "Ticks"), "Public Declare Function Ticks Lib \"user32\" () As Currency");
  EXPECT_EQ(Declared(g, "Size"), "Public Declare Function Size Lib \"user32\" () As Long");
  EXPECT_EQ(Declared(g, "Pick"),
            "Public Declare Function Pick Lib \"user32\" (pRect As RECT) As Long");
}

TEST(GeneratorDeclares, NamesPairsSkipsAndOverrides) {
  const auto g = GenerateFrom(
      R"(
int WINAPI GetThingA(HWND hWnd, LPSTR lpString, int nMaxCount);
int WINAPI GetThingW(HWND hWnd, LPWSTR lpString, int nMaxCount);
int WINAPI OnlyW(LPCWSTR text);
void WINAPI Pause(DWORD ms);
int __cdecl Sprint(char *buf, const char *fmt, ...);
int __cdecl Plain(int a);
int WINAPI _lopenx(LPCSTR path, int mode);
int WINAPI Wrong(int a);
BOOL WINAPI Fill(HWND hWnd, RECT *lpRect);
HANDLE WINAPI LoadThingA(HANDLE hInst, LPCSTR name);
HANDLE WINAPI LoadThingW(HANDLE hInst, LPCWSTR name);
)",
      {Stdcall("GetThingA", 12),
       Stdcall("GetThingW", 12),
       Stdcall("OnlyW", 4),
       Stdcall("Pause", 4, "KERNEL32.dll"),
       {"_Sprint", "Sprint", -1, "USER32.dll", true},
       {"_Plain", "Plain", -1, "USER32.dll", true},
       Stdcall("_lopenx", 8),
       Stdcall("Wrong", 8),
       Stdcall("Missing", 4),
       Stdcall("Fill", 8),
       Stdcall("LoadThingA", 8),
       Stdcall("LoadThingW", 8),
       Stdcall("Pause", 4, "OTHER.dll"),
       {"_Data", "Data", -1, "USER32.dll", false},
       {"_Ord@4", "", 12, "USER32.dll", true}},
      "rename GetThingA GetThingAPI\noptional Fill lpRect\nresource LoadThingA name\n");
  EXPECT_EQ(Declared(g, "GetThingAPI"),
            "Public Declare Function GetThingAPI Lib \"user32\" Alias \"GetThingA\" (ByVal hWnd "
            "As Long, ByVal lpString As String, ByVal nMaxCount As Long) As Long");
  EXPECT_EQ(Declared(g, "OnlyW"),
            "Public Declare Function OnlyW Lib \"user32\" (ByVal Text As Long) As Long");
  EXPECT_EQ(Declared(g, "Pause"), "Public Declare Sub Pause Lib \"kernel32\" (ByVal ms As Long)");
  EXPECT_EQ(Declared(g, "lopenx"),
            "Public Declare Function lopenx Lib \"user32\" Alias \"_lopenx\" (ByVal Path As "
            "String, ByVal mode As Long) As Long");
  EXPECT_EQ(
      Declared(g, "Fill"),
      "Public Declare Function Fill Lib \"user32\" (ByVal hWnd As Long, lpRect As Any) As Long");
  EXPECT_EQ(Declared(g, "LoadThing"),
            "Public Declare Function LoadThing Lib \"user32\" Alias \"LoadThingA\" (ByVal hInst "
            "As Long, ByVal Name As Any) As Long");
  EXPECT_EQ(g.declares.size(), 6u);
  const auto& s = g.stats.declareSkips;
  EXPECT_TRUE(SkippedFor(s, "the W twin of an A function", "GetThingW"));
  EXPECT_TRUE(SkippedFor(s, "the W twin of an A function", "LoadThingW"));
  EXPECT_TRUE(SkippedFor(s, "variadic", "Sprint"));
  EXPECT_TRUE(SkippedFor(s, "not stdcall", "Plain"));
  EXPECT_TRUE(SkippedFor(s, "header and import library disagree on the argument bytes", "Wrong"));
  EXPECT_TRUE(SkippedFor(s, "no prototype in the headers", "Missing"));
  EXPECT_TRUE(SkippedFor(s, "same name as another declaration", "Pause"));
  EXPECT_TRUE(SkippedFor(s, "a data export", "Data"));
  EXPECT_TRUE(SkippedFor(s, "exported by ordinal only", "_Ord@4"));
}

TEST(GeneratorDeclares, AnOverrideThatMatchesNothingFails) {
  EXPECT_THROW(GenerateFrom("void WINAPI Pause(DWORD ms);", {Stdcall("Pause", 4)},
                            "optional Pause lpRect\n"),
               GeneratorError);
  EXPECT_THROW(GenerateFrom("", {}, "type NOSUCH THING\n"), GeneratorError);
}

TEST(GeneratorConstants, MacrosAndEnums) {
  const auto g = GenerateFrom(R"(
#define C_HEX 0x0C
#define C_DEC 260
#define C_NEG (-5)
#define C_BIG 0xFFFFFFFF
#define C_HIGH 2147483648
#define C_MIN (-2147483647 - 1)
#define C_PTR ((HWND)(long)-1)
#define C_RES ((LPSTR)32512)
#define C_KEY ((HANDLE)(unsigned long)0x80000002)
#define C_STR "a \"quoted\" text"
#define C_SIZE sizeof(RECT)
#define C_ALIAS C_HEX
#define C_WIDE L"wide"
#define C_FLOAT 1.5
#define C_LONG64 0x100000000LL
#define C_EMPTY
#define C_FUNC(x) (x)
#define C_FRAGMENT { 1, 2 }
#define C_UNBALANCED (1
#define C_TYPE DWORD
#define C_CALL Mix
#define _C_HIDDEN 1
#define True 1
#define c_hex 3
enum Colors { RED, GREEN = 0x10, BLUE = GREEN + 1, LAST = 0x7FFFFFFF };
void WINAPI Mix(int a);
)");
  for (const auto& [name, value] :
       std::vector<std::pair<std::string, std::string>>{{"C_HEX", "&HC&"},
                                                        {"C_DEC", "260"},
                                                        {"C_NEG", "-5"},
                                                        {"C_BIG", "&HFFFFFFFF&"},
                                                        {"C_HIGH", "&H80000000&"},
                                                        {"C_MIN", "&H80000000&"},
                                                        {"C_PTR", "-1"},
                                                        {"C_RES", "32512"},
                                                        {"C_KEY", "&H80000002&"},
                                                        {"C_STR", "\"a \"\"quoted\"\" text\""},
                                                        {"C_SIZE", "16"},
                                                        {"C_ALIAS", "&HC&"},
                                                        {"RED", "0"},
                                                        {"GREEN", "&H10&"},
                                                        {"BLUE", "&H11&"},
                                                        {"LAST", "&H7FFFFFFF&"}})
    EXPECT_EQ(Constant(g, name), value) << name;
  const auto& s = g.stats.constantSkips;
  EXPECT_TRUE(SkippedFor(s, "a wide string", "C_WIDE"));
  EXPECT_TRUE(SkippedFor(s, "a floating-point value", "C_FLOAT"));
  EXPECT_TRUE(SkippedFor(s, "a value outside 32 bits", "C_LONG64"));
  EXPECT_TRUE(SkippedFor(s, "empty macro (a switch or an include guard)", "C_EMPTY"));
  EXPECT_TRUE(SkippedFor(s, "function-like macro", "C_FUNC"));
  EXPECT_TRUE(SkippedFor(s, "a statement fragment", "C_FRAGMENT"));
  EXPECT_TRUE(SkippedFor(s, "a statement fragment", "C_UNBALANCED"));
  EXPECT_TRUE(SkippedFor(s, "not an expression", "C_TYPE"));
  EXPECT_TRUE(SkippedFor(s, "not a constant (a type, function or variable)", "C_CALL"));
  EXPECT_TRUE(SkippedFor(s, "name is not a VB identifier", "_C_HIDDEN"));
  EXPECT_TRUE(SkippedFor(s, "name is a VB reserved word", "True"));
  EXPECT_TRUE(SkippedFor(s, "same name as another constant", "c_hex"));
  EXPECT_THAT(g.declares, IsEmpty());  // no import entries: nothing to declare
}

}  // namespace
}  // namespace bw::apigen
