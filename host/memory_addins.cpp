#include "host/memory_ide.h"

#include <utility>

#include "runtime/vb/strings.h"

namespace vbide {
namespace {

class MemoryAddIn : public AddIn {
 public:
  MemoryAddIn(std::string progId, std::string description)
      : progId_(std::move(progId)), description_(std::move(description)) {}
  std::string ProgId() override { return progId_; }
  std::string Description() override { return description_; }
  bool Connect() override { return false; }

 private:
  std::string progId_;
  std::string description_;
};

}  // namespace

class MemoryVbe::AddinsObject : public vbide::Addins {
 public:
  explicit AddinsObject(std::weak_ptr<MemoryVbe> vbe) : vbe_(std::move(vbe)) {}
  long Count() override { return static_cast<long>(Vbe().addIns_.size()); }
  vb::Object<AddIn> Item(const std::string& progId) override {
    for (auto& a : Vbe().addIns_)
      if (vb::LCase(a->ProgId()) == vb::LCase(progId)) return vb::Object<AddIn>(a);
    RaiseIdeError(vb::kSubscriptOutOfRange);
  }
  void Update() override { ++Vbe().addInsUpdates_; }

 private:
  MemoryVbe& Vbe() {
    auto vbe = vbe_.lock();
    if (!vbe) RaiseIdeError(vb::kObjectNotSet);
    return *vbe;
  }
  std::weak_ptr<MemoryVbe> vbe_;
};

vb::Object<vbide::Addins> MemoryVbe::Addins() {
  return vb::New<AddinsObject>(weak_from_this());
}

void MemoryVbe::ListAddIn(const std::string& progId, const std::string& description) {
  addIns_.push_back(std::make_shared<MemoryAddIn>(progId, description));
}

}  // namespace vbide
