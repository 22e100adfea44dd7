#include "host/db/sqlite_recordset.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/db/dao.h"
#include "host/db/schema.h"
#include "host/db/sqlite_engine.h"
#include "host/db/testing/db_test_util.h"

namespace dao {
namespace {

using testing::ErrorOf;
using testing::ExecSql;
using Rows = std::vector<std::vector<std::optional<std::string>>>;

class RecordsetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.File("SourceBase.mdb");
    CreateSourceLibraryFile(path_);
    // Store order differs from name order on purpose.
    InsertRows(path_, "Subs", {"Name", "Code", "Description", "Create Date", "Creator"},
               {{"Gamma", "Sub Gamma()", "", "03/7/2026", std::nullopt},
                {"alpha", "Sub Alpha()", "first", "03/8/2026", "ann"},
                {"Beta", "Sub Beta()", "d", "03/9/2026", "bob"},
                {"Alpha", "Sub Alpha2()", "second", "03/9/2026", "cy"}});
    db_ = engine_->OpenDatabase(path_);
  }

  vb::Object<Recordset> Subs() { return db_->OpenRecordset("Subs"); }

  static std::string Text(const vb::Object<Recordset>& rs, std::string_view field) {
    return rs->Fields(field).Value().value_or("<Null>");
  }

  // Names from the current row to EOF.
  static std::vector<std::string> Rest(const vb::Object<Recordset>& rs) {
    std::vector<std::string> names;
    while (!rs->Eof()) {
      names.push_back(Text(rs, "Name"));
      rs->MoveNext();
    }
    return names;
  }

  testing::ScratchDir dir_;
  std::string path_;
  vb::Object<DBEngine> engine_ = NewSqliteEngine();
  vb::Object<Database> db_;
};

using Names = std::vector<std::string>;

TEST_F(RecordsetTest, OpensOnTheFirstRowAndWalksInStoreOrder) {
  vb::Object<Recordset> rs = Subs();
  EXPECT_FALSE(rs->BOF());
  EXPECT_FALSE(rs->Eof());
  EXPECT_EQ(rs->AbsolutePosition(), 0);
  std::vector<long> positions;
  Names names;
  while (!rs->Eof()) {
    positions.push_back(rs->AbsolutePosition());
    names.push_back(Text(rs, "Name"));
    rs->MoveNext();
  }
  EXPECT_EQ(names, (Names{"Gamma", "alpha", "Beta", "Alpha"}));
  EXPECT_EQ(positions, (std::vector<long>{0, 1, 2, 3}));
  EXPECT_EQ(rs->AbsolutePosition(), -1);
  vb::Error e = ErrorOf([&] { rs->MoveNext(); });
  EXPECT_EQ(e.Number, 3021);
  EXPECT_EQ(e.Source, "DAO.Recordset");
  EXPECT_EQ(e.Description, "No current record.");
}

TEST_F(RecordsetTest, MoveLastMoveFirstAndRecordCount) {
  vb::Object<Recordset> rs = Subs();
  rs->MoveLast();
  EXPECT_EQ(Text(rs, "Name"), "Alpha");
  EXPECT_EQ(rs->AbsolutePosition(), 3);
  rs->MoveFirst();
  EXPECT_EQ(Text(rs, "Name"), "Gamma");
  EXPECT_EQ(rs->RecordCount(), 4);
  rs->MovePrevious();
  EXPECT_TRUE(rs->BOF());
  EXPECT_EQ(ErrorOf([&] { rs->MovePrevious(); }).Number, 3021);
  EXPECT_EQ(ErrorOf([&] { Text(rs, "Name"); }).Number, 3021);
  rs->MoveNext();
  EXPECT_EQ(Text(rs, "Name"), "Gamma");
  vb::Error e = ErrorOf([&] { rs->MoveLast(1); });
  EXPECT_EQ(e.Number, 3001);
  EXPECT_EQ(e.Description, "Invalid argument.");
}

