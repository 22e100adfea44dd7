// The library's COM objects: their reference counting, and the count of live objects and
// server locks that DllCanUnloadNow reports.
#pragma once

#include <atomic>

#include "host/com.h"

namespace bw {

// The live objects of this library and the server locks held.
inline std::atomic<long> LiveObjects{0};
inline std::atomic<long> ServerLocks{0};
// True when no object of this library is alive, no lock is held and no window is loaded.
bool CanUnloadNow();

// IUnknown for a class of this library implementing `Interface`: it starts with one reference
// (the creator's), deletes itself at the last Release, and counts as live meanwhile.
// QueryInterface answers IUnknown and the interface's own IID.
template <class Interface>
class ComObject : public Interface {
 public:
  explicit ComObject(const com::IID& iid) : iid_(iid) { ++LiveObjects; }
  virtual ~ComObject() { --LiveObjects; }
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  com::HRESULT QueryInterface(const com::IID& iid, void** object) override {
    if (!object) return com::E_POINTER;
    if (iid == com::IID_IUnknown || iid == iid_) {
      AddRef();
      *object = static_cast<Interface*>(this);
      return com::S_OK;
    }
    *object = nullptr;
    return com::E_NOINTERFACE;
  }
  unsigned long AddRef() override { return ++refs_; }
  unsigned long Release() override {
    unsigned long n = --refs_;
    if (n == 0) delete this;
    return n;
  }

 private:
  const com::IID& iid_;
  std::atomic<unsigned long> refs_{1};
};

}  // namespace bw
