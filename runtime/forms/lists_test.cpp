#include "runtime/forms/lists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "runtime/forms/form.h"
#include "runtime/headless/headless_platform.h"
#include "runtime/vb/error.h"
#include "runtime/vb/strings.h"

namespace forms {
namespace {

using Log = std::vector<std::string>;
using Items = std::vector<std::string>;

long ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const vb::Error& e) {
    return e.Number;
  }
  return 0;
}

class frmLists : public Form {
 public:
  frmLists() : Form("frmLists") {
    On(lstItems, "Click", [this] { log.push_back("lstItems_Click " + lstItems.Text()); });
    On(cboType, "Click", [this] { log.push_back("cboType_Click " + cboType.Text()); });
    On(cboType, "Change", [this] { log.push_back("cboType_Change " + cboType.Text()); });
  }
  ListBox lstItems{this, "lstItems"};
  ComboBox cboType{this, "cboType"};
  Log log;
  std::function<void()> design;

 protected:
  void InitializeComponent() override {
    if (design) design();
  }
};

class ListsTest : public ::testing::Test {
 protected:
  ListsTest() { rt::InstallPlatform(&platform_); }
  ~ListsTest() override { rt::InstallPlatform(nullptr); }
  void Open() {
    f.Show();
    f.log.clear();
  }
  void Fill(ListControl& list, const Items& items) {
    for (const std::string& item : items)
      list.AddItem(item);
  }

  rt::HeadlessPlatform platform_;
  frmLists f;
};

TEST_F(ListsTest, UnsortedListKeepsTheOrderOfAddItem) {
  Open();
  Fill(f.lstItems, {"beta", "Alpha", "Gamma", "delta"});
  EXPECT_EQ(f.lstItems.Items(), (Items{"beta", "Alpha", "Gamma", "delta"}));
  f.lstItems.AddItem("first", 0);
  f.lstItems.AddItem("middle", 3);
  f.lstItems.AddItem("last", 6);
  EXPECT_EQ(f.lstItems.Items(),
            (Items{"first", "beta", "Alpha", "middle", "Gamma", "delta", "last"}));
  EXPECT_EQ(f.lstItems.ListCount(), 7);
  EXPECT_EQ(f.lstItems.List(3), "middle");
}

TEST_F(ListsTest, SortedListIgnoresCase) {
  f.design = [&] { f.lstItems.SetSorted(true); };
  Open();
  Fill(f.lstItems, {"beta", "Alpha", "Gamma", "delta", "alpha", "BETA2"});
  EXPECT_EQ(f.lstItems.Items(), (Items{"Alpha", "alpha", "beta", "BETA2", "delta", "Gamma"}));
  EXPECT_EQ(f.lstItems.Get("Sorted"), PropertyValue(true));
}

// A sorted list filled in bulk, in pieces between reads, with a chosen entry and with entries
// placed by index, orders its entries as adding them one at a time in their sorted places does.
TEST_F(ListsTest, SortedFillMatchesPlacingEachEntry) {
  f.design = [&] { f.lstItems.SetSorted(true); };
  Open();
  Items added, expected;
  auto add = [&](const std::string& item) {
    f.lstItems.AddItem(item);
    std::string key = vb::LCase(item);
    auto at = std::upper_bound(
        expected.begin(), expected.end(), key,
        [](const std::string& k, const std::string& e) { return k < vb::LCase(e); });
    expected.insert(at, item);
  };
  unsigned seed = 7;
  auto next = [&] { return seed = seed * 1103515245 + 12345, (seed >> 8) % 1000; };
  const char* stems[] = {"Get", "get", "SET", "Ärger", "ärger", "Zeta", "z", "_x", "a b"};
  for (int round = 0; round < 4; ++round) {
    for (int i = 0; i < 300; ++i)
      add(std::string(stems[next() % 9]) + std::to_string(next() % 40));
    EXPECT_EQ(f.lstItems.ListCount(), static_cast<long>(expected.size()));
    ASSERT_EQ(f.lstItems.Items(), expected) << "round " << round;
  }
  f.lstItems.SetListIndex(5);
  std::string chosen = f.lstItems.Text();
  add("aaa"), add("AAA"), add("zzz");
  EXPECT_EQ(f.lstItems.Text(), chosen);
  EXPECT_EQ(f.lstItems.Items(), expected);
  f.lstItems.SetListIndex(-1);
  add("mmm");
  f.lstItems.AddItem("placed", 0);
  expected.insert(expected.begin(), "placed");
  EXPECT_EQ(f.lstItems.List(0), "placed");
  EXPECT_EQ(f.lstItems.Items(), expected);
  f.lstItems.Clear();
  add("x");
  EXPECT_EQ(f.lstItems.Items(), (Items{"x"}));
}

