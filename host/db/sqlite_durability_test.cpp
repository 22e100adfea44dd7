// Durability and sharing: commits survive a killed writer, locks held by another process make
// calls fail with 3218 after the busy wait without harming the file, and two processes writing
// at once lose nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "host/db/dao.h"
#include "host/db/schema.h"
#include "host/db/sqlite_engine.h"
#include "host/db/testing/db_test_util.h"

namespace dao {
namespace {

using testing::ChildProcess;
using testing::ErrorOf;

class DurabilityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.File("SourceBase.mdb");
    CreateSourceLibraryFile(path_);
    InsertRows(path_, "Subs", {"Name", "Code"}, {{"Counter", "0"}});
  }

  // Every Name in Subs, in store order, through a fresh connection.
  std::vector<std::string> StoredNames() {
    vb::Object<Recordset> rs = NewSqliteEngine()->OpenDatabase(path_)->OpenRecordset("Subs");
    std::vector<std::string> names;
    while (!rs->Eof()) {
      names.push_back(rs->Fields("Name").Value().value_or("<Null>"));
      rs->MoveNext();
    }
    return names;
  }

  std::string CounterCode() {
    vb::Object<Recordset> rs = NewSqliteEngine()->OpenDatabase(path_)->OpenRecordset("Subs");
    rs->FindFirst("Name = 'Counter'");
    return rs->Fields("Code").Value().value_or("<Null>");
  }

  testing::ScratchDir dir_;
  std::string path_;
};

TEST_F(DurabilityTest, KilledWriterLosesAtMostTheUpdateUnderWay) {
  long added = 0;    // items the children reported committed
  long counted = 0;  // last counter value reported committed
  for (int round = 0; round < 6; ++round) {
    {
      ChildProcess child({"stream", path_, std::to_string(added + 1)});
      // Kill right after a report, while the child is inside its next Update.
      auto note = [&](const std::string& line) {
        long n = std::stol(line.substr(line.find(' ') + 1));
        if (line.rfind("added ", 0) == 0) added = n;
        if (line.rfind("counted ", 0) == 0) counted = n;
      };
      int wanted = 5 + round * 4;
      for (int seen = 0; seen < wanted; ++seen) {
        std::optional<std::string> line = child.ReadLine();
        ASSERT_TRUE(line.has_value()) << "the child stopped early";
        note(*line);
      }
      child.Kill();
      child.Wait();
      // Reports written before the kill landed are commits too.
      while (std::optional<std::string> line = child.ReadLine())
        note(*line);
    }
    ASSERT_EQ(IntegrityCheck(path_), "ok");

    std::vector<std::string> names = StoredNames();
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.front(), "Counter");
    std::map<std::string, int> seen;
    for (const std::string& name : names)
      ++seen[name];
    for (long n = 1; n <= added; ++n) {
      ASSERT_EQ(seen["item " + std::to_string(n)], 1) << "committed item " << n << " lost";
    }
    // At most the add under way may have landed too.
    long stored = static_cast<long>(names.size()) - 1;
    ASSERT_TRUE(stored == added || stored == added + 1) << stored << " items, " << added;
    if (stored == added + 1) {
      EXPECT_EQ(names.back(), "item " + std::to_string(added + 1));
    }
    long counter = std::stol(CounterCode());
    ASSERT_TRUE(counter == counted || counter == counted + 1) << counter << " vs " << counted;
    added = stored;
    counted = counter;
  }
}

TEST_F(DurabilityTest, WriterKilledInsideACommitLosesExactlyThatUpdate) {
  long added = 0;
  long counted = 0;
  // The k-th write to the file lands in the first, second, ... commit and at different pages.
  for (long k : {1, 2, 3, 5, 8, 13}) {
    {
      ChildProcess child({"torn", path_, std::to_string(added + 1), std::to_string(k)});
      for (;;) {
        std::optional<std::string> line = child.ReadLine();
        ASSERT_TRUE(line.has_value()) << "the child stopped early";
        if (*line == "torn") break;
        long n = std::stol(line->substr(line->find(' ') + 1));
        if (line->rfind("added ", 0) == 0) added = n;
        if (line->rfind("counted ", 0) == 0) counted = n;
      }
      // Frozen inside a commit: the journal that undoes it is on disk.
      EXPECT_TRUE(std::filesystem::exists(path_ + "-journal")) << "k = " << k;
      child.Kill();
      child.Wait();
    }
    ASSERT_EQ(IntegrityCheck(path_), "ok") << "k = " << k;
    std::vector<std::string> names = StoredNames();
    std::vector<std::string> expected = {"Counter"};
    for (long n = 1; n <= added; ++n)
      expected.push_back("item " + std::to_string(n));
    ASSERT_EQ(names, expected) << "k = " << k;
    ASSERT_EQ(CounterCode(), std::to_string(counted)) << "k = " << k;
  }
  EXPECT_GT(added, 0);
}

TEST_F(DurabilityTest, ExclusiveLockOfAnotherProcessRaises3218AfterTheBusyWait) {
  vb::Object<Database> db = NewSqliteEngine({.busy_timeout_ms = 100})->OpenDatabase(path_);
  vb::Object<Recordset> rs = db->OpenRecordset("Subs");
  rs->Edit();
  rs->Fields("Code").SetValue("1");
  {
    ChildProcess child({"lock", path_});
    ASSERT_EQ(child.ReadLine(), "locked");
    vb::Error write = ErrorOf([&] { rs->Update(); });
    EXPECT_EQ(write.Number, 3218);
    EXPECT_EQ(write.Source, "DAO.Recordset");
    EXPECT_EQ(write.Description, "Could not update; currently locked.");
    EXPECT_EQ(rs->EditMode(), dbEditInProgress);  // the edit is kept for another try
  }
  rs->Update();
  EXPECT_EQ(CounterCode(), "1");
}

