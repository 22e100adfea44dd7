// One SQLite connection to a database file, as the engine's database and recordsets share it.
//
// Internal to the SQLite engine: the one header that includes sqlite3.h.
// Opening checks that the file exists and is a database, sets durable commits (synchronous FULL,
// the file's own journal mode kept), a short busy wait, and registers the collation and the
// number function that criteria conditions use. The file is opened by its absolute path, so a
// name such as ":memory:" or "file:x.mdb" is the file it names. A database in write-ahead log mode
// whose folder is read-only cannot be opened (SQLite must create files beside it): 3051 says so.
// Every SQLite failure becomes the Jet error a DAO user knows (MapSqliteError), the limits of
// SQLite's parser 3360 "Query is too complex.". Writes run in BEGIN IMMEDIATE ... COMMIT and bump a
// counter shared by every connection of this process to the same file, so that recordsets reread
// their cached rows after any write made here.
#pragma once

#include <sqlite3.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/vb/error.h"

namespace dao::sqlite {

struct BusyWait;

// Whether a failing call was reading or writing: busy and read-only errors are told apart.
enum class Access { kRead, kWrite };

// The Jet error for an SQLite result code (extended codes understood).
vb::Error MapSqliteError(int code, std::string_view message, std::string_view source,
                         const std::string& path, Access access);

// A prepared statement; finalized when dropped.
class Statement {
 public:
  Statement() = default;
  explicit Statement(sqlite3_stmt* stmt) : stmt_(stmt) {}
  Statement(Statement&& other) noexcept : stmt_(std::exchange(other.stmt_, nullptr)) {}
  Statement& operator=(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement();

  sqlite3_stmt* get() const { return stmt_; }
  explicit operator bool() const { return stmt_ != nullptr; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

// Resets a statement when leaving scope, which ends its read transaction.
class ResetOnExit {
 public:
  explicit ResetOnExit(sqlite3_stmt* stmt) : stmt_(stmt) {}
  ResetOnExit(const ResetOnExit&) = delete;
  ResetOnExit& operator=(const ResetOnExit&) = delete;
  ~ResetOnExit() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }

 private:
  sqlite3_stmt* stmt_;
};

// A table as a recordset sees it.
struct TableInfo {
  std::string name;                  // as the store spells it
  std::vector<std::string> columns;  // in the store's order
  std::string rowid;                 // the SQL name that reaches the row key

  // Index of the column named `name` in any case, -1 when none.
  int ColumnIndex(std::string_view name) const;
};

class Connection {
 public:
  // REQUIRES: busy_timeout_ms >= 0. Raises 3024, 3044, 3051, 3343, 3218.
  static std::shared_ptr<Connection> Open(const std::string& path, int busy_timeout_ms);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  sqlite3* db() const { return db_; }
  const std::string& path() const { return path_; }

  // The error for the connection's last failure, with that result code.
  [[noreturn]] void Fail(int code, std::string_view source, Access access) const;

  Statement Prepare(std::string_view sql, std::string_view source, Access access) const;

  // Steps `stmt` through its rows, calling `row` on each until it returns false, and resets it.
  void EachRow(sqlite3_stmt* stmt, std::string_view source, const std::function<bool()>& row) const;

  // Binds a value to the 1-based parameter `index`.
  void Bind(sqlite3_stmt* stmt, int index, const std::optional<std::string>& value,
            std::string_view source) const;

  // Runs `body` in a write transaction and commits it; `body` returns false to roll back
  // instead. When anything fails the transaction is rolled back (the file stays as it was) and
  // the Jet error is raised.
  void Write(std::string_view source, const std::function<bool()>& body);

  // Changes committed through any connection of this process to the same file.
  std::uint64_t generation() const { return generation_->load(std::memory_order_acquire); }

  // The table named `name` in any case (the exact spelling first), or std::nullopt.
  std::optional<TableInfo> FindTable(std::string_view name, std::string_view source) const;

 private:
  Connection(sqlite3* db, std::string path, std::shared_ptr<std::atomic<std::uint64_t>> gen);
  void Exec(const char* sql, std::string_view source, Access access) const;

  sqlite3* db_;
  std::string path_;
  std::shared_ptr<std::atomic<std::uint64_t>> generation_;
  std::unique_ptr<BusyWait> busy_wait_;
};

// Registers on `db` the collation and the number function that criteria conditions use
// (kNoCaseCollation and kNumberFunction of criteria.h), as Open does for every connection.
void RegisterCriteriaFunctions(sqlite3* db);

// A value read from column `index` of the current row: text, or std::nullopt for Null.
std::optional<std::string> ColumnValue(sqlite3_stmt* stmt, int index);

}  // namespace dao::sqlite
