// Commenting out and un-commenting lines of code.
//
// CommentLine puts the comment mark (an apostrophe) in front of any line. UncommentLine drops
// everything up to and including the first apostrophe when nothing but blanks (spaces or tabs)
// stands before it; a line with other text before its first apostrophe (code with a trailing
// comment, an apostrophe inside a string) comes back unchanged, as does a line without one.
// So UncommentLine(CommentLine(x)) == x for every line x. The tool window applies them to the
// selected lines through code_window::TransformSelectedLines.
#pragma once

#include <string>
#include <string_view>

namespace bw {

std::string CommentLine(std::string_view line);
std::string UncommentLine(std::string_view line);

}  // namespace bw
