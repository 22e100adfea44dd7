#include "generators/msgbox_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/vb/error.h"
#include "services/testing/code_text.h"

namespace bw {
namespace {

MsgBoxValues Values(std::string message, std::string title) {
  MsgBoxValues v;
  v.Message = std::move(message);
  v.Title = std::move(title);
  return v;
}

TEST(MsgBoxStatementTest, InitialStateGivesOkOnlyFirstDefaultAndNoIcon) {
  EXPECT_EQ(MsgBoxStatement(Values("Hello", "Greeting")),
            CodeText(R"(→MsgBox "Hello", + vbOKOnly + vbDefaultButton1 ,"Greeting")"));
}

TEST(MsgBoxStatementTest, CriticalIconStandsInFrontOfTheButtons) {
  MsgBoxValues v = Values("Hello", "Greeting");
  v.Icon = 1;
  EXPECT_EQ(MsgBoxStatement(v),
            CodeText(R"(→MsgBox "Hello", vbCritical + vbOKOnly + vbDefaultButton1 ,"Greeting")"));
}

TEST(MsgBoxStatementTest, ThreeLineMessageWithEveryFlagButHelp) {
  MsgBoxValues v = Values("First line\r\nSecond line\r\nThird", "Save");
  v.Icon = 2;
  v.Buttons = 3;
  v.DefaultButton = 1;
  v.SysModal = true;
  v.Foreground = true;
  EXPECT_EQ(
      MsgBoxStatement(v),
      CodeText(
          R"(→MsgBox "First line" & vbCrLf & "Second line" & vbCrLf & "Third", vbQuestion + vbYesNoCancel + vbDefaultButton2 + vbSystemModal + vbMsgBoxSetForeground ,"Save")"));
}

TEST(MsgBoxStatementTest, HelpButtonAppendsQuotedFileAndBareContextId) {
  MsgBoxValues v = Values("M", "T");
  v.HelpButton = true;
  v.HelpFile = "app.hlp";
  v.HelpID = "1001";
  EXPECT_EQ(
      MsgBoxStatement(v),
      CodeText(
          R"(→MsgBox "M", + vbOKOnly + vbDefaultButton1 + vbMsgBoxHelpButton ,"T" , "app.hlp" , 1001)"));
}

TEST(MsgBoxStatementTest, EmptyMessageAndTitleStillQuoted) {
  EXPECT_EQ(MsgBoxStatement(Values("", "")),
            CodeText(R"(→MsgBox "", + vbOKOnly + vbDefaultButton1 ,"")"));
}

TEST(MsgBoxStatementTest, TextIsCopiedWithoutEscapingOrTrimming) {
  MsgBoxValues v = Values(R"(Say "hi"  )", R"(  "Q" )");
  v.HelpButton = true;
  v.HelpFile = "my help.hlp  ";
  v.HelpID = "12 ";
  EXPECT_EQ(
      MsgBoxStatement(v),
      CodeText(
          R"(→MsgBox "Say "hi"  ", + vbOKOnly + vbDefaultButton1 + vbMsgBoxHelpButton ,"  "Q" " , "my help.hlp  " , 12 )"));
}

TEST(MsgBoxStatementTest, NonAsciiTextIsKeptWhole) {
  MsgBoxValues v = Values("Größe\r\n€ 5", "Überschrift");
  EXPECT_EQ(
      MsgBoxStatement(v),
      CodeText(
          R"(→MsgBox "Größe" & vbCrLf & "€ 5", + vbOKOnly + vbDefaultButton1 ,"Überschrift")"));
}

TEST(MsgBoxStatementTest, UncheckedHelpButtonIgnoresHelpTexts) {
  MsgBoxValues v = Values("M", "T");
  v.HelpFile = "kept.hlp";
  v.HelpID = "7";
  EXPECT_EQ(MsgBoxStatement(v), CodeText(R"(→MsgBox "M", + vbOKOnly + vbDefaultButton1 ,"T")"));
}

TEST(MessageExpressionTest, BreaksBecomeVbCrLfJoins) {
  struct Case {
    std::string message;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"plain", R"("plain")"},
      {"", R"("")"},
      {"Ends with break\r\n", R"("Ends with break" & vbCrLf & "")"},
      {"a\r\n\r\nb", R"("a" & vbCrLf & "" & vbCrLf & "b")"},
      {"\r\n", R"("" & vbCrLf & "")"},
      {"\r\nx", R"("" & vbCrLf & "x")"},
      // A lone LF is not a break.
      {"a\nb", "\"a\nb\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_EQ(MessageExpression(c.message), c.expected);
  }
}

TEST(MessageExpressionTest, CharacterAfterEachCrIsDroppedWhateverItIs) {
  // Not producible by typing, but the cut is by position: the one character after the CR goes.
  EXPECT_EQ(MessageExpression("a\rXb"), R"("a" & vbCrLf & "b")");
  EXPECT_EQ(MessageExpression("a\r\rb"), R"("a" & vbCrLf & "b")");
  EXPECT_EQ(MessageExpression("a\r€b"), R"("a" & vbCrLf & "b")");  // a whole character
}

TEST(MessageExpressionTest, CrAsVeryLastCharacterEndsWithEmptyPart) {
  EXPECT_EQ(MessageExpression("abc\r"), R"("abc" & vbCrLf & "")");
  EXPECT_EQ(MessageExpression("\r"), R"("" & vbCrLf & "")");
  EXPECT_EQ(MessageExpression("a\r\nb\r"), R"("a" & vbCrLf & "b" & vbCrLf & "")");
}

TEST(StyleTextTest, EachMemberGivesItsPiece) {
  const std::vector<std::string> icons = {" ", " vbCritical ", " vbQuestion ", " vbExclamation ",
                                          " vbInformation "};
  for (int i = 0; i < 5; ++i) {
    MsgBoxValues v;
    v.Icon = i;
    EXPECT_EQ(StyleText(v), icons[i] + "+ vbOKOnly + vbDefaultButton1 ") << "icon " << i;
  }
  const std::vector<std::string> buttons = {
      "+ vbOKOnly ",      "+ vbOKCancel ", "+ vbAbortRetryIgnore ",
      "+ vbYesNoCancel ", "+ vbYesNo ",    "+ vbRetryCancel "};
  for (int i = 0; i < 6; ++i) {
    MsgBoxValues v;
    v.Buttons = i;
    EXPECT_EQ(StyleText(v), " " + buttons[i] + "+ vbDefaultButton1 ") << "buttons " << i;
  }
  for (int i = 0; i < 4; ++i) {
    MsgBoxValues v;
    v.DefaultButton = i;
    EXPECT_EQ(StyleText(v), " + vbOKOnly + vbDefaultButton" + std::to_string(i + 1) + " ")
        << "default " << i;
  }
}

TEST(StyleTextTest, FlagsFollowInFixedOrder) {
  MsgBoxValues v;
  v.Icon = 4;
  v.Buttons = 5;
  v.DefaultButton = 3;
  v.HelpButton = true;
  v.Foreground = true;
  v.SysModal = true;
  EXPECT_EQ(StyleText(v),
            " vbInformation + vbRetryCancel + vbDefaultButton4 + vbSystemModal "
            "+ vbMsgBoxSetForeground + vbMsgBoxHelpButton ");
  v.SysModal = false;
  EXPECT_EQ(StyleText(v),
            " vbInformation + vbRetryCancel + vbDefaultButton4 + vbMsgBoxSetForeground "
            "+ vbMsgBoxHelpButton ");
}

TEST(StyleTextTest, MemberOutsideItsArrayRaisesSubscriptOutOfRange) {
  const int bad[][3] = {{5, 0, 0}, {-1, 0, 0}, {0, 6, 0}, {0, -1, 0}, {0, 0, 4}, {0, 0, -1}};
  for (const auto& members : bad) {
    MsgBoxValues v;
    v.Icon = members[0];
    v.Buttons = members[1];
    v.DefaultButton = members[2];
    try {
      MsgBoxStatement(v);
      ADD_FAILURE() << "no error for " << v.Icon << "/" << v.Buttons << "/" << v.DefaultButton;
    } catch (const vb::Error& e) {
      EXPECT_EQ(e.Number, vb::kSubscriptOutOfRange);
    }
  }
}

TEST(HelpCheckTest, FailsOnlyWhenCheckedAndFileOrIdBlank) {
  struct Case {
    bool help;
    std::string file;
    std::string id;
    bool fails;
  };
  const std::vector<Case> cases = {
      {false, "", "", false},
      {false, "   ", "", false},
      {true, "app.hlp", "1", false},
      {true, "", "1", true},
      {true, "app.hlp", "", true},
      {true, "   ", "1", true},
      {true, "app.hlp", "  ", true},
      {true, "  ", "  ", true},
      {true, " x ", " 1 ", false},
      // Only blanks are trimmed: a tab is text.
      {true, "\t", "1", false},
  };
  for (const Case& c : cases) {
    MsgBoxValues v;
    v.HelpButton = c.help;
    v.HelpFile = c.file;
    v.HelpID = c.id;
    EXPECT_EQ(HelpCheckFails(v), c.fails)
        << "help=" << c.help << " file='" << c.file << "' id='" << c.id << "'";
  }
}

}  // namespace
}  // namespace bw
