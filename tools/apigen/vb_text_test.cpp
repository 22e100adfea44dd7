#include "tools/apigen/vb_text.h"

#include <gtest/gtest.h>

namespace bw::apigen {
namespace {

TEST(VbText, Identifiers) {
  struct Case {
    std::string c;
    std::string vb;  // ToVbIdentifier
    bool valid;      // IsVbIdentifier(c)
  };
  for (const auto& t : std::vector<Case>{{"nMaxCount", "nMaxCount", true},
                                         {"_lopen", "lopen", false},
                                         {"__reserved2", "reserved2", false},
                                         {"Type", "Type_", false},
                                         {"string", "string_", false},
                                         {"left", "Left", true},
                                         {"hwnd", "hWnd", true},
                                         {"x1", "x1", true},
                                         {"_", "", false},
                                         {"9lives", "", false},
                                         {"a$b", "", false},
                                         {std::string(256, 'a'), "", false}}) {
    EXPECT_EQ(ToVbIdentifier(t.c), t.vb) << t.c;
    EXPECT_EQ(IsVbIdentifier(t.c), t.valid) << t.c;
  }
  EXPECT_EQ(Distinct("Luid", {"LUID"}), "pLuid");
  EXPECT_EQ(Distinct("size", {"Long", "SIZE"}), "pSize");
  EXPECT_EQ(Distinct("rc", {"RECT"}), "rc");
  EXPECT_TRUE(IsVbKeyword("BYVAL"));
  EXPECT_FALSE(IsVbKeyword("Left"));
}

TEST(VbText, Literals) {
  struct Case {
    int64_t value;
    bool hex;
    std::optional<std::string> text;
  };
  for (const auto& t : std::vector<Case>{{12, true, "&HC&"},
                                         {12, false, "12"},
                                         {0, true, "&H0&"},
                                         {-1, false, "-1"},
                                         {-1, true, "&HFFFFFFFF&"},
                                         {0xFFFFFFFFLL, false, "-1"},
                                         {0x80000002LL, true, "&H80000002&"},
                                         {0x80000000LL, false, "&H80000000&"},
                                         {-2147483648LL, false, "&H80000000&"},
                                         {2147483647LL, false, "2147483647"},
                                         {0x100000000LL, true, std::nullopt},
                                         {-2147483649LL, false, std::nullopt}})
    EXPECT_EQ(VbLongLiteral(t.value, t.hex), t.text) << t.value;
  EXPECT_EQ(VbStringLiteral("System"), "\"System\"");
  EXPECT_EQ(VbStringLiteral("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(VbStringLiteral(""), "\"\"");
  EXPECT_EQ(VbStringLiteral("tab\there"), std::nullopt);
  EXPECT_EQ(VbStringLiteral("caf\xc3\xa9"), std::nullopt);
}

TEST(VbText, StatementsAndTheFile) {
  VbDeclare sleep{"Sleep", "kernel32", "", {{"dwMilliseconds", true, "Long"}}, ""};
  VbDeclare text{"GetWindowText",
                 "user32",
                 "GetWindowTextA",
                 {{"hWnd", true, "Long"}, {"lpString", true, "String"}, {"rc", false, "RECT"}},
                 "Long"};
  VbDeclare none{"GetTickCount", "kernel32", "", {}, "Long"};
  EXPECT_EQ(DeclareText(sleep),
            "Public Declare Sub Sleep Lib \"kernel32\" (ByVal dwMilliseconds As Long)");
  EXPECT_EQ(DeclareText(text),
            "Public Declare Function GetWindowText Lib \"user32\" Alias \"GetWindowTextA\" "
            "(ByVal hWnd As Long, ByVal lpString As String, rc As RECT) As Long");
  EXPECT_EQ(DeclareText(none), "Public Declare Function GetTickCount Lib \"kernel32\" () As Long");

  const std::string file = ApiText({"Made by a test.", ""}, {text, sleep, none},
                                   {{"b_two", "2"}, {"A_ONE", "&H1&"}, {"a_one", "1"}},
                                   {{"RECT", {"Left As Long", "' a comment"}}, {"EMPTY", {}}});
  EXPECT_EQ(file,
            "' Made by a test.\n"
            "'\n"
            "'\n' Declarations\n"
            "Public Declare Function GetTickCount Lib \"kernel32\" () As Long\n" +
                DeclareText(text) + "\n" + DeclareText(sleep) +
                "\n"
                "'\n' Constants\n"
                "Public Const A_ONE = &H1&\n"
                "Public Const a_one = 1\n"
                "Public Const b_two = 2\n"
                "'\n' Types\n"
                "Public Type EMPTY\n"
                "End Type\n"
                "Public Type RECT\n"
                "    Left As Long\n"
                "    ' a comment\n"
                "End Type\n");
  EXPECT_TRUE(NameLess("apple", "Banana"));
  EXPECT_TRUE(NameLess("ABC", "abc"));
  EXPECT_TRUE(NameEqual("GetObject", "GETOBJECT"));
}

}  // namespace
}  // namespace bw::apigen
