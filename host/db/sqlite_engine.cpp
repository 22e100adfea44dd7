#include "host/db/sqlite_engine.h"

#include <memory>
#include <optional>
#include <utility>

#include "host/db/errors.h"
#include "host/db/select_query.h"
#include "host/db/sqlite_connection.h"
#include "host/db/sqlite_recordset.h"

namespace dao {

namespace {

using sqlite::Connection;
using sqlite::SqliteRecordset;
using sqlite::TableInfo;

TableInfo RequireTable(const Connection& connection, std::string_view name,
                       std::string_view source) {
  std::optional<TableInfo> table = connection.FindTable(name, source);
  if (!table) throw DbError(kErrNoSuchTable, source, name);
  return std::move(*table);
}

// Opens the dynaset of a parsed query.
vb::Object<Recordset> OpenQuery(const std::shared_ptr<Connection>& connection,
                                const SelectQuery& query, std::string_view source) {
  return SqliteRecordset::Open(connection, RequireTable(*connection, query.table, source),
                               query.where, source);
}

class SqliteQueryDef final : public QueryDef {
 public:
  SqliteQueryDef(std::shared_ptr<Connection> connection, std::string sql,
                 std::optional<SelectQuery> query)
      : connection_(std::move(connection)), sql_(std::move(sql)), query_(std::move(query)) {}

  const std::string& Name() const override { return name_; }
  const std::string& SQL() const override { return sql_; }

 protected:
  vb::Object<Recordset> DoOpenRecordset(long type) override {
    if (type != dbOpenDynaset) throw DbError(kErrInvalidArgument, kSourceQueryDef);
    if (!query_) throw DbError(kErrBadStatement, kSourceQueryDef);
    return OpenQuery(connection_, *query_, kSourceQueryDef);
  }

 private:
  std::shared_ptr<Connection> connection_;
  std::string name_;
  std::string sql_;
  std::optional<SelectQuery> query_;
};

class SqliteDatabase final : public Database {
 public:
  explicit SqliteDatabase(std::shared_ptr<Connection> connection)
      : connection_(std::move(connection)) {}

  const std::string& Name() const override { return connection_->path(); }

 protected:
  vb::Object<Recordset> DoOpenRecordset(const std::string& name, long type) override {
    if (type != dbOpenDynaset) throw DbError(kErrInvalidArgument, kSourceDatabase);
    if (LooksLikeSelect(name))
      return OpenQuery(connection_, ParseSelectQuery(name), kSourceDatabase);
    return SqliteRecordset::Open(connection_, RequireTable(*connection_, name, kSourceDatabase),
                                 std::nullopt, kSourceDatabase);
  }

  vb::Object<QueryDef> DoCreateQueryDef(const std::string& name, const std::string& sql) override {
    if (!name.empty()) throw DbError(kErrNotSupported, kSourceDatabase);
    std::optional<SelectQuery> query;
    if (!sql.empty()) query = ParseSelectQuery(sql);
    return vb::New<SqliteQueryDef>(connection_, sql, std::move(query));
  }

 private:
  std::shared_ptr<Connection> connection_;
};

class SqliteEngine final : public DBEngine {
 public:
  explicit SqliteEngine(SqliteEngineOptions options) : options_(options) {}

  vb::Object<Database> OpenDatabase(const std::string& path) override {
    return vb::New<SqliteDatabase>(Connection::Open(path, options_.busy_timeout_ms));
  }

 private:
  SqliteEngineOptions options_;
};

}  // namespace

vb::Object<DBEngine> NewSqliteEngine(const SqliteEngineOptions& options) {
  return vb::New<SqliteEngine>(options);
}

}  // namespace dao
