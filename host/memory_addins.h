// The add-in list of the in-memory IDE: the add-ins the IDE knows, by ProgID, and how often it
// was asked to read the list again.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/vbide.h"

namespace vbide {

class MemoryAddInList : public std::enable_shared_from_this<MemoryAddInList> {
 public:
  // The contract's Addins over this list; its calls raise 91 once the list is gone. ProgIDs
  // compare without regard to case.
  vb::Object<vbide::Addins> Addins();

  void List(const std::string& progId, const std::string& description);
  int Updates() const { return updates_; }

 private:
  class AddinsObject;

  std::vector<std::shared_ptr<AddIn>> addIns_;
  int updates_ = 0;
};

}  // namespace vbide
