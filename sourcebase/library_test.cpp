#include "sourcebase/library.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "host/db/schema.h"
#include "services/shared_state.h"
#include "sourcebase/testing/library_test_support.h"

namespace bw {
namespace {

using dao::testing::ChildProcess;
using dao::testing::ErrorOf;

TEST(CategoryTest, TextsMatchExactlyAndMiscellaneousIsTheMiscTable) {
  ASSERT_NE(CategoryByText("Miscellaneous"), nullptr);
  EXPECT_EQ(CategoryByText("Miscellaneous")->Table, "Misc");
  EXPECT_EQ(CategoryByText("Miscellaneous")->Recordset, &MiscRs);
  EXPECT_EQ(CategoryByText("Subs")->Recordset, &SubsRs);
  EXPECT_EQ(CategoryByTable("Misc")->Text, "Miscellaneous");
  for (const char* other : {"Misc", "subs", "Source Code Database", "", "Subs "})
    EXPECT_EQ(CategoryByText(other), nullptr) << other;
  const char* captions[] = {"Class", "Module", "Sub", "Function", "Miscellaneous"};
  const long images[] = {2, 3, 5, 5, 6};
  for (std::size_t i = 0; i < kLibraryCategories.size(); ++i) {
    EXPECT_EQ(kLibraryCategories[i].OptionCaption, captions[i]);
    EXPECT_EQ(kLibraryCategories[i].Image, images[i]);
    EXPECT_EQ(kLibraryCategories[i].Key, "\\" + std::string(kLibraryCategories[i].Text));
  }
}

class RecordsTest : public LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    Store({{"Subs", "Twin", "first"},
           {"Subs", "O'Brien", "irish", "02/1/2001", "dev2"},
           {"Subs", "Twin", "second"},
           {"Functions", "Twin", "function"}});
    CurrentUserName = "tester";
    OpenLibrary(path_);
  }

  std::optional<std::string> Code(const std::string& table, std::size_t row) const {
    return Rows(table).at(row)[1];
  }
};

// Save and Delete act on the first row of the name in their category, apostrophe or not; a save
// stamps the change and keeps the creation.
TEST_F(RecordsTest, SaveAndDeleteActOnTheFirstRowOfThatName) {
  CodeChanged = true;
  SaveRecord("Twin", "changed", "Subs");
  EXPECT_FALSE(CodeChanged);
  SaveRecord("O'Brien", "Sub Greet()", "Subs");
  std::vector<StoredRow> rows = Rows("Subs");
  EXPECT_EQ(rows[0], (StoredRow{"Twin", "changed", std::nullopt, "01/5/2001", "dev1", "03/7/2026",
                                "tester"}));
  EXPECT_EQ(rows[1][1], "Sub Greet()");
  EXPECT_EQ(rows[2][1], "second");
  EXPECT_EQ(Code("Functions", 0), "function");  // the same name in another category

  CodeChanged = true;
  DeleteRecord("Twin", "Subs");
  EXPECT_FALSE(CodeChanged);
  DeleteRecord("O'Brien", "Subs");
  rows = Rows("Subs");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][1], "second");
  EXPECT_TRUE(MessageBoxes().empty());
}

TEST_F(RecordsTest, NoMatchShowsTheCriteriaAsBuiltAndChangesNothing) {
  CodeChanged = true;
  SaveRecord("Kelly's", "x", "Subs");
  EXPECT_FALSE(CodeChanged);  // a save clears it first, found or not
  CodeChanged = true;
  DeleteRecord("Kelly's", "Functions");
  EXPECT_TRUE(CodeChanged);  // a delete leaves it
  ASSERT_EQ(MessageBoxes().size(), 2u);
  for (const rt::MsgBoxRecord& box : MessageBoxes()) {
    EXPECT_EQ(box.Prompt, "No Match for Name = 'Kelly''s'\r\n\r\nThis database may need repaired.");
    EXPECT_EQ(box.Buttons, 16);
    EXPECT_EQ(box.Title, "SourceBase Database Error");
  }
  EXPECT_EQ(Rows("Subs").size(), 3u);
  EXPECT_EQ(Rows("Functions").size(), 1u);
}

TEST_F(RecordsTest, ACategoryOutsideTheFiveDoesNothingAndClearsTheFlag) {
  for (const char* parent : {"Source Code Database", "subs", "Misc"}) {
    CodeChanged = true;
    SaveRecord("Twin", "x", parent);
    EXPECT_FALSE(CodeChanged) << parent;
    CodeChanged = true;
    DeleteRecord("Twin", parent);
    EXPECT_FALSE(CodeChanged) << parent;
  }
  EXPECT_TRUE(MessageBoxes().empty());
  EXPECT_EQ(Code("Subs", 0), "first");
}

TEST_F(RecordsTest, AddAppendsAfterTheRowsOfTheDynasetWithTodaysStamps) {
  AddRecord(*CategoryByText("Miscellaneous"), " Notes", "' a note", "");
  EXPECT_EQ(Rows("Misc"), (std::vector<StoredRow>{{" Notes", "' a note", "", "03/7/2026",
                                                   std::nullopt, "03/7/2026", std::nullopt}}));
  AddRecord(*CategoryByText("Subs"), "Twin", "third", "again");
  EXPECT_EQ(SubsRs->RecordCount(), 4);
  SaveRecord("Twin", "first saved", "Subs");
  EXPECT_EQ(Code("Subs", 0), "first saved");  // the new row comes after the others
  EXPECT_EQ(Code("Subs", 3), "third");
}

