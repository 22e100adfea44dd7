#include "runtime/forms/lists.h"

#include <algorithm>

#include "runtime/vb/error.h"
#include "runtime/vb/strings.h"

namespace forms {

ListControl::ListControl(Form* form, ControlKind kind, std::string name, int index)
    : Control(form, kind, std::move(name), index) {}

const PropertyTable& ListControl::Properties() const {
  static const PropertyTable table = Extend<ListControl, Control>({
      {"ListIndex", &ListControl::listIndex_, -1, &ListControl::SetListIndex},
      {"ListCount", &ListControl::ListCount},
      {"Sorted", &ListControl::sorted_, false},
      {"BackColor", 0x80000005L},  // window background
      TabStopRow(),
  });
  return table;
}

void ListControl::Reset() {
  Control::Reset();
  items_.clear();
  keys_.clear();
  pending_ = 0;
  inOrder_ = true;
}

void ListControl::SetSorted(bool v) {
  if (v == sorted_) return;
  Settle();
  keys_.clear();
  if (v) {
    for (const std::string& item : items_)
      keys_.push_back(vb::LCase(item));
    pending_ = items_.size();
    inOrder_ = true;
    if (listIndex_ >= 0) ClearChoice();
  }
  Put(sorted_, v);
  Notify("List");
}

void ListControl::AddItem(const std::string& item, long index) {
  if (index < -1 || index > ListCount()) throw vb::RuntimeError(vb::kInvalidProcedureCall);
  if (index < 0 && sorted_ && inOrder_) {
    std::string key = vb::LCase(item);
    if (listIndex_ >= 0) {
      if (pending_ == 0) chosenKey_ = keys_[static_cast<std::size_t>(listIndex_)];
      if (key < chosenKey_) ++listIndex_;
    }
    items_.push_back(item);
    keys_.push_back(std::move(key));
    ++pending_;
    Notify("List");
    return;
  }
  Settle();
  std::size_t pos = items_.size();
  if (index >= 0) {
    pos = static_cast<std::size_t>(index);
  } else if (sorted_) {
    // Entries put at an index broke the order: each entry finds its place as it comes.
    pos = static_cast<std::size_t>(std::upper_bound(keys_.begin(), keys_.end(), vb::LCase(item)) -
                                   keys_.begin());
  }
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(pos), item);
  if (sorted_) {
    std::string key = vb::LCase(item);
    inOrder_ = inOrder_ && (pos == 0 || keys_[pos - 1] <= key) &&
               (pos == keys_.size() || key <= keys_[pos]);
    keys_.insert(keys_.begin() + static_cast<std::ptrdiff_t>(pos), std::move(key));
  }
  if (listIndex_ >= static_cast<long>(pos)) ++listIndex_;
  Notify("List");
}

void ListControl::Settle() const {
  if (pending_ == 0) return;
  const std::size_t n = items_.size();
  const std::size_t first = n - pending_;
  auto byKey = [this](std::size_t a, std::size_t b) { return keys_[a] < keys_[b]; };
  // The waiting entries in key order, those of equal keys in the order they were added; then
  // merged with the settled ones, which go first among equal keys.
  std::vector<std::size_t> order(n);
  for (std::size_t i = 0; i < n; ++i)
    order[i] = i;
  std::stable_sort(order.begin() + static_cast<std::ptrdiff_t>(first), order.end(), byKey);
  std::inplace_merge(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(first), order.end(),
                     byKey);
  std::vector<std::string> items(n), keys(n);
  for (std::size_t i = 0; i < n; ++i) {
    items[i] = std::move(items_[order[i]]);
    keys[i] = std::move(keys_[order[i]]);
  }
  items_ = std::move(items);
  keys_ = std::move(keys);
  pending_ = 0;
}

void ListControl::RemoveItem(long index) {
  if (index < 0 || index >= ListCount()) throw vb::RuntimeError(vb::kInvalidProcedureCall);
  Settle();
  items_.erase(items_.begin() + index);
  if (sorted_) keys_.erase(keys_.begin() + index);
  if (listIndex_ == index)
    listIndex_ = -1;
  else if (listIndex_ > index)
    --listIndex_;
  Notify("List");
}

void ListControl::Clear() {
  items_.clear();
  keys_.clear();
  pending_ = 0;
  inOrder_ = true;
  listIndex_ = -1;
  Notify("List");
}

const std::string& ListControl::List(long index) const {
  if (index < 0 || index >= ListCount())
    throw vb::Error(381, vb::DefaultErrorSource(), "Invalid property array index");
  Settle();
  return items_[static_cast<std::size_t>(index)];
}

const std::vector<std::string>& ListControl::Items() const {
  Settle();
  return items_;
}

void ListControl::SetListIndex(long v) {
  if (v < -1 || v >= ListCount()) throw vb::RuntimeError(vb::kInvalidPropertyValue);
  Settle();
  if (v == listIndex_) return;
  listIndex_ = v;
  OnListIndexChanged();
}

void ListControl::ClearChoice() {
  Put(listIndex_, -1L);
}

void ListControl::OnListIndexChanged() {
  Changed(&listIndex_);
  Raise("Click");
}

bool ListControl::UserChoose(const std::string& item) {
  if (!AcceptsInput()) return false;
  const std::vector<std::string>& items = Items();
  auto it = std::find(items.begin(), items.end(), item);
  if (it == items.end()) return false;
  SetListIndex(static_cast<long>(it - items.begin()));
  return true;
}

ListBox::ListBox(Form* form, std::string name, int index)
    : ListControl(form, ControlKind::kListBox, std::move(name), index) {
  Reset();
}

const PropertyTable& ListBox::Properties() const {
  static const PropertyTable table = Extend<ListBox, ListControl>({{"Text", &ListBox::Text}});
  return table;
}

std::string ListBox::Text() const {
  return ListIndex() < 0 ? std::string() : List(ListIndex());
}

ComboBox::ComboBox(Form* form, std::string name, int index)
    : ListControl(form, ControlKind::kComboBox, std::move(name), index) {
  Reset();
}

const PropertyTable& ComboBox::Properties() const {
  static const PropertyTable table = Extend<ComboBox, ListControl>({
      {"Text", &ComboBox::text_, "", &ComboBox::SetText},
      {"Style", &ComboBox::style_, 0},
  });
  return table;
}

void ComboBox::SetText(std::string v) {
  if (v == text_) return;
  Put(text_, std::move(v));
  // Typed text is no choice from the list, even when it spells an entry.
  if (ListIndex() >= 0 && List(ListIndex()) != text_) ClearChoice();
  Raise("Change");
}

void ComboBox::SetListIndex(long v) {
  if (v < -1 || v >= ListCount()) throw vb::RuntimeError(vb::kInvalidPropertyValue);
  // No choice empties the edit part.
  std::string text = v >= 0 ? List(v) : std::string();
  if (text_ != text) Put(text_, std::move(text));
  ListControl::SetListIndex(v);
}

void ComboBox::Clear() {
  ListControl::Clear();
  if (!text_.empty()) Put(text_, std::string());
}

}  // namespace forms
