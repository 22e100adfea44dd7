#include "host/db/errors.h"

#include <gtest/gtest.h>

namespace dao {
namespace {

TEST(DbErrorTest, FillsTheItemIntoJetTexts) {
  vb::Error e = DbError(kErrFileNotFound, kSourceEngine, "/x/SourceBase.mdb");
  EXPECT_EQ(e.Number, 3024);
  EXPECT_EQ(e.Source, "DAO.DBEngine");
  EXPECT_EQ(e.Description, "Could not find file '/x/SourceBase.mdb'.");
  EXPECT_EQ(DbErrorText(kErrNoSuchTable, "Subz"),
            "The database engine cannot find the input table or query 'Subz'. Make sure it "
            "exists and that its name is spelled correctly.");
}

TEST(DbErrorTest, FixedTextsOfTheEngine) {
  EXPECT_EQ(DbErrorText(kErrNoCurrentRecord), "No current record.");
  EXPECT_EQ(DbErrorText(kErrUpdateWithoutEdit), "Update or CancelUpdate without AddNew or Edit.");
  EXPECT_EQ(DbErrorText(kErrRecordDeleted), "Record is deleted.");
  EXPECT_EQ(DbErrorText(kErrReadOnly), "Cannot update. Database or object is read-only.");
  EXPECT_EQ(DbErrorText(kErrLocked), "Could not update; currently locked.");
  EXPECT_EQ(DbErrorText(kErrItemNotFound), "Item not found in this collection.");
  EXPECT_EQ(LockedForRead(kSourceField).Description, "Could not read; currently locked.");
  EXPECT_EQ(LockedForRead(kSourceField).Number, 3218);
}

TEST(DbErrorTest, NumbersWithoutTextGetTheReservedText) {
  EXPECT_EQ(DbErrorText(3999), "Reserved error (3999); there is no message for this error.");
  EXPECT_EQ(DbErrorText(kErrReserved, "disk I/O error"),
            "Reserved error (disk I/O error); there is no message for this error.");
}

}  // namespace
}  // namespace dao