// A file that refuses writes, as a read-only file does: nothing changes, the flag that marks
// unsaved typing is kept, and the recordset works again once writes are allowed.
TEST_F(RecordsTest, WritesRefusedByTheStoreRaiseAndLeaveEverythingAsItWas) {
  auto engine = vb::New<RefusingEngine>();
  dao::SetDefaultEngine(engine);
  OpenLibrary(path_);
  engine->refuse = true;
  CodeChanged = true;
  vb::Error save = ErrorOf([] { SaveRecord("Twin", "lost?", "Subs"); });
  EXPECT_EQ(save.Number, 3027);
  EXPECT_TRUE(CodeChanged);
  EXPECT_EQ(SubsRs->EditMode(), dao::dbEditNone);
  EXPECT_EQ(ErrorOf([] { DeleteRecord("Twin", "Subs"); }).Number, 3027);
  EXPECT_TRUE(CodeChanged);
  EXPECT_EQ(ErrorOf([] { AddRecord(*CategoryByText("Subs"), "New", "x", ""); }).Number, 3027);
  EXPECT_EQ(SubsRs->EditMode(), dao::dbEditNone);
  EXPECT_EQ(SubsRs->RecordCount(), 3);
  EXPECT_EQ(Names("Subs"), (std::vector<std::string>{"Twin", "O'Brien", "Twin"}));
  EXPECT_EQ(Code("Subs", 0), "first");

  engine->refuse = false;
  SaveRecord("Twin", "saved", "Subs");
  AddRecord(*CategoryByText("Subs"), "New", "x", "");
  EXPECT_EQ(Code("Subs", 0), "saved");
  EXPECT_EQ(Names("Subs").back(), "New");
}

TEST_F(RecordsTest, AFileLockedByAnotherConnectionRaises3218AndKeepsTheRows) {
  {
    WriteLock lock(path_);
    CodeChanged = true;
    vb::Error save = ErrorOf([] { SaveRecord("Twin", "lost?", "Subs"); });
    EXPECT_EQ(save.Number, 3218);
    EXPECT_EQ(save.Description, "Could not update; currently locked.");
    EXPECT_TRUE(CodeChanged);
    EXPECT_EQ(ErrorOf([] { DeleteRecord("O'Brien", "Subs"); }).Number, 3218);
    EXPECT_EQ(ErrorOf([] { AddRecord(*CategoryByText("Miscellaneous"), "New", "x", ""); }).Number,
              3218);
  }
  EXPECT_EQ(Names("Subs"), (std::vector<std::string>{"Twin", "O'Brien", "Twin"}));
  EXPECT_TRUE(Rows("Misc").empty());
  EXPECT_EQ(Code("Subs", 0), "first");
  SaveRecord("Twin", "after the lock", "Subs");
  EXPECT_EQ(Code("Subs", 0), "after the lock");
}

// A process saving and adding through the record operations is killed again and again in the
// middle of its stream: the file stays sound and holds every save and add it reported.
TEST_F(LibraryTest, EverySaveReportedBeforeAKillIsInTheFile) {
  Store({{"Subs", "Counter", "0"}});
  long added = 0, saved = 0;
  for (int round = 0; round < 5; ++round) {
    {
      ChildProcess child({"saves", path_, std::to_string(added + 1)});
      auto note = [&](const std::string& line) {
        ASSERT_EQ(line.rfind("error", 0), std::string::npos) << line;
        long n = std::stol(line.substr(line.find(' ') + 1));
        (line.rfind("added ", 0) == 0 ? added : saved) = n;
      };
      for (int seen = 0; seen < 6 + 5 * round; ++seen) {
        std::optional<std::string> line = child.ReadLine();
        ASSERT_TRUE(line.has_value()) << "the child stopped early";
        note(*line);
      }
      child.Kill();
      child.Wait();
      while (std::optional<std::string> line = child.ReadLine())
        note(*line);
    }
    ASSERT_EQ(dao::IntegrityCheck(path_), "ok");
    std::vector<std::string> names = Names("Subs");
    ASSERT_EQ(names.front(), "Counter");
    std::map<std::string, int> count;
    for (const std::string& name : names)
      ++count[name];
    for (long n = 1; n <= added; ++n)
      ASSERT_EQ(count["item " + std::to_string(n)], 1) << "reported add " << n << " lost";
    long stored = static_cast<long>(names.size()) - 1;
    ASSERT_TRUE(stored == added || stored == added + 1) << stored << " items, " << added;
    long counter = std::stol(Rows("Subs").front()[1].value_or("-1"));
    ASSERT_TRUE(counter == saved || counter == saved + 1) << counter << " vs " << saved;
    ASSERT_EQ(Rows("Subs").front()[6],
              counter > 0 ? std::optional<std::string>("child") : std::nullopt);
    added = stored;
    saved = counter;
  }
  EXPECT_GT(saved, 0);
}

}  // namespace
}  // namespace bw
