#include "host/db/sqlite_engine.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/db/dao.h"
#include "host/db/schema.h"
#include "host/db/testing/db_test_util.h"

namespace dao {
namespace {

using testing::ChildProcess;
using testing::ErrorOf;
using testing::ExecSql;
using Names = std::vector<std::string>;

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    api_ = dir_.File("Win32api.MDB");
    CreateApiFile(api_);
    InsertRows(api_, "Types", {"Name", "Id"}, {{"RECT", "1"}, {"POINTAPI", "2"}, {"EMPTY", "3"}});
    InsertRows(api_, "TypeItems", {"TypeID", "TypeItem"},
               {{"2", "    x As Long"},
                {"1", "    Left As Long"},
                {"1", "    Top As Long"},
                {"2", "    y As Long"},
                {"1", "    Right As Long"}});
  }

  static Names Column(const vb::Object<Recordset>& rs, std::string_view field) {
    Names values;
    while (!rs->Eof()) {
      values.push_back(rs->Fields(field).Value().value_or("<Null>"));
      rs->MoveNext();
    }
    return values;
  }

  testing::ScratchDir dir_;
  std::string api_;
  vb::Object<DBEngine> engine_ = NewSqliteEngine();
};

TEST_F(EngineTest, TemporaryQueryReturnsTheTypeItemsInStoreOrder) {
  vb::Object<Database> db = engine_->OpenDatabase(api_);
  vb::Object<QueryDef> qd = db->CreateQueryDef("", "SELECT * FROM TypeItems WHERE TypeID = 1");
  EXPECT_EQ(qd->Name(), "");
  EXPECT_EQ(qd->SQL(), "SELECT * FROM TypeItems WHERE TypeID = 1");
  vb::Object<Recordset> rs = qd->OpenRecordset();
  EXPECT_EQ(rs->RecordCount(), 3);
  EXPECT_EQ(Column(rs, "TypeItem"),
            (Names{"    Left As Long", "    Top As Long", "    Right As Long"}));
  EXPECT_EQ(db->CreateQueryDef("", "SELECT * FROM TypeItems WHERE TypeID = 3")
                ->OpenRecordset()
                ->RecordCount(),
            0);
}

TEST_F(EngineTest, QueryMatchesNumbersStoredAsTextToo) {
  ExecSql(api_,
          "CREATE TABLE Loose (TypeID, TypeItem); "
          "INSERT INTO Loose VALUES ('2', 'a'), (2, 'b'), (' 2.0', 'c'), ('x', 'd'), (NULL, 'e');");
  vb::Object<Recordset> rs =
      engine_->OpenDatabase(api_)->OpenRecordset("SELECT * FROM Loose WHERE TypeID = 2");
  EXPECT_EQ(Column(rs, "TypeItem"), (Names{"a", "b", "c"}));
}

TEST_F(EngineTest, QueryRecordsetIsAnUpdatableDynaset) {
  vb::Object<Database> db = engine_->OpenDatabase(api_);
  vb::Object<Recordset> rs =
      db->CreateQueryDef("", "SELECT * FROM TypeItems WHERE TypeID = 2")->OpenRecordset();
  rs->AddNew();
  rs->Fields("TypeID").SetValue("2");
  rs->Fields("TypeItem").SetValue("    z As Long");
  rs->Update();
  rs->MoveFirst();
  EXPECT_EQ(Column(rs, "TypeItem"), (Names{"    x As Long", "    y As Long", "    z As Long"}));
  EXPECT_EQ(
      Column(db->CreateQueryDef("", "SELECT * FROM TypeItems WHERE TypeID = 2")->OpenRecordset(),
             "TypeItem"),
      (Names{"    x As Long", "    y As Long", "    z As Long"}));
}

