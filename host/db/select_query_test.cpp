#include "host/db/select_query.h"

#include <gtest/gtest.h>

#include "host/db/testing/db_test_util.h"

namespace dao {
namespace {

using testing::ErrorOf;

TEST(SelectQueryTest, ReadsTableAndWhereClause) {
  SelectQuery q = ParseSelectQuery("SELECT * FROM TypeItems WHERE TypeID = 12");
  EXPECT_EQ(q.table, "TypeItems");
  ASSERT_TRUE(q.where.has_value());
  EXPECT_EQ(ToCriteriaText(*q.where), "[TypeID] = 12");

  SelectQuery all = ParseSelectQuery("  select*from [Type Items] ; ");
  EXPECT_EQ(all.table, "Type Items");
  EXPECT_FALSE(all.where.has_value());

  SelectQuery semi = ParseSelectQuery("SELECT * FROM t WHERE Name = 'a;b';");
  EXPECT_EQ(ToCriteriaText(*semi.where), "[Name] = 'a;b'");
}

TEST(SelectQueryTest, OtherStatementsAndShapesRaiseJetErrors) {
  struct Case {
    const char* sql;
    long number;
    const char* description;
  };
  const Case cases[] = {
      {"DELETE FROM Subs", 3129,
       "Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or 'UPDATE'."},
      {"SELECTED * FROM Subs", 3129,
       "Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or 'UPDATE'."},
      {"SELECT Name FROM Subs", 3141,
       "The SELECT statement includes a reserved word or an argument name that is misspelled or "
       "missing, or the punctuation is incorrect."},
      {"SELECT * FROM Subs ORDER BY Name", 3141,
       "The SELECT statement includes a reserved word or an argument name that is misspelled or "
       "missing, or the punctuation is incorrect."},
      {"SELECT * FROM", 3131, "Syntax error in FROM clause."},
      {"SELECT * FROM [Subs", 3131, "Syntax error in FROM clause."},
      {"SELECT * FROM Subs WHERE", 3075, "Syntax error in query expression ''."},
      {"SELECT * FROM Subs WHERE Name = 'a", 3075,
       "Syntax error in string in query expression 'Name = 'a'."},
  };
  for (const Case& c : cases) {
    vb::Error e = ErrorOf([&] { ParseSelectQuery(c.sql); });
    EXPECT_EQ(e.Number, c.number) << c.sql;
    EXPECT_EQ(e.Source, "DAO.Database") << c.sql;
    EXPECT_EQ(e.Description, c.description) << c.sql;
  }
}

TEST(SelectQueryTest, LooksLikeSelectOnlyForTheWholeWord) {
  EXPECT_TRUE(LooksLikeSelect("  select * from x"));
  EXPECT_FALSE(LooksLikeSelect("Selections"));
  EXPECT_FALSE(LooksLikeSelect("Subs"));
}

}  // namespace
}  // namespace dao
