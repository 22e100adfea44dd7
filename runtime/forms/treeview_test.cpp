#include "runtime/forms/treeview.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "runtime/forms/form.h"
#include "runtime/headless/headless_platform.h"
#include "runtime/vb/error.h"

namespace forms {
namespace {

using Log = std::vector<std::string>;

class frmTree : public Form {
 public:
  frmTree() : Form("frmTree") {
    On(Tree, "NodeClick", [this](EventArgs& a) {
      log.push_back("Tree_NodeClick " + a.TreeNode->Text() +
                    (a.TreeNode->Selected() ? " selected" : ""));
    });
  }
  TreeView Tree{this, "Tree"};
  Log log;
};

// The tree depth-first: two blanks per level, the text, then the key.
std::string Dump(const TreeView& tree) {
  std::string out;
  std::function<void(const Node*, int)> walk = [&](const Node* n, int depth) {
    out += std::string(2 * depth, ' ') + n->Text() + " [" + n->Key() + "] #" +
           std::to_string(n->Index()) + "\n";
    for (const Node* c : n->ChildNodes())
      walk(c, depth + 1);
  };
  for (const Node* r : tree.Roots())
    walk(r, 0);
  return out;
}

class TreeViewTest : public ::testing::Test {
 protected:
  TreeViewTest() {
    rt::InstallPlatform(&platform_);
    f.Show();
  }
  ~TreeViewTest() override { rt::InstallPlatform(nullptr); }

  // Subs (Sub1, Sub2 (Deep)), Classes.
  void Fill() {
    f.Tree.Add(nullptr, tvwLast, "Subs", "Subs", 1);
    f.Tree.Add("Subs", tvwChild, "S1", "Sub1", 2);
    f.Tree.Add("Subs", tvwChild, "S2", "Sub2", 2);
    f.Tree.Add("S2", tvwChild, "D", "Deep", 3);
    f.Tree.Add(nullptr, tvwLast, "Classes", "Classes", 1);
  }

  long ErrorOf(const std::function<void()>& fn) {
    try {
      fn();
    } catch (const vb::Error& e) {
      source_ = e.Source;
      description_ = e.Description;
      return e.Number;
    }
    return 0;
  }

