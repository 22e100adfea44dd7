#include "host/memory_code.h"

#include <algorithm>

#include "host/memory_ide.h"
#include "runtime/vb/error.h"

namespace vbide {

std::string MemoryCodeModule::Lines(long startLine, long count) {
  if (count < 0) RaiseIdeError(vb::kInvalidProcedureCall);
  if (count == 0) return "";
  if (startLine < 1 || startLine > CountOfLines()) RaiseIdeError(vb::kSubscriptOutOfRange);
  // Counted from the start line, so that no count overflows.
  long last = startLine - 1 + std::min(count, CountOfLines() - startLine + 1);
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
  std::vector<std::string> added = SplitInsertedText(text);
  lines_.insert(at, added.begin(), added.end());
}

void MemoryCodeModule::ReplaceLine(long line, const std::string& text) {
  if (line < 1 || line > CountOfLines()) RaiseIdeError(vb::kSubscriptOutOfRange);
  if (text.find_first_of("\r\n") != std::string::npos) RaiseIdeError(vb::kInvalidProcedureCall);
  lines_[static_cast<std::size_t>(line - 1)] = text;
}

void MemoryCodeModule::DeleteLines(long startLine, long count) {
  if (count < 0 || startLine < 1 || startLine > CountOfLines() + 1 ||
      count > CountOfLines() - startLine + 1)
    RaiseIdeError(vb::kSubscriptOutOfRange);
  lines_.erase(lines_.begin() + (startLine - 1), lines_.begin() + (startLine - 1 + count));
}

vb::Object<CodePane> MemoryVbe::ActiveCodePane() {
  if (active_.empty()) return nullptr;
  return vb::Object<CodePane>(modules_.at(active_).Pane);
}

vb::Object<VBComponent> MemoryVbe::SelectedVBComponent() {
  switch (selected_) {
    case Selected::kNone:
      return nullptr;
    case Selected::kNamed:
      return vb::Object<VBComponent>(modules_.at(selectedName_).Component);
    case Selected::kFollowActive:
      if (active_.empty()) return nullptr;
      return vb::Object<VBComponent>(modules_.at(active_).Component);
  }
  return nullptr;
}

std::shared_ptr<MemoryCodeModule> MemoryVbe::AddModule(const std::string& name,
                                                       std::vector<std::string> lines) {
  auto it = modules_.find(name);
  if (it != modules_.end()) {
    it->second.Code->SetAllLines(std::move(lines));
    return it->second.Code;
  }
  auto code = std::make_shared<MemoryCodeModule>(std::move(lines));
  modules_[name] =
      Module{code, std::make_shared<MemoryCodePane>(code), std::make_shared<MemoryComponent>(name)};
  return code;
}

std::shared_ptr<MemoryCodeModule> MemoryVbe::FindModule(const std::string& name) const {
  auto it = modules_.find(name);
  return it == modules_.end() ? nullptr : it->second.Code;
}

bool MemoryVbe::Activate(const std::string& name) {
  if (!modules_.count(name)) return false;
  active_ = name;
  return true;
}

bool MemoryVbe::SelectComponent(const std::string& name) {
  if (!modules_.count(name)) return false;
  selected_ = Selected::kNamed;
  selectedName_ = name;
  return true;
}

}  // namespace vbide
