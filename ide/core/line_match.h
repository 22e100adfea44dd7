// Carrying what a module's lines held as read over to the same module's edited code.
//
// The edited lines are matched to the lines as read by a line diff: common first and last lines
// match, the rest is split at lines that occur once on each side, and small gaps without such
// lines are matched by the longest common subsequence. A matched line keeps its line end and the
// member attributes that followed it. When a line carrying member attributes was changed or
// removed, its attributes follow the line that now declares that member (the one nearest the old
// place, on the last line of its statement); attributes of a member no longer declared are
// dropped; an attribute naming no member goes after the nearest kept line above its old place.
#pragma once

#include <string>
#include <vector>

#include "ide/core/vbsource.h"

namespace ide::source_detail {

struct Reattached {
  std::vector<LineEnd> Ends;  // one per edited line; kNone for a new line
  // Attached[k]: the attribute lines to write after edited line k - 1 (k == 0: before the code).
  std::vector<std::vector<const RawLine*>> Attached;
};

// The lines of `read` laid over `code`. The result points into `read`.
Reattached Reattach(const std::vector<CodeLine>& read, const std::vector<std::string>& code);

}  // namespace ide::source_detail
