#include "generators/header_text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "services/testing/code_text.h"

namespace bw {
namespace {

HeaderValues History(std::string name, std::string date, std::string remark) {
  HeaderValues v;
  v.ModName = std::move(name);
  v.ModDate = std::move(date);
  v.ModAbstract = std::move(remark);
  return v;
}

TEST(HeaderCommentTest, TwoLineAbstractAndParms) {
  HeaderValues v = History("dev1", "24Jan99", "Initial Creation");
  v.Name = "LoadData";
  v.Abstract = "Fills the tree\r\nfrom the database";
  v.Parms = "Index";
  EXPECT_EQ(HeaderComment(v), CodeText(R"(
'=========================================================================================
'
' Name       :  LoadData
'
' Abstract   :  Fills the tree
'               from the database
'
' Parms      :  Index
'
'
'
' Modification History
'
' Name            Date        Abstract
' dev1            24Jan99     Initial Creation
'
'=========================================================================================
)"));
}

TEST(HeaderCommentTest, AllFieldsEmptyKeepsNameAbstractAndHistory) {
  HeaderValues v = History("   ", "  ", "Initial Creation");
  EXPECT_EQ(HeaderComment(v), CodeText(R"(
'=========================================================================================
'
' Name       :  $
'
' Abstract   :  $
'
'
'
' Modification History
'
' Name            Date        Abstract
'                             Initial Creation
'
'=========================================================================================
)"));
}

TEST(HeaderCommentTest, SectionsInFixedOrderBlankOnesLeftOut) {
  HeaderValues v = History("dev1", "24Jan99", "");
  v.Name = "  clsTree";  // leading blanks are kept
  v.Return = "Nothing";
  v.Events = "   ";        // only blanks: left out
  v.Parms = "\t";          // a tab is not a blank: present
  v.Properties = "\r\n";   // only a break: present, label line then an empty indent line
  v.Methods = "Load\r\n";  // ends with a break
  v.Abstract = "A tree\r\n\r\nof nodes";
  EXPECT_EQ(HeaderComment(v), CodeText(R"(
'=========================================================================================
'
' Name       :    clsTree
'
' Abstract   :  A tree
'               $
'               of nodes
'
' Methods    :  Load
'               $
'
' Properties :  $
'               $
'
' Parms      :  →
'
' Return     :  Nothing
'
'
'
' Modification History
'
' Name            Date        Abstract
' dev1            24Jan99     $
'
'=========================================================================================
)"));
}

TEST(HeaderCommentTest, LongTextIsNeitherTrimmedNorWrapped) {
  HeaderValues v = History("", "", " note ");
  v.Name = "x";
  v.Abstract = std::string(120, 'a') + "  ";
  EXPECT_EQ(HeaderComment(v), CodeText(R"(
'=========================================================================================
'
' Name       :  x
'
' Abstract   :  aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa  $
'
'
'
' Modification History
'
' Name            Date        Abstract
'                              note $
'
'=========================================================================================
)"));
}

TEST(FieldBlockTest, BreaksGiveIndentedLines) {
  struct Case {
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"one line", CodeText("' Return     :  one line\n")},
      {"", CodeText("' Return     :  $\n")},
      {"a\r\nb\r\nc", CodeText("' Return     :  a\n'               b\n'               c\n")},
      {"ends\r\n", CodeText("' Return     :  ends\n'               $\n")},
      {"a\r\n\r\nb", CodeText("' Return     :  a\n'               $\n'               b\n")},
      // A CR as very last character: a break with an empty last part.
      {"last\r", CodeText("' Return     :  last\n'               $\n")},
      // The character after a CR goes, whatever it is (here a two-byte one).
      {"x\r\xC3\xA9y", CodeText("' Return     :  x\n'               y\n")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FieldBlock(" Return     :  ", c.text), c.expected);
  }
}

TEST(HistoryRowTest, ColumnsFillToSixteenAndTwelveCharacters) {
  struct Case {
    std::string name;
    std::string date;
    std::string expected_row;  // from the apostrophe to the end of the remark
  };
  const Case cases[] = {
      {"dev1", "24Jan99", "' dev1            24Jan99     R"},
      // Trailing blanks are kept and count toward the width.
      {"dev1   ", "24Jan99  ", "' dev1            24Jan99     R"},
      {"abcdefghijklmnop", "24Jan99", "' abcdefghijklmnop24Jan99     R"},
      {"dev1", "123456789012", "' dev1            123456789012R"},
      // Widths count characters: "Jürgen" is 6 characters, 7 bytes.
      {"Jürgen", "24Jän99", "' Jürgen          24Jän99     R"},
      // Blank values give empty columns of full width.
      {"", "", "'                             R"},
      {"                    ", "              ", "'                             R"},
      // Too wide for the column: written whole, then one blank.
      {"abcdefghijklmnopq", "24Jan99", "' abcdefghijklmnopq 24Jan99     R"},
      {"Maximilian Mustermann", "1234567890123", "' Maximilian Mustermann 1234567890123 R"},
      {"abcdefghijklmno  ", "24Jan99", "' abcdefghijklmno   24Jan99     R"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name + "|" + c.date);
    EXPECT_EQ("'" + HistoryNameColumn(c.name) + HistoryDateColumn(c.date) + "R", c.expected_row);
    // The same row inside the whole block, just above the closing lines.
    std::string block = HeaderComment(History(c.name, c.date, "R"));
    EXPECT_NE(block.find(c.expected_row + "\r\n'\r\n'====="), std::string::npos);
  }
}

TEST(DefaultModDateTest, DayMonthAbbreviationTwoDigitYear) {
  EXPECT_EQ(DefaultModDate({1999, 1, 24}), "24Jan99");
  EXPECT_EQ(DefaultModDate({2026, 12, 5}), "05Dec26");
  EXPECT_EQ(DefaultModDate({2000, 3, 1}), "01Mar00");
  vb::DateLocale german = vb::DateLocale::English();
  german.MonthAbbreviations[2] = "Mär";
  german.DateSeparator = ".";
  EXPECT_EQ(DefaultModDate({2026, 3, 7}, german), "07Mär26");
}

}  // namespace
}  // namespace bw
