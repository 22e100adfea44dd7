#include "tools/apigen/overrides.h"

#include <gtest/gtest.h>

namespace bw::apigen {
namespace {

TEST(Overrides, ParsesFindsAndReportsUnused) {
  const Overrides o = Overrides::Parse(
      "# corrections\n"
      "\n"
      "type POINT POINTAPI   # the VB6 name\n"
      "rename GetObjectA GetObjectAPI\n"
      "optional InvalidateRect lpRect\n"
      "resource LoadCursorA lpCursorName\n"
      "address HeapFree lpMem\n");
  ASSERT_EQ(o.all().size(), 5u);
  const Override* type = o.Find(Override::Kind::kType, "POINT");
  ASSERT_NE(type, nullptr);
  EXPECT_EQ(type->name, "POINTAPI");
  EXPECT_EQ(type->line, 3);
  EXPECT_NE(o.Find(Override::Kind::kOptional, "InvalidateRect", "lpRect"), nullptr);
  EXPECT_EQ(o.Find(Override::Kind::kOptional, "InvalidateRect", "bErase"), nullptr);
  EXPECT_EQ(o.Find(Override::Kind::kResource, "InvalidateRect", "lpRect"), nullptr);
  EXPECT_NE(o.Find(Override::Kind::kAddress, "HeapFree", "lpMem"), nullptr);

  const auto unused = o.Unused();
  ASSERT_EQ(unused.size(), 2u);
  EXPECT_EQ(unused[0]->target, "GetObjectA");
  EXPECT_EQ(unused[1]->target, "LoadCursorA");
}

TEST(Overrides, RejectsBadLinesNamingThem) {
  struct Case {
    std::string text;
    std::string message;
  };
  for (const auto& c : std::vector<Case>{
           {"rename A B\nswap A B\n", "overrides line 2: unknown override 'swap'"},
           {"optional F\n", "overrides line 1: 'optional' takes two names"},
           {"rename F G H\n", "overrides line 1: 'rename' takes two names"},
           {"rename F _bad\n", "overrides line 1: '_bad' is not a usable name"},
           {"type T String\n", "overrides line 1: 'String' is not a usable name"},
           {"rename F G\nrename F H\n", "overrides line 2: repeats an earlier override"}}) {
    try {
      Overrides::Parse(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const OverridesError& e) {
      EXPECT_EQ(e.what(), c.message);
    }
  }
  EXPECT_THROW(Overrides::ReadFile("/nonexistent/overrides.txt"), OverridesError);
}

}  // namespace
}  // namespace bw::apigen
