#include "runtime/forms/lists.h"

#include <algorithm>

#include "runtime/vb/error.h"
#include "runtime/vb/strings.h"

namespace forms {

ListControl::ListControl(Form* form, ControlKind kind, std::string name, int index)
    : Control(form, kind, std::move(name), index) {}

void ListControl::Reset() {
  Control::Reset();
  items_.clear();
  listIndex_ = -1;
  sorted_ = false;
  SetBackColor(0x80000005);
}

void ListControl::AddItem(const std::string& item, long index) {
  if (index < -1 || index > ListCount()) throw vb::RuntimeError(vb::kInvalidProcedureCall);
  auto at = items_.end();
  if (index >= 0) {
    at = items_.begin() + index;
  } else if (sorted_) {
    std::string key = vb::LCase(item);
    at = std::upper_bound(
        items_.begin(), items_.end(), key,
        [](const std::string& k, const std::string& e) { return k < vb::LCase(e); });
  }
  long pos = static_cast<long>(at - items_.begin());
  items_.insert(at, item);
  if (listIndex_ >= pos) ++listIndex_;
  Changed("List");
}

void ListControl::RemoveItem(long index) {
  if (index < 0 || index >= ListCount()) throw vb::RuntimeError(vb::kInvalidProcedureCall);
  items_.erase(items_.begin() + index);
  if (listIndex_ == index)
    listIndex_ = -1;
  else if (listIndex_ > index)
    --listIndex_;
  Changed("List");
}

void ListControl::Clear() {
  items_.clear();
  listIndex_ = -1;
  Changed("List");
}

const std::string& ListControl::List(long index) const {
  if (index < 0 || index >= ListCount())
    throw vb::Error(381, vb::DefaultErrorSource(), "Invalid property array index");
  return items_[static_cast<std::size_t>(index)];
}

void ListControl::SetListIndex(long v) {
  if (v < -1 || v >= ListCount()) throw vb::RuntimeError(vb::kInvalidPropertyValue);
  if (v == listIndex_) return;
  listIndex_ = v;
  OnListIndexChanged();
}

void ListControl::ClearChoice() {
  listIndex_ = -1;
  Changed("ListIndex");
}

void ListControl::OnListIndexChanged() {
  Changed("ListIndex");
  Raise("Click");
}

bool ListControl::UserChoose(const std::string& item) {
  if (!AcceptsInput()) return false;
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return false;
  SetListIndex(static_cast<long>(it - items_.begin()));
  return true;
}

std::optional<PropertyValue> ListControl::Get(std::string_view p) const {
  if (p == "ListIndex") return listIndex_;
  if (p == "ListCount") return ListCount();
  if (p == "Sorted") return sorted_;
  return Control::Get(p);
}

bool ListControl::Set(std::string_view p, const PropertyValue& v) {
  if (p != "ListIndex") return Control::Set(p, v);
  SetListIndex(AsLong(v));
  return true;
}

ListBox::ListBox(Form* form, std::string name, int index)
    : ListControl(form, ControlKind::kListBox, std::move(name), index) {}

std::string ListBox::Text() const {
  return ListIndex() < 0 ? std::string() : List(ListIndex());
}

std::optional<PropertyValue> ListBox::Get(std::string_view p) const {
  if (p == "Text") return Text();
  return ListControl::Get(p);
}

ComboBox::ComboBox(Form* form, std::string name, int index)
    : ListControl(form, ControlKind::kComboBox, std::move(name), index) {}

void ComboBox::Reset() {
  ListControl::Reset();
  text_.clear();
  style_ = 0;
}

void ComboBox::SetText(std::string v) {
  if (v == text_) return;
  text_ = std::move(v);
  Changed("Text");
  // Typed text is no choice from the list, even when it spells an entry.
  if (ListIndex() >= 0 && List(ListIndex()) != text_) ClearChoice();
  Raise("Change");
}

void ComboBox::SetListIndex(long v) {
  if (v < -1 || v >= ListCount()) throw vb::RuntimeError(vb::kInvalidPropertyValue);
  // No choice empties the edit part.
  std::string text = v >= 0 ? List(v) : std::string();
  if (text_ != text) {
    text_ = std::move(text);
    Changed("Text");
  }
  ListControl::SetListIndex(v);
}

void ComboBox::Clear() {
  ListControl::Clear();
  if (!text_.empty()) {
    text_.clear();
    Changed("Text");
  }
}

std::optional<PropertyValue> ComboBox::Get(std::string_view p) const {
  if (p == "Text") return text_;
  return ListControl::Get(p);
}

bool ComboBox::Set(std::string_view p, const PropertyValue& v) {
  if (p != "Text") return ListControl::Set(p, v);
  SetText(AsText(v));
  return true;
}

}  // namespace forms
