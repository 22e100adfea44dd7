#include "host/db/dynaset_cursor.h"

#include <gtest/gtest.h>

#include <vector>

namespace dao {
namespace {

// The keys a full forward walk visits from MoveFirst.
std::vector<std::int64_t> Walk(DynasetCursor& c) {
  std::vector<std::int64_t> seen;
  if (!c.MoveFirst()) return seen;
  while (!c.Eof()) {
    seen.push_back(c.key(c.position()));
    c.MoveNext();
  }
  return seen;
}

TEST(DynasetCursorTest, NewCursorStandsOnFirstKey) {
  DynasetCursor c({10, 20, 30});
  EXPECT_TRUE(c.HasCurrent());
  EXPECT_FALSE(c.Bof());
  EXPECT_FALSE(c.Eof());
  EXPECT_EQ(c.key(c.position()), 10);
  EXPECT_EQ(c.AbsolutePosition(), 0);
  EXPECT_EQ(c.VisibleCount(), 3);
}

TEST(DynasetCursorTest, EmptyCursorIsAtBothEndsAndCannotMove) {
  DynasetCursor c({});
  EXPECT_TRUE(c.Bof());
  EXPECT_TRUE(c.Eof());
  EXPECT_FALSE(c.HasCurrent());
  EXPECT_FALSE(c.MoveFirst());
  EXPECT_FALSE(c.MoveLast());
  EXPECT_FALSE(c.MoveNext());
  EXPECT_FALSE(c.MovePrevious());
  EXPECT_EQ(c.AbsolutePosition(), -1);
}

TEST(DynasetCursorTest, WalksBothWaysAndStopsAtTheEnds) {
  DynasetCursor c({1, 2, 3});
  EXPECT_TRUE(c.MoveLast());
  EXPECT_EQ(c.AbsolutePosition(), 2);
  EXPECT_TRUE(c.MoveNext());
  EXPECT_TRUE(c.Eof());
  EXPECT_EQ(c.AbsolutePosition(), -1);
  EXPECT_FALSE(c.MoveNext());  // already past the end
  EXPECT_TRUE(c.MovePrevious());
  EXPECT_EQ(c.key(c.position()), 3);
  EXPECT_TRUE(c.MoveFirst());
  EXPECT_TRUE(c.MovePrevious());
  EXPECT_TRUE(c.Bof());
  EXPECT_FALSE(c.MovePrevious());
  EXPECT_TRUE(c.MoveNext());
  EXPECT_EQ(c.key(c.position()), 1);
}

TEST(DynasetCursorTest, DeletedRowsAreSkippedAndNotCounted) {
  DynasetCursor c({1, 2, 3, 4});
  c.MoveTo(1);
  c.DeleteCurrent();
  EXPECT_TRUE(c.OnRow());
  EXPECT_FALSE(c.HasCurrent());
  EXPECT_EQ(c.AbsolutePosition(), -1);
  EXPECT_EQ(c.VisibleCount(), 3);
  EXPECT_TRUE(c.MoveNext());
  EXPECT_EQ(c.key(c.position()), 3);
  EXPECT_EQ(c.AbsolutePosition(), 1);
  c.MoveTo(0);
  c.DeleteCurrent();
  EXPECT_TRUE(c.MovePrevious());  // nothing before: BOF
  EXPECT_TRUE(c.Bof());
  EXPECT_EQ(Walk(c), (std::vector<std::int64_t>{3, 4}));
  EXPECT_TRUE(c.MoveLast());
  EXPECT_EQ(c.AbsolutePosition(), 1);
}

TEST(DynasetCursorTest, DeletingEveryRowLeavesNothingToVisit) {
  DynasetCursor c({1});
  c.DeleteCurrent();
  EXPECT_EQ(c.VisibleCount(), 0);
  EXPECT_TRUE(c.MoveNext());
  EXPECT_TRUE(c.Eof());
  EXPECT_FALSE(c.MoveFirst());
  EXPECT_FALSE(c.MovePrevious());
}

TEST(DynasetCursorTest, AppendedKeysComeLastAndTheCursorStays) {
  DynasetCursor c({5, 9});
  c.Append(12);
  EXPECT_TRUE(c.InKeyOrder());
  EXPECT_EQ(c.key(c.position()), 5);
  c.Append(7);  // a smaller key still comes after the others
  EXPECT_FALSE(c.InKeyOrder());
  EXPECT_EQ(Walk(c), (std::vector<std::int64_t>{5, 9, 12, 7}));
  EXPECT_EQ(c.VisibleCount(), 4);
}

TEST(DynasetCursorTest, AppendingToAnEmptyCursorKeepsItAtBothEnds) {
  DynasetCursor c({});
  c.Append(1);
  EXPECT_TRUE(c.Bof());
  EXPECT_TRUE(c.Eof());
  EXPECT_EQ(c.VisibleCount(), 1);
  EXPECT_EQ(Walk(c), (std::vector<std::int64_t>{1}));
}

TEST(DynasetCursorTest, LostCursorOnlyMovesToAnEnd) {
  DynasetCursor c({1, 2});
  c.Lose();
  EXPECT_FALSE(c.HasCurrent());
  EXPECT_FALSE(c.Bof());
  EXPECT_FALSE(c.Eof());
  EXPECT_FALSE(c.MoveNext());
  EXPECT_FALSE(c.MovePrevious());
  EXPECT_TRUE(c.MoveLast());
  EXPECT_EQ(c.key(c.position()), 2);
}

TEST(DynasetCursorTest, FindVisibleGivesTheFirstLivePosition) {
  DynasetCursor ordered({2, 4, 6});
  EXPECT_EQ(ordered.FindVisible(4), 1u);
  EXPECT_EQ(ordered.FindVisible(5), std::nullopt);
  ordered.MoveTo(1);
  ordered.DeleteCurrent();
  EXPECT_EQ(ordered.FindVisible(4), std::nullopt);

  // A key deleted and then added again (the store reused it) is found at its new place.
  DynasetCursor reused({1, 2, 3});
  reused.MoveTo(2);
  reused.DeleteCurrent();
  reused.Append(3);
  EXPECT_FALSE(reused.InKeyOrder());
  EXPECT_EQ(reused.FindVisible(3), 3u);
  EXPECT_EQ(reused.FindVisible(1), 0u);
  EXPECT_EQ(reused.FindVisible(9), std::nullopt);
}

}  // namespace
}  // namespace dao
