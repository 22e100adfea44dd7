#include "runtime/forms/treeview.h"

#include <algorithm>

#include "runtime/vb/error.h"

namespace forms {
namespace {

[[noreturn]] void RaiseTreeError(long number, const char* text) {
  throw vb::Error(number, "TreeView", text);
}

}  // namespace

Node::Node(TreeView* tree, std::string key, std::string text, long image)
    : tree_(tree), key_(std::move(key)), text_(std::move(text)), image_(image) {}

void Node::SetText(std::string v) {
  text_ = std::move(v), tree_->NodeChanged();
}
void Node::SetImage(long v) {
  image_ = v, tree_->NodeChanged();
}
void Node::SetBold(bool v) {
  bold_ = v, tree_->NodeChanged();
}
void Node::SetExpanded(bool v) {
  expanded_ = v, tree_->NodeChanged();
}
bool Node::Selected() const {
  return tree_->SelectedItem() == this;
}
long Node::Index() const {
  return tree_->IndexOf(this);
}

TreeView::TreeView(Form* form, std::string name, int index)
    : Control(form, ControlKind::kTreeView, std::move(name), index) {
  Reset();
}

const PropertyTable& TreeView::Properties() const {
  static const PropertyTable table = Extend<TreeView, Control>({
      {"ImageList", &TreeView::imageList_, ""},
      {"BackColor", 0x80000005L},  // window background
      TabStopRow(),
  });
  return table;
}

void TreeView::Reset() {
  Control::Reset();
  nodes_.clear();
  roots_.clear();
  selected_ = nullptr;
}

long TreeView::IndexOf(const Node* node) const {
  for (std::size_t i = 0; i < nodes_.size(); ++i)
    if (nodes_[i].get() == node) return static_cast<long>(i) + 1;
  return 0;
}

std::vector<Node*>& TreeView::SiblingsOf(Node* node) {
  return node->parent_ ? node->parent_->children_ : roots_;
}

Node& TreeView::Add(Node* relative, int relationship, std::string key, std::string text,
                    long image) {
  if (!key.empty() && FindKey(key)) RaiseTreeError(35602, "Key is not unique in collection");
  auto owned = std::make_unique<Node>(this, std::move(key), std::move(text), image);
  Node* node = owned.get();
  std::vector<Node*>* list = &roots_;
  std::vector<Node*>::iterator at = roots_.end();
  if (relative && relationship == tvwChild) {
    node->parent_ = relative;
    list = &relative->children_;
    at = list->end();
  } else if (relative) {
    node->parent_ = relative->parent_;
    list = &SiblingsOf(relative);
    auto pos = std::find(list->begin(), list->end(), relative);
    if (relationship == tvwFirst)
      at = list->begin();
    else if (relationship == tvwNext)
      at = pos + 1;
    else if (relationship == tvwPrevious)
      at = pos;
    else
      at = list->end();
  } else {
    at = relationship == tvwFirst ? roots_.begin() : roots_.end();
  }
  list->insert(at, node);
  nodes_.push_back(std::move(owned));
  Notify("Nodes");
  return *node;
}

Node& TreeView::Add(const std::string& relativeKey, int relationship, std::string key,
                    std::string text, long image) {
  Node* relative = nullptr;
  if (!relativeKey.empty()) {
    relative = FindKey(relativeKey);
    if (!relative) RaiseTreeError(35601, "Element not found");
  }
  return Add(relative, relationship, std::move(key), std::move(text), image);
}

Node& TreeView::Nodes(long index) const {
  if (index < 1 || index > Count()) RaiseTreeError(35600, "Index out of bounds");
  return *nodes_[static_cast<std::size_t>(index - 1)];
}

Node* TreeView::FindKey(const std::string& key) const {
  for (const auto& n : nodes_)
    if (!key.empty() && n->Key() == key) return n.get();
  return nullptr;
}

void TreeView::Forget(Node* node) {
  for (Node* child : std::vector<Node*>(node->children_))
    Forget(child);
  if (selected_ == node) selected_ = nullptr;
  nodes_.erase(std::remove_if(nodes_.begin(), nodes_.end(),
                              [node](const std::unique_ptr<Node>& n) { return n.get() == node; }),
               nodes_.end());
}

void TreeView::Remove(long index) {
  Node* node = &Nodes(index);
  auto& siblings = SiblingsOf(node);
  siblings.erase(std::find(siblings.begin(), siblings.end(), node));
  Forget(node);
  Notify("Nodes");
}

void TreeView::Clear() {
  nodes_.clear();
  roots_.clear();
  selected_ = nullptr;
  Notify("Nodes");
}

void TreeView::SetSelectedItem(Node* node) {
  selected_ = node;
  Notify("SelectedItem");
}

Node* TreeView::FindPath(const std::vector<std::string>& texts) const {
  const std::vector<Node*>* level = &roots_;
  Node* found = nullptr;
  for (const std::string& text : texts) {
    auto it = std::find_if(level->begin(), level->end(),
                           [&](const Node* n) { return n->Text() == text; });
    if (it == level->end()) return nullptr;
    found = *it;
    level = &found->children_;
  }
  return found;
}

void TreeView::UserClickNode(Node* node) {
  if (!AcceptsInput()) return;
  SetSelectedItem(node);
  EventArgs args;
  args.TreeNode = node;
  Raise("NodeClick", args);
}

}  // namespace forms