  rt::HeadlessPlatform platform_;
  frmTree f;
  std::string source_, description_;
};

TEST_F(TreeViewTest, ChildrenAndTopLevelNodesInOrder) {
  Fill();
  EXPECT_EQ(Dump(f.Tree), R"(Subs [Subs] #1
  Sub1 [S1] #2
  Sub2 [S2] #3
    Deep [D] #4
Classes [Classes] #5
)");
  EXPECT_EQ(f.Tree.Count(), 5);
  Node& sub2 = *f.Tree.FindKey("S2");
  EXPECT_EQ(sub2.Parent(), f.Tree.FindKey("Subs"));
  EXPECT_EQ(sub2.Children(), 1);
  EXPECT_EQ(sub2.Child()->Text(), "Deep");
  EXPECT_EQ(f.Tree.FindKey("Classes")->Parent(), nullptr);
  EXPECT_EQ(f.Tree.FindKey("Classes")->Child(), nullptr);
  EXPECT_EQ(sub2.Image(), 2);
  EXPECT_EQ(&f.Tree.Nodes(4), f.Tree.FindKey("D"));
}

TEST_F(TreeViewTest, RelationshipsPlaceNodesAmongTheRelativesSiblings) {
  Fill();
  f.Tree.Add("S2", tvwFirst, "S0", "Sub0");
  f.Tree.Add("S1", tvwNext, "S1b", "Sub1b");
  f.Tree.Add("S1", tvwPrevious, "S1a", "Sub1a");
  f.Tree.Add("S1", tvwLast, "S9", "Sub9");
  f.Tree.Add(f.Tree.FindKey("Classes"), tvwPrevious, "Mods", "Modules");
  f.Tree.Add(nullptr, tvwFirst, "Top", "Top");
  f.Tree.Add("", tvwChild, "Misc", "Misc");  // no relative: top level, at the end
  EXPECT_EQ(Dump(f.Tree), R"(Top [Top] #11
Subs [Subs] #1
  Sub0 [S0] #6
  Sub1a [S1a] #8
  Sub1 [S1] #2
  Sub1b [S1b] #7
  Sub2 [S2] #3
    Deep [D] #4
  Sub9 [S9] #9
Modules [Mods] #10
Classes [Classes] #5
Misc [Misc] #12
)");
  EXPECT_EQ(f.Tree.FindKey("S9")->Parent(), f.Tree.FindKey("Subs"));
  EXPECT_EQ(f.Tree.FindKey("Mods")->Parent(), nullptr);
}

TEST_F(TreeViewTest, DuplicateKeyRaises35602AndAddsNothing) {
  Fill();
  EXPECT_EQ(ErrorOf([&] { f.Tree.Add("Subs", tvwChild, "S1", "Again"); }), 35602);
  EXPECT_EQ(description_, "Key is not unique in collection");
  EXPECT_EQ(f.Tree.Count(), 5);
  // Empty keys may repeat.
  f.Tree.Add("Subs", tvwChild, "", "No key");
  f.Tree.Add("Subs", tvwChild, "", "No key either");
  EXPECT_EQ(f.Tree.Count(), 7);
  EXPECT_EQ(f.Tree.FindKey(""), nullptr);
}

TEST_F(TreeViewTest, UnknownRelativeKeyRaises35601) {
  Fill();
  EXPECT_EQ(ErrorOf([&] { f.Tree.Add("Nope", tvwChild, "X", "X"); }), 35601);
  EXPECT_EQ(description_, "Element not found");
  EXPECT_EQ(f.Tree.Count(), 5);
}

TEST_F(TreeViewTest, IndexOutOfBoundsRaises35600) {
  Fill();
  EXPECT_EQ(ErrorOf([&] { f.Tree.Nodes(0); }), 35600);
  EXPECT_EQ(ErrorOf([&] { f.Tree.Nodes(6); }), 35600);
  EXPECT_EQ(ErrorOf([&] { f.Tree.Remove(6); }), 35600);
  EXPECT_EQ(description_, "Index out of bounds");
}

TEST_F(TreeViewTest, RemoveTakesTheDescendantsAndRenumbers) {
  Fill();
  f.Tree.Remove(f.Tree.FindKey("S2")->Index());
  EXPECT_EQ(Dump(f.Tree), R"(Subs [Subs] #1
  Sub1 [S1] #2
Classes [Classes] #3
)");
  EXPECT_EQ(f.Tree.FindKey("D"), nullptr);
  EXPECT_EQ(f.Tree.Count(), 3);
  // The removed keys are free again.
  f.Tree.Add("Classes", tvwChild, "D", "Deep again");
  EXPECT_EQ(f.Tree.FindKey("D")->Index(), 4);
  f.Tree.Remove(1);
  EXPECT_EQ(Dump(f.Tree), R"(Classes [Classes] #1
  Deep again [D] #2
)");
}

TEST_F(TreeViewTest, RemovingTheSelectedNodeOrItsAncestorClearsTheSelection) {
  Fill();
  f.Tree.SetSelectedItem(f.Tree.FindKey("D"));
  f.Tree.Remove(f.Tree.FindKey("S1")->Index());
  EXPECT_EQ(f.Tree.SelectedItem(), f.Tree.FindKey("D"));
  f.Tree.Remove(f.Tree.FindKey("Subs")->Index());
  EXPECT_EQ(f.Tree.SelectedItem(), nullptr);
  EXPECT_EQ(f.Tree.Count(), 1);
}

TEST_F(TreeViewTest, ClearRemovesEverything) {
  Fill();
  f.Tree.SetSelectedItem(f.Tree.FindKey("S1"));
  f.Tree.Clear();
  EXPECT_EQ(f.Tree.Count(), 0);
  EXPECT_TRUE(f.Tree.Roots().empty());
  EXPECT_EQ(f.Tree.SelectedItem(), nullptr);
  f.Tree.Add(nullptr, tvwLast, "Subs", "Subs");
  EXPECT_EQ(f.Tree.Count(), 1);
}

TEST_F(TreeViewTest, FindPathTakesTheFirstMatchAtEachLevel) {
  Fill();
  f.Tree.Add(nullptr, tvwLast, "Subs2", "Subs");  // a second top-level "Subs" without children
  f.Tree.Add("Subs", tvwChild, "S2b", "Sub2");
  f.Tree.Add("S2b", tvwChild, "E", "Else");
  EXPECT_EQ(f.Tree.FindPath({"Subs"}), f.Tree.FindKey("Subs"));
  EXPECT_EQ(f.Tree.FindPath({"Subs", "Sub2", "Deep"}), f.Tree.FindKey("D"));
  // The first "Sub2" is taken, so "Else" below the second is not reached.
  EXPECT_EQ(f.Tree.FindPath({"Subs", "Sub2", "Else"}), nullptr);
  EXPECT_EQ(f.Tree.FindPath({"Sub1"}), nullptr);
  EXPECT_EQ(f.Tree.FindPath({"subs"}), nullptr);
  EXPECT_EQ(f.Tree.FindPath({"Classes", "Sub1"}), nullptr);
}

TEST_F(TreeViewTest, UserClickSelectsThenRaisesNodeClick) {
  Fill();
  Node* deep = f.Tree.FindPath({"Subs", "Sub2", "Deep"});
  ASSERT_NE(deep, nullptr);
  f.Tree.UserClickNode(deep);
  EXPECT_EQ(f.Tree.SelectedItem(), deep);
  EXPECT_TRUE(deep->Selected());
  EXPECT_FALSE(f.Tree.FindKey("S2")->Selected());
  // Selecting by code raises nothing.
  f.Tree.SetSelectedItem(f.Tree.FindKey("S1"));
  EXPECT_EQ(f.log, (Log{"Tree_NodeClick Deep selected"}));
}

TEST_F(TreeViewTest, TheUserCannotClickANodeOfADisabledTree) {
  Fill();
  f.Tree.SetEnabled(false);
  f.Tree.UserClickNode(f.Tree.FindKey("S1"));
  EXPECT_EQ(f.Tree.SelectedItem(), nullptr);
  EXPECT_TRUE(f.log.empty());
}

TEST_F(TreeViewTest, NodeSetters) {
  Fill();
  Node& n = *f.Tree.FindKey("S1");
  EXPECT_FALSE(n.Bold());
  EXPECT_FALSE(n.Expanded());
  n.SetText("Renamed");
  n.SetImage(5);
  n.SetBold(true);
  n.SetExpanded(true);
  EXPECT_EQ(n.Text(), "Renamed");
  EXPECT_EQ(n.Image(), 5);
  EXPECT_TRUE(n.Bold());
  EXPECT_TRUE(n.Expanded());
  EXPECT_EQ(n.Key(), "S1");
  EXPECT_EQ(f.Tree.FindPath({"Subs", "Renamed"}), &n);
}

TEST_F(TreeViewTest, NodesStartEmptyAtEachLoad) {
  Fill();
  f.Tree.SetImageList("ImageList1");
  f.Unload();
  f.Load();
  EXPECT_EQ(f.Tree.Count(), 0);
  EXPECT_EQ(f.Tree.ImageList(), "");
  EXPECT_EQ(f.Tree.SelectedItem(), nullptr);
}

}  // namespace
}  // namespace forms
