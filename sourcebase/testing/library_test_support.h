// Test support for the source library: a fixture with a library file in a scratch folder that
// is the add-in's folder, a look at what the file holds through a connection of its own, an
// engine that refuses writes on demand, and a write lock held by another connection.
#pragma once

#include <sqlite3.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/db/dao.h"
#include "host/db/testing/db_test_util.h"
#include "services/testing/addin_test.h"

namespace bw {

// One item to put into the library file: its table and its fields (Null when not given).
struct StoredItem {
  StoredItem(std::string table, std::string name, std::optional<std::string> code = std::nullopt,
             std::optional<std::string> createDate = "01/5/2001",
             std::optional<std::string> creator = "dev1")
      : Table(std::move(table)),
        Name(std::move(name)),
        Code(std::move(code)),
        CreateDate(std::move(createDate)),
        Creator(std::move(creator)) {}

  std::string Table;
  std::string Name;
  std::optional<std::string> Code;
  std::optional<std::string> CreateDate;
  std::optional<std::string> Creator;
  std::optional<std::string> ModDate = "01/5/2001";
  std::optional<std::string> Modifier;
  std::optional<std::string> Description;
};

// A row as the file holds it: Name, Code, Description, Create Date, Creator, Mod Date, Modifier.
using StoredRow = std::vector<std::optional<std::string>>;

// AddinTest with SourceBase.mdb in the add-in's folder (a scratch folder), today fixed at
// 2026-03-07 and the user name "tester". TearDown forgets the library's shared state and puts
// the default engine back.
class LibraryTest : public AddinTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Adds rows to the file, in order.
  void Store(const std::vector<StoredItem>& items);
  // Every row of the table, in store order, through a connection of its own.
  std::vector<StoredRow> Rows(const std::string& table) const;
  // The Names of the table's rows, in store order.
  std::vector<std::string> Names(const std::string& table) const;

  dao::testing::ScratchDir dir_;
  std::string path_;
};

// An engine over SQLite whose recordsets raise 3027 "Cannot update. Database or object is
// read-only." from Update and Delete while `refuse` is set, as a file opened read-only does.
// Everything else goes to the real engine.
class RefusingEngine : public dao::DBEngine {
 public:
  vb::Object<dao::Database> OpenDatabase(const std::string& path) override;
  bool refuse = false;

 private:
  vb::Object<dao::DBEngine> inner_ = dao::DefaultEngine();
};

// Another connection to the file holding a lock until dropped: its write lock (BEGIN
// IMMEDIATE), so reads go on and every write of ours waits out the busy time and raises 3218;
// or, when `exclusive`, its exclusive lock, so reads fail that way too.
class WriteLock {
 public:
  explicit WriteLock(const std::string& path, bool exclusive = false);
  ~WriteLock();
  WriteLock(const WriteLock&) = delete;
  WriteLock& operator=(const WriteLock&) = delete;

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace bw
