// List boxes and combo boxes.
//
// A sorted list keeps its entries in alphabetical order without regard to case, whatever the
// order of AddItem. ListIndex is -1 when no entry is chosen; choosing an entry (by code or by
// the user) raises Click. A combo box's Text is the chosen entry after a choice, or whatever was
// typed (Change); typing clears the choice without a Click, unless the text is still the chosen
// entry's.
#pragma once

#include <string>
#include <vector>

#include "runtime/forms/control.h"

namespace forms {

class ListControl : public Control {
 public:
  // Adds at `index` (-1: at the end, or at its sorted place in a sorted list).
  void AddItem(const std::string& item, long index = -1);
  // REQUIRES: 0 <= index < ListCount (else 5).
  void RemoveItem(long index);
  virtual void Clear();
  long ListCount() const { return static_cast<long>(items_.size() + pending_.size()); }
  // REQUIRES: 0 <= index < ListCount (else 381, an invalid property array index).
  const std::string& List(long index) const;
  const std::vector<std::string>& Items() const {
    SortInPending();
    return items_;
  }
  long ListIndex() const { return listIndex_; }
  // REQUIRES: -1 <= v < ListCount (else 380). Raises Click when it changes.
  virtual void SetListIndex(long v);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool v) { Put(sorted_, v); }

  // The user picks the first entry equal to `item`; false when there is none.
  bool UserChoose(const std::string& item);

  const PropertyTable& Properties() const override;
  void Reset() override;

 protected:
  ListControl(Form* form, ControlKind kind, std::string name, int index);
  void OnListIndexChanged();
  // No entry chosen, without a Click.
  void ClearChoice();

 private:
  // Sorts the entries kept aside into the list.
  void SortInPending() const;

  mutable std::vector<std::string> items_;
  mutable std::vector<std::string> pending_;  // added to a sorted list, not yet sorted in
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
