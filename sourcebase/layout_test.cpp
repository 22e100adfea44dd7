#include "sourcebase/layout.h"

#include <gtest/gtest.h>

namespace bw {
namespace {

TEST(LayoutTest, PanesFollowTheSplitterAndTheClientAreaWithTheSplitterHeldInRange) {
  struct Case {
    double Splitter, Width, Height;
    double HeldAt, TreeWidth, CodeLeft, CodeWidth, PaneHeight;
  };
  const Case cases[] = {
      // The default splitter in a client 10000 wide.
      {2295, 10000, 5000, 2295, 2225, 2365, 7535, 3900},
      // Wider: only the code box grows.
      {2295, 12000, 5000, 2295, 2225, 2365, 9535, 3900},
      // The splitter 1000 further right: the tree gains what the code box loses.
      {3295, 10000, 5000, 3295, 3225, 3365, 6535, 3900},
      // The design: splitter 4200 in 10770 by 4845.
      {4200, 10770, 4845, 4200, 4130, 4270, 6400, 3745},
      // Too far left, or negative: held at 70, the tree then has no width.
      {30, 10000, 5000, 70, 0, 140, 9760, 3900},
      {-500, 10000, 5000, 70, 0, 140, 9760, 3900},
      // Too far right: held 170 short of the edge, the code box then has no width.
      {9950, 10000, 5000, 9830, 9760, 9900, 0, 3900},
      // Exactly at both limits.
      {70, 240, 1100, 70, 0, 140, 0, 0},
      // A client too small for any valid place: 70, and no size below zero.
      {2295, 200, 900, 70, 0, 140, 0, 0},
      {2295, 0, 0, 70, 0, 140, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Splitter << " in " << c.Width << " by " << c.Height);
    BrowserLayout l = LayoutFor(c.Splitter, c.Width, c.Height);
    EXPECT_EQ(l.Splitter, c.HeldAt);
    EXPECT_EQ(ClampSplitter(c.Splitter, c.Width), c.HeldAt);
    EXPECT_EQ(l.TreeWidth, c.TreeWidth);
    EXPECT_EQ(l.LabelCodeWidth, c.TreeWidth);
    EXPECT_EQ(l.CodeLeft, c.CodeLeft);
    EXPECT_EQ(l.LabelSourceLeft, c.CodeLeft);
    EXPECT_EQ(l.CodeWidth, c.CodeWidth);
    EXPECT_EQ(l.LabelSourceWidth, c.CodeWidth);
    EXPECT_EQ(l.CodeHeight, c.PaneHeight);
    EXPECT_EQ(l.TreeHeight, c.PaneHeight);
  }
}

}  // namespace
}  // namespace bw
