#include "services/code_window.h"

#include "services/shared_state.h"

namespace bw::code_window {
namespace {

vb::Object<vbide::CodeModule> Module() {
  return VBInst->ActiveCodePane()->CodeModule();
}

}  // namespace

vbide::Selection GetSelection() {
  return VBInst->ActiveCodePane()->GetSelection();
}
std::string Line(long line) {
  return Module()->Lines(line, 1);
}
std::string CoveredLines(const vbide::Selection& selection) {
  return Module()->Lines(selection.StartLine, selection.EndLine - selection.StartLine);
}
long LineCount() {
  return Module()->CountOfLines();
}
void InsertBefore(long line, const std::string& text) {
  Module()->InsertLines(line, text);
}
void ReplaceLine(long line, const std::string& text) {
  Module()->ReplaceLine(line, text);
}

void TransformSelectedLines(LineTransform transform) {
  vbide::Selection selection = GetSelection();
  for (long i = selection.StartLine; i <= selection.EndLine - 1; ++i)
    ReplaceLine(i, transform(Line(i)));
}

}  // namespace bw::code_window
