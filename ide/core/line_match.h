// How RenderSource carries a module's lines as read over to its edited code (the rules are in
// vbsource.h): a line diff matches the edited lines to the lines as read (common first and last
// lines, then lines that occur once on each side as anchors, small gaps by longest common
// subsequence), and the member attributes of unmatched lines follow their member's declaration.
#pragma once

#include <string>
#include <vector>

#include "ide/core/vbsource.h"

namespace ide::source_detail {

struct Reattached {
  // One per edited line: a kept line's end, or the end of the line a changed line replaced;
  // kNone for a new line.
  std::vector<LineEnd> Ends;
  // Attached[k]: the attribute lines to write after edited line k - 1 (k == 0: before the code).
  std::vector<std::vector<const RawLine*>> Attached;
};

// The lines of `read` laid over `code`. The result points into `read`.
Reattached Reattach(const std::vector<CodeLine>& read, const std::vector<std::string>& code);

}  // namespace ide::source_detail
