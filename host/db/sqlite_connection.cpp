#include "host/db/sqlite_connection.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <thread>

#include "host/db/criteria.h"
#include "host/db/errors.h"
#include "host/db/text_compare.h"

namespace dao::sqlite {

// Waits for another process's lock in steps of a millisecond until the timeout has passed.
// SQLite's own handler sleeps up to 100 ms between tries and can miss, again and again, the short
// gaps between another process's back-to-back commits.
struct BusyWait {
  std::chrono::milliseconds timeout{0};
  std::chrono::steady_clock::time_point start;
};

namespace {

// The text after the first ": " of an SQLite message ("NOT NULL constraint failed: T.Name").
std::string_view AfterColon(std::string_view message) {
  std::size_t colon = message.find(": ");
  return colon == std::string_view::npos ? std::string_view{} : message.substr(colon + 2);
}

int NoCaseCollation(void*, int a_size, const void* a, int b_size, const void* b) {
  return CompareNoCase(std::string_view(static_cast<const char*>(a), a_size),
                       std::string_view(static_cast<const char*>(b), b_size));
}

// bw_num(x): x as a number, or Null when it is not one (see criteria.h).
void NumberFunction(sqlite3_context* context, int, sqlite3_value** args) {
  sqlite3_value* v = args[0];
  switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
      sqlite3_result_value(context, v);
      return;
    case SQLITE_NULL:
      sqlite3_result_null(context);
      return;
    default: {
      const unsigned char* text = sqlite3_value_text(v);
      std::optional<Number> n;
      if (text != nullptr) {
        n = ParseNumber(std::string_view(reinterpret_cast<const char*>(text),
                                         static_cast<std::size_t>(sqlite3_value_bytes(v))));
      }
      if (!n) {
        sqlite3_result_null(context);
      } else if (const auto* i = std::get_if<std::int64_t>(&*n)) {
        sqlite3_result_int64(context, *i);
      } else {
        sqlite3_result_double(context, std::get<double>(*n));
      }
    }
  }
}

// One write counter per file (device and inode) for the whole process.
std::shared_ptr<std::atomic<std::uint64_t>> GenerationFor(const std::string& path) {
  static std::mutex mutex;
  static std::map<std::pair<dev_t, ino_t>, std::weak_ptr<std::atomic<std::uint64_t>>> counters;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::make_shared<std::atomic<std::uint64_t>>(0);
  std::lock_guard<std::mutex> lock(mutex);
  for (auto it = counters.begin(); it != counters.end();) {
    it = it->second.expired() ? counters.erase(it) : std::next(it);
  }
  auto& slot = counters[{st.st_dev, st.st_ino}];
  std::shared_ptr<std::atomic<std::uint64_t>> counter = slot.lock();
  if (!counter) {
    counter = std::make_shared<std::atomic<std::uint64_t>>(0);
    slot = counter;
  }
  return counter;
}

int OnBusy(void* context, int tries) {
  auto* wait = static_cast<BusyWait*>(context);
  auto now = std::chrono::steady_clock::now();
  if (tries == 0) wait->start = now;
  if (now - wait->start >= wait->timeout) return 0;
  std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return 1;
}

// Whether the database at `path` is in write-ahead log mode (the file format numbers 2 in its
// header) in a folder where we may not create its -wal and -shm files.
bool IsWalInReadOnlyFolder(const std::string& path) {
  unsigned char header[20] = {};
  std::ifstream in(path, std::ios::binary);
  if (!in.read(reinterpret_cast<char*>(header), sizeof header) || header[18] != 2) return false;
  std::string folder = std::filesystem::path(path).parent_path().string();
  return ::access(folder.empty() ? "." : folder.c_str(), W_OK) != 0;
}

struct CloseDb {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};

}  // namespace

