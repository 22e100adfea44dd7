#include "sourcebase/testing/library_test_support.h"

#include <stdexcept>

#include "host/db/errors.h"
#include "host/db/schema.h"
#include "host/db/sqlite_engine.h"
#include "services/shared_state.h"
#include "sourcebase/library.h"

namespace bw {

void LibraryTest::SetUp() {
  AddinTest::SetUp();
  path_ = dir_.File("SourceBase.mdb");
  dao::CreateSourceLibraryFile(path_);
  platform_.SetAddinFolder(dir_.path());
  platform_.SetToday(vb::Date{2026, 3, 7});
  platform_.Settings().Save("Brindlewick", "Settings", "UserName", "tester");
  // Locks held by a test are waited for briefly.
  dao::SetDefaultEngine(dao::NewSqliteEngine({.busy_timeout_ms = 50}));
}

void LibraryTest::TearDown() {
  AddinTest::TearDown();
  for (const LibraryCategory& c : kLibraryCategories)
    c.Recordset->SetNothing();
  LibraryDb.SetNothing();
  CodeChanged = false;
  CurrentItemName.clear();
  CurrentItemCategory.clear();
  PendingAddCode.clear();
  CurrentUserName.clear();
  dao::SetDefaultEngine(nullptr);
}

void LibraryTest::Store(const std::vector<StoredItem>& items) {
  std::vector<std::string> columns = {"Name",    "Code",     "Description", "Create Date",
                                      "Creator", "Mod Date", "Modifier"};
  for (const StoredItem& i : items) {
    dao::InsertRows(
        path_, i.Table, columns,
        {{i.Name, i.Code, i.Description, i.CreateDate, i.Creator, i.ModDate, i.Modifier}});
  }
}

std::vector<StoredRow> LibraryTest::Rows(const std::string& table) const {
  vb::Object<dao::Recordset> rs = dao::NewSqliteEngine()->OpenDatabase(path_)->OpenRecordset(table);
  std::vector<StoredRow> rows;
  for (; !rs->Eof(); rs->MoveNext()) {
    StoredRow row;
    for (const char* f :
         {"Name", "Code", "Description", "Create Date", "Creator", "Mod Date", "Modifier"})
      row.push_back(rs->Fields(f).Value());
    rows.push_back(row);
  }
  return rows;
}

std::vector<std::string> LibraryTest::Names(const std::string& table) const {
  std::vector<std::string> names;
  for (const StoredRow& row : Rows(table))
    names.push_back(row[0].value_or("<Null>"));
  return names;
}

namespace {

class RefusingRecordset : public dao::Recordset {
 public:
  RefusingRecordset(vb::Object<dao::Recordset> inner, const bool* refuse)
      : inner_(std::move(inner)), refuse_(refuse) {}

  void MoveFirst() override { inner_->MoveFirst(); }
  void MoveNext() override { inner_->MoveNext(); }
  void MovePrevious() override { inner_->MovePrevious(); }
  bool Eof() const override { return inner_->Eof(); }
  bool BOF() const override { return inner_->BOF(); }
  long RecordCount() const override { return inner_->RecordCount(); }
  long AbsolutePosition() const override { return inner_->AbsolutePosition(); }
  void FindFirst(std::string_view criteria) override { inner_->FindFirst(criteria); }
  bool NoMatch() const override { return inner_->NoMatch(); }
  void AddNew() override { inner_->AddNew(); }
  void Edit() override { inner_->Edit(); }
  void CancelUpdate() override { inner_->CancelUpdate(); }
  long EditMode() const override { return inner_->EditMode(); }
  void Delete() override {
    Refuse();
    inner_->Delete();
  }

 protected:
  void DoMoveLast(long options) override { inner_->MoveLast(options); }
  void DoUpdate(long type, bool force) override {
    Refuse();
    inner_->Update(type, force);
  }
  // Fields are reached through the inner recordset's public Fields, numbered as first asked.
  int FieldIndex(std::string_view name) const override {
    for (std::size_t i = 0; i < fields_.size(); ++i)
      if (fields_[i].Name() == name) return static_cast<int>(i);
    try {
      fields_.push_back(inner_->Fields(name));
    } catch (const vb::Error&) {
      return -1;
    }
    return static_cast<int>(fields_.size()) - 1;
  }
  const std::string& FieldName(int index) const override {
    return fields_[static_cast<std::size_t>(index)].Name();
  }
  std::optional<std::string> GetFieldValue(int index) override {
    return fields_[static_cast<std::size_t>(index)].Value();
  }
  void SetFieldValue(int index, std::optional<std::string> value) override {
    fields_[static_cast<std::size_t>(index)].SetValue(std::move(value));
  }

 private:
  void Refuse() const {
    if (*refuse_) throw dao::DbError(dao::kErrReadOnly, dao::kSourceRecordset);
  }

  vb::Object<dao::Recordset> inner_;
  const bool* refuse_;
  mutable std::vector<dao::Field> fields_;
};

class RefusingDatabase : public dao::Database {
 public:
  RefusingDatabase(vb::Object<dao::Database> inner, const bool* refuse)
      : inner_(std::move(inner)), refuse_(refuse) {}
  const std::string& Name() const override { return inner_->Name(); }

 protected:
  vb::Object<dao::Recordset> DoOpenRecordset(const std::string& name, long type) override {
    return vb::New<RefusingRecordset>(inner_->OpenRecordset(name, type), refuse_);
  }
  vb::Object<dao::QueryDef> DoCreateQueryDef(const std::string& name,
                                             const std::string& sql) override {
    return inner_->CreateQueryDef(name, sql);
  }

 private:
  vb::Object<dao::Database> inner_;
  const bool* refuse_;
};

}  // namespace

vb::Object<dao::Database> RefusingEngine::OpenDatabase(const std::string& path) {
  return vb::New<RefusingDatabase>(inner_->OpenDatabase(path), &refuse);
}

WriteLock::WriteLock(const std::string& path, bool exclusive) {
  const char* begin = exclusive ? "BEGIN EXCLUSIVE" : "BEGIN IMMEDIATE";
  if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
      sqlite3_exec(db_, begin, nullptr, nullptr, nullptr) != SQLITE_OK) {
    sqlite3_close(db_);
    throw std::runtime_error("cannot take the write lock of " + path);
  }
}

WriteLock::~WriteLock() {
  sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(db_);
}

}  // namespace bw
