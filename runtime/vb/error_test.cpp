#include "runtime/vb/error.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

TEST(ErrorTest, RuntimeErrorCarriesStandardTextAndDefaultSource) {
  SetDefaultErrorSource("Project1");
  Error e = RuntimeError(kObjectNotSet);
  SetDefaultErrorSource("");
  EXPECT_EQ(e.Number, 91);
  EXPECT_EQ(e.Description, "Object variable or With block variable not set");
  EXPECT_EQ(e.Source, "Project1");
  EXPECT_STREQ(e.what(), "Object variable or With block variable not set");
}

TEST(ErrorTest, UnknownNumberGetsApplicationDefinedText) {
  EXPECT_EQ(StandardDescription(31999), "Application-defined or object-defined error");
}

TEST(ErrorTest, DefaultSourceIsEmptyUntilSet) {
  EXPECT_EQ(DefaultErrorSource(), "");
  EXPECT_EQ(RuntimeError(5).Source, "");
}

}  // namespace
}  // namespace vb
