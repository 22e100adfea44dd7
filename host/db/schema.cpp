#include "host/db/schema.h"

#include <filesystem>

#include "host/db/criteria.h"
#include "host/db/errors.h"
#include "host/db/sqlite_connection.h"

namespace dao {

namespace {

using sqlite::Access;
using sqlite::Connection;
using sqlite::ResetOnExit;
using sqlite::Statement;

constexpr int kBusyTimeoutMs = 2000;

void Exec(sqlite3* db, const std::string& sql, const std::string& path) {
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
    throw sqlite::MapSqliteError(sqlite3_extended_errcode(db), sqlite3_errmsg(db), kSourceEngine,
                                 path, Access::kWrite);
  }
}

// Creates the file with `ddl` in one transaction; the file is removed again if that fails.
void CreateFile(const std::string& path, const std::string& ddl) {
  if (std::filesystem::exists(path))
    throw vb::Error(58, std::string(kSourceEngine), "File already exists");
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  try {
    if (rc != SQLITE_OK) {
      throw sqlite::MapSqliteError(rc, db != nullptr ? sqlite3_errmsg(db) : "out of memory",
                                   kSourceEngine, path, Access::kWrite);
    }
    sqlite3_extended_result_codes(db, 1);
    Exec(db, "PRAGMA synchronous = FULL", path);
    Exec(db, "BEGIN IMMEDIATE;" + ddl + "COMMIT;", path);
  } catch (...) {
    sqlite3_close_v2(db);
    std::error_code ec;
    std::filesystem::remove(path, ec);
    throw;
  }
  sqlite3_close_v2(db);
}

std::string Table(std::string_view name,
                  const std::vector<std::pair<std::string_view, std::string_view>>& fields) {
  std::string sql = "CREATE TABLE " + QuoteIdentifier(name) + " (";
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) sql += ", ";
    sql += QuoteIdentifier(fields[i].first) + " " + std::string(fields[i].second);
  }
  return sql + ");";
}

}  // namespace

void CreateSourceLibraryFile(const std::string& path) {
  std::vector<std::pair<std::string_view, std::string_view>> fields;
  for (std::string_view field : kSourceLibraryFields)
    fields.emplace_back(field, "TEXT");
  std::string ddl;
  for (std::string_view table : kSourceLibraryTables)
    ddl += Table(table, fields);
  CreateFile(path, ddl);
}

void CreateApiFile(const std::string& path) {
  CreateFile(path, Table("Declares", {{"Name", "TEXT"}, {"FullName", "TEXT"}}) +
                       Table("Constants", {{"Name", "TEXT"}, {"FullName", "TEXT"}}) +
                       Table("Types", {{"Name", "TEXT"}, {"Id", "INTEGER"}}) +
                       Table("TypeItems", {{"TypeID", "INTEGER"}, {"TypeItem", "TEXT"}}));
}

void InsertRows(const std::string& path, std::string_view table,
                const std::vector<std::string>& columns,
                const std::vector<std::vector<std::optional<std::string>>>& rows) {
  for (const auto& row : rows) {
    if (row.size() != columns.size()) throw vb::RuntimeError(vb::kInvalidProcedureCall);
  }
  std::shared_ptr<Connection> connection = Connection::Open(path, kBusyTimeoutMs);
  std::string sql = "INSERT INTO " + QuoteIdentifier(table) + " (";
  std::string marks;
  for (std::size_t k = 0; k < columns.size(); ++k) {
    sql += (k > 0 ? ", " : "") + QuoteIdentifier(columns[k]);
    marks += k > 0 ? ", ?" : "?";
  }
  sql += ") VALUES (" + marks + ")";
  connection->Write(kSourceEngine, [&] {
    Statement stmt = connection->Prepare(sql, kSourceEngine, Access::kWrite);
    for (const auto& row : rows) {
      ResetOnExit reset(stmt.get());
      for (std::size_t k = 0; k < row.size(); ++k) {
        connection->Bind(stmt.get(), static_cast<int>(k + 1), row[k], kSourceEngine);
      }
      if (sqlite3_step(stmt.get()) != SQLITE_DONE) {
        connection->Fail(sqlite3_extended_errcode(connection->db()), kSourceEngine, Access::kWrite);
      }
    }
    return true;
  });
}

std::string IntegrityCheck(const std::string& path) {
  std::shared_ptr<Connection> connection = Connection::Open(path, kBusyTimeoutMs);
  Statement stmt = connection->Prepare("PRAGMA integrity_check", kSourceEngine, Access::kRead);
  std::string report;
  connection->EachRow(stmt.get(), kSourceEngine, [&] {
    if (!report.empty()) report += "\n";
    report += sqlite::ColumnValue(stmt.get(), 0).value_or("");
    return true;
  });
  return report;
}

}  // namespace dao
