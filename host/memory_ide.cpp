#include "host/memory_ide.h"

namespace vbide {

std::shared_ptr<MemoryVbe> MemoryVbe::Create() {
  return std::shared_ptr<MemoryVbe>(new MemoryVbe());
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
