// The tree view control and its nodes.
//
// Nodes are numbered 1.. in the order they were added (Index), renumbered when nodes are
// removed; removing a node removes everything below it. A node may have a key, unique in the
// tree when not empty (error 35602 otherwise); relatives are named by node or by key (35601
// when no node has the key). A user's click on a node selects it, then raises NodeClick.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "runtime/forms/control.h"

namespace forms {

inline constexpr int tvwFirst = 0;
inline constexpr int tvwLast = 1;
inline constexpr int tvwNext = 2;
inline constexpr int tvwPrevious = 3;
inline constexpr int tvwChild = 4;

class TreeView;

class Node {
 public:
  Node(TreeView* tree, std::string key, std::string text, long image);

  const std::string& Text() const { return text_; }
  void SetText(std::string v);
  const std::string& Key() const { return key_; }
  long Image() const { return image_; }
  void SetImage(long v);
  bool Bold() const { return bold_; }
  void SetBold(bool v);
  bool Expanded() const { return expanded_; }
  void SetExpanded(bool v);
  bool Selected() const;

  Node* Parent() const { return parent_; }
  // The number of child nodes (VB's Children) and the children themselves, in order.
  long Children() const { return static_cast<long>(children_.size()); }
  const std::vector<Node*>& ChildNodes() const { return children_; }
  // The first child, or nullptr.
  Node* Child() const { return children_.empty() ? nullptr : children_.front(); }
  // 1-based position in the tree's Nodes collection.
  long Index() const;

 private:
  friend class TreeView;
  TreeView* tree_;
  std::string key_;
  std::string text_;
  long image_;
  bool bold_ = false;
  bool expanded_ = false;
  Node* parent_ = nullptr;
  std::vector<Node*> children_;
};

class TreeView : public Control {
 public:
  TreeView(Form* form, std::string name, int index = -1);

  // Nodes.Add. A null relative adds at the top level (relationship tvwFirst or tvwLast there).
  Node& Add(Node* relative, int relationship, std::string key, std::string text, long image = 0);
  Node& Add(const std::string& relativeKey, int relationship, std::string key, std::string text,
            long image = 0);
  // REQUIRES: 1 <= index <= Count() (else 35600, index out of bounds).
  void Remove(long index);
  void Clear();
  long Count() const { return static_cast<long>(nodes_.size()); }
  // REQUIRES: 1 <= index <= Count() (else 35600).
  Node& Nodes(long index) const;
  Node* FindKey(const std::string& key) const;
  const std::vector<Node*>& Roots() const { return roots_; }

  Node* SelectedItem() const { return selected_; }
  void SetSelectedItem(Node* node);

  // The node reached from the top by these texts, the first match at each level.
  Node* FindPath(const std::vector<std::string>& texts) const;
  // The user clicks a node: it becomes the selected node, then NodeClick.
  void UserClickNode(Node* node);

  // Name of the image list that holds the node pictures.
  const std::string& ImageList() const { return imageList_; }
  void SetImageList(std::string v) { Put(imageList_, std::move(v)); }

  const PropertyTable& Properties() const override;
  void Reset() override;
  void NodeChanged() { Notify("Nodes"); }
  long IndexOf(const Node* node) const;

 private:
  std::vector<Node*>& SiblingsOf(Node* node);
  void Forget(Node* node);

  std::vector<std::unique_ptr<Node>> nodes_;
  std::vector<Node*> roots_;
  Node* selected_ = nullptr;
  std::string imageList_;
};

}  // namespace forms
