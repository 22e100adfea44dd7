#include "generators/comment.h"

namespace bw {

std::string CommentLine(std::string_view line) {
  return "'" + std::string(line);
}

std::string UncommentLine(std::string_view line) {
  std::size_t mark = line.find('\'');
  if (mark == std::string_view::npos) return std::string(line);
  if (line.find_first_not_of(" \t") != mark) return std::string(line);
  return std::string(line.substr(mark + 1));
}

}  // namespace bw
