// Test support: VB code written in tests as it reads, in raw string literals.
//
// The notation:
//   - "→" stands for a tab;
//   - a "$" right before a line break marks a line whose trailing blanks matter and is dropped
//     (a "$" anywhere else is kept);
//   - a line break right after the opening R"( is layout only and is dropped.
//
// CodeText gives the code as one text with every line break written as CR LF, as the
// generators return it and InsertLines takes it. CodeLines gives the code as a module's lines,
// as the in-memory IDE keeps them: the text split at each line break, where a closing line break
// ends the last line rather than starting an empty one.
//
//   CodeText(R"(
//   Sub A()
//   →x = 1 $
//   End Sub
//   )")                           == "Sub A()\r\n\tx = 1 \r\nEnd Sub\r\n"
//   CodeLines("Sub A()\nEnd Sub\n") == {"Sub A()", "End Sub"}
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace bw {

// The code as one text, each line break CR LF.
std::string CodeText(std::string_view text);

// The code as lines; empty text gives one empty line.
std::vector<std::string> CodeLines(std::string_view text);

}  // namespace bw
