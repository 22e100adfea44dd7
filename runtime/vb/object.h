// An object variable: a shared reference that may be Nothing.
//
// Using a Nothing reference (->, *) raises run-time error 91, "Object variable or With block
// variable not set", exactly where a VB program would fail. Copies share the object; the object
// goes away when the last reference is dropped (set to Nothing), which is how the add-in releases
// databases, recordsets and host objects.
#pragma once

#include <cstddef>
#include <memory>
#include <type_traits>
#include <utility>

#include "runtime/vb/error.h"

namespace vb {

[[noreturn]] void RaiseObjectNotSet();

template <class T>
class Object {
 public:
  Object() = default;
  Object(std::nullptr_t) {}
  Object(std::shared_ptr<T> p) : p_(std::move(p)) {}
  template <class U>
  requires std::is_convertible_v<U*, T*> Object(const Object<U>& other) : p_(other.shared()) {}

  T* operator->() const { return &**this; }
  T& operator*() const {
    if (!p_) RaiseObjectNotSet();
    return *p_;
  }

  bool IsNothing() const { return p_ == nullptr; }
  void SetNothing() { p_.reset(); }
  T* get() const { return p_.get(); }
  const std::shared_ptr<T>& shared() const { return p_; }

  // VB's Is: the same object.
  template <class U>
  bool Is(const Object<U>& other) const {
    return static_cast<const void*>(p_.get()) == static_cast<const void*>(other.get());
  }

 private:
  std::shared_ptr<T> p_;
};

template <class T, class... Args>
Object<T> New(Args&&... args) {
  return Object<T>(std::make_shared<T>(std::forward<Args>(args)...));
}

// A checked downcast; Nothing when the object is not a T.
template <class T, class U>
Object<T> ObjectCast(const Object<U>& o) {
  return Object<T>(std::dynamic_pointer_cast<T>(o.shared()));
}

}  // namespace vb
