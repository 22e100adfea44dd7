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

void TransformSelectedLines(const vb::Object<vbide::VBE>& vbe, LineTransform transform) {
  vbide::Selection selection = vbe->ActiveCodePane()->GetSelection();
  const long lastLine = selection.EndLine - 1;
  for (long i = selection.StartLine; i <= lastLine; ++i) {
    std::string text = vbe->ActiveCodePane()->CodeModule()->Lines(i, 1);
    vbe->ActiveCodePane()->CodeModule()->ReplaceLine(i, transform(text));
  }
}

}  // namespace bw
