// Commenting out and un-commenting lines of code.
//
// CommentLine puts the comment mark (an apostrophe) in front of any line. UncommentLine drops
// everything up to and including the first apostrophe when nothing but blanks (spaces or tabs)
// stands before it; a line with other text before its first apostrophe (code with a trailing
// comment, an apostrophe inside a string) comes back unchanged, as does a line without one.
// So UncommentLine(CommentLine(x)) == x for every line x.
#pragma once

#include <string>
#include <string_view>

#include "host/vbide.h"
#include "runtime/vb/object.h"

namespace bw {

std::string CommentLine(std::string_view line);
std::string UncommentLine(std::string_view line);

using LineTransform = std::string (*)(std::string_view);

// Rewrites lines StartLine to EndLine - 1 of the active code pane's selection in place, one line
// at a time, asking the IDE for the active pane afresh for every read and every write. The end
// line itself is never touched. Raises what the IDE raises (91 without an active pane); lines
// before a failure stay changed.
void TransformSelectedLines(const vb::Object<vbide::VBE>& vbe, LineTransform transform);

}  // namespace bw
