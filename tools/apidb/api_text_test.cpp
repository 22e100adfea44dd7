#include "tools/apidb/api_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ide/core/file_io.h"

namespace apidb {
namespace {

using Strings = std::vector<std::string>;

// What a text reads to, in one line per item: "D name|full", "C name|full", "T name" then its
// members "  member", "! line: reason".
Strings Read(std::string_view text) {
  ApiText api = ParseApiText(text);
  Strings out;
  for (const ApiStatement& d : api.Declares)
    out.push_back("D " + d.Name + "|" + d.FullName + " @" + std::to_string(d.Line));
  for (const ApiStatement& c : api.Constants)
    out.push_back("C " + c.Name + "|" + c.FullName + " @" + std::to_string(c.Line));
  for (const ApiType& t : api.Types) {
    out.push_back("T " + t.Name + " @" + std::to_string(t.Line));
    for (const std::string& m : t.Members)
      out.push_back("  " + m);
  }
  for (const UnreadLine& u : api.Unread)
    out.push_back("! " + std::to_string(u.Line) + ": " + u.Reason + ": " + u.Text);
  return out;
}

TEST(ApiTextTest, ReadsEachFormOfStatement) {
  struct Row {
    const char* text;
    Strings read;
  } const rows[] = {
      {"Public Declare Function GetTickCount Lib \"kernel32\" () As Long",
       {"D GetTickCount|Public Declare Function GetTickCount Lib \"kernel32\" () As Long @1"}},
      {"declare sub Sleep lib \"kernel32\" (ByVal ms As Long)",
       {"D Sleep|declare sub Sleep lib \"kernel32\" (ByVal ms As Long) @1"}},
      {"Private Declare PtrSafe Function F Lib \"u\" Alias \"FA\" (ByVal s As String) As LongPtr",
       {"D F|Private Declare PtrSafe Function F Lib \"u\" Alias \"FA\" (ByVal s As String) As "
        "LongPtr @1"}},
      {"Declare Function Name$ Lib \"x\" ()", {"D Name|Declare Function Name$ Lib \"x\" () @1"}},
      {"Declare Sub NoArgs Lib \"x\"", {"D NoArgs|Declare Sub NoArgs Lib \"x\" @1"}},
      {"  Declare Sub Indented Lib \"x\" ()  ' a comment  \t",
       {"D Indented|  Declare Sub Indented Lib \"x\" () @1"}},
      {"Declare Sub Quoted Lib \"it's\" Alias \"a'b\" () ' c",
       {"D Quoted|Declare Sub Quoted Lib \"it's\" Alias \"a'b\" () @1"}},
      {"Public Const WM_SETTEXT = &HC", {"C WM_SETTEXT|Public Const WM_SETTEXT = &HC @1"}},
      {"Global Const G& = -1 ' note", {"C G|Global Const G& = -1 @1"}},
      {"Const S As String = \"it's, (\"", {"C S|Const S As String = \"it's, (\" @1"}},
      {"Const S As String = \"it's\", T = 2",
       {"! 1: more than one Const on the line: Const S As String = \"it's\", T = 2"}},
      {"Const M = F(1, 2)", {"C M|Const M = F(1, 2) @1"}},
      {"Private Const X=1", {"C X|Private Const X=1 @1"}},
      {"Public Type P\r\n    x As Long ' across\r\n\ty(1 To 2) As Integer\r\n  s As String * 8 "
       "\r\nEnd Type",
       {"T P @1", "      x As Long", "  \ty(1 To 2) As Integer", "    s As String * 8"}},
      {"Type EMPTY\n' a comment inside\n\nEND TYPE", {"T EMPTY @1"}},
      {"' only a comment\n\n   \n'Public Const OLD = 1\nRem a remark\nRemark\n",
       {"! 6: not a Declare, Const or Type statement: Remark"}},
  };
  for (const Row& row : rows)
    EXPECT_EQ(Read(row.text), row.read) << row.text;
}

TEST(ApiTextTest, ReportsEveryLineItCannotRead) {
  const char* text =
      "Declare Sub 9Lives Lib \"x\" ()\n"        // 1: no name
      "Declare Function F \"x\" ()\n"            // 2: no Lib
      "Declare Function F Lib \"x\" (ByVal a\n"  // 3: open argument list
      "Declare Function F Lib \"x\" Alias ()\n"  // 4: Alias without a name
      "Const = 5\n"                              // 5: no name
      "Const K\n"                                // 6: no value
      "Option Explicit\n"                        // 7: no statement
      "End Type\n"                               // 8: outside a type
      "Type T\n"                                 // 9: never ended (see 11)
      "    a As Long\n"                          // 10
      "Public Const AFTER = 1\n"                 // 11: ends T without End Type
      "Type U extra\n"                           // 12: more than a name
      "Type V\n"                                 // 13
      "    not a member\n"                       // 14
      "    b As Long\n"                          // 15
      "End Type\n"                               // 16
      "Declare Sub Bell\x07 Lib \"x\" ()\n"      // 17: control character
      "Type W\n"                                 // 18: the file ends first
      "    c As Long\n";
  EXPECT_EQ(Read(text), (Strings{
                            "C AFTER|Public Const AFTER = 1 @11",
                            "T V @13",
                            "      b As Long",
                            "! 1: Declare without a name: Declare Sub 9Lives Lib \"x\" ()",
                            "! 2: Declare without Lib and a library name in quotes: Declare "
                            "Function F \"x\" ()",
                            "! 3: Declare whose argument list is not closed: Declare Function F "
                            "Lib \"x\" (ByVal a",
                            "! 4: Alias without a name in quotes: Declare Function F Lib \"x\" "
                            "Alias ()",
                            "! 5: Const without a name: Const = 5",
                            "! 6: Const without = and a value: Const K",
                            "! 7: not a Declare, Const or Type statement: Option Explicit",
                            "! 8: End Type without Type: End Type",
                            "! 9: Type T without End Type: Type T",
                            "! 12: Type line without one name: Type U extra",
                            "! 14: not a member line of Type V:     not a member",
                            "! 17: a control character in the line: Declare Sub Bell\x07 Lib "
                            "\"x\" ()",
                            "! 18: Type W without End Type: Type W",
                        }));
}

TEST(ApiTextTest, WritesDeclarationsConstantsThenTypesThatReadBackTheSame) {
  const char* text =
      "Public Type P\n  x As Long\nEnd Type\n"
      "Const A = 1 ' one\n"
      "Declare Sub S Lib \"k\" ()\n"
      "Private Type E\nEnd Type\n";
  ApiText api = ParseApiText(text);
  std::string written = WriteApiText(api);
  EXPECT_EQ(written,
            "Declare Sub S Lib \"k\" ()\r\nConst A = 1\r\nPublic Type P\r\n  x As Long\r\nEnd "
            "Type\r\nPublic Type E\r\nEnd Type\r\n");
  ApiText again = ParseApiText(written);
  EXPECT_TRUE(again.Unread.empty());
  EXPECT_EQ(again.Declares, api.Declares);
  EXPECT_EQ(again.Constants, api.Constants);
  EXPECT_EQ(again.Types, api.Types);
}

TEST(ApiTextTest, FilesAreWindows1252OrUtf8AfterAMark) {
  EXPECT_EQ(DecodeApiFile("Const E = \"\x80\xE9\""), "Const E = \"\xE2\x82\xAC\xC3\xA9\"");
  EXPECT_EQ(DecodeApiFile("\xEF\xBB\xBF"
                          "Const E = \"\xC3\xA9\""),
            "Const E = \"\xC3\xA9\"");
  EXPECT_EQ(EncodeApiFile("\xE2\x82\xAC\xC3\xA9"), "\x80\xE9");
  // A character the code page lacks (an Omega) is not written as '?': the file is UTF-8.
  EXPECT_EQ(EncodeApiFile("Const O = \"\xCE\xA9\""),
            "\xEF\xBB\xBF"
            "Const O = \"\xCE\xA9\"");
}

}  // namespace
}  // namespace apidb
