// The embedded default database engine, on SQLite.
//
// Opens any SQLite file; tables and fields other than those a caller names are ignored and
// column types are free. Each database holds its own connection; a recordset or query keeps it
// alive after the Database is dropped. See dao.h for the contract and sqlite_recordset.h for how
// a dynaset reads and writes.
#pragma once

#include "host/db/dao.h"

namespace dao {

struct SqliteEngineOptions {
  // How long a call waits for another process's lock before raising 3218.
  int busy_timeout_ms = 2000;
};

vb::Object<DBEngine> NewSqliteEngine(const SqliteEngineOptions& options = {});

}  // namespace dao
