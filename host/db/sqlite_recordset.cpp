#include "host/db/sqlite_recordset.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "host/db/errors.h"

namespace dao::sqlite {

namespace {

constexpr std::size_t kPageRows = 256;

// The quoted names of `columns`, each followed by `after`, joined by commas.
std::string ColumnList(const TableInfo& table, const std::vector<int>& columns,
                       std::string_view after = "") {
  std::string out;
  for (int c : columns) {
    if (!out.empty()) out += ", ";
    out += QuoteIdentifier(table.columns[c]);
    out += after;
  }
  return out;
}

void BindValues(const Connection& connection, sqlite3_stmt* stmt,
                const std::vector<SqlValue>& values, std::string_view source) {
  for (std::size_t i = 0; i < values.size(); ++i) {
    int index = static_cast<int>(i + 1);
    int rc = SQLITE_OK;
    if (const auto* text = std::get_if<std::string>(&values[i])) {
      connection.Bind(stmt, index, *text, source);
    } else if (const auto* whole = std::get_if<std::int64_t>(&values[i])) {
      rc = sqlite3_bind_int64(stmt, index, *whole);
    } else {
      rc = sqlite3_bind_double(stmt, index, std::get<double>(values[i]));
    }
    if (rc != SQLITE_OK) connection.Fail(rc, source, Access::kRead);
  }
}

// Calls `key` with the row keys of `table` that `where` selects (all when none), in key order,
// until it returns false. A name in `where` that is not a field raises 3070 from `source`.
void EachKey(const Connection& connection, const TableInfo& table,
             const std::optional<Criteria>& where, std::string_view source,
             const std::function<bool(std::int64_t)>& key) {
  std::string sql = "SELECT " + table.rowid + " FROM " + QuoteIdentifier(table.name);
  SqlCondition condition;
  if (where) {
    condition = ToSqlCondition(*where, [&](std::string_view name) {
      int index = table.ColumnIndex(name);
      if (index < 0) throw DbError(kErrUnknownName, source, name);
      return std::optional<std::string>(table.columns[index]);
    });
    sql += " WHERE " + condition.text;
  }
  Statement stmt = connection.Prepare(sql + " ORDER BY " + table.rowid, source, Access::kRead);
  BindValues(connection, stmt.get(), condition.values, source);
  connection.EachRow(stmt.get(), source, [&] { return key(sqlite3_column_int64(stmt.get(), 0)); });
}

}  // namespace

vb::Object<Recordset> SqliteRecordset::Open(std::shared_ptr<Connection> connection, TableInfo table,
                                            const std::optional<Criteria>& where,
                                            std::string_view source) {
  std::vector<std::int64_t> keys;
  EachKey(*connection, table, where, source, [&](std::int64_t key) {
    keys.push_back(key);
    return true;
  });
  return vb::Object<Recordset>(
      std::make_shared<SqliteRecordset>(std::move(connection), std::move(table), std::move(keys)));
}

SqliteRecordset::SqliteRecordset(std::shared_ptr<Connection> connection, TableInfo table,
                                 std::vector<std::int64_t> keys)
    : connection_(std::move(connection)),
      table_(std::move(table)),
      cursor_(std::move(keys)),
      edit_values_(table_.columns.size()),
      edit_assigned_(table_.columns.size(), false),
      wanted_(table_.columns.size(), false) {}

void SqliteRecordset::RequireCurrent(std::string_view source) const {
  if (cursor_.OnRow() && cursor_.deleted(cursor_.position())) {
    throw DbError(kErrRecordDeleted, source);
  }
  if (!cursor_.HasCurrent()) throw DbError(kErrNoCurrentRecord, source);
}

void SqliteRecordset::Moved() {
  edit_mode_ = dbEditNone;
}

void SqliteRecordset::MoveFirst() {
  Moved();
  if (!cursor_.MoveFirst()) throw DbError(kErrNoCurrentRecord, kSourceRecordset);
  page_.valid = false;
}

void SqliteRecordset::DoMoveLast(long options) {
  if (options != 0) throw DbError(kErrInvalidArgument, kSourceRecordset);
  Moved();
  if (!cursor_.MoveLast()) throw DbError(kErrNoCurrentRecord, kSourceRecordset);
  page_.valid = false;
}

void SqliteRecordset::MoveNext() {
  Moved();
  if (!cursor_.MoveNext()) throw DbError(kErrNoCurrentRecord, kSourceRecordset);
}

void SqliteRecordset::MovePrevious() {
  Moved();
  if (!cursor_.MovePrevious()) throw DbError(kErrNoCurrentRecord, kSourceRecordset);
}

void SqliteRecordset::FindFirst(std::string_view criteria) {
  Moved();
  std::optional<std::size_t> best;
  EachKey(*connection_, table_, ParseCriteria(criteria), kSourceRecordset, [&](std::int64_t key) {
    std::optional<std::size_t> p = cursor_.FindVisible(key);
    if (p && (!best || *p < *best)) best = p;
    // In key order the first match is the first in recordset order.
    return !best || !cursor_.InKeyOrder();
  });
  page_.valid = false;
  no_match_ = !best;
  if (best) {
    cursor_.MoveTo(*best);
  } else {
    cursor_.Lose();
  }
}

std::optional<std::string> SqliteRecordset::GetFieldValue(int index) {
  if (edit_mode_ != dbEditNone) return edit_values_[index];
  RequireCurrent(kSourceField);
  std::size_t p = cursor_.position();
  bool cached = page_.valid && page_.generation == connection_->generation() && p >= page_.begin &&
                p < page_.end && page_.slot[index] >= 0;
  if (!cached) {
    wanted_[index] = true;
    FetchPage(p);
  }
  std::size_t row = p - page_.begin;
  if (!page_.present[row]) throw DbError(kErrRecordDeleted, kSourceField);
  return page_.values[row * page_.width + page_.slot[index]];
}

void SqliteRecordset::FetchPage(std::size_t position) {
  std::vector<int> columns;
  for (std::size_t i = 0; i < wanted_.size(); ++i) {
    if (wanted_[i]) columns.push_back(static_cast<int>(i));
  }
  if (columns != page_columns_) {
    range_statement_ = Statement();
    page_columns_ = columns;
  }

  // A page is the aligned block of keys around the position when they are dense in the store;
  // otherwise only the one row.
  std::size_t begin = position - position % kPageRows;
  std::size_t end = std::min(begin + kPageRows, cursor_.size());
  bool range = cursor_.InKeyOrder() && static_cast<std::uint64_t>(cursor_.key(end - 1)) -
                                               static_cast<std::uint64_t>(cursor_.key(begin)) <
                                           4 * (end - begin);
  if (!range) {
    begin = position;
    end = position + 1;
  }

  page_.valid = false;
  page_.generation = connection_->generation();
  page_.begin = begin;
  page_.end = end;
  page_.width = columns.size();
  page_.slot.assign(table_.columns.size(), -1);
  for (std::size_t k = 0; k < columns.size(); ++k)
    page_.slot[columns[k]] = static_cast<int>(k);
  page_.values.assign((end - begin) * page_.width, std::nullopt);
  page_.present.assign(end - begin, false);

  // A row whose key is gone from the store stays absent.
  if (!range_statement_) {
    range_statement_ =
        connection_->Prepare("SELECT " + table_.rowid + ", " + ColumnList(table_, columns) +
                                 " FROM " + QuoteIdentifier(table_.name) + " WHERE " +
                                 table_.rowid + " BETWEEN ? AND ? ORDER BY " + table_.rowid,
                             kSourceField, Access::kRead);
  }
  sqlite3_stmt* stmt = range_statement_.get();
  sqlite3_bind_int64(stmt, 1, cursor_.key(begin));
  sqlite3_bind_int64(stmt, 2, cursor_.key(end - 1));
  std::size_t i = begin;
  connection_->EachRow(stmt, kSourceField, [&] {
    std::int64_t key = sqlite3_column_int64(stmt, 0);
    while (i < end && cursor_.key(i) < key)
      ++i;
    if (i < end && cursor_.key(i) == key) {
      std::size_t row = i++ - begin;
      for (std::size_t k = 0; k < page_.width; ++k)
        page_.values[row * page_.width + k] = ColumnValue(stmt, 1 + static_cast<int>(k));
      page_.present[row] = true;
    }
    return i < end;
  });
  page_.valid = true;
}

std::optional<SqliteRecordset::Row> SqliteRecordset::ReadRow(std::int64_t key,
                                                             std::string_view source) {
  if (!row_statement_) {
    std::vector<int> all(table_.columns.size());
    std::iota(all.begin(), all.end(), 0);
    row_statement_ =
        connection_->Prepare("SELECT " + ColumnList(table_, all) + " FROM " +
                                 QuoteIdentifier(table_.name) + " WHERE " + table_.rowid + " = ?",
                             source, Access::kRead);
  }
  sqlite3_stmt* stmt = row_statement_.get();
  ResetOnExit reset(stmt);
  sqlite3_bind_int64(stmt, 1, key);
  int rc = sqlite3_step(stmt);
  if (rc == SQLITE_DONE) return std::nullopt;
  if (rc != SQLITE_ROW) connection_->Fail(rc, source, Access::kRead);
  Row row(table_.columns.size());
  for (std::size_t i = 0; i < row.size(); ++i)
    row[i] = ColumnValue(stmt, static_cast<int>(i));
  return row;
}

void SqliteRecordset::AddNew() {
  edit_values_.assign(table_.columns.size(), std::nullopt);
  edit_assigned_.assign(table_.columns.size(), false);
  edit_mode_ = dbEditAdd;
}

void SqliteRecordset::Edit() {
  Moved();
  RequireCurrent(kSourceRecordset);
  std::optional<Row> row = ReadRow(cursor_.key(cursor_.position()), kSourceRecordset);
  if (!row) throw DbError(kErrRecordDeleted, kSourceRecordset);
  edit_values_ = std::move(*row);
  edit_assigned_.assign(table_.columns.size(), false);
  edit_mode_ = dbEditInProgress;
}

void SqliteRecordset::SetFieldValue(int index, std::optional<std::string> value) {
  if (edit_mode_ == dbEditNone) throw DbError(kErrUpdateWithoutEdit, kSourceField);
  edit_values_[index] = std::move(value);
  edit_assigned_[index] = true;
}

void SqliteRecordset::CancelUpdate() {
  if (edit_mode_ == dbEditNone) throw DbError(kErrUpdateWithoutEdit, kSourceRecordset);
  edit_mode_ = dbEditNone;
}

void SqliteRecordset::DoUpdate(long type, bool /*force*/) {
  if (type != dbUpdateRegular) throw DbError(kErrInvalidArgument, kSourceRecordset);
  if (edit_mode_ == dbEditNone) throw DbError(kErrUpdateWithoutEdit, kSourceRecordset);
  if (edit_mode_ == dbEditAdd) {
    InsertRow();
  } else {
    UpdateRow();
  }
  edit_mode_ = dbEditNone;
}

std::vector<int> SqliteRecordset::AssignedColumns() const {
  std::vector<int> assigned;
  for (std::size_t i = 0; i < edit_assigned_.size(); ++i) {
    if (edit_assigned_[i]) assigned.push_back(static_cast<int>(i));
  }
  return assigned;
}

bool SqliteRecordset::WriteRow(const std::string& sql, const std::vector<int>& columns,
                               std::optional<std::int64_t> key) {
  bool changed = false;
  connection_->Write(kSourceRecordset, [&] {
    Statement stmt = connection_->Prepare(sql, kSourceRecordset, Access::kWrite);
    int index = 0;
    for (int column : columns)
      connection_->Bind(stmt.get(), ++index, edit_values_[column], kSourceRecordset);
    if (key) sqlite3_bind_int64(stmt.get(), ++index, *key);
    if (sqlite3_step(stmt.get()) != SQLITE_DONE) {
      connection_->Fail(sqlite3_extended_errcode(connection_->db()), kSourceRecordset,
                        Access::kWrite);
    }
    changed = sqlite3_changes(connection_->db()) > 0;
    return changed;
  });
  return changed;
}

// The new row takes a key above the table's and above every key this dynaset holds: the store
// would give a new row the key of a highest row deleted elsewhere, which this dynaset still
// holds, and the new row would then show twice.
void SqliteRecordset::InsertRow() {
  std::vector<int> assigned = AssignedColumns();
  const std::string table = QuoteIdentifier(table_.name);
  std::string sql = "INSERT INTO " + table + " (" + ColumnList(table_, assigned);
  sql += std::string(assigned.empty() ? "" : ", ") + table_.rowid + ") VALUES (";
  for (std::size_t i = 0; i < assigned.size(); ++i)
    sql += "?, ";
  sql += "max(?, ifnull((SELECT max(" + table_.rowid + ") FROM " + table + "), 0)) + 1)";
  WriteRow(sql, assigned, cursor_.MaxKey());
  // Committing leaves the connection's last inserted row key as it was.
  cursor_.Append(sqlite3_last_insert_rowid(connection_->db()));
}

void SqliteRecordset::UpdateRow() {
  std::vector<int> assigned = AssignedColumns();
  if (assigned.empty()) return;
  std::string sql = "UPDATE " + QuoteIdentifier(table_.name) + " SET " +
                    ColumnList(table_, assigned, " = ?") + " WHERE " + table_.rowid + " = ?";
  if (!WriteRow(sql, assigned, cursor_.key(cursor_.position()))) {
    edit_mode_ = dbEditNone;
    throw DbError(kErrRecordDeleted, kSourceRecordset);
  }
}

void SqliteRecordset::Delete() {
  Moved();
  RequireCurrent(kSourceRecordset);
  std::string sql =
      "DELETE FROM " + QuoteIdentifier(table_.name) + " WHERE " + table_.rowid + " = ?";
  if (!WriteRow(sql, {}, cursor_.key(cursor_.position())))
    throw DbError(kErrRecordDeleted, kSourceRecordset);
  cursor_.DeleteCurrent();
}

}  // namespace dao::sqlite
