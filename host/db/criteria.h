// Criteria: the expressions that FindFirst and a query's WHERE clause accept, parsed by our own
// parser and turned into an SQL condition whose values are bound, never pasted into the text.
//
// Grammar (keywords AND, OR, NOT, IS, NULL in any case):
//   criteria   := or
//   or         := and { OR and }
//   and        := not { AND not }
//   not        := NOT not | '(' or ')' | comparison
//   comparison := operand ( op operand | IS [NOT] NULL )
//   op         := =  <>  <  >  <=  >=
//   operand    := field | 'text' | "text" | number | NULL
//   field      := [any characters but ]]  |  a name of letters, digits, _ and non-ASCII letters
//   number     := [+|-] digits [. digits] [E [+|-] digits]   (also .5)
// Inside a literal, the quote written twice stands for one quote ('O''Brien' is O'Brien).
//
// Meaning, as Jet's: text compares without regard to case (text_compare.h); a comparison with a
// number literal is numeric, and a field whose value is not a number does not match it; Null
// matches no comparison (use IS NULL); AND, OR and NOT follow three-valued logic.
//
// Parsing raises 3075 with the expression quoted: "Syntax error in query expression '...'.",
// "... (missing operator) ...", "... in string ...", "Missing ), ], or Item ...", "Extra ) ...".
// More than 20 nested parentheses or NOTs, or more than 10,000 comparisons, raise 3360 "Query is
// too complex.", as does a condition SQLite's parser cannot take (the engine maps its error).
// Resolving a name that is not a field raises 3070.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace dao {

// The SQL names of the collation and the function that the condition text uses; every
// connection that runs such a condition registers both.
inline constexpr std::string_view kNoCaseCollation = "bw_nocase";
inline constexpr std::string_view kNumberFunction = "bw_num";

struct Operand {
  enum class Kind { kField, kText, kNumber, kNull };
  Kind kind = Kind::kNull;
  std::string text;  // the field name, the literal's text, or the number as written

  bool operator==(const Operand&) const = default;
};

enum class CompareOp { kEq, kNe, kLt, kGt, kLe, kGe };

struct Criteria {
  enum class Kind { kCompare, kIsNull, kIsNotNull, kAnd, kOr, kNot };
  Kind kind = Kind::kCompare;
  CompareOp op = CompareOp::kEq;  // kCompare
  Operand left;                   // kCompare, kIsNull, kIsNotNull
  Operand right;                  // kCompare
  std::vector<Criteria> terms;    // kAnd, kOr: two or more; kNot: one

  bool operator==(const Criteria&) const = default;
};

// Parses the criteria text. Raises 3075 or 3360 (source "DAO.Recordset").
Criteria ParseCriteria(std::string_view text);

// The criteria written back as text, fully parenthesised; parsing it gives `c` again.
std::string ToCriteriaText(const Criteria& c);

// A number: a whole number that fits 64 bits, else a double.
using Number = std::variant<std::int64_t, double>;

// The number that `text` spells (blanks around it allowed), in the number syntax above;
// std::nullopt for anything else, including infinities and NaN.
std::optional<Number> ParseNumber(std::string_view text);

using SqlValue = std::variant<std::string, std::int64_t, double>;

struct SqlCondition {
  std::string text;              // an SQL boolean expression with a ? per value
  std::vector<SqlValue> values;  // bound to the ?s in order
};

// Gives the store's name of a field written in criteria, or std::nullopt when there is none.
using FieldResolver = std::function<std::optional<std::string>(std::string_view name)>;

// The SQL condition for `c`. Raises 3070 (source "DAO.Recordset") for a name `resolve` rejects.
SqlCondition ToSqlCondition(const Criteria& c, const FieldResolver& resolve);

// An SQL identifier in double quotes.
std::string QuoteIdentifier(std::string_view name);

}  // namespace dao
