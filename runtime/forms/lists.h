// List boxes and combo boxes.
//
// A sorted list keeps its entries in alphabetical order without regard to case (the order of
// their LCase texts), whatever the order of AddItem, but for entries put at an index, which stay
// there; an entry equal to others but for case goes after them. Adding to a sorted list is cheap:
// the entry waits at the end and is sorted in, with every other waiting entry at once, when
// something next reads the entries (List, Items, Text, a choice); ListCount and ListIndex are exact
// all along. ListIndex is -1 when no entry is chosen; choosing an entry (by code or by the user)
// raises Click. A combo box's Text is the chosen entry after a choice, or whatever was typed
// (Change); typing clears the choice without a Click, unless the text is still the chosen entry's.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/forms/control.h"

namespace forms {

class ListControl : public Control {
 public:
  // Adds at `index` (-1: at the end, or at its sorted place in a sorted list).
  void AddItem(std::string item, long index = -1);
  // REQUIRES: 0 <= index < ListCount (else 5).
  void RemoveItem(long index);
  virtual void Clear();
  long ListCount() const { return static_cast<long>(items_.size()); }
  // REQUIRES: 0 <= index < ListCount (else 381, an invalid property array index).
  const std::string& List(long index) const;
  const std::vector<std::string>& Items() const;
  long ListIndex() const { return listIndex_; }
  // REQUIRES: -1 <= v < ListCount (else 380). Raises Click when it changes.
  virtual void SetListIndex(long v);
  bool Sorted() const { return sorted_; }
  // Making a list sorted sorts the entries it holds and clears the choice (without a Click).
  void SetSorted(bool v);

  // The user picks the first entry equal to `item`; false when there is none.
  bool UserChoose(const std::string& item);

  const PropertyTable& Properties() const override;
  void Reset() override;

  // An entry's place in a sorted list as far as its first bytes tell (lists.cpp).
  struct SortKey {
    std::uint64_t Words[3];
    bool Ascii;
  };

 protected:
  ListControl(Form* form, ControlKind kind, std::string name, int index);
  void OnListIndexChanged();
  // No entry chosen, without a Click.
  void ClearChoice();

 private:
  // Sorts the waiting entries into their places.
  void Settle() const;

  // The entries in list order, but for the last `pending_`, which were added to a sorted list and
  // wait to be sorted in. listIndex_ is the chosen entry's index in the settled order: an entry
  // added that sorts before the chosen one (chosen_, kept while entries wait) moves it on.
  mutable std::vector<std::string> items_;
  mutable std::size_t pending_ = 0;
  mutable std::vector<SortKey> pendingKeys_;  // of the waiting entries, worked out as they came
  std::string chosen_;
  // Whether a sorted list's entries are in order; an entry put at an index may break it, and then
  // each entry added finds its place at once, as far as a search of the broken order goes.
  bool inOrder_ = true;
  long listIndex_;
  bool sorted_;
};

class ListBox : public ListControl {
 public:
  ListBox(Form* form, std::string name, int index = -1);
  // The chosen entry, or empty text.
  std::string Text() const;
  const PropertyTable& Properties() const override;
};

class ComboBox : public ListControl {
 public:
  ComboBox(Form* form, std::string name, int index = -1);
  const std::string& Text() const { return text_; }
  // Raises Change when the text differs; ListIndex follows (-1 when not an entry).
  void SetText(std::string v);
  void SetListIndex(long v) override;
  // Also empties the text, as the control's edit part is cleared with the list.
  void Clear() override;
  // 0 drop-down combo (typing allowed), 2 drop-down list.
  int Style() const { return style_; }
  void SetStyle(int v) { Put(style_, v); }
  const PropertyTable& Properties() const override;

 private:
  std::string text_;
  int style_;
};

}  // namespace forms
