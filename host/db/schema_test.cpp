#include "host/db/schema.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "host/db/dao.h"
#include "host/db/sqlite_engine.h"
#include "host/db/testing/db_test_util.h"

namespace dao {
namespace {

using testing::ErrorOf;

TEST(SchemaTest, SourceLibraryFileHasFiveEmptyTablesOfSevenFields) {
  testing::ScratchDir dir;
  std::string path = dir.File("SourceBase.mdb");
  CreateSourceLibraryFile(path);
  vb::Object<Database> db = NewSqliteEngine()->OpenDatabase(path);
  for (std::string_view table : kSourceLibraryTables) {
    vb::Object<Recordset> rs = db->OpenRecordset(std::string(table));
    EXPECT_EQ(rs->RecordCount(), 0) << table;
    rs->AddNew();
    for (std::string_view field : kSourceLibraryFields) {
      rs->Fields(field).SetValue(std::string(field) + " of " + std::string(table));
    }
    rs->Update();
    rs->MoveFirst();
    for (std::string_view field : kSourceLibraryFields) {
      EXPECT_EQ(rs->Fields(field).Value(), std::string(field) + " of " + std::string(table));
    }
  }
  EXPECT_EQ(IntegrityCheck(path), "ok");
}

TEST(SchemaTest, ApiFileHasItsFourTables) {
  testing::ScratchDir dir;
  std::string path = dir.File("Win32api.MDB");
  CreateApiFile(path);
  InsertRows(path, "Declares", {"Name", "FullName"},
             {{"Beep", R"(Declare Function Beep Lib "kernel32" () As Long)"}});
  InsertRows(path, "Constants", {"Name", "FullName"}, {{"MAX_PATH", "Const MAX_PATH = 260"}});
  InsertRows(path, "Types", {"Name", "Id"}, {{"RECT", "7"}});
  InsertRows(path, "TypeItems", {"TypeID", "TypeItem"}, {{"7", "    Left As Long"}});
  vb::Object<Database> db = NewSqliteEngine()->OpenDatabase(path);
  EXPECT_EQ(db->OpenRecordset("Declares")->Fields("FullName").Value(),
            R"(Declare Function Beep Lib "kernel32" () As Long)");
  EXPECT_EQ(db->OpenRecordset("Constants")->Fields("Name").Value(), "MAX_PATH");
  EXPECT_EQ(db->OpenRecordset("Types")->Fields("Id").Value(), "7");
  EXPECT_EQ(db->OpenRecordset("TypeItems")->Fields("TypeID").Value(), "7");
}

TEST(SchemaTest, CreatingOverAnExistingFileRaises58AndKeepsIt) {
  testing::ScratchDir dir;
  std::string path = dir.File("SourceBase.mdb");
  CreateSourceLibraryFile(path);
  InsertRows(path, "Misc", {"Name"}, {{"kept"}});
  vb::Error e = ErrorOf([&] { CreateApiFile(path); });
  EXPECT_EQ(e.Number, 58);
  EXPECT_EQ(e.Description, "File already exists");
  EXPECT_EQ(NewSqliteEngine()->OpenDatabase(path)->OpenRecordset("Misc")->Fields("Name").Value(),
            "kept");
}

TEST(SchemaTest, InsertRowsChecksRowWidthAndWritesNothingOnFailure) {
  testing::ScratchDir dir;
  std::string path = dir.File("SourceBase.mdb");
  CreateSourceLibraryFile(path);
  EXPECT_EQ(ErrorOf([&] { InsertRows(path, "Subs", {"Name", "Code"}, {{"a"}}); }).Number, 5);
  vb::Error e = ErrorOf([&] { InsertRows(path, "Subs", {"Name", "Nope"}, {{"a", "b"}}); });
  EXPECT_EQ(e.Number, 3000);
  EXPECT_EQ(e.Description,
            "Reserved error (table Subs has no column named Nope); there is no message for this "
            "error.");
  EXPECT_EQ(NewSqliteEngine()->OpenDatabase(path)->OpenRecordset("Subs")->RecordCount(), 0);
}

}  // namespace
}  // namespace dao