TEST_F(RecordsetTest, EmptyTableHasNoCurrentRecordEvenForTheFirstMove) {
  vb::Object<Recordset> rs = db_->OpenRecordset("Misc");
  EXPECT_TRUE(rs->BOF());
  EXPECT_TRUE(rs->Eof());
  EXPECT_EQ(rs->RecordCount(), 0);
  EXPECT_EQ(rs->AbsolutePosition(), -1);
  for (auto move : {&Recordset::MoveFirst, &Recordset::MoveNext, &Recordset::MovePrevious}) {
    vb::Error e = ErrorOf([&] { ((*rs).*move)(); });
    EXPECT_EQ(e.Number, 3021);
    EXPECT_EQ(e.Description, "No current record.");
  }
  EXPECT_EQ(ErrorOf([&] { rs->MoveLast(); }).Number, 3021);
  vb::Error read = ErrorOf([&] { rs->Fields("Name").Value(); });
  EXPECT_EQ(read.Number, 3021);
  EXPECT_EQ(read.Source, "DAO.Field");
  EXPECT_EQ(ErrorOf([&] { rs->Edit(); }).Number, 3021);
  EXPECT_EQ(ErrorOf([&] { rs->Delete(); }).Number, 3021);
}

TEST_F(RecordsetTest, FieldsByNameInAnyCaseWithBlanksAndNullApartFromEmpty) {
  vb::Object<Recordset> rs = Subs();
  EXPECT_EQ(rs->Fields("Create Date").Value(), "03/7/2026");
  EXPECT_EQ(rs->Fields("create date").Name(), "Create Date");
  EXPECT_EQ(rs->Fields("CODE").Value(), "Sub Gamma()");
  EXPECT_EQ(rs->Fields("Creator").Value(), std::nullopt);
  EXPECT_EQ(rs->Fields("Description").Value(), std::string());
  EXPECT_EQ(rs->Fields("Mod Date").Value(), std::nullopt);
  vb::Error e = ErrorOf([&] { rs->Fields("Modified"); });
  EXPECT_EQ(e.Number, 3265);
  EXPECT_EQ(e.Source, "DAO.Fields");
  EXPECT_EQ(e.Description, "Item not found in this collection.");
}

TEST_F(RecordsetTest, FieldValuesOfAnyColumnTypeComeBackAsText) {
  ExecSql(path_,
          "CREATE TABLE Odd (Name BLOB, Num INTEGER, Real REAL, Extra); "
          "INSERT INTO Odd VALUES ('a', 42, 1.5, x'6869');");
  vb::Object<Recordset> rs = db_->OpenRecordset("odd");
  EXPECT_EQ(rs->Fields("Num").Value(), "42");
  EXPECT_EQ(rs->Fields("Real").Value(), "1.5");
  EXPECT_EQ(rs->Fields("Extra").Value(), "hi");
}

TEST_F(RecordsetTest, FindFirstTakesTheFirstMatchInRecordsetOrderWithoutRegardToCase) {
  vb::Object<Recordset> rs = Subs();
  rs->MoveFirst();
  rs->FindFirst("Name = 'ALPHA'");
  EXPECT_FALSE(rs->NoMatch());
  EXPECT_EQ(Text(rs, "Code"), "Sub Alpha()");
  EXPECT_EQ(rs->AbsolutePosition(), 1);
  rs->FindFirst("[Create Date] = '03/9/2026' AND (Creator = 'CY' OR Creator = 'nobody')");
  EXPECT_EQ(Text(rs, "Code"), "Sub Alpha2()");
  rs->FindFirst("Creator IS NULL");
  EXPECT_EQ(Text(rs, "Name"), "Gamma");
  rs->FindFirst("NOT Name < 'b' AND Name <> 'gamma'");
  EXPECT_EQ(Text(rs, "Name"), "Beta");
  // After a find the walk goes on from the row found.
  rs->MoveNext();
  EXPECT_EQ(Text(rs, "Name"), "Alpha");
}

TEST_F(RecordsetTest, FindFirstWithoutMatchLeavesNoCurrentRecord) {
  vb::Object<Recordset> rs = Subs();
  rs->MoveFirst();
  rs->FindFirst("Name = 'Delta'");
  EXPECT_TRUE(rs->NoMatch());
  EXPECT_EQ(rs->AbsolutePosition(), -1);
  EXPECT_FALSE(rs->Eof());
  EXPECT_FALSE(rs->BOF());
  EXPECT_EQ(ErrorOf([&] { Text(rs, "Name"); }).Number, 3021);
  EXPECT_EQ(ErrorOf([&] { rs->Edit(); }).Number, 3021);
  EXPECT_EQ(ErrorOf([&] { rs->Delete(); }).Number, 3021);
  EXPECT_EQ(ErrorOf([&] { rs->MoveNext(); }).Number, 3021);
  rs->MoveFirst();  // moves do not change NoMatch
  EXPECT_TRUE(rs->NoMatch());
  EXPECT_EQ(Text(rs, "Name"), "Gamma");
  rs->FindFirst("Name = 'beta'");
  EXPECT_FALSE(rs->NoMatch());
}