TEST_F(ListsTest, AddItemOutsideTheListRaises5AndListOutsideRaises381) {
  Open();
  Fill(f.lstItems, {"a", "b"});
  EXPECT_EQ(ErrorOf([&] { f.lstItems.AddItem("x", 3); }), vb::kInvalidProcedureCall);
  EXPECT_EQ(ErrorOf([&] { f.lstItems.AddItem("x", -2); }), vb::kInvalidProcedureCall);
  EXPECT_EQ(ErrorOf([&] { f.lstItems.List(2); }), 381);
  EXPECT_EQ(ErrorOf([&] { f.lstItems.List(-1); }), 381);
  EXPECT_EQ(f.lstItems.ListCount(), 2);
}

TEST_F(ListsTest, ChoosingByListIndexRaisesClickWhenItChanges) {
  Open();
  Fill(f.lstItems, {"one", "two", "three"});
  EXPECT_EQ(f.lstItems.ListIndex(), -1);
  EXPECT_EQ(f.lstItems.Text(), "");
  f.lstItems.SetListIndex(1);
  f.lstItems.SetListIndex(1);
  f.lstItems.SetListIndex(2);
  EXPECT_EQ(f.lstItems.Text(), "three");
  EXPECT_EQ(f.lstItems.Get("Text"), PropertyValue(std::string("three")));
  EXPECT_EQ(f.log, (Log{"lstItems_Click two", "lstItems_Click three"}));
  EXPECT_EQ(ErrorOf([&] { f.lstItems.SetListIndex(3); }), vb::kInvalidPropertyValue);
  EXPECT_EQ(ErrorOf([&] { f.lstItems.SetListIndex(-2); }), vb::kInvalidPropertyValue);
  EXPECT_EQ(f.lstItems.ListIndex(), 2);
  EXPECT_TRUE(f.lstItems.Set("ListIndex", std::string("0")));
  EXPECT_EQ(f.lstItems.Get("ListIndex"), PropertyValue(0L));
  EXPECT_EQ(f.lstItems.Get("ListCount"), PropertyValue(3L));
}

TEST_F(ListsTest, AddingBeforeTheChosenEntryKeepsItChosen) {
  f.design = [&] { f.lstItems.SetSorted(true); };
  Open();
  Fill(f.lstItems, {"m", "x"});
  f.lstItems.SetListIndex(1);  // "x"
  f.log.clear();
  f.lstItems.AddItem("a");
  f.lstItems.AddItem("n");
  EXPECT_EQ(f.lstItems.ListIndex(), 3);
  EXPECT_EQ(f.lstItems.Text(), "x");
  f.lstItems.AddItem("z");
  EXPECT_EQ(f.lstItems.ListIndex(), 3);
  EXPECT_TRUE(f.log.empty());
}

TEST_F(ListsTest, RemoveItemAdjustsTheChoiceWithoutClick) {
  Open();
  Fill(f.lstItems, {"a", "b", "c", "d"});
  f.lstItems.SetListIndex(2);  // "c"
  f.log.clear();
  f.lstItems.RemoveItem(3);
  EXPECT_EQ(f.lstItems.ListIndex(), 2);
  f.lstItems.RemoveItem(0);
  EXPECT_EQ(f.lstItems.ListIndex(), 1);
  EXPECT_EQ(f.lstItems.Text(), "c");
  f.lstItems.RemoveItem(1);
  EXPECT_EQ(f.lstItems.ListIndex(), -1);
  EXPECT_EQ(f.lstItems.Items(), (Items{"b"}));
  EXPECT_TRUE(f.log.empty());
  EXPECT_EQ(ErrorOf([&] { f.lstItems.RemoveItem(1); }), vb::kInvalidProcedureCall);
  EXPECT_EQ(ErrorOf([&] { f.lstItems.RemoveItem(-1); }), vb::kInvalidProcedureCall);
}