TEST_F(DurabilityTest, ReadsDuringAnotherProcessesExclusiveLockRaise3218) {
  vb::Object<DBEngine> engine = NewSqliteEngine({.busy_timeout_ms = 100});
  vb::Object<Database> db = engine->OpenDatabase(path_);
  vb::Object<Recordset> rs = db->OpenRecordset("Subs");
  ChildProcess child({"lock", path_});
  ASSERT_EQ(child.ReadLine(), "locked");
  vb::Error read = ErrorOf([&] {
    rs->MoveFirst();
    rs->Fields("Name").Value();
  });
  EXPECT_EQ(read.Number, 3218);
  EXPECT_EQ(read.Source, "DAO.Field");
  EXPECT_EQ(read.Description, "Could not read; currently locked.");
  vb::Error open = ErrorOf([&] { engine->OpenDatabase(path_); });
  EXPECT_EQ(open.Number, 3218);
  EXPECT_EQ(open.Source, "DAO.DBEngine");
  child.CloseInput();
  child.Wait();
  EXPECT_EQ(rs->Fields("Name").Value(), "Counter");
}

TEST_F(DurabilityTest, CommitBlockedByAReaderFailsAndLeavesTheFileAsItWas) {
  vb::Object<Recordset> rs =
      NewSqliteEngine({.busy_timeout_ms = 100})->OpenDatabase(path_)->OpenRecordset("Subs");
  ChildProcess child({"share", path_});
  ASSERT_EQ(child.ReadLine(), "shared");
  rs->Edit();
  rs->Fields("Code").SetValue("changed");
  EXPECT_EQ(ErrorOf([&] { rs->Update(); }).Number, 3218);
  rs->CancelUpdate();
  rs->AddNew();
  rs->Fields("Name").SetValue("New");
  EXPECT_EQ(ErrorOf([&] { rs->Update(); }).Number, 3218);
  EXPECT_EQ(rs->RecordCount(), 1);
  rs->CancelUpdate();
  EXPECT_EQ(ErrorOf([&] { rs->Delete(); }).Number, 3218);
  EXPECT_EQ(rs->RecordCount(), 1);
  child.CloseInput();
  child.Wait();
  EXPECT_EQ(CounterCode(), "0");
  EXPECT_EQ(StoredNames(), (std::vector<std::string>{"Counter"}));
  EXPECT_EQ(IntegrityCheck(path_), "ok");
  rs->Edit();
  rs->Fields("Code").SetValue("changed");
  rs->Update();
  EXPECT_EQ(CounterCode(), "changed");
}

TEST_F(DurabilityTest, ChangesOfAnotherProcessShowFromTheNextFetch) {
  InsertRows(path_, "Subs", {"Name", "Code"}, {{"Second", "two"}, {"Third", "three"}});
  vb::Object<Recordset> rs = NewSqliteEngine()->OpenDatabase(path_)->OpenRecordset("Subs");
  EXPECT_EQ(rs->Fields("Code").Value(), "0");
  {
    ChildProcess child({"set", path_, "Counter", "42"});
    EXPECT_EQ(child.ReadLine(), "done");
  }
  {
    ChildProcess child({"delete", path_, "Second"});
    EXPECT_EQ(child.ReadLine(), "done");
  }
  rs->MoveFirst();
  EXPECT_EQ(rs->Fields("Code").Value(), "42");
  rs->MoveNext();
  vb::Error gone = ErrorOf([&] { rs->Fields("Code").Value(); });
  EXPECT_EQ(gone.Number, 3167);
  EXPECT_EQ(gone.Source, "DAO.Field");
  rs->MoveNext();
  EXPECT_EQ(rs->Fields("Code").Value(), "three");
  // Edit always starts from the stored row.
  rs->MoveFirst();
  rs->Edit();
  EXPECT_EQ(rs->Fields("Code").Value(), "42");
}

TEST_F(DurabilityTest, TwoProcessesWritingAtOnceLoseNothing) {
  ChildProcess child({"add", path_, "child ", "150"});
  vb::Object<Recordset> rs = NewSqliteEngine()->OpenDatabase(path_)->OpenRecordset("Subs");
  for (int i = 1; i <= 150; ++i) {
    rs->AddNew();
    rs->Fields("Name").SetValue("parent " + std::to_string(i));
    rs->Update();
  }
  EXPECT_EQ(child.ReadLine(), "done");
  child.Wait();
  EXPECT_EQ(IntegrityCheck(path_), "ok");
  EXPECT_EQ(rs->RecordCount(), 151);  // the child's rows are not part of this dynaset
  std::vector<std::string> names = StoredNames();
  std::set<std::string> unique(names.begin(), names.end());
  EXPECT_EQ(names.size(), 301u);
  EXPECT_EQ(unique.size(), 301u);
  for (int i = 1; i <= 150; ++i) {
    EXPECT_EQ(unique.count("child " + std::to_string(i)), 1u);
    EXPECT_EQ(unique.count("parent " + std::to_string(i)), 1u);
  }
}

}  // namespace
}  // namespace dao