TEST_F(EngineTest, QueryErrors) {
  vb::Object<Database> db = engine_->OpenDatabase(api_);
  vb::Error named = ErrorOf([&] { db->CreateQueryDef("Stored", "SELECT * FROM Types"); });
  EXPECT_EQ(named.Number, 3251);
  EXPECT_EQ(named.Description, "Operation is not supported for this type of object.");
  EXPECT_EQ(ErrorOf([&] { db->CreateQueryDef("", "UPDATE Types SET Id = 1"); }).Number, 3129);
  vb::Error bad = ErrorOf([&] { db->CreateQueryDef("", "SELECT * FROM Types WHERE Id = "); });
  EXPECT_EQ(bad.Number, 3075);
  EXPECT_EQ(bad.Source, "DAO.Database");

  // Names are checked against the file when the recordset opens.
  vb::Object<QueryDef> missing = db->CreateQueryDef("", "SELECT * FROM TypeThings");
  vb::Error table = ErrorOf([&] { missing->OpenRecordset(); });
  EXPECT_EQ(table.Number, 3078);
  EXPECT_EQ(table.Source, "DAO.QueryDef");
  EXPECT_EQ(table.Description,
            "The database engine cannot find the input table or query 'TypeThings'. Make sure "
            "it exists and that its name is spelled correctly.");
  vb::Error field = ErrorOf([&] {
    db->CreateQueryDef("", "SELECT * FROM TypeItems WHERE TypeId2 = 1")->OpenRecordset();
  });
  EXPECT_EQ(field.Number, 3070);
  EXPECT_EQ(field.Source, "DAO.QueryDef");
  EXPECT_EQ(ErrorOf([&] { db->CreateQueryDef("", "")->OpenRecordset(); }).Number, 3129);
  EXPECT_EQ(
      ErrorOf([&] { db->CreateQueryDef("", "SELECT * FROM Types")->OpenRecordset(4); }).Number,
      3001);
}

TEST_F(EngineTest, OpenRecordsetFindsTablesInAnyCaseOnlyAsDynasets) {
  vb::Object<Database> db = engine_->OpenDatabase(api_);
  EXPECT_EQ(db->OpenRecordset("types")->RecordCount(), 3);
  vb::Error missing = ErrorOf([&] { db->OpenRecordset("Declare"); });
  EXPECT_EQ(missing.Number, 3078);
  EXPECT_EQ(missing.Source, "DAO.Database");
  EXPECT_EQ(missing.Description,
            "The database engine cannot find the input table or query 'Declare'. Make sure it "
            "exists and that its name is spelled correctly.");
  EXPECT_EQ(ErrorOf([&] { db->OpenRecordset("sqlite_schema"); }).Number, 3078);
  vb::Error type = ErrorOf([&] { db->OpenRecordset("Types", dbOpenTable); });
  EXPECT_EQ(type.Number, 3001);
  EXPECT_EQ(type.Description, "Invalid argument.");
  EXPECT_EQ(db->Name(), api_);
}

TEST_F(EngineTest, MissingFileRaises3024) {
  std::string path = dir_.File("SourceBase.mdb");
  vb::Error e = ErrorOf([&] { engine_->OpenDatabase(path); });
  EXPECT_EQ(e.Number, 3024);
  EXPECT_EQ(e.Source, "DAO.DBEngine");
  EXPECT_EQ(e.Description, "Could not find file '" + path + "'.");
  EXPECT_FALSE(std::filesystem::exists(path));  // nothing was created
  EXPECT_EQ(ErrorOf([&] { engine_->OpenDatabase(""); }).Description, "Could not find file ''.");
}

TEST_F(EngineTest, FolderRaises3044) {
  vb::Error e = ErrorOf([&] { engine_->OpenDatabase(dir_.path()); });
  EXPECT_EQ(e.Number, 3044);
  EXPECT_EQ(e.Description, "'" + dir_.path() + "' is not a valid path.");
}

TEST_F(EngineTest, BackslashJoinedPathIsFound) {
  vb::Object<Database> db = engine_->OpenDatabase(dir_.path() + "\\Win32api.MDB");
  EXPECT_EQ(db->OpenRecordset("Types")->RecordCount(), 3);
}