TEST_F(ListsTest, ClearEmptiesTheListAndTheChoice) {
  Open();
  Fill(f.lstItems, {"a", "b"});
  f.lstItems.SetListIndex(1);
  f.log.clear();
  f.lstItems.Clear();
  EXPECT_EQ(f.lstItems.ListCount(), 0);
  EXPECT_EQ(f.lstItems.ListIndex(), -1);
  EXPECT_TRUE(f.log.empty());
}

TEST_F(ListsTest, UserChoosesTheFirstEqualEntry) {
  Open();
  Fill(f.lstItems, {"Alpha", "beta", "beta", "BETA"});
  EXPECT_TRUE(f.lstItems.UserChoose("beta"));
  EXPECT_EQ(f.lstItems.ListIndex(), 1);
  EXPECT_TRUE(f.lstItems.UserChoose("BETA"));
  EXPECT_EQ(f.lstItems.ListIndex(), 3);
  EXPECT_FALSE(f.lstItems.UserChoose("alpha"));
  EXPECT_FALSE(f.lstItems.UserChoose("gamma"));
  EXPECT_EQ(f.lstItems.ListIndex(), 3);
  EXPECT_EQ(f.log, (Log{"lstItems_Click beta", "lstItems_Click BETA"}));
}

TEST_F(ListsTest, TheUserCannotChooseInADisabledList) {
  Open();
  Fill(f.lstItems, {"a", "b"});
  Fill(f.cboType, {"a", "b"});
  f.lstItems.SetEnabled(false);
  f.cboType.SetVisible(false);
  f.lstItems.UserChoose("b");
  f.cboType.UserChoose("b");
  EXPECT_EQ(f.lstItems.ListIndex(), -1);
  EXPECT_EQ(f.cboType.ListIndex(), -1);
  EXPECT_TRUE(f.log.empty());
}

TEST_F(ListsTest, ListsStartEmptyAtEachLoad) {
  f.design = [&] { Fill(f.cboType, {"Constants", "Declares", "Types"}); };
  Open();
  Fill(f.lstItems, {"a"});
  f.cboType.AddItem("More");
  f.Unload();
  f.Load();
  EXPECT_EQ(f.lstItems.ListCount(), 0);
  EXPECT_EQ(f.cboType.Items(), (Items{"Constants", "Declares", "Types"}));
}

TEST_F(ListsTest, ComboChoiceSetsTheTextAndRaisesClick) {
  f.design = [&] {
    Fill(f.cboType, {"Constants", "Declares", "Types"});
    f.cboType.SetText("Declares");
  };
  Open();
  EXPECT_EQ(f.cboType.Text(), "Declares");
  f.cboType.SetListIndex(2);
  EXPECT_TRUE(f.cboType.UserChoose("Constants"));
  EXPECT_EQ(f.cboType.Text(), "Constants");
  EXPECT_EQ(f.cboType.ListIndex(), 0);
  EXPECT_EQ(f.log, (Log{"cboType_Click Types", "cboType_Click Constants"}));
}

TEST_F(ListsTest, ComboTypedTextClearsTheChoiceWithoutClick) {
  Open();
  Fill(f.cboType, {"Constants", "Declares", "Types"});
  f.cboType.SetListIndex(1);
  f.log.clear();
  f.cboType.SetText("Decl");
  EXPECT_EQ(f.cboType.ListIndex(), -1);
  EXPECT_EQ(f.cboType.Text(), "Decl");
  f.cboType.SetText("Decl");  // unchanged: no Change
  EXPECT_TRUE(f.cboType.Set("Text", std::string("Types")));
  EXPECT_EQ(f.cboType.Get("Text"), PropertyValue(std::string("Types")));
  EXPECT_EQ(f.log, (Log{"cboType_Change Decl", "cboType_Change Types"}));
}

TEST_F(ListsTest, ComboListIndexMinusOneClearsTheText) {
  Open();
  Fill(f.cboType, {"Constants", "Declares"});
  f.cboType.SetListIndex(1);
  f.cboType.SetListIndex(-1);
  EXPECT_EQ(f.cboType.Text(), "");
}

TEST_F(ListsTest, ComboClearEmptiesTheText) {
  Open();
  Fill(f.cboType, {"Constants", "Declares"});
  f.cboType.SetListIndex(1);
  f.cboType.Clear();
  EXPECT_EQ(f.cboType.ListCount(), 0);
  EXPECT_EQ(f.cboType.Text(), "");
}

}  // namespace
}  // namespace forms
