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

TEST(ParseScenarioTest, ReadsCrLfFilesAndRejectsOrphansAndOpenModules) {
  Scenario s = ParseScenario("connect 0\r\n> x\r\n");
  ASSERT_EQ(s.Commands.size(), 1u);
  EXPECT_EQ(s.Commands[0].Args, (Args{"connect", "0"}));
  EXPECT_EQ(s.Commands[0].Expected, Args{"x"});
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
}

}  // namespace
}  // namespace script
