#include "host/db/criteria.h"

#include <gtest/gtest.h>

#include <string>

#include "host/db/testing/db_test_util.h"
#include "host/db/text_compare.h"

namespace dao {
namespace {

using testing::ErrorOf;

std::optional<std::string> SourceLibraryField(std::string_view name) {
  for (std::string_view field : {"Name", "Code", "Create Date", "TypeID"}) {
    if (EqualsNoCase(field, name)) return std::string(field);
  }
  return std::nullopt;
}

// The canonical text of the parsed criteria.
std::string Canonical(std::string_view text) {
  return ToCriteriaText(ParseCriteria(text));
}

TEST(CriteriaParseTest, SimpleComparisonGivesFieldAndLiteral) {
  Criteria c = ParseCriteria("Name = 'Foo'");
  EXPECT_EQ(c.kind, Criteria::Kind::kCompare);
  EXPECT_EQ(c.op, CompareOp::kEq);
  EXPECT_EQ(c.left, (Operand{Operand::Kind::kField, "Name"}));
  EXPECT_EQ(c.right, (Operand{Operand::Kind::kText, "Foo"}));
}

TEST(CriteriaParseTest, OperandsAndOperatorsOfEveryKind) {
  EXPECT_EQ(Canonical("[Create Date] = '03/7/2026'"), "[Create Date] = '03/7/2026'");
  EXPECT_EQ(Canonical("Name='O''Brien'"), "[Name] = 'O''Brien'");
  EXPECT_EQ(Canonical(R"(Name = "say ""hi"" it's")"), R"([Name] = 'say "hi" it''s')");
  EXPECT_EQ(Canonical("TypeID<>-12"), "[TypeID] <> -12");
  EXPECT_EQ(Canonical("a<1 or a<=2.5 Or a>.5 OR a>=1E3"),
            "[a] < 1 OR [a] <= 2.5 OR [a] > .5 OR [a] >= 1E3");
  EXPECT_EQ(Canonical("Creator is null and Modifier IS NOT NULL"),
            "[Creator] IS NULL AND [Modifier] IS NOT NULL");
  EXPECT_EQ(Canonical("Name = Null"), "[Name] = NULL");
  EXPECT_EQ(Canonical("\tName\r\n=\n'x'  "), "[Name] = 'x'");
  EXPECT_EQ(Canonical("Naïve_1 = 'é'"), "[Naïve_1] = 'é'");
  EXPECT_EQ(Canonical("[AND] = 1"), "[AND] = 1");
}

TEST(CriteriaParseTest, AndBindsTighterThanOrAndParenthesesRegroup) {
  Criteria c = ParseCriteria("a = 1 OR b = 2 AND c = 3");
  ASSERT_EQ(c.kind, Criteria::Kind::kOr);
  ASSERT_EQ(c.terms.size(), 2u);
  EXPECT_EQ(c.terms[1].kind, Criteria::Kind::kAnd);
  EXPECT_EQ(Canonical("(a = 1 OR b = 2) AND c = 3"), "([a] = 1 OR [b] = 2) AND [c] = 3");
  EXPECT_EQ(Canonical("NOT a = 1 AND NOT (b = 2 OR c = 3)"),
            "NOT [a] = 1 AND NOT ([b] = 2 OR [c] = 3)");
  EXPECT_EQ(Canonical("((((a = 1))))"), "[a] = 1");
  EXPECT_EQ(Canonical("a = 1 and b = 2 and c = 3"), "[a] = 1 AND [b] = 2 AND [c] = 3");
}

TEST(CriteriaParseTest, WrittenTextParsesToTheSameTree) {
  for (const char* text : {"Name = 'it''s' AND (Code <> '' OR NOT Code IS NULL)",
                           "NOT NOT (a = 1 AND (b = 2 AND c = 3)) OR [x y] >= -1.5e-3"}) {
    Criteria c = ParseCriteria(text);
    EXPECT_EQ(ParseCriteria(ToCriteriaText(c)), c) << text;
  }
}

TEST(CriteriaParseTest, MalformedCriteriaRaise3075QuotingTheExpression) {
  struct Case {
    const char* criteria;
    const char* description;
  };
  const Case cases[] = {
      {"Name = 'O'Brien'",
       R"(Syntax error (missing operator) in query expression 'Name = 'O'Brien''.)"},
      {"Name = 'Foo", R"(Syntax error in string in query expression 'Name = 'Foo'.)"},
      {"Name = \"Foo", R"(Syntax error in string in query expression 'Name = "Foo'.)"},
      {"(Name = 'a'", R"(Missing ), ], or Item in query expression '(Name = 'a''.)"},
      {"[Create Date = 'a'", R"(Missing ), ], or Item in query expression '[Create Date = 'a''.)"},
      {"Name = 'a')", R"(Extra ) in query expression 'Name = 'a')'.)"},
      {"Name =", R"(Syntax error in query expression 'Name ='.)"},
      {"", R"(Syntax error in query expression ''.)"},
      {"Name", R"(Syntax error (missing operator) in query expression 'Name'.)"},
      {"Name 'Foo'", R"(Syntax error (missing operator) in query expression 'Name 'Foo''.)"},
      {"Name == 'Foo'", R"(Syntax error in query expression 'Name == 'Foo''.)"},
      {"Name = 'a' AND", R"(Syntax error in query expression 'Name = 'a' AND'.)"},
      {"Name IS 'a'", R"(Syntax error in query expression 'Name IS 'a''.)"},
      {"[] = 1", R"(Syntax error in query expression '[] = 1'.)"},
      {"Id = 1e999", R"(Syntax error in query expression 'Id = 1e999'.)"},
      {"Name = 'a' ; DROP TABLE Subs",
       R"(Syntax error (missing operator) in query expression 'Name = 'a' ; DROP TABLE Subs'.)"},
  };
  for (const Case& c : cases) {
    vb::Error e = ErrorOf([&] { ParseCriteria(c.criteria); });
    EXPECT_EQ(e.Number, 3075) << c.criteria;
    EXPECT_EQ(e.Source, "DAO.Recordset") << c.criteria;
    EXPECT_EQ(e.Description, c.description) << c.criteria;
  }
}

TEST(CriteriaParseTest, DeepNestingAndHugeListsRaise3360) {
  std::string deep(101, '(');
  deep += "a = 1" + std::string(101, ')');
  vb::Error e = ErrorOf([&] { ParseCriteria(deep); });
  EXPECT_EQ(e.Number, 3360);
  EXPECT_EQ(e.Description, "Query is too complex.");

  std::string nots;
  for (int i = 0; i < 101; ++i)
    nots += "NOT ";
  EXPECT_EQ(ErrorOf([&] { ParseCriteria(nots + "a = 1"); }).Number, 3360);

  std::string fine(100, '(');
  fine += "a = 1" + std::string(100, ')');
  EXPECT_EQ(Canonical(fine), "[a] = 1");

  std::string many = "a = 1";
  for (int i = 0; i < 10000; ++i)
    many += " OR a = 1";
  EXPECT_EQ(ErrorOf([&] { ParseCriteria(many); }).Number, 3360);
}

TEST(CriteriaSqlTest, TextComparesWithTheCaseFreeCollationAndBindsValues) {
  SqlCondition sql =
      ToSqlCondition(ParseCriteria("name = 'x''; DROP TABLE Subs; --'"), SourceLibraryField);
  EXPECT_EQ(sql.text, R"((CAST("Name" AS TEXT) = ? COLLATE bw_nocase))");
  ASSERT_EQ(sql.values.size(), 1u);
  EXPECT_EQ(std::get<std::string>(sql.values[0]), "x'; DROP TABLE Subs; --");
}

TEST(CriteriaSqlTest, NumbersMakeTheComparisonNumeric) {
  SqlCondition sql = ToSqlCondition(
      ParseCriteria("TypeID = 12 OR '8' = 8 OR typeid > 2.5 OR '7' < TypeID"), SourceLibraryField);
  EXPECT_EQ(sql.text,
            R"((((bw_num("TypeID") = ?) OR (bw_num(?) = ?)) OR ((bw_num("TypeID") > ?) OR )"
            R"((? < CAST("TypeID" AS TEXT) COLLATE bw_nocase))))");
  ASSERT_EQ(sql.values.size(), 5u);
  EXPECT_EQ(std::get<std::int64_t>(sql.values[0]), 12);
  EXPECT_EQ(std::get<std::string>(sql.values[1]), "8");
  EXPECT_EQ(std::get<std::int64_t>(sql.values[2]), 8);
  EXPECT_EQ(std::get<double>(sql.values[3]), 2.5);
  EXPECT_EQ(std::get<std::string>(sql.values[4]), "7");
}

TEST(CriteriaSqlTest, NullTestsNotAndFieldToFieldComparisons) {
  SqlCondition sql = ToSqlCondition(
      ParseCriteria("NOT ([Create Date] IS NULL) AND Code IS NOT NULL AND Name <> Code AND "
                    "Name = NULL"),
      SourceLibraryField);
  EXPECT_EQ(sql.text, R"((((NOT ("Create Date" IS NULL)) AND ("Code" IS NOT NULL)) AND )"
                      R"(((CAST("Name" AS TEXT) <> CAST("Code" AS TEXT) COLLATE bw_nocase) AND )"
                      R"((CAST("Name" AS TEXT) = NULL COLLATE bw_nocase))))");
  EXPECT_TRUE(sql.values.empty());
}

TEST(CriteriaSqlTest, UnknownFieldRaises3070) {
  vb::Error e = ErrorOf([] { ToSqlCondition(ParseCriteria("[Nmae] = 'a'"), SourceLibraryField); });
  EXPECT_EQ(e.Number, 3070);
  EXPECT_EQ(e.Source, "DAO.Recordset");
  EXPECT_EQ(e.Description,
            "The database engine does not recognize 'Nmae' as a valid field name or expression.");
}

TEST(ParseNumberTest, AcceptsDecimalNumbersOnly) {
  EXPECT_EQ(ParseNumber(" 42 "), Number(std::int64_t{42}));
  EXPECT_EQ(ParseNumber("-9223372036854775808"), Number(INT64_MIN));
  EXPECT_EQ(ParseNumber("9223372036854775808"), Number(9223372036854775808.0));
  EXPECT_EQ(ParseNumber("+1.5e2"), Number(150.0));
  EXPECT_EQ(ParseNumber(".5"), Number(0.5));
  EXPECT_EQ(ParseNumber("5."), Number(5.0));
  for (const char* bad : {"", " ", "abc", "1x", "0x10", "inf", "nan", "1e", "--1", "1e999", "."}) {
    EXPECT_EQ(ParseNumber(bad), std::nullopt) << bad;
  }
}

TEST(QuoteIdentifierTest, DoublesQuotes) {
  EXPECT_EQ(QuoteIdentifier(R"(Mod "x" Date)"), R"("Mod ""x"" Date")");
}

}  // namespace
}  // namespace dao