vb::Error MapSqliteError(int code, std::string_view message, std::string_view source,
                         const std::string& path, Access access) {
  switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return access == Access::kWrite ? DbError(kErrLocked, source) : LockedForRead(source);
    case SQLITE_READONLY:
      return DbError(kErrReadOnly, source);
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return access == Access::kWrite ? DbError(kErrReadOnly, source)
                                      : DbError(kErrCannotOpen, source, path);
    case SQLITE_CANTOPEN:
      return DbError(kErrCannotOpen, source, path);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
      return DbError(kErrNotADatabase, source, path);
    case SQLITE_FULL:
      return DbError(kErrDiskFull, source);
    case SQLITE_IOERR:
      return DbError(kErrDiskIo, source);
    case SQLITE_NOMEM:
      return DbError(kErrOutOfMemory, source);
    case SQLITE_TOOBIG:
      return DbError(kErrFieldTooSmall, source);
    case SQLITE_MISMATCH:
      return DbError(kErrConversion, source);
    case SQLITE_CONSTRAINT:
      switch (code) {
        case SQLITE_CONSTRAINT_UNIQUE:
        case SQLITE_CONSTRAINT_PRIMARYKEY:
          return DbError(kErrDuplicateKey, source);
        case SQLITE_CONSTRAINT_NOTNULL:
          return DbError(kErrRequired, source, AfterColon(message));
        case SQLITE_CONSTRAINT_DATATYPE:
          return DbError(kErrConversion, source);
        default: {
          std::string_view rule = AfterColon(message);
          return DbError(kErrValidationRule, source, rule.empty() ? "the table" : rule);
        }
      }
    default:
      // The limits of SQLite's parser: the query is too complex for it.
      if (message == "parser stack overflow" || message.starts_with("Expression tree is too large"))
        return DbError(kErrTooComplex, source);
      return DbError(kErrReserved, source, message);
  }
}

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(stmt_);
    stmt_ = std::exchange(other.stmt_, nullptr);
  }
  return *this;
}

Statement::~Statement() {
  sqlite3_finalize(stmt_);
}

int TableInfo::ColumnIndex(std::string_view name) const {
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (EqualsNoCase(columns[i], name)) return static_cast<int>(i);
  }
  return -1;
}

Connection::Connection(sqlite3* db, std::string path,
                       std::shared_ptr<std::atomic<std::uint64_t>> generation)
    : db_(db),
      path_(std::move(path)),
      generation_(std::move(generation)),
      busy_wait_(std::make_unique<BusyWait>()) {}

Connection::~Connection() {
  sqlite3_close_v2(db_);
}

std::shared_ptr<Connection> Connection::Open(const std::string& path, int busy_timeout_ms) {
  namespace fs = std::filesystem;
  std::error_code ec;
  std::string actual = path;
  fs::file_status status = fs::status(actual, ec);
  if (!fs::exists(status) && actual.find('\\') != std::string::npos) {
    // The add-in joins its folder and a file name with a backslash, as on Windows.
    std::replace(actual.begin(), actual.end(), '\\', '/');
    status = fs::status(actual, ec);
  }
  if (path.empty() || !fs::exists(status)) throw DbError(kErrFileNotFound, kSourceEngine, path);
  // An absolute path: SQLite takes ":memory:" and "file:..." for no file or a URI.
  actual = fs::absolute(actual, ec).string();
  if (fs::is_directory(status)) throw DbError(kErrInvalidPath, kSourceEngine, path);
  if (fs::is_regular_file(status) && fs::file_size(actual, ec) == 0 && !ec) {
    throw DbError(kErrNotADatabase, kSourceEngine, path);
  }

  sqlite3* raw = nullptr;
  int rc = sqlite3_open_v2(actual.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  std::unique_ptr<sqlite3, CloseDb> db(raw);
  if (rc != SQLITE_OK) {
    std::string message = raw != nullptr ? sqlite3_errmsg(raw) : "out of memory";
    throw MapSqliteError(rc, message, kSourceEngine, path, Access::kRead);
  }
  sqlite3_extended_result_codes(raw, 1);
  RegisterCriteriaFunctions(raw);

  std::shared_ptr<Connection> connection(new Connection(db.release(), path, GenerationFor(actual)));
  connection->busy_wait_->timeout = std::chrono::milliseconds(busy_timeout_ms);
  sqlite3_busy_handler(raw, OnBusy, connection->busy_wait_.get());
  try {
    // Each commit reaches the disk before the call returns; the file's journal mode is kept.
    connection->Exec("PRAGMA synchronous = FULL", kSourceEngine, Access::kRead);
    // Reading the schema proves the file is a database (and rolls back a crashed writer's
    // journal).
    connection->Exec("SELECT count(*) FROM sqlite_schema", kSourceEngine, Access::kRead);
  } catch (const vb::Error& e) {
    if ((e.Number == kErrCannotOpen || e.Number == kErrReadOnly) && IsWalInReadOnlyFolder(actual))
      throw vb::Error(kErrCannotOpen, std::string(kSourceEngine),
                      "The database engine cannot open the file '" + path +
                          "'. It is in write-ahead log mode, which needs to create files beside "
                          "it, and its folder is read-only.");
    throw;
  }
  return connection;
}

void RegisterCriteriaFunctions(sqlite3* db) {
  sqlite3_create_collation_v2(db, std::string(kNoCaseCollation).c_str(), SQLITE_UTF8, nullptr,
                              NoCaseCollation, nullptr);
  sqlite3_create_function_v2(db, std::string(kNumberFunction).c_str(), 1,
                             SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                             NumberFunction, nullptr, nullptr, nullptr);
}

void Connection::Fail(int code, std::string_view source, Access access) const {
  throw MapSqliteError(code, sqlite3_errmsg(db_), source, path_, access);
}

void Connection::Exec(const char* sql, std::string_view source, Access access) const {
  int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) Fail(sqlite3_extended_errcode(db_), source, access);
}

