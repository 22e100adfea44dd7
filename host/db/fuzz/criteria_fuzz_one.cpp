#include "host/db/fuzz/criteria_fuzz_one.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/db/criteria.h"
#include "host/db/text_compare.h"
#include "runtime/vb/error.h"

namespace dao {

namespace {

[[noreturn]] void Abort(const char* what) {
  std::fprintf(stderr, "criteria fuzz: %s\n", what);
  std::abort();
}

}  // namespace

void FuzzCriteriaOnce(std::string_view input) {
  Criteria parsed;
  try {
    parsed = ParseCriteria(input);
  } catch (const vb::Error& e) {
    if (e.Number != 3075 && e.Number != 3360) Abort("unexpected error number from the parser");
    return;
  }
  std::string written = ToCriteriaText(parsed);
  Criteria again;
  try {
    again = ParseCriteria(written);
  } catch (const vb::Error&) {
    Abort("written criteria does not parse");
  }
  if (!(again == parsed)) Abort("written criteria parses to another tree");

  // Fields named like the source library's resolve; others raise 3070.
  auto resolve = [](std::string_view name) -> std::optional<std::string> {
    for (std::string_view field : {"Name", "Code", "Create Date", "TypeID"}) {
      if (EqualsNoCase(field, name)) return std::string(field);
    }
    return std::nullopt;
  };
  try {
    SqlCondition sql = ToSqlCondition(parsed, resolve);
    // Placeholders outside quoted identifiers.
    std::size_t marks = 0;
    bool quoted = false;
    for (char c : sql.text) {
      if (c == '"') quoted = !quoted;
      if (c == '?' && !quoted) ++marks;
    }
    if (marks != sql.values.size()) Abort("placeholders and values differ");
  } catch (const vb::Error& e) {
    if (e.Number != 3070) Abort("unexpected error number from the SQL writer");
  }
}

}  // namespace dao
