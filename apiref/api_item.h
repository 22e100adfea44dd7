// The API item text: what the API reference window previews and inserts for an entry of its list.
//
// The three categories are the tables Declares, Constants and Types of the API database. The row
// is found on the category's recordset by name: MoveFirst, then FindFirst with "Name = '...'",
// an apostrophe in the name written twice (the engine's quoting rule), so every name is found as
// it is. A declaration or a constant is its FullName, verbatim. A type is "Type " and its name,
// then each member line (the TypeItem of the TypeItems rows whose TypeID is the type's Id, in the
// order the query returns them), then "End Type"; each line but the last ends with CR LF.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/dao.h"

namespace bw {

enum class ApiCategory { kDeclares, kConstants, kTypes };

// The category a name of the category list stands for ("Constants", "Declares", "Types");
// nullopt for any other text.
std::optional<ApiCategory> CategoryNamed(std::string_view text);
// The table, which is also the category's name in the list.
const char* TableOf(ApiCategory category);

// "Type NAME", the members, "End Type", joined by CR LF.
std::string TypeText(std::string_view name, const std::vector<std::string>& members);

// The text of the entry `name` of `category`, whose table `recordset` is open on in `database`;
// nullopt when no row has that name. Moves the recordset. Raises the engine's errors (a table
// without the category's fields among them).
std::optional<std::string> ApiItemText(dao::Database& database, dao::Recordset& recordset,
                                       ApiCategory category, const std::string& name);

}  // namespace bw
