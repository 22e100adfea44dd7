// API databases from API text, and back.
//
// An API database holds the tables Declares (Name, FullName), Constants (Name, FullName), Types
// (Name, Id) and TypeItems (TypeID, TypeItem) (host/db/schema.h). Writing numbers the types 1, 2,
// ... in their order and gives each member line its own TypeItems row, in order; rows keep the
// order in which they are written.
#pragma once

#include <functional>
#include <string>

#include "tools/apidb/api_text.h"

namespace apidb {

// Told how far the work has come, from 0 to 1.
using Progress = std::function<void(double done)>;

// Builds the database of `api` at `path`, replacing any file there. The database is built in a
// temporary file beside it and renamed to `path` only when complete, so a failure leaves what
// was at `path` as it was and no temporary file behind. Raises vb::Error (the database engine's
// errors, or 75 when the finished file cannot be put in place).
void WriteApiDatabase(const ApiText& api, const std::string& path, const Progress& progress = {});

// The statements of the API database at `path`: declarations, constants and types in table order,
// each type with the TypeItem of its TypeItems rows in table order; no line numbers. Raises the
// database engine's errors (3024 for a missing file, 3078 for a missing table, ...).
ApiText ReadApiDatabase(const std::string& path);

}  // namespace apidb
