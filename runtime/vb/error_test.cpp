#include "runtime/vb/error.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

TEST(ErrorTest, RuntimeErrorCarriesStandardTextAndDefaultSource) {
  Error e = RuntimeError(kObjectNotSet);
  EXPECT_EQ(e.Number, 91);
  EXPECT_EQ(e.Description, "Object variable or With block variable not set");
  EXPECT_EQ(e.Source, "Brindlewick");
  EXPECT_STREQ(e.what(), "Object variable or With block variable not set");
}

TEST(ErrorTest, UnknownNumberGetsApplicationDefinedText) {
  EXPECT_EQ(StandardDescription(31999), "Application-defined or object-defined error");
}

TEST(ErrorTest, DefaultSourceCanBeChanged) {
  SetDefaultErrorSource("Other");
  EXPECT_EQ(RuntimeError(5).Source, "Other");
  SetDefaultErrorSource("Brindlewick");
}

}  // namespace
}  // namespace vb
