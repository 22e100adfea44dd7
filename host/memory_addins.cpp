#include "host/memory_addins.h"

#include <utility>

#include "runtime/vb/error.h"
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

class MemoryAddInList::AddinsObject : public vbide::Addins {
 public:
  explicit AddinsObject(std::weak_ptr<MemoryAddInList> list) : list_(std::move(list)) {}
  long Count() override { return static_cast<long>(Owner().addIns_.size()); }
  vb::Object<AddIn> Item(const std::string& progId) override {
    for (auto& a : Owner().addIns_)
      if (vb::LCase(a->ProgId()) == vb::LCase(progId)) return vb::Object<AddIn>(a);
    RaiseIdeError(vb::kSubscriptOutOfRange);
  }
  void Update() override { ++Owner().updates_; }

 private:
  MemoryAddInList& Owner() {
    auto list = list_.lock();
    if (!list) RaiseIdeError(vb::kObjectNotSet);
    return *list;
  }
  std::weak_ptr<MemoryAddInList> list_;
};

vb::Object<vbide::Addins> MemoryAddInList::Addins() {
  return vb::New<AddinsObject>(weak_from_this());
}

void MemoryAddInList::List(const std::string& progId, const std::string& description) {
  addIns_.push_back(std::make_shared<MemoryAddIn>(progId, description));
}

}  // namespace vbide