TEST_F(RecordsetTest, FindFirstWithApostrophesAndNumbers) {
  InsertRows(path_, "Subs", {"Name", "Code"}, {{"O'Brien", "1e1"}, {"Twelve", " 12 "}});
  vb::Object<Recordset> rs = Subs();
  rs->FindFirst("Name = 'o''brien'");
  EXPECT_EQ(Text(rs, "Code"), "1e1");
  rs->FindFirst("Code = 10");  // text holding a number compares as that number
  EXPECT_EQ(Text(rs, "Name"), "O'Brien");
  rs->FindFirst("Code > 11.5 AND Code < 13");
  EXPECT_EQ(Text(rs, "Name"), "Twelve");
  rs->FindFirst("Code = 0");  // text that is no number never equals a number
  EXPECT_TRUE(rs->NoMatch());
}

TEST_F(RecordsetTest, FindFirstWithAMalformedOrUnknownCriteria) {
  vb::Object<Recordset> rs = Subs();
  rs->MoveFirst();
  vb::Error bad = ErrorOf([&] { rs->FindFirst("Name = 'O'Brien'"); });
  EXPECT_EQ(bad.Number, 3075);
  EXPECT_EQ(bad.Source, "DAO.Recordset");
  EXPECT_EQ(bad.Description,
            R"(Syntax error (missing operator) in query expression 'Name = 'O'Brien''.)");
  vb::Error unknown = ErrorOf([&] { rs->FindFirst("Title = 'x'"); });
  EXPECT_EQ(unknown.Number, 3070);
  EXPECT_EQ(unknown.Description,
            "The database engine does not recognize 'Title' as a valid field name or expression.");
  // Neither moved the recordset.
  EXPECT_EQ(Text(rs, "Name"), "Gamma");
}

TEST_F(RecordsetTest, CriteriaValuesAreBoundNeverPastedIntoSql) {
  vb::Object<Recordset> rs = Subs();
  rs->FindFirst("Name = 'x'' OR 1=1 OR Name = ''y'");
  EXPECT_TRUE(rs->NoMatch());
  rs->FindFirst("Name = '''; DROP TABLE Subs; --'");
  EXPECT_TRUE(rs->NoMatch());
  EXPECT_EQ(Subs()->RecordCount(), 4);
}

TEST_F(RecordsetTest, AddNewAppendsAfterTheRowsAndKeepsTheCurrentRecord) {
  vb::Object<Recordset> rs = Subs();
  rs->MoveNext();  // on "alpha"
  rs->AddNew();
  EXPECT_EQ(rs->EditMode(), dbEditAdd);
  rs->Fields("Code").SetValue("Sub Aardvark()");
  rs->Fields("Name").SetValue("Aardvark");
  EXPECT_EQ(rs->Fields("Name").Value(), "Aardvark");  // the edit buffer
  EXPECT_EQ(rs->Fields("Creator").Value(), std::nullopt);
  rs->Update();
  EXPECT_EQ(rs->EditMode(), dbEditNone);
  EXPECT_EQ(Text(rs, "Name"), "alpha");
  EXPECT_EQ(rs->AbsolutePosition(), 1);
  EXPECT_EQ(rs->RecordCount(), 5);
  EXPECT_EQ(Rest(rs), (Names{"alpha", "Beta", "Alpha", "Aardvark"}));
  rs->MoveLast();
  EXPECT_EQ(rs->Fields("Creator").Value(), std::nullopt);  // never assigned: Null
  EXPECT_EQ(Text(rs, "Code"), "Sub Aardvark()");
  // A recordset opened later sees the row where the store keeps it: last.
  vb::Object<Recordset> later = Subs();
  EXPECT_EQ(Rest(later), (Names{"Gamma", "alpha", "Beta", "Alpha", "Aardvark"}));
}

TEST_F(RecordsetTest, AddNewOnAnEmptyTable) {
  vb::Object<Recordset> rs = db_->OpenRecordset("Functions");
  rs->AddNew();
  rs->Fields("Name").SetValue("First");
  rs->Update();
  EXPECT_TRUE(rs->Eof());
  EXPECT_EQ(rs->RecordCount(), 1);
  rs->MoveFirst();
  EXPECT_EQ(Text(rs, "Name"), "First");
}

