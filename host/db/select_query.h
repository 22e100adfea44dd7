// The SQL a temporary query accepts: SELECT * FROM <table> [WHERE <criteria>] [;]
//
// Keywords in any case; the table is a name of letters, digits and _, or any text in [brackets];
// the WHERE part is criteria (criteria.h). Other statements raise 3129, a SELECT of another shape
// 3141, a missing or malformed table name 3131, a malformed WHERE part 3075. Errors carry the
// source "DAO.Database".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/db/criteria.h"

namespace dao {

struct SelectQuery {
  std::string table;
  std::optional<Criteria> where;
};

SelectQuery ParseSelectQuery(std::string_view sql);

// True when `text` starts (after blanks) with the word SELECT, so that it is a query rather than
// a table name.
bool LooksLikeSelect(std::string_view text);

}  // namespace dao
