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
  EXPECT_TRUE(NameLess("apple", "Banana"));
  EXPECT_TRUE(NameLess("ABC", "abc"));
  EXPECT_TRUE(NameEqual("GetObject", "GETOBJECT"));
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

}  // namespace
}  // namespace bw::apigen
