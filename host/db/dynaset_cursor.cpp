#include "host/db/dynaset_cursor.h"

#include <algorithm>

namespace dao {

DynasetCursor::DynasetCursor(std::vector<std::int64_t> keys)
    : keys_(std::move(keys)), deleted_(keys_.size(), false) {
  for (std::size_t i = 1; i < keys_.size() && in_key_order_; ++i) {
    in_key_order_ = keys_[i - 1] < keys_[i];
  }
  if (!keys_.empty()) max_key_ = *std::max_element(keys_.begin(), keys_.end());
  if (keys_.empty()) {
    bof_ = eof_ = true;
  }
}

long DynasetCursor::AbsolutePosition() const {
  if (!HasCurrent()) return -1;
  auto before = std::lower_bound(deleted_list_.begin(), deleted_list_.end(), position_) -
                deleted_list_.begin();
  return static_cast<long>(position_) - static_cast<long>(before);
}

std::optional<std::size_t> DynasetCursor::NextVisible(std::size_t from) const {
  for (std::size_t i = from; i < keys_.size(); ++i) {
    if (!deleted_[i]) return i;
  }
  return std::nullopt;
}

std::optional<std::size_t> DynasetCursor::PreviousVisible(std::size_t before) const {
  for (std::size_t i = before; i > 0; --i) {
    if (!deleted_[i - 1]) return i - 1;
  }
  return std::nullopt;
}

void DynasetCursor::StandOn(std::size_t position) {
  position_ = position;
  bof_ = eof_ = lost_ = false;
}

bool DynasetCursor::MoveFirst() {
  std::optional<std::size_t> p = NextVisible(0);
  if (!p) return false;
  StandOn(*p);
  return true;
}

bool DynasetCursor::MoveLast() {
  std::optional<std::size_t> p = PreviousVisible(keys_.size());
  if (!p) return false;
  StandOn(*p);
  return true;
}

bool DynasetCursor::MoveNext() {
  if (eof_ || lost_) return false;
  std::optional<std::size_t> p = NextVisible(bof_ ? 0 : position_ + 1);
  if (p) {
    StandOn(*p);
  } else if (bof_) {
    return false;  // nothing to visit at all
  } else {
    eof_ = true;
  }
  return true;
}

bool DynasetCursor::MovePrevious() {
  if (bof_ || lost_) return false;
  std::optional<std::size_t> p = PreviousVisible(eof_ ? keys_.size() : position_);
  if (p) {
    StandOn(*p);
  } else if (eof_) {
    return false;
  } else {
    bof_ = true;
  }
  return true;
}

void DynasetCursor::MoveTo(std::size_t position) {
  StandOn(position);
}

void DynasetCursor::Lose() {
  lost_ = true;
  bof_ = eof_ = false;
}

void DynasetCursor::Append(std::int64_t key) {
  if (!keys_.empty() && key <= keys_.back()) in_key_order_ = false;
  keys_.push_back(key);
  deleted_.push_back(false);
  max_key_ = std::max(max_key_, key);
  by_key_.clear();
}

void DynasetCursor::DeleteCurrent() {
  deleted_[position_] = true;
  deleted_list_.insert(std::lower_bound(deleted_list_.begin(), deleted_list_.end(), position_),
                       position_);
}

std::optional<std::size_t> DynasetCursor::FindVisible(std::int64_t key) const {
  if (in_key_order_) {
    auto it = std::lower_bound(keys_.begin(), keys_.end(), key);
    if (it == keys_.end() || *it != key) return std::nullopt;
    std::size_t p = static_cast<std::size_t>(it - keys_.begin());
    if (deleted_[p]) return std::nullopt;
    return p;
  }
  if (by_key_.size() != keys_.size()) {
    by_key_.clear();
    for (std::size_t i = 0; i < keys_.size(); ++i)
      by_key_.emplace_back(keys_[i], i);
    std::sort(by_key_.begin(), by_key_.end());
  }
  auto it = std::lower_bound(by_key_.begin(), by_key_.end(), std::make_pair(key, std::size_t{0}));
  for (; it != by_key_.end() && it->first == key; ++it) {
    if (!deleted_[it->second]) return it->second;  // positions rise within equal keys
  }
  return std::nullopt;
}

}  // namespace dao
