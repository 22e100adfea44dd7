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

namespace {

// a < b without regard to case, as LCase(a) < LCase(b), without copying while both are ASCII.
bool LessIgnoringCase(const std::string& a, const std::string& b) {
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 0x80 || y >= 0x80) return vb::LCase(a) < vb::LCase(b);
    if (x >= 'A' && x <= 'Z') x += 'a' - 'A';
    if (y >= 'A' && y <= 'Z') y += 'a' - 'A';
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

// LCase(s), quickly when s is all ASCII.
std::string FoldCase(const std::string& s) {
  std::string folded(s);
  for (char& c : folded) {
    auto u = static_cast<unsigned char>(c);
    if (u >= 0x80) return vb::LCase(s);
    if (u >= 'A' && u <= 'Z') c = static_cast<char>(u + ('a' - 'A'));
  }
  return folded;
}

}  // namespace

void ListControl::Reset() {
  Control::Reset();
  items_.clear();
  pending_.clear();
}

void ListControl::SortInPending() const {
  if (pending_.empty()) return;
  // Each entry's lower-case form once, then the entries in the order of those forms; a stable
  // sort keeps equal entries in the order of AddItem.
  std::vector<std::string> keys;
  keys.reserve(pending_.size());
  for (const std::string& item : pending_)
    keys.push_back(FoldCase(item));
  std::vector<std::size_t> order(pending_.size());
  for (std::size_t i = 0; i < order.size(); ++i)
    order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
  std::vector<std::string> sorted;
  sorted.reserve(pending_.size());
  for (std::size_t i : order)
    sorted.push_back(std::move(pending_[i]));
  pending_.clear();
  if (items_.empty()) {
    items_ = std::move(sorted);
    return;
  }
  std::vector<std::string> merged;
  merged.reserve(items_.size() + sorted.size());
  // Equal entries: those already in the list come first, as AddItem one by one places them.
  std::merge(std::make_move_iterator(items_.begin()), std::make_move_iterator(items_.end()),
             std::make_move_iterator(sorted.begin()), std::make_move_iterator(sorted.end()),
             std::back_inserter(merged), LessIgnoringCase);
  items_ = std::move(merged);
}

void ListControl::AddItem(const std::string& item, long index) {
  if (index < -1 || index > ListCount()) throw vb::RuntimeError(vb::kInvalidProcedureCall);
  if (index < 0 && sorted_ && listIndex_ < 0) {
    pending_.push_back(item);
    Notify("List");
    return;
  }
  SortInPending();
  auto at = items_.end();
  if (index >= 0) {
    at = items_.begin() + index;
  } else if (sorted_) {
    at = std::upper_bound(items_.begin(), items_.end(), item, LessIgnoringCase);
  }
  long pos = static_cast<long>(at - items_.begin());
  items_.insert(at, item);
  if (listIndex_ >= pos) ++listIndex_;
  Notify("List");
}

void ListControl::RemoveItem(long index) {
  if (index < 0 || index >= ListCount()) throw vb::RuntimeError(vb::kInvalidProcedureCall);
  SortInPending();
  items_.erase(items_.begin() + index);
  if (listIndex_ == index)
    listIndex_ = -1;
  else if (listIndex_ > index)
    --listIndex_;
  Notify("List");
}

void ListControl::Clear() {
  items_.clear();
  pending_.clear();
  listIndex_ = -1;
  Notify("List");
}

const std::string& ListControl::List(long index) const {
  if (index < 0 || index >= ListCount())
    throw vb::Error(381, vb::DefaultErrorSource(), "Invalid property array index");
  SortInPending();
  return items_[static_cast<std::size_t>(index)];
}

void ListControl::SetListIndex(long v) {
  if (v < -1 || v >= ListCount()) throw vb::RuntimeError(vb::kInvalidPropertyValue);
  if (v == listIndex_) return;
  SortInPending();
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
  SortInPending();
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return false;
  SetListIndex(static_cast<long>(it - items_.begin()));
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
