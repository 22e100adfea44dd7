#include "ide/script/scenario.h"

#include <gtest/gtest.h>

namespace script {
namespace {

using Args = std::vector<std::string>;

TEST(TokenizeTest, SplitsOnBlanksAndReadsQuotedArguments) {
  EXPECT_EQ(Tokenize("select 2 1  2 1", 1), (Args{"select", "2", "1", "2", "1"}));
  EXPECT_EQ(Tokenize("set f.t.Text \"a b\"", 1), (Args{"set", "f.t.Text", "a b"}));
  EXPECT_EQ(Tokenize(R"(type f.t "x\r\ny\t\"q\"\\")", 1), (Args{"type", "f.t", "x\r\ny\t\"q\"\\"}));
  EXPECT_EQ(Tokenize(R"(set f.t.Text "")", 1), (Args{"set", "f.t.Text", ""}));
}

TEST(TokenizeTest, RejectsBadQuoting) {
  EXPECT_THROW(Tokenize(R"(set a "open)", 3), ScenarioError);
  EXPECT_THROW(Tokenize(R"(set a "\q")", 3), ScenarioError);
  EXPECT_THROW(Tokenize(R"(set a "x"y)", 3), ScenarioError);
  try {
    Tokenize(R"(x "open)", 7);
  } catch (const ScenarioError& e) {
    EXPECT_EQ(e.Line, 7);
  }
}

TEST(ParseScenarioTest, AttachesExpectedLinesModuleBodiesAndComments) {
  Scenario s = ParseScenario(R"scn(# a comment
module Module1
Private Sub A()
# not a comment here
> not an expectation here

end-module

print module Module1
> 1 "Private Sub A()"
>
# trailing
)scn");
  ASSERT_EQ(s.Commands.size(), 2u);
  const Command& module = s.Commands[0];
  EXPECT_EQ(module.Line, 2);
  EXPECT_EQ(module.ModuleLines,
            (Args{"Private Sub A()", "# not a comment here", "> not an expectation here", ""}));
  EXPECT_EQ(module.SourceLines.front(), "# a comment");
  EXPECT_EQ(module.SourceLines.back(), "end-module");
  const Command& print = s.Commands[1];
  EXPECT_EQ(print.Line, 9);
  EXPECT_EQ(print.Expected, (Args{"1 \"Private Sub A()\"", ""}));
  EXPECT_EQ(print.SourceLines, (Args{"", "print module Module1"}));
  EXPECT_EQ(s.TrailingLines, Args{"# trailing"});
}

TEST(ParseScenarioTest, ReadsCrLfLfAndCrFilesAndRejectsOrphansAndOpenModules) {
  for (std::string_view text : {"connect 0\r\n> x\r\n", "connect 0\n> x", "connect 0\r> x\r"}) {
    Scenario s = ParseScenario(text);
    ASSERT_EQ(s.Commands.size(), 1u) << testing::PrintToString(text);
    EXPECT_EQ(s.Commands[0].Args, (Args{"connect", "0"}));
    EXPECT_EQ(s.Commands[0].Expected, Args{"x"});
  }
  Scenario mixed = ParseScenario("module M\rA\n\r\nend-module\r\nprint module M\r");
  ASSERT_EQ(mixed.Commands.size(), 2u);
  EXPECT_EQ(mixed.Commands[0].ModuleLines, (Args{"A", ""}));
  EXPECT_EQ(mixed.Commands[1].Line, 5);
  EXPECT_THROW(ParseScenario("> x\nconnect 0\n"), ScenarioError);
  EXPECT_THROW(ParseScenario("module M\nline\n"), ScenarioError);
}

TEST(MatchesExpectedTest, WildcardMatchesAnyRun) {
  EXPECT_TRUE(MatchesExpected("abc", "abc"));
  EXPECT_FALSE(MatchesExpected("abc", "abcd"));
  EXPECT_TRUE(MatchesExpected("Error {{*}}.", "Error No current record."));
  EXPECT_TRUE(MatchesExpected("{{*}}", ""));
  EXPECT_TRUE(MatchesExpected("a{{*}}b{{*}}c", "a-b-b-c"));
  EXPECT_FALSE(MatchesExpected("a{{*}}b", "a-c"));
  EXPECT_FALSE(MatchesExpected("x{{*}}", "yx"));
  EXPECT_TRUE(MatchesExpected("{{*}}{{*}}ab{{*}}", "xaab"));
  EXPECT_FALSE(MatchesExpected("ab{{*}}ba", "aba"));
  EXPECT_TRUE(MatchesExpected("a{{*}}aab{{*}}b", "aaaabab"));
}

TEST(MatchesExpectedTest, ManyWildcardsOnALongLineAnswerAtOnce) {
  // Backtracking over every way to place 25 wildcards in 60 characters would take minutes.
  std::string expected;
  for (int i = 0; i < 25; ++i)
    expected += "{{*}}a";
  EXPECT_FALSE(MatchesExpected(expected + "{{*}}b", std::string(60, 'a')));
  EXPECT_TRUE(MatchesExpected(expected + "{{*}}", std::string(60, 'a')));
  std::string pieces;
  for (int i = 0; i < 2000; ++i)
    pieces += "{{*}}aab";
  EXPECT_FALSE(MatchesExpected(pieces, std::string(200000, 'a') + "b"));
}

}  // namespace
}  // namespace script
