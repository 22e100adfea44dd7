#include "runtime/forms/lists.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "runtime/vb/error.h"
#include "runtime/vb/strings.h"

namespace forms {

// The word-at-a-time comparison below takes the first byte of a text as the lowest of the word.
static_assert(std::endian::native == std::endian::little);

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
  pending_ = 0;
  pendingKeys_.clear();
  inOrder_ = true;
}

namespace {

// Eight ASCII bytes with their capital letters lowered. REQUIRES: no byte has its high bit set
// (so no sum below carries into the next byte).
std::uint64_t LowerAscii8(std::uint64_t x) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  std::uint64_t atLeastA = (x + (0x80 - 'A') * kOnes) & kHighBits;
  std::uint64_t aboveZ = (x + (0x80 - 'Z' - 1) * kOnes) & kHighBits;
  return x | ((atLeastA & ~aboveZ) >> 2);  // 0x80 >> 2 is the 0x20 between the cases
}

// Whether `a` sorts before `b` in a sorted list: LCase(a) < LCase(b), byte by byte. Lowering
// keeps ASCII text ASCII and the same length, so while the part compared is ASCII the first bytes
// that differ once lowered decide, taken eight at a time; texts with other characters there are
// lowered whole.
bool SortsBefore(std::string_view a, std::string_view b) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  const std::size_t n = std::min(a.size(), b.size());
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t x, y;
    std::memcpy(&x, a.data() + i, 8);
    std::memcpy(&y, b.data() + i, 8);
    if ((x | y) & kHighBits) break;
    if (x == y) continue;
    x = LowerAscii8(x);
    y = LowerAscii8(y);
    if (x == y) continue;
    // The first byte in the text is the lowest of the word.
    int shift = std::countr_zero(x ^ y) & ~7;
    return ((x >> shift) & 0xFF) < ((y >> shift) & 0xFF);
  }
  for (; i < n; ++i) {
    auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if ((x | y) & 0x80) return vb::LCase(a) < vb::LCase(b);
    if (x == y) continue;
    x = x >= 'A' && x <= 'Z' ? x + 32 : x;
    y = y >= 'A' && y <= 'Z' ? y + 32 : y;
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

}  // namespace

namespace {

// The lowered first 24 bytes of a text, as three numbers that compare as the bytes do (short texts
// padded with zero bytes), when they are ASCII. Most names differ there, so most comparisons of
// the sort need not reach the texts, which lie all over memory.
ListControl::SortKey KeyOf(std::string_view text) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  ListControl::SortKey key{};
  unsigned char bytes[sizeof key.Words] = {};
  std::memcpy(bytes, text.data(), std::min(text.size(), sizeof bytes));
  std::uint64_t any = 0;
  for (int k = 0; k < 3; ++k) {
    std::memcpy(&key.Words[k], bytes + 8 * k, 8);
    any |= key.Words[k];
  }
  key.Ascii = (any & kHighBits) == 0;
  if (key.Ascii)
    for (std::uint64_t& word : key.Words)
      word = __builtin_bswap64(LowerAscii8(word));
  return key;
}

struct SortEntry {
  ListControl::SortKey Key;
  std::string_view Text;
  std::uint32_t Index;  // in the entries before sorting
};

bool EntryBefore(const SortEntry& a, const SortEntry& b) {
  if (a.Key.Ascii && b.Key.Ascii) {
    for (int k = 0; k < 3; ++k)
      if (a.Key.Words[k] != b.Key.Words[k]) return a.Key.Words[k] < b.Key.Words[k];
  }
  return SortsBefore(a.Text, b.Text);
}

}  // namespace

void ListControl::SetSorted(bool v) {
  if (v == sorted_) return;
  Settle();
  if (v) {
    pending_ = items_.size();
    for (const std::string& item : items_)
      pendingKeys_.push_back(KeyOf(item));
    inOrder_ = true;
    if (listIndex_ >= 0) ClearChoice();
  }
  Put(sorted_, v);
  Notify("List");
}

void ListControl::AddItem(std::string item, long index) {
  if (index < -1 || index > ListCount()) throw vb::RuntimeError(vb::kInvalidProcedureCall);
  if (index < 0 && sorted_ && inOrder_) {
    if (listIndex_ >= 0) {
      if (pending_ == 0) chosen_ = items_[static_cast<std::size_t>(listIndex_)];
      if (SortsBefore(item, chosen_)) ++listIndex_;
    }
    // The key now, while the text is at hand.
    pendingKeys_.push_back(KeyOf(item));
    items_.push_back(std::move(item));
    ++pending_;
    Notify("List");
    return;
  }
  Settle();
  auto at = items_.end();
  if (index >= 0) {
    at = items_.begin() + index;
  } else if (sorted_) {
    // Entries put at an index broke the order: each entry finds its place as it comes.
    at = std::upper_bound(items_.begin(), items_.end(), item, SortsBefore);
  }
  if (sorted_) {
    inOrder_ = inOrder_ && (at == items_.begin() || !SortsBefore(item, *(at - 1))) &&
               (at == items_.end() || !SortsBefore(*at, item));
  }
  long pos = static_cast<long>(at - items_.begin());
  items_.insert(at, std::move(item));
  if (listIndex_ >= pos) ++listIndex_;
  Notify("List");
}

void ListControl::Settle() const {
  if (pending_ == 0) return;
  // The waiting entries in order, those of equal keys in the order they were added; then merged
  // with the settled ones, which go first among equal keys. Each text moves once, to its place.
  const std::size_t n = items_.size(), first = n - pending_;
  std::vector<SortEntry> order;
  order.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    order.push_back({i < first ? KeyOf(items_[i]) : pendingKeys_[i - first], items_[i],
                     static_cast<std::uint32_t>(i)});
  }
  auto middle = order.begin() + static_cast<std::ptrdiff_t>(first);
  std::stable_sort(middle, order.end(), EntryBefore);
  std::inplace_merge(order.begin(), middle, order.end(), EntryBefore);
  std::vector<std::string> items;
  items.reserve(n);
  for (const SortEntry& entry : order)
    items.push_back(std::move(items_[entry.Index]));
  items_ = std::move(items);
  pending_ = 0;
  pendingKeys_.clear();
}

void ListControl::RemoveItem(long index) {
  if (index < 0 || index >= ListCount()) throw vb::RuntimeError(vb::kInvalidProcedureCall);
  Settle();
  items_.erase(items_.begin() + index);
  if (listIndex_ == index)
    listIndex_ = -1;
  else if (listIndex_ > index)
    --listIndex_;
  Notify("List");
}

void ListControl::Clear() {
  items_.clear();
  pending_ = 0;
  pendingKeys_.clear();
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