Statement Connection::Prepare(std::string_view sql, std::string_view source, Access access) const {
  sqlite3_stmt* stmt = nullptr;
  if (sql.size() > INT_MAX) throw DbError(kErrTooComplex, source);
  int rc = sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt, nullptr);
  if (rc != SQLITE_OK) Fail(sqlite3_extended_errcode(db_), source, access);
  return Statement(stmt);
}

void Connection::EachRow(sqlite3_stmt* stmt, std::string_view source,
                         const std::function<bool()>& row) const {
  ResetOnExit reset(stmt);
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
    if (!row()) return;
  if (rc != SQLITE_DONE) Fail(rc, source, Access::kRead);
}

void Connection::Bind(sqlite3_stmt* stmt, int index, const std::optional<std::string>& value,
                      std::string_view source) const {
  int rc = value ? sqlite3_bind_text64(stmt, index, value->data(), value->size(), SQLITE_TRANSIENT,
                                       SQLITE_UTF8)
                 : sqlite3_bind_null(stmt, index);
  if (rc != SQLITE_OK) throw MapSqliteError(rc, sqlite3_errstr(rc), source, path_, Access::kWrite);
}

void Connection::Write(std::string_view source, const std::function<bool()>& body) {
  auto rollback = [this] {
    if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  };
  Exec("BEGIN IMMEDIATE", source, Access::kWrite);
  bool commit = false;
  try {
    commit = body();
  } catch (...) {
    rollback();
    throw;
  }
  if (!commit) {
    rollback();
    return;
  }
  int rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) {
    vb::Error error = MapSqliteError(sqlite3_extended_errcode(db_), sqlite3_errmsg(db_), source,
                                     path_, Access::kWrite);
    rollback();
    throw error;
  }
  generation_->fetch_add(1, std::memory_order_acq_rel);
}

std::optional<TableInfo> Connection::FindTable(std::string_view name,
                                               std::string_view source) const {
  Statement list = Prepare(
      "SELECT name FROM sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' "
      "ESCAPE '\\'",
      source, Access::kRead);
  std::optional<std::string> found;
  EachRow(list.get(), source, [&] {
    std::optional<std::string> table = ColumnValue(list.get(), 0);
    if (table && (*table == name || (!found && EqualsNoCase(*table, name)))) found = table;
    return !found || *found != name;  // the exact spelling ends the search
  });
  if (!found) return std::nullopt;

  TableInfo info;
  info.name = *found;
  Statement columns = Prepare("SELECT * FROM " + QuoteIdentifier(info.name), source, Access::kRead);
  int count = sqlite3_column_count(columns.get());
  for (int i = 0; i < count; ++i)
    info.columns.emplace_back(sqlite3_column_name(columns.get(), i));
  for (const char* rowid : {"rowid", "_rowid_", "oid"}) {
    if (info.ColumnIndex(rowid) < 0) {
      info.rowid = rowid;
      break;
    }
  }
  if (info.rowid.empty()) {
    throw DbError(kErrReserved, source, "table '" + info.name + "' hides its row key");
  }
  return info;
}

std::optional<std::string> ColumnValue(sqlite3_stmt* stmt, int index) {
  if (sqlite3_column_type(stmt, index) == SQLITE_NULL) return std::nullopt;
  const unsigned char* text = sqlite3_column_text(stmt, index);
  if (text == nullptr) return std::string();
  return std::string(reinterpret_cast<const char*>(text),
                     static_cast<std::size_t>(sqlite3_column_bytes(stmt, index)));
}

}  // namespace dao::sqlite
