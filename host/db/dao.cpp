#include "host/db/dao.h"

#include <mutex>
#include <utility>

#include "host/db/errors.h"
#include "host/db/sqlite_engine.h"

namespace dao {

Field::Field(std::shared_ptr<Recordset> recordset, int index)
    : recordset_(std::move(recordset)), index_(index) {}

const std::string& Field::Name() const {
  return recordset_->FieldName(index_);
}

std::optional<std::string> Field::Value() const {
  return recordset_->GetFieldValue(index_);
}

void Field::SetValue(std::optional<std::string> value) const {
  recordset_->SetFieldValue(index_, std::move(value));
}

Recordset::~Recordset() = default;

Field Recordset::Fields(std::string_view name) {
  int index = FieldIndex(name);
  if (index < 0) throw DbError(kErrItemNotFound, kSourceFields);
  return Field(shared_from_this(), index);
}

QueryDef::~QueryDef() = default;
Database::~Database() = default;
DBEngine::~DBEngine() = default;

namespace {

std::mutex& EngineMutex() {
  static std::mutex mutex;
  return mutex;
}

vb::Object<DBEngine>& EngineSlot() {
  static vb::Object<DBEngine> engine;
  return engine;
}

}  // namespace

vb::Object<DBEngine> DefaultEngine() {
  std::lock_guard<std::mutex> lock(EngineMutex());
  vb::Object<DBEngine>& engine = EngineSlot();
  if (engine.IsNothing()) engine = NewSqliteEngine();
  return engine;
}

void SetDefaultEngine(vb::Object<DBEngine> engine) {
  std::lock_guard<std::mutex> lock(EngineMutex());
  EngineSlot() = std::move(engine);
}

}  // namespace dao
