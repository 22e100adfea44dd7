#include "runtime/quote.h"

#include <gtest/gtest.h>

namespace rt {
namespace {

TEST(QuoteTest, EscapesControlCharactersQuotesAndBackslashes) {
  EXPECT_EQ(Quote(""), R"("")");
  EXPECT_EQ(Quote("plain text"), R"("plain text")");
  EXPECT_EQ(Quote("a\r\nb\tc"), R"("a\r\nb\tc")");
  EXPECT_EQ(Quote("say \"hi\""), R"("say \"hi\"")");
  EXPECT_EQ(Quote("C:\\dir\\file"), R"("C:\\dir\\file")");
  EXPECT_EQ(Quote("\tMsgBox \"Hello\", + vbOKOnly"), R"("\tMsgBox \"Hello\", + vbOKOnly")");
  EXPECT_EQ(Quote("Größe"), "\"Größe\"");
}

}  // namespace
}  // namespace rt
