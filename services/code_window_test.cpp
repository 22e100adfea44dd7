#include "services/code_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "services/shared_state.h"
#include "services/testing/addin_test.h"
#include "services/testing/code_text.h"

namespace bw {
namespace {

using namespace code_window;

class CodeWindowTest : public AddinTest {
 protected:
  void SetUp() override {
    AddinTest::SetUp();
    UseModule("a\nb\nc\nd\ne\nf\n");
    current_ = this;
  }
  void TearDown() override {
    current_ = nullptr;
    AddinTest::TearDown();
  }
  // Comments the line, then makes Module2's pane the active one.
  static std::string CommentAndSwitch(std::string_view line) {
    current_->vbe_->Activate("Module2");
    return "'" + std::string(line);
  }
  static inline CodeWindowTest* current_ = nullptr;
};

std::string Comment(std::string_view line) {
  return "'" + std::string(line);
}
std::string Uncomment(std::string_view line) {
  return std::string(line.substr(1));
}

TEST_F(CodeWindowTest, TransformChangesStartLineUpToTheLineBeforeTheEndLine) {
  Select(3, 1, 6, 1);
  TransformSelectedLines(Comment);
  EXPECT_EQ(ModuleLines(), CodeLines("a\nb\n'c\n'd\n'e\nf\n"));
  Select(3, 4, 6, 2);  // from mid line 3 to mid line 6: line 6 stays
  TransformSelectedLines(Uncomment);
  EXPECT_EQ(ModuleLines(), CodeLines("a\nb\nc\nd\ne\nf\n"));
  Select(2, 1, 2, 1);  // a caret, then a selection within one line: nothing
  TransformSelectedLines(Comment);
  Select(2, 1, 2, 2);
  TransformSelectedLines(Comment);
  EXPECT_EQ(ModuleLines(), CodeLines("a\nb\nc\nd\ne\nf\n"));
}

TEST_F(CodeWindowTest, TransformStopsAtTheFailingLineKeepingEarlierChanges) {
  Select(5, 1, 9, 1);  // lines 7 and 8 do not exist
  EXPECT_THROW(TransformSelectedLines(Comment), vb::Error);
  EXPECT_EQ(ModuleLines(), CodeLines("a\nb\nc\nd\n'e\n'f\n"));
}

TEST_F(CodeWindowTest, EveryCallAsksForTheActivePaneAfresh) {
  auto other = AddModule("Module2", "x\ny\nz\n");
  Select(1, 1, 3, 1);
  TransformSelectedLines(CommentAndSwitch);
  // Line 1 was read from Module1 and written to Module2, which was active by then; line 2 was
  // read and written in Module2.
  EXPECT_EQ(ModuleLines(), CodeLines("a\nb\nc\nd\ne\nf\n"));
  EXPECT_EQ(other->AllLines(), CodeLines("'a\n'y\nz\n"));
}

TEST_F(CodeWindowTest, ReadsAndInsertsInTheActivePane) {
  Select(2, 3, 5, 1);
  EXPECT_EQ(GetSelection(), (vbide::Selection{2, 3, 5, 1}));
  EXPECT_EQ(CoveredLines(GetSelection()), "b\r\nc\r\nd");
  EXPECT_EQ(CoveredLines({2, 1, 2, 4}), "");
  EXPECT_EQ(Line(6), "f");
  InsertBefore(2, "x\r\ny");
  ReplaceLine(1, "A");
  EXPECT_EQ(LineCount(), 8);
  EXPECT_EQ(ModuleLines(), CodeLines("A\nx\ny\nb\nc\nd\ne\nf\n"));
}

TEST_F(CodeWindowTest, EveryCallRaises91WithoutAnActivePane) {
  const std::function<void()> calls[] = {[] { GetSelection(); },
                                         [] { Line(1); },
                                         [] {
                                           CoveredLines({1, 1, 2, 1});
                                         },
                                         [] { LineCount(); },
                                         [] { InsertBefore(1, "x"); },
                                         [] { ReplaceLine(1, "x"); },
                                         [] { TransformSelectedLines(Comment); }};
  for (bool noRoot : {false, true}) {
    vbe_->Deactivate();
    if (noRoot) VBInst.SetNothing();
    for (const auto& call : calls) {
      try {
        call();
        ADD_FAILURE() << "no error";
      } catch (const vb::Error& e) {
        EXPECT_EQ(e.Number, 91);
      }
    }
  }
  EXPECT_EQ(ModuleLines(), CodeLines("a\nb\nc\nd\ne\nf\n"));
}

}  // namespace
}  // namespace bw