TEST_F(RecordsetTest, AddNewWithoutAssignmentsAddsAnAllNullRow) {
  vb::Object<Recordset> rs = Subs();
  rs->AddNew();
  rs->Update();
  rs->MoveLast();
  EXPECT_EQ(rs->Fields("Name").Value(), std::nullopt);
  EXPECT_EQ(rs->RecordCount(), 5);
}

TEST_F(RecordsetTest, EditWritesOnlyTheAssignedFields) {
  vb::Object<Recordset> rs = Subs();
  rs->FindFirst("Name = 'Beta'");
  rs->Edit();
  EXPECT_EQ(rs->EditMode(), dbEditInProgress);
  // Another recordset changes a field this edit does not touch.
  vb::Object<Recordset> other = Subs();
  other->FindFirst("Name = 'Beta'");
  other->Edit();
  other->Fields("Description").SetValue("from the other");
  other->Update();
  rs->Fields("Code").SetValue("Sub Beta2()");
  rs->Fields("Mod Date").SetValue("04/1/2026");
  rs->Fields("Modifier").SetValue(std::nullopt);
  EXPECT_EQ(rs->Fields("Code").Value(), "Sub Beta2()");
  EXPECT_EQ(rs->Fields("Creator").Value(), "bob");  // copied at Edit
  rs->Update();
  EXPECT_EQ(Text(rs, "Code"), "Sub Beta2()");
  EXPECT_EQ(rs->AbsolutePosition(), 2);

  vb::Object<Recordset> fresh = engine_->OpenDatabase(path_)->OpenRecordset("Subs");
  fresh->FindFirst("Name = 'Beta'");
  EXPECT_EQ(Text(fresh, "Code"), "Sub Beta2()");
  EXPECT_EQ(Text(fresh, "Mod Date"), "04/1/2026");
  EXPECT_EQ(Text(fresh, "Description"), "from the other");
  EXPECT_EQ(Text(fresh, "Creator"), "bob");
  EXPECT_EQ(Text(fresh, "Modifier"), "<Null>");
}

TEST_F(RecordsetTest, UpdateAndAssignmentNeedAddNewOrEdit) {
  vb::Object<Recordset> rs = Subs();
  vb::Error update = ErrorOf([&] { rs->Update(); });
  EXPECT_EQ(update.Number, 3020);
  EXPECT_EQ(update.Source, "DAO.Recordset");
  EXPECT_EQ(update.Description, "Update or CancelUpdate without AddNew or Edit.");
  vb::Error assign = ErrorOf([&] { rs->Fields("Code").SetValue("x"); });
  EXPECT_EQ(assign.Number, 3020);
  EXPECT_EQ(assign.Source, "DAO.Field");
  EXPECT_EQ(ErrorOf([&] { rs->CancelUpdate(); }).Number, 3020);

  rs->Edit();
  rs->Fields("Code").SetValue("lost");
  rs->CancelUpdate();
  EXPECT_EQ(ErrorOf([&] { rs->Update(); }).Number, 3020);
  rs->Edit();
  rs->Fields("Code").SetValue("lost too");
  rs->MoveNext();  // a move drops the edit, as in DAO
  EXPECT_EQ(ErrorOf([&] { rs->Update(); }).Number, 3020);
  rs->AddNew();
  EXPECT_EQ(ErrorOf([&] { rs->Update(2); }).Number, 3001);
  rs->CancelUpdate();
  rs->MoveFirst();
  EXPECT_EQ(Text(rs, "Code"), "Sub Gamma()");
  EXPECT_EQ(rs->RecordCount(), 4);
}

TEST_F(RecordsetTest, DeletedRowIsNoLongerVisitedOrCounted) {
  vb::Object<Recordset> rs = Subs();
  rs->FindFirst("Name = 'alpha'");
  rs->Delete();
  EXPECT_EQ(rs->RecordCount(), 3);
  EXPECT_EQ(rs->AbsolutePosition(), -1);
  for (auto act : std::initializer_list<std::function<void()>>{
           [&] { rs->Fields("Name").Value(); }, [&] { rs->Edit(); }, [&] { rs->Delete(); }}) {
    vb::Error e = ErrorOf(act);
    EXPECT_EQ(e.Number, 3167);
    EXPECT_EQ(e.Description, "Record is deleted.");
  }
  rs->MoveNext();
  EXPECT_EQ(Text(rs, "Name"), "Beta");
  EXPECT_EQ(rs->AbsolutePosition(), 1);
  rs->MoveFirst();
  EXPECT_EQ(Rest(rs), (Names{"Gamma", "Beta", "Alpha"}));
  rs->FindFirst("Code = 'Sub Alpha()'");
  EXPECT_TRUE(rs->NoMatch());
  EXPECT_EQ(Rest(Subs()), (Names{"Gamma", "Beta", "Alpha"}));
}