TEST_F(EngineTest, FilesThatAreNoDatabaseRaise3343) {
  std::string text = dir_.File("notes.mdb");
  std::ofstream(text) << "These are not the tables you are looking for.\n";
  vb::Error e = ErrorOf([&] { engine_->OpenDatabase(text); });
  EXPECT_EQ(e.Number, 3343);
  EXPECT_EQ(e.Description, "Unrecognized database format '" + text + "'.");

  std::string empty = dir_.File("empty.mdb");
  std::ofstream{empty};
  EXPECT_EQ(ErrorOf([&] { engine_->OpenDatabase(empty); }).Number, 3343);
}

TEST_F(EngineTest, DamagedFileRaises3343WhenTheDamageIsRead) {
  std::string path = dir_.File("damaged.mdb");
  CreateApiFile(path);
  std::vector<std::vector<std::optional<std::string>>> rows;
  for (int i = 0; i < 200; ++i)
    rows.push_back({"Declare" + std::to_string(i), std::string(100, 'd')});
  InsertRows(path, "Declares", {"Name", "FullName"}, rows);
  vb::Object<Database> db = engine_->OpenDatabase(path);
  EXPECT_EQ(db->OpenRecordset("Declares")->RecordCount(), 200);
  db.SetNothing();
  {
    // Overwrite the Declares table's root page (page 2) with garbage.
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(4096);
    std::string junk(4096, '\xA5');
    f.write(junk.data(), static_cast<std::streamsize>(junk.size()));
  }
  vb::Error e = ErrorOf([&] {
    vb::Object<Recordset> rs = engine_->OpenDatabase(path)->OpenRecordset("Declares");
    while (!rs->Eof()) {
      rs->Fields("Name").Value();
      rs->MoveNext();
    }
  });
  EXPECT_EQ(e.Number, 3343);
  EXPECT_EQ(e.Description, "Unrecognized database format '" + path + "'.");
}

// Runs the helper's writes as a user who may not write `path` or its folder.
std::vector<std::string> TryWrite(const std::string& path) {
  ChildProcess child({"try-write", path});
  std::vector<std::string> lines;
  while (std::optional<std::string> line = child.ReadLine())
    lines.push_back(*line);
  child.Wait();
  return lines;
}

TEST_F(EngineTest, WritesToAReadOnlyFileRaise3027AndChangeNothing) {
  std::string path = dir_.File("SourceBase.mdb");
  CreateSourceLibraryFile(path);
  InsertRows(path, "Subs", {"Name", "Code"}, {{"Keep", "Sub Keep()"}});
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  std::string refused = "3027|Cannot update. Database or object is read-only.";
  EXPECT_EQ(TryWrite(path), (Names{refused, refused, refused}));
  vb::Object<Recordset> rs = engine_->OpenDatabase(path)->OpenRecordset("Subs");
  EXPECT_EQ(rs->RecordCount(), 1);
  EXPECT_EQ(rs->Fields("Code").Value(), "Sub Keep()");
}

TEST_F(EngineTest, WritesInAReadOnlyFolderRaise3027AndChangeNothing) {
  std::string folder = dir_.File("locked");
  std::filesystem::create_directory(folder);
  std::string path = folder + "/SourceBase.mdb";
  CreateSourceLibraryFile(path);
  InsertRows(path, "Subs", {"Name", "Code"}, {{"Keep", "Sub Keep()"}});
  ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  std::string refused = "3027|Cannot update. Database or object is read-only.";
  EXPECT_EQ(TryWrite(path), (Names{refused, refused, refused}));
  vb::Object<Recordset> rs = engine_->OpenDatabase(path)->OpenRecordset("Subs");
  EXPECT_EQ(rs->RecordCount(), 1);
  EXPECT_EQ(rs->Fields("Code").Value(), "Sub Keep()");
}

