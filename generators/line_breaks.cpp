#include "generators/line_breaks.h"

#include "runtime/vb/strings.h"

namespace bw {

std::vector<std::string_view> SplitAtBreaks(std::string_view text) {
  std::vector<std::string_view> parts;
  for (std::size_t cr = text.find('\r'); cr != std::string_view::npos; cr = text.find('\r')) {
    parts.push_back(text.substr(0, cr));
    std::string_view after = text.substr(cr + 1);
    text = after.substr(vb::Utf8Offset(after, 1));
  }
  parts.push_back(text);
  return parts;
}

}  // namespace bw
