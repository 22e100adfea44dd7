#include "host/memory_ide.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <utility>

#include "runtime/vb/strings.h"

namespace vbide {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  return SplitInsertedText(text);
}

class MemoryIdeTest : public ::testing::Test {
 protected:
  std::shared_ptr<MemoryVbe> vbe_ = MemoryVbe::Create();
};

TEST(SplitInsertedTextTest, NewLineAtCrLfLoneCrAndLoneLf) {
  using V = std::vector<std::string>;
  const std::pair<std::string, V> kCases[] = {
      {"a\r\nb", V{"a", "b"}},
      {"a\r\n", V{"a", ""}},
      {"", V{""}},
      {"a\rb\nc", V{"a", "b", "c"}},
      {"m\rq\nz\r\n", V{"m", "q", "z", ""}},
      {"\n\r", V{"", "", ""}},
      {"a\n\r\nb", V{"a", "", "b"}},
  };
  for (const auto& [text, lines] : kCases)
    EXPECT_EQ(SplitInsertedText(text), lines) << testing::PrintToString(text);
}

TEST_F(MemoryIdeTest, InsertLinesSplitsTextAndClosingBreakLeavesEmptyLine) {
  auto module = vbe_->AddModule("Module1", Lines("one\r\ntwo"));
  module->InsertLines(2, "a\r\nb\r\n");
  EXPECT_EQ(module->AllLines(), Lines("one\r\na\r\nb\r\n\r\ntwo"));
  module->InsertLines(99, "end");
  EXPECT_EQ(module->AllLines().back(), "end");
  // A lone CR or LF starts a line too: no line of the module holds a break.
  module->InsertLines(1, "m\rq\nz");
  EXPECT_EQ(module->CountOfLines(), 9);
  EXPECT_EQ(module->Lines(1, 3), "m\r\nq\r\nz");
}

TEST_F(MemoryIdeTest, LinesJoinsWithCrLfAndCountZeroIsEmpty) {
  auto module = vbe_->AddModule("Module1", Lines("one\r\ntwo\r\nthree"));
  EXPECT_EQ(module->Lines(1, 2), "one\r\ntwo");
  EXPECT_EQ(module->Lines(3, 1), "three");
  EXPECT_EQ(module->Lines(2, 0), "");
  EXPECT_EQ(module->Lines(2, 99), "two\r\nthree");
  EXPECT_THROW(module->Lines(4, 1), vb::Error);
  EXPECT_THROW(module->Lines(0, 1), vb::Error);
  // The largest counts overflow nothing.
  EXPECT_EQ(module->Lines(2, LONG_MAX), "two\r\nthree");
  EXPECT_THROW(module->Lines(LONG_MIN, 1), vb::Error);
  EXPECT_THROW(module->DeleteLines(3, LONG_MAX), vb::Error);
  EXPECT_EQ(module->CountOfLines(), 3);
}

TEST_F(MemoryIdeTest, ReplaceLineKeepsCountAndRejectsMissingLines) {
  auto module = vbe_->AddModule("Module1", Lines("one\r\ntwo"));
  module->ReplaceLine(2, "'two");
  EXPECT_EQ(module->AllLines(), Lines("one\r\n'two"));
  const std::pair<long, std::string> kRefused[] = {
      {3, "x"}, {1, "a\r\nb"}, {1, "a\rb"}, {1, "a\n"}};
  for (const auto& [line, text] : kRefused) {
    try {
      module->ReplaceLine(line, text);
      ADD_FAILURE() << "no error for " << testing::PrintToString(text);
    } catch (const vb::Error& e) {
      EXPECT_EQ(e.Number, line == 3 ? 9 : 5);
    }
  }
  EXPECT_EQ(module->AllLines(), Lines("one\r\n'two"));
}

TEST_F(MemoryIdeTest, DeleteLinesThroughTheLastLine) {
  auto module = vbe_->AddModule("Module1", Lines("one\r\ntwo\r\nthree"));
  module->DeleteLines(2, 2);
  EXPECT_EQ(module->AllLines(), Lines("one"));
  module->DeleteLines(1, 1);
  EXPECT_EQ(module->CountOfLines(), 0);
  EXPECT_THROW(module->DeleteLines(1, 1), vb::Error);
  module->SetAllLines(Lines("one\r\ntwo"));
  try {
    module->DeleteLines(2, 2);  // one line past the end
    FAIL() << "no error";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number, 9);
  }
  EXPECT_EQ(module->AllLines(), Lines("one\r\ntwo"));
}

TEST_F(MemoryIdeTest, NoActivePaneRaises91OnEveryCall) {
  vbe_->AddModule("Module1", Lines("x"));
  EXPECT_TRUE(vbe_->ActiveCodePane().IsNothing());
  try {
    vbe_->ActiveCodePane()->GetSelection();
    FAIL() << "no error";
  } catch (const vb::Error& e) {
    EXPECT_EQ(e.Number, 91);
    EXPECT_EQ(e.Description, "Object variable or With block variable not set");
  }
  EXPECT_THROW(vbe_->ActiveCodePane()->CodeModule(), vb::Error);
}

