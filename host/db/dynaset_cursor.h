// The rows of a dynaset and the position on them, apart from any store.
//
// Holds the row keys taken at open (in the store's order), the keys of rows added since (after
// them), which of them were deleted through the recordset, and where the cursor stands: before
// the first row (BOF), on a row, past the last row (EOF), or nowhere (after a failed search).
// Deleted rows are skipped by every move and not counted. A cursor that stands on a row it has
// just deleted keeps that place until the next move, with no current record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace dao {

class DynasetCursor {
 public:
  // Stands on the first key; BOF and EOF when there is none.
  explicit DynasetCursor(std::vector<std::int64_t> keys);

  // Keys ever held (deleted ones included) and the rows that can be visited.
  std::size_t size() const { return keys_.size(); }
  long VisibleCount() const { return static_cast<long>(keys_.size() - deleted_list_.size()); }
  std::int64_t key(std::size_t position) const { return keys_[position]; }
  bool deleted(std::size_t position) const { return deleted_[position]; }

  bool Bof() const { return bof_; }
  bool Eof() const { return eof_; }
  // Standing on a row (deleted or not).
  bool OnRow() const { return !bof_ && !eof_ && !lost_; }
  // Standing on a row that can be read.
  bool HasCurrent() const { return OnRow() && !deleted_[position_]; }
  // REQUIRES: OnRow().
  std::size_t position() const { return position_; }
  // 0-based index of the current row among the visible rows; -1 without a current row.
  long AbsolutePosition() const;

  // Each returns false, leaving the cursor as it was, when there is nothing to move to or from.
  bool MoveFirst();
  bool MoveLast();
  bool MoveNext();
  bool MovePrevious();
  // REQUIRES: position < size() and not deleted.
  void MoveTo(std::size_t position);
  // No current row, neither BOF nor EOF.
  void Lose();

  // Adds a row after all others; the cursor does not move.
  void Append(std::int64_t key);
  // The highest key ever held, deleted ones included; 0 when none.
  std::int64_t MaxKey() const { return max_key_; }
  // REQUIRES: HasCurrent(). The cursor stays on the deleted row.
  void DeleteCurrent();

  // True while the keys rise strictly in position order, so that position order is key order.
  bool InKeyOrder() const { return in_key_order_; }
  // The first visible position holding `key`.
  std::optional<std::size_t> FindVisible(std::int64_t key) const;

 private:
  std::optional<std::size_t> NextVisible(std::size_t from) const;        // at or after `from`
  std::optional<std::size_t> PreviousVisible(std::size_t before) const;  // before `before`
  void StandOn(std::size_t position);

  std::vector<std::int64_t> keys_;
  std::vector<bool> deleted_;
  std::vector<std::size_t> deleted_list_;  // sorted
  bool in_key_order_ = true;
  std::int64_t max_key_ = 0;
  // Built on demand when the keys are out of order: (key, position), sorted.
  mutable std::vector<std::pair<std::int64_t, std::size_t>> by_key_;

  std::size_t position_ = 0;
  bool bof_ = false;
  bool eof_ = false;
  bool lost_ = false;
};

}  // namespace dao