TEST_F(RecordsetTest, RowDeletedThroughAnotherRecordsetReadsAsDeleted) {
  vb::Object<Recordset> rs = Subs();
  rs->MoveNext();
  EXPECT_EQ(Text(rs, "Name"), "alpha");  // its page is now cached
  vb::Object<Recordset> other = Subs();
  other->FindFirst("Name = 'alpha'");
  other->Delete();
  EXPECT_EQ(ErrorOf([&] { rs->Fields("Name").Value(); }).Number, 3167);
  EXPECT_EQ(ErrorOf([&] { rs->Edit(); }).Number, 3167);
  EXPECT_EQ(ErrorOf([&] { rs->Delete(); }).Number, 3167);
  // Still one of its rows: counted and visited (reading it fails), as in a Jet dynaset.
  EXPECT_EQ(rs->RecordCount(), 4);
  rs->MoveNext();
  EXPECT_EQ(Text(rs, "Name"), "Beta");
}

TEST_F(RecordsetTest, UpdateOfARowDeletedMeanwhileRaises3167AndWritesNothing) {
  vb::Object<Recordset> rs = Subs();
  rs->Edit();
  rs->Fields("Code").SetValue("too late");
  vb::Object<Recordset> other = Subs();
  other->Delete();
  vb::Error e = ErrorOf([&] { rs->Update(); });
  EXPECT_EQ(e.Number, 3167);
  EXPECT_EQ(rs->EditMode(), dbEditNone);
  rs->FindFirst("Code = 'too late'");
  EXPECT_TRUE(rs->NoMatch());
}

TEST_F(RecordsetTest, ChangesThroughAnotherRecordsetShowAtOnce) {
  vb::Object<Recordset> rs = Subs();
  EXPECT_EQ(Text(rs, "Code"), "Sub Gamma()");
  vb::Object<Database> second = engine_->OpenDatabase(path_);  // its own connection
  vb::Object<Recordset> other = second->OpenRecordset("Subs");
  other->Edit();
  other->Fields("Code").SetValue("Sub Gamma2()");
  other->Update();
  EXPECT_EQ(Text(rs, "Code"), "Sub Gamma2()");
}

TEST_F(RecordsetTest, RowsAddedElsewhereAreNotPartOfAnOpenDynaset) {
  vb::Object<Recordset> rs = Subs();
  vb::Object<Recordset> other = Subs();
  other->AddNew();
  other->Fields("Name").SetValue("Elsewhere");
  other->Update();
  rs->AddNew();
  rs->Fields("Name").SetValue("Here");
  rs->Update();
  EXPECT_EQ(rs->RecordCount(), 5);
  rs->MoveFirst();
  EXPECT_EQ(Rest(rs), (Names{"Gamma", "alpha", "Beta", "Alpha", "Here"}));
  rs->FindFirst("Name = 'Elsewhere'");
  EXPECT_TRUE(rs->NoMatch());
  EXPECT_EQ(Rest(Subs()), (Names{"Gamma", "alpha", "Beta", "Alpha", "Elsewhere", "Here"}));
}

TEST_F(RecordsetTest, StoreOrderIsTheRowKeyOrder) {
  ExecSql(path_,
          "INSERT INTO Misc (rowid, Name) VALUES (30, 'thirty'); "
          "INSERT INTO Misc (rowid, Name) VALUES (10, 'ten'); "
          "INSERT INTO Misc (rowid, Name) VALUES (20, 'twenty');");
  vb::Object<Recordset> rs = db_->OpenRecordset("Misc");
  EXPECT_EQ(Rest(rs), (Names{"ten", "twenty", "thirty"}));
}

TEST_F(RecordsetTest, ARowKeyReusedByTheStoreStillComesLast) {
  vb::Object<Recordset> rs = Subs();
  rs->MoveLast();
  rs->Delete();  // the highest key, which the store would give to the next new row
  rs->AddNew();
  rs->Fields("Name").SetValue("Reused");
  rs->Update();
  rs->MoveFirst();
  EXPECT_EQ(Rest(rs), (Names{"Gamma", "alpha", "Beta", "Reused"}));
  rs->FindFirst("Name = 'Reused'");
  EXPECT_FALSE(rs->NoMatch());
  EXPECT_EQ(rs->AbsolutePosition(), 3);
  rs->MovePrevious();
  EXPECT_EQ(Text(rs, "Name"), "Beta");
}