TEST_F(MemoryIdeTest, ActivePaneGivesItsModuleAndSelection) {
  vbe_->AddModule("A", Lines("a1\r\na2"));
  vbe_->AddModule("B", Lines("b1"));
  ASSERT_TRUE(vbe_->Activate("B"));
  vbe_->ActiveCodePane()->SetSelection({1, 2, 1, 3});
  EXPECT_EQ(vbe_->ActiveCodePane()->CodeModule()->Lines(1, 1), "b1");
  EXPECT_EQ(vbe_->ActiveCodePane()->GetSelection(), (Selection{1, 2, 1, 3}));
  EXPECT_FALSE(vbe_->Activate("C"));
  vbe_->Deactivate();
  EXPECT_TRUE(vbe_->ActiveCodePane().IsNothing());
}

TEST_F(MemoryIdeTest, SelectedComponentFollowsActivePaneUnlessSet) {
  vbe_->AddModule("A", {});
  vbe_->AddModule("B", {});
  EXPECT_TRUE(vbe_->SelectedVBComponent().IsNothing());
  vbe_->Activate("A");
  EXPECT_EQ(vbe_->SelectedVBComponent()->Name(), "A");
  vbe_->SelectComponent("B");
  EXPECT_EQ(vbe_->SelectedVBComponent()->Name(), "B");
  vbe_->SelectNoComponent();
  EXPECT_TRUE(vbe_->SelectedVBComponent().IsNothing());
}

class RecordingSink : public CommandBarEventsSink {
 public:
  com::HRESULT Click(vb::Object<CommandBarControl> control, bool&, bool&) noexcept override {
    ++clicks;
    return failWith ? com::SetError(*failWith) : com::S_OK;
  }
  int clicks = 0;
  std::optional<vb::Error> failWith;
};

TEST_F(MemoryIdeTest, MenuCommandsAreAddedClickedAndDeleted) {
  auto view = vbe_->CommandBars()->Item("Menu Bar")->Controls()->Item("View");
  auto command = view->Controls()->AddButton("Brindlewick");
  EXPECT_EQ(vbe_->MenuCaptions("View"), (std::vector<std::string>{"Brindlewick"}));

  RecordingSink sink;
  auto events = vbe_->Events()->CommandBarEvents(command);
  events->Advise(&sink);
  ASSERT_TRUE(vbe_->ClickCommand("View", "Brindlewick"));
  EXPECT_EQ(sink.clicks, 1);

  sink.failWith = vb::RuntimeError(91);
  auto failed = vbe_->ClickCommand("View", "Brindlewick");
  ASSERT_TRUE(failed && failed->Error);
  EXPECT_EQ(failed->Error->Number, 91);

  events.SetNothing();  // a dropped source hears nothing more
  vbe_->ClickCommand("View", "Brindlewick");
  EXPECT_EQ(sink.clicks, 2);

  command->Delete();
  EXPECT_EQ(vbe_->MenuCaptions("View"), std::vector<std::string>{});
  EXPECT_FALSE(vbe_->ClickCommand("View", "Brindlewick"));
  EXPECT_THROW(command->Delete(), vb::Error);
}

TEST_F(MemoryIdeTest, CallsOnADeletedControlNameTheFailingMethod) {
  auto control = vbe_->CommandBars()->Item("Menu Bar")->Controls()->Item("View");
  control->Delete();
  const std::pair<const char*, std::function<void()>> kCalls[] = {
      {"Caption", [&] { control->Caption(); }},
      {"Caption", [&] { control->SetCaption("x"); }},
      {"Type", [&] { control->Type(); }},
      {"Parameter", [&] { control->Parameter(); }},
      {"Parameter", [&] { control->SetParameter("x"); }},
      {"Controls", [&] { control->Controls(); }},
      {"Delete", [&] { control->Delete(); }},
  };
  for (const auto& [method, call] : kCalls) {
    try {
      call();
      ADD_FAILURE() << method << ": no error";
    } catch (const vb::Error& e) {
      EXPECT_EQ(e.Number, com::E_FAIL) << method;
      EXPECT_EQ(e.Source, "VBIDE") << method;
      EXPECT_EQ(e.Description,
                std::string("Method '") + method + "' of object 'CommandBarControl' failed");
    }
  }
}

TEST_F(MemoryIdeTest, UnknownMenuAndAddInRaise) {
  EXPECT_THROW(vbe_->CommandBars()->Item("No Such Bar"), vb::Error);
  EXPECT_THROW(vbe_->Addins()->Item("Nobody.Connect"), vb::Error);
  vbe_->ListAddIn("Brindlewick.Connect", "Brindlewick Tool Window");
  EXPECT_EQ(vbe_->Addins()->Item("brindlewick.connect")->Description(), "Brindlewick Tool Window");
  vbe_->Addins()->Update();
  EXPECT_EQ(vbe_->AddinsUpdates(), 1);
  EXPECT_FALSE(vbe_->MenuCaptions("No Such Menu"));
}

}  // namespace
}  // namespace vbide
