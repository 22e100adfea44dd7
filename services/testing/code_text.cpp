#include "services/testing/code_text.h"

namespace bw {
namespace {

constexpr std::string_view kTabMark = "→";

// Applies the notation, leaving each line break a single '\n'.
std::string Expand(std::string_view text) {
  if (!text.empty() && text.front() == '\n') text.remove_prefix(1);
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    if (text.substr(i, kTabMark.size()) == kTabMark) {
      out += '\t';
      i += kTabMark.size();
    } else if (text.substr(i, 2) == "$\n") {
      ++i;
    } else {
      out += text[i++];
    }
  }
  return out;
}

}  // namespace

std::string CodeText(std::string_view text) {
  std::string out;
  for (char c : Expand(text)) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::vector<std::string> CodeLines(std::string_view text) {
  std::string code = Expand(text);
  std::vector<std::string> lines(1);
  for (std::size_t i = 0; i < code.size(); ++i) {
    if (code[i] != '\n') {
      lines.back() += code[i];
    } else if (i + 1 < code.size()) {
      lines.emplace_back();
    }
  }
  return lines;
}

}  // namespace bw
