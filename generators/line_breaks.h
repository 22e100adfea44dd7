// Line breaks as a multi-line text box delivers them: a typed break is the pair CR LF.
//
// The generators cut such text at each CR and drop the one character that follows it, whatever
// it is (the LF of the pair). A CR that ends the text has nothing after it and gives an empty
// last part. A lone LF is no break.
#pragma once

#include <string_view>
#include <vector>

namespace bw {

// The parts between breaks, views into `text`: "a\r\nb" gives {"a", "b"}, "a\r\n" gives
// {"a", ""}, "" gives {""}. There is always at least one part.
std::vector<std::string_view> SplitAtBreaks(std::string_view text);

}  // namespace bw
