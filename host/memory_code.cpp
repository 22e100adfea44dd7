#include "host/memory_code.h"

#include <algorithm>

#include "host/memory_ide.h"
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
