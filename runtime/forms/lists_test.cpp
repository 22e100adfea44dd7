#include "runtime/forms/lists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
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

// What a sorted list shows, entry by entry: each entry inserted at once after every entry whose
// key is not above its own, the choice moved along.
struct SortedModel {
  Items items;
  long listIndex = -1;
  void Add(const std::string& item, long index) {
    auto at = std::upper_bound(
        items.begin(), items.end(), vb::LCase(item),
        [](const std::string& k, const std::string& e) { return k < vb::LCase(e); });
    if (index >= 0) at = items.begin() + index;
    long pos = static_cast<long>(at - items.begin());
    items.insert(at, item);
    if (listIndex >= pos) ++listIndex;
  }
  void Remove(long index) {
    items.erase(items.begin() + index);
    listIndex = listIndex == index ? -1 : listIndex > index ? listIndex - 1 : listIndex;
  }
};

// Long runs of additions between reads, mixed with choices, removals and clearing, against the
// model; equal keys in other cases and letters beyond ASCII among them. A second run also puts
// entries at an index, which breaks the order until the list is cleared.
TEST_F(ListsTest, SortedListMatchesOneByOneInsertionThroughAnyMixOfOperations) {
  f.design = [&] { f.lstItems.SetSorted(true); };
  // Long texts too: some alike in their first 16 or 24 bytes but for case, texts with letters
  // beyond ASCII after those bytes, a zero byte.
  const Items words = {"beta",
                       "Beta",
                       "BETA",
                       "alpha",
                       "Gamma",
                       "gamma",
                       "delta",
                       "",
                       "\xC3\x84pfel",
                       "\xC3\xA4pfel",
                       "apfel",
                       "zeta",
                       "Zeta2",
                       "m",
                       "M",
                       "WM_CONSTANT_NAME_A",
                       "wm_constant_name_a",
                       "WM_Constant_Name_",
                       "wm_constant_name_\xC3\x89t\xC3\xA9",
                       "wm_constant_name_\xC3\xA9t\xC3\xA9",
                       "wm_constant_nam",
                       "WM_CONSTANT_NAMEZ",
                       std::string("ab\0c", 4),
                       "ab",
                       "AB",
                       "WM_CONSTANT_NAME_THAT_IS_LONG_A",
                       "wm_constant_name_that_is_long_b",
                       "Wm_Constant_Name_That_Is_",
                       "wm_constant_name_that_is_lon\xC3\xA9",
                       "wm_constant_name_that_is"};
  for (bool atIndex : {false, true}) {
    SCOPED_TRACE(atIndex ? "with entries put at an index" : "entries added only");
    f.Unload();
    Open();
    SortedModel model;
    Log clicks;
    std::mt19937 random(20240611);
    auto pick = [&](std::size_t n) { return static_cast<long>(random() % n); };
    for (int step = 0; step < 4000; ++step) {
      int op = static_cast<int>(random() % 100);
      long count = f.lstItems.ListCount();
      if (op < 70) {
        const std::string& w = words[static_cast<std::size_t>(pick(words.size()))];
        model.Add(w, -1);
        f.lstItems.AddItem(w);
      } else if (op < 73 && atIndex) {
        long at = pick(static_cast<std::size_t>(count) + 1);
        model.Add("at", at);
        f.lstItems.AddItem("at", at);
      } else if (op < 82 && count > 0) {
        long at = pick(static_cast<std::size_t>(count));
        model.Remove(at);
        f.lstItems.RemoveItem(at);
      } else if (op < 94) {
        long v = pick(static_cast<std::size_t>(count) + 1) - 1;
        if (v != model.listIndex)
          clicks.push_back("lstItems_Click " + (v < 0 ? std::string() : model.items[v]));
        model.listIndex = v;
        f.lstItems.SetListIndex(v);
      } else if (op < 98) {
        ASSERT_EQ(f.lstItems.Items(), model.items) << "step " << step;
      } else {
        model = SortedModel{};
        f.lstItems.Clear();
      }
      ASSERT_EQ(f.lstItems.ListCount(), static_cast<long>(model.items.size())) << "step " << step;
      ASSERT_EQ(f.lstItems.ListIndex(), model.listIndex) << "step " << step;
    }
    EXPECT_EQ(f.lstItems.Items(), model.items);
    EXPECT_EQ(f.log, clicks);
  }
}

TEST_F(ListsTest, TheChosenEntryStaysChosenWhileAddedEntriesWait) {
  f.design = [&] { f.lstItems.SetSorted(true); };
  Open();
  Fill(f.lstItems, {"m", "x"});
  f.lstItems.SetListIndex(0);
  f.log.clear();
  Fill(f.lstItems, {"a", "M", "z", "B"});
  EXPECT_EQ(f.lstItems.ListIndex(), 2);  // before anything reads the entries
  EXPECT_EQ(f.lstItems.Get("ListIndex"), PropertyValue(2L));
  EXPECT_EQ(f.lstItems.Text(), "m");
  EXPECT_EQ(f.lstItems.Items(), (Items{"a", "B", "m", "M", "x", "z"}));
  EXPECT_TRUE(f.log.empty());
}

// One hundred thousand entries added in reverse order end in sorted order (what the batched sort
// costs beside sorting each into place is measured by bench/api_bench's BM_SortedListAdd).
TEST_F(ListsTest, AHundredThousandEntriesInReverseOrderEndSorted) {
  f.design = [&] { f.lstItems.SetSorted(true); };
  Open();
  constexpr int kCount = 100000;
  for (int i = kCount - 1; i >= 0; --i) {
    char name[16];
    std::snprintf(name, sizeof name, i % 2 ? "K%06d" : "k%06d", i);
    f.lstItems.AddItem(name);
  }
  const Items& items = f.lstItems.Items();
  ASSERT_EQ(items.size(), static_cast<std::size_t>(kCount));
  EXPECT_EQ(items.front(), "k000000");
  EXPECT_EQ(items[1], "K000001");
  EXPECT_EQ(items.back(), "K099999");
  EXPECT_TRUE(std::is_sorted(items.begin(), items.end(), [](const auto& a, const auto& b) {
    return vb::LCase(a) < vb::LCase(b);
  }));
}

TEST_F(ListsTest, MakingAListSortedSortsItsEntriesAndClearsTheChoice) {
  Open();
  Fill(f.lstItems, {"b", "C", "a"});
  f.lstItems.SetListIndex(1);
  f.log.clear();
  f.lstItems.SetSorted(true);
  EXPECT_EQ(f.lstItems.Items(), (Items{"a", "b", "C"}));
  EXPECT_EQ(f.lstItems.ListIndex(), -1);
  f.lstItems.SetSorted(false);
  f.lstItems.AddItem("A");
  EXPECT_EQ(f.lstItems.Items(), (Items{"a", "b", "C", "A"}));
  EXPECT_TRUE(f.log.empty());
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
