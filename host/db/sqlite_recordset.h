// The SQLite dynaset: a Recordset over one table's row keys (rowid), read and written through
// those keys.
//
// Reading: rows are fetched a page (up to 256 neighbouring keys) at a time, only the fields read
// so far, in one short read transaction, so a walk over the table costs about one SELECT step per
// row. A page is fetched again when the position leaves it, after MoveFirst, MoveLast and
// FindFirst, and after any write by this process to the file; a change committed by another
// process shows from the next fetch. Edit, Update and Delete always work on the stored row.
//
// Writing: each Update and Delete is one committed transaction (Connection::Write). Update after
// Edit writes only the fields assigned, so changes others made to the other fields are kept.
//
// FindFirst runs the criteria as one SELECT of row keys in key order and takes the first key
// this recordset can visit.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/criteria.h"
#include "host/db/dao.h"
#include "host/db/dynaset_cursor.h"
#include "host/db/sqlite_connection.h"

namespace dao::sqlite {

class SqliteRecordset final : public Recordset {
 public:
  // Opens a dynaset over `table`, keeping the rows that `where` selects (every row when none).
  // A name in `where` that is not a field raises 3070 from `source`.
  static vb::Object<Recordset> Open(std::shared_ptr<Connection> connection, TableInfo table,
                                    const std::optional<Criteria>& where, std::string_view source);

  SqliteRecordset(std::shared_ptr<Connection> connection, TableInfo table,
                  std::vector<std::int64_t> keys);

  void MoveFirst() override;
  void MoveNext() override;
  void MovePrevious() override;
  bool Eof() const override { return cursor_.Eof(); }
  bool BOF() const override { return cursor_.Bof(); }
  long RecordCount() const override { return cursor_.VisibleCount(); }
  long AbsolutePosition() const override { return cursor_.AbsolutePosition(); }
  void FindFirst(std::string_view criteria) override;
  bool NoMatch() const override { return no_match_; }
  void AddNew() override;
  void Edit() override;
  void CancelUpdate() override;
  long EditMode() const override { return edit_mode_; }
  void Delete() override;

 protected:
  void DoMoveLast(long options) override;
  void DoUpdate(long type, bool force) override;
  int FieldIndex(std::string_view name) const override { return table_.ColumnIndex(name); }
  const std::string& FieldName(int index) const override { return table_.columns[index]; }
  std::optional<std::string> GetFieldValue(int index) override;
  void SetFieldValue(int index, std::optional<std::string> value) override;

 private:
  using Row = std::vector<std::optional<std::string>>;

  // Rows [begin, end) of the dynaset, with the values of the fields in `columns`.
  struct Page {
    bool valid = false;
    std::uint64_t generation = 0;
    std::size_t begin = 0;
    std::size_t end = 0;
    std::vector<int> slot;  // per field: index into a row's values, -1 when not fetched
    std::size_t width = 0;  // fields per row
    std::vector<std::optional<std::string>> values;
    std::vector<bool> present;  // the row still exists in the store
  };

  // Raises 3167 when the current row was deleted through this recordset, 3021 without one.
  void RequireCurrent(std::string_view source) const;
  void Moved();
  void FetchPage(std::size_t position);
  std::optional<Row> ReadRow(std::int64_t key, std::string_view source);
  void InsertRow();
  void UpdateRow();
  // The fields assigned since AddNew or Edit.
  std::vector<int> AssignedColumns() const;
  // Runs one write statement in a transaction: the edit values of `columns` bound in order, then
  // `key` when given. Returns whether it changed a row; a change of none is rolled back.
  bool WriteRow(const std::string& sql, const std::vector<int>& columns,
                std::optional<std::int64_t> key);

  std::shared_ptr<Connection> connection_;
  TableInfo table_;
  DynasetCursor cursor_;
  bool no_match_ = false;

  long edit_mode_ = dbEditNone;
  Row edit_values_;
  std::vector<bool> edit_assigned_;

  Page page_;
  std::vector<bool> wanted_;  // fields read through this recordset so far
  std::vector<int> page_columns_;
  Statement range_statement_;  // the page's fields for keys in a range
  Statement row_statement_;    // every field for one key
};

}  // namespace dao::sqlite