TEST_F(RecordsetTest, AHighestRowDeletedElsewhereLendsNoKeyToANewRow) {
  vb::Object<Recordset> rs = Subs();
  ExecSql(path_, "DELETE FROM Subs WHERE Name = 'Alpha'");  // the last row, from outside
  rs->AddNew();
  rs->Fields("Name").SetValue("New");
  rs->Update();
  EXPECT_EQ(rs->RecordCount(), 5);
  rs->MoveLast();
  EXPECT_EQ(Text(rs, "Name"), "New");
  rs->MovePrevious();  // the deleted row keeps its place and reads as deleted
  EXPECT_EQ(ErrorOf([&] { rs->Fields("Name").Value(); }).Number, 3167);
  rs->FindFirst("Name = 'New'");
  EXPECT_EQ(rs->AbsolutePosition(), 4);
  EXPECT_EQ(Rest(Subs()), (Names{"Gamma", "alpha", "Beta", "New"}));
}

TEST_F(RecordsetTest, LongTablesReadCorrectlyAcrossPagesBothWays) {
  Rows rows;
  for (int i = 0; i < 1000; ++i)
    rows.push_back({"n" + std::to_string(i), "c" + std::to_string(i)});
  InsertRows(path_, "Classes", {"Name", "Code"}, rows);
  vb::Object<Recordset> rs = db_->OpenRecordset("Classes");
  rs->MoveLast();
  rs->MoveFirst();
  ASSERT_EQ(rs->RecordCount(), 1000);
  for (int i = 0; i < 1000; ++i, rs->MoveNext()) {
    ASSERT_EQ(rs->AbsolutePosition(), i);
    ASSERT_EQ(Text(rs, "Name"), "n" + std::to_string(i));
    if (i % 97 == 0) {
      ASSERT_EQ(Text(rs, "Code"), "c" + std::to_string(i));
    }
  }
  EXPECT_TRUE(rs->Eof());
  for (int i = 999; i >= 0; --i) {
    rs->MovePrevious();
    ASSERT_EQ(Text(rs, "Code"), "c" + std::to_string(i));
  }
  // Delete every third row, then check counts and positions.
  for (int i = 0; i < 1000; i += 3) {
    rs->FindFirst("Name = 'n" + std::to_string(i) + "'");
    rs->Delete();
  }
  EXPECT_EQ(rs->RecordCount(), 666);
  rs->FindFirst("Name = 'n998'");
  EXPECT_EQ(rs->AbsolutePosition(), 665);
  rs->MoveFirst();
  EXPECT_EQ(Text(rs, "Name"), "n1");
}

TEST_F(RecordsetTest, FieldsAndRecordsetsOutliveWhatOpenedThem) {
  Field code = Subs()->Fields("Code");
  EXPECT_EQ(code.Value(), "Sub Gamma()");
  vb::Object<Recordset> rs = Subs();
  db_.SetNothing();
  rs->MoveLast();
  EXPECT_EQ(Text(rs, "Name"), "Alpha");
}

TEST_F(RecordsetTest, OtherTablesAndColumnsAreIgnored) {
  ExecSql(path_, "CREATE TABLE Notes (x); ALTER TABLE Subs ADD COLUMN Extra INTEGER DEFAULT 7;");
  vb::Object<Recordset> rs = Subs();
  rs->AddNew();
  rs->Fields("Name").SetValue("With default");
  rs->Update();
  rs->MoveLast();
  EXPECT_EQ(Text(rs, "Extra"), "7");  // a field never assigned keeps the store's default
}

TEST_F(RecordsetTest, ColumnNamedRowidDoesNotHideTheRowKey) {
  ExecSql(path_,
          "CREATE TABLE Keys (rowid TEXT, Name TEXT); "
          "INSERT INTO Keys VALUES ('b', 'first'); INSERT INTO Keys VALUES ('a', 'second');");
  vb::Object<Recordset> rs = db_->OpenRecordset("Keys");
  EXPECT_EQ(Rest(rs), (Names{"first", "second"}));
  rs->FindFirst("rowid = 'a'");
  EXPECT_EQ(Text(rs, "Name"), "second");
  rs->Edit();
  rs->Fields("Name").SetValue("changed");
  rs->Update();
  rs->MoveFirst();
  EXPECT_EQ(Rest(rs), (Names{"first", "changed"}));
}

}  // namespace
}  // namespace dao
