// Code modules of the in-memory IDE: a module's lines as a vector, its code pane with a selection,
// and its component in the project.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/vbide.h"

namespace vbide {

class MemoryCodeModule : public CodeModule {
 public:
  explicit MemoryCodeModule(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  std::string Lines(long startLine, long count) override;
  long CountOfLines() override { return static_cast<long>(lines_.size()); }
  void InsertLines(long line, const std::string& text) override;
  void ReplaceLine(long line, const std::string& text) override;
  void DeleteLines(long startLine, long count) override;

  const std::vector<std::string>& AllLines() const { return lines_; }
  void SetAllLines(std::vector<std::string> lines) { lines_ = std::move(lines); }

 private:
  std::vector<std::string> lines_;
};

class MemoryCodePane : public CodePane {
 public:
  explicit MemoryCodePane(std::shared_ptr<MemoryCodeModule> module) : module_(std::move(module)) {}
  Selection GetSelection() override { return selection_; }
  void SetSelection(const Selection& s) override { selection_ = s; }
  vb::Object<vbide::CodeModule> CodeModule() override {
    return vb::Object<vbide::CodeModule>(module_);
  }

 private:
  std::shared_ptr<MemoryCodeModule> module_;
  Selection selection_;
};

class MemoryComponent : public VBComponent {
 public:
  explicit MemoryComponent(std::string name) : name_(std::move(name)) {}
  std::string Name() override { return name_; }

 private:
  std::string name_;
};

}  // namespace vbide
