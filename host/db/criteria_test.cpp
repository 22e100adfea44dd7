#include "host/db/criteria.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/db/sqlite_connection.h"
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
  std::string deep(21, '(');
  deep += "a = 1" + std::string(21, ')');
  vb::Error e = ErrorOf([&] { ParseCriteria(deep); });
  EXPECT_EQ(e.Number, 3360);
  EXPECT_EQ(e.Description, "Query is too complex.");

  std::string nots;
  for (int i = 0; i < 21; ++i)
    nots += "NOT ";
  EXPECT_EQ(ErrorOf([&] { ParseCriteria(nots + "a = 1"); }).Number, 3360);
  EXPECT_EQ(Canonical(nots.substr(4) + "a = 1").substr(0, 8), "NOT NOT ");

  std::string fine(20, '(');
  fine += "a = 1" + std::string(20, ')');
  EXPECT_EQ(Canonical(fine), "[a] = 1");

  std::string many = "a = 1";
  for (int i = 0; i < 10000; ++i)
    many += " OR a = 1";
  EXPECT_EQ(ErrorOf([&] { ParseCriteria(many); }).Number, 3360);
}

TEST(CriteriaParseTest, WhatSqlitesParserCannotTakeIsTooComplex) {
  for (const char* message :
       {"parser stack overflow", "Expression tree is too large (maximum depth 1000)"}) {
    vb::Error e = sqlite::MapSqliteError(SQLITE_ERROR, message, "DAO.Recordset", "x.mdb",
                                         sqlite::Access::kRead);
    EXPECT_EQ(e.Number, 3360) << message;
    EXPECT_EQ(e.Description, "Query is too complex.");
  }
}

// A table with the fields SourceLibraryField knows, in an in-memory database that has the
// engine's collation and number function: Select gives the names of the rows a criteria's SQL
// condition selects, in row order.
class CriteriaSqlTest : public ::testing::Test {
 protected:
  using Row = std::vector<std::optional<std::string>>;
  using Names = std::vector<std::string>;

  CriteriaSqlTest() {
    EXPECT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
    sqlite::RegisterCriteriaFunctions(db_);
    Exec(R"(CREATE TABLE Subs ("Name" TEXT, "Code" TEXT, "Create Date" TEXT, "TypeID" INTEGER))");
    const Row rows[] = {
        {"Alpha", "ALPHA", "03/7/2026", "12"},
        {"Beta", "Gamma", std::nullopt, "8"},
        {"x'; drop table subs; --", std::nullopt, "01/1/2020", "2"},
        {"Été", "éTÉ", "02/2/2021", "abc"},
        {"Zeta", std::nullopt, std::nullopt, std::nullopt},
    };
    for (const Row& row : rows) {
      sqlite3_stmt* stmt = Prepare("INSERT INTO Subs VALUES (?, ?, ?, ?)");
      for (int k = 0; k < 4; ++k) {
        if (const auto& v = row[static_cast<std::size_t>(k)])
          sqlite3_bind_text(stmt, k + 1, v->c_str(), -1, SQLITE_TRANSIENT);
      }
      EXPECT_EQ(sqlite3_step(stmt), SQLITE_DONE);
      sqlite3_finalize(stmt);
    }
  }
  ~CriteriaSqlTest() override { sqlite3_close(db_); }

  Names Select(std::string_view criteria) {
    SqlCondition condition = ToSqlCondition(ParseCriteria(criteria), SourceLibraryField);
    sqlite3_stmt* stmt =
        Prepare("SELECT Name FROM Subs WHERE " + condition.text + " ORDER BY rowid");
    for (std::size_t i = 0; i < condition.values.size(); ++i) {
      int index = static_cast<int>(i + 1);
      const SqlValue& v = condition.values[i];
      if (const auto* text = std::get_if<std::string>(&v))
        sqlite3_bind_text(stmt, index, text->c_str(), -1, SQLITE_TRANSIENT);
      else if (const auto* whole = std::get_if<std::int64_t>(&v))
        sqlite3_bind_int64(stmt, index, *whole);
      else
        sqlite3_bind_double(stmt, index, std::get<double>(v));
    }
    Names names;
    while (sqlite3_step(stmt) == SQLITE_ROW)
      names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    return names;
  }

 private:
  sqlite3_stmt* Prepare(const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr), SQLITE_OK)
        << sql << ": " << sqlite3_errmsg(db_);
    return stmt;
  }
  void Exec(const std::string& sql) {
    EXPECT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
  }

  sqlite3* db_ = nullptr;
};

TEST_F(CriteriaSqlTest, SelectsTheRowsTheCriteriaMeans) {
  const std::string injected = "x'; drop table subs; --";
  const std::pair<const char*, Names> cases[] = {
      // Text compares without regard to case; a literal is a bound value, never SQL.
      {"name = 'X''; DROP TABLE Subs; --'", {injected}},
      {"Name = 'alpha'", {"Alpha"}},
      {"Name = 'ÉTÉ'", {"Été"}},
      {"Name > 'b' AND Name < 'Y'", {"Beta", injected}},
      // A number literal makes the comparison numeric; a value that is no number matches none.
      {"TypeID = 12", {"Alpha"}},
      {"TypeID = 12.0", {"Alpha"}},
      {"typeid > 2.5", {"Alpha", "Beta"}},
      {"TypeID <= 8", {"Beta", injected}},
      {"TypeID <> -1", {"Alpha", "Beta", injected}},
      {"'8' = 8", {"Alpha", "Beta", injected, "Été", "Zeta"}},
      {"'8' = 9", {}},
      // Without a number literal a field compares as text: "12" sorts before "7".
      {"'7' < TypeID", {"Beta", "Été"}},
      // Null matches no comparison, whatever NOT, AND and OR make of it.
      {"[Create Date] IS NULL", {"Beta", "Zeta"}},
      {"NOT ([Create Date] IS NULL) AND Code IS NOT NULL", {"Alpha", "Été"}},
      {"Name = NULL", {}},
      {"NOT Name = NULL", {}},
      {"NOT Code = 'gamma'", {"Alpha", "Été"}},
      {"Code = 'gamma' OR TypeID = 2", {"Beta", injected}},
      {"(TypeID = 12 OR Name = 'beta') AND NOT Code IS NULL", {"Alpha", "Beta"}},
      // Field to field, as text.
      {"Name = Code", {"Alpha", "Été"}},
      {"Name <> Code", {"Beta"}},
  };
  for (const auto& [criteria, expected] : cases)
    EXPECT_EQ(Select(criteria), expected) << criteria;
  EXPECT_EQ(Select("Name IS NOT NULL").size(), 5u);  // the table is still there
}

TEST_F(CriteriaSqlTest, UnknownFieldRaises3070) {
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