TEST_F(EngineTest, AWalDatabaseInAReadOnlyFolderSaysWhyItCannotBeOpened) {
  std::string folder = dir_.File("locked");
  std::filesystem::create_directory(folder);
  std::string path = folder + "/SourceBase.mdb";
  CreateSourceLibraryFile(path);
  InsertRows(path, "Subs", {"Name", "Code"}, {{"Keep", "Sub Keep()"}});
  ExecSql(path, "PRAGMA journal_mode = WAL");
  ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  ChildProcess child({"try-read", path});
  std::optional<std::string> said = child.ReadLine();
  child.Wait();
  EXPECT_EQ(said, "3051|The database engine cannot open the file '" + path +
                      "'. It is in write-ahead log mode, which needs to create files beside it, "
                      "and its folder is read-only.");
}

TEST_F(EngineTest, NamesSqliteReadsSpeciallyAreFilesLikeAnyOther) {
  // Relative to the working folder, as a user may give them.
  struct InFolder {
    std::filesystem::path old = std::filesystem::current_path();
    explicit InFolder(const std::string& folder) { std::filesystem::current_path(folder); }
    ~InFolder() { std::filesystem::current_path(old); }
  } in(dir_.path());
  for (std::string name : {":memory:", "file:Lib.mdb", "file:Lib.mdb?mode=memory"}) {
    CreateApiFile(dir_.File(name));
    InsertRows(dir_.File(name), "Types", {"Name", "Id"}, {{name, "1"}});
    vb::Object<Recordset> rs = engine_->OpenDatabase(name)->OpenRecordset("Types");
    EXPECT_EQ(Column(rs, "Name"), Names{name});
  }
}

TEST_F(EngineTest, DeepCriteriaWorkOrAreTooComplex) {
  vb::Object<Database> db = engine_->OpenDatabase(api_);
  // The rows of TypeItems a criteria selects, or the error it raises.
  auto run = [&](const std::string& where) {
    try {
      return std::to_string(
          db->OpenRecordset("SELECT * FROM TypeItems WHERE " + where)->RecordCount());
    } catch (const vb::Error& e) {
      return "error " + std::to_string(e.Number);
    }
  };
  auto nest = [](int depth, const std::string& before, const std::string& after) {
    std::string s = "TypeID = 1";
    for (int i = 0; i < depth; ++i)
      s = before + s + after;
    return s;
  };
  auto nots = [&](int n) { return nest(n, "NOT ", ""); };
  auto ors = [&](int n) { return nest(n, "(TypeID = 3 OR ", ")"); };
  auto andNots = [&](int n) { return nest(n, "(TypeID <> 7 AND NOT ", ")"); };
  auto wide = [&](int n) { return nest(n, "(TypeID = 3 OR TypeID = 4 OR TypeID = 5 OR ", ")"); };
  // Within the limit of 20 nested NOTs or parentheses, these work: three rows have TypeID 1.
  EXPECT_EQ(run(nots(20)), "3");
  EXPECT_EQ(run(nots(19)), "2");
  EXPECT_EQ(run(ors(20)), "3");
  EXPECT_EQ(run(andNots(10)), "3");
  // Deeper ones, which SQLite's parser could not take, are too complex; never another error.
  EXPECT_EQ(run(nots(45)), "error 3360");
  EXPECT_EQ(run(ors(30)), "error 3360");
  for (int depth : {10, 15, 20}) {
    std::string got = run(wide(depth));
    EXPECT_TRUE(got == "3" || got == "error 3360") << depth << ": " << got;
  }
}

TEST(DefaultEngineTest, OneSharedEngineThatTestsCanReplace) {
  vb::Object<DBEngine> first = DefaultEngine();
  EXPECT_FALSE(first.IsNothing());
  EXPECT_TRUE(DefaultEngine().Is(first));
  vb::Object<DBEngine> own = NewSqliteEngine();
  SetDefaultEngine(own);
  EXPECT_TRUE(DefaultEngine().Is(own));
  SetDefaultEngine(nullptr);
  EXPECT_FALSE(DefaultEngine().Is(own));
  EXPECT_FALSE(DefaultEngine().IsNothing());
}

}  // namespace
}  // namespace dao
