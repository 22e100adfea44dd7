#include "host/memory_code.h"

#include <algorithm>

#include "runtime/vb/error.h"

namespace vbide {

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
    lines.push_back(text.substr(from, at - from));
  lines.push_back(text.substr(from));
  return lines;
}

std::string MemoryCodeModule::Lines(long startLine, long count) {
  if (count < 0) RaiseIdeError(vb::kInvalidProcedureCall);
  if (count == 0) return "";
  if (startLine < 1 || startLine > CountOfLines()) RaiseIdeError(vb::kSubscriptOutOfRange);
  long last = std::min(CountOfLines(), startLine + count - 1);
  std::string text;
  for (long i = startLine; i <= last; ++i) {
    if (i > startLine) text += "\r\n";
    text += lines_[static_cast<std::size_t>(i - 1)];
  }
  return text;
}

void MemoryCodeModule::InsertLines(long line, const std::string& text) {
  if (line < 1) RaiseIdeError(vb::kInvalidProcedureCall);
  auto at = lines_.begin() + std::min<long>(line - 1, CountOfLines());
  std::vector<std::string> added = SplitCrLf(text);
  lines_.insert(at, added.begin(), added.end());
}

void MemoryCodeModule::ReplaceLine(long line, const std::string& text) {
  if (line < 1 || line > CountOfLines()) RaiseIdeError(vb::kSubscriptOutOfRange);
  std::vector<std::string> parts = SplitCrLf(text);
  auto at = lines_.begin() + (line - 1);
  *at = parts.front();
  lines_.insert(at + 1, parts.begin() + 1, parts.end());
}

void MemoryCodeModule::DeleteLines(long startLine, long count) {
  if (count < 0 || startLine < 1 || startLine + count - 1 > CountOfLines())
    RaiseIdeError(vb::kSubscriptOutOfRange);
  lines_.erase(lines_.begin() + (startLine - 1), lines_.begin() + (startLine - 1 + count));
}

}  // namespace vbide
