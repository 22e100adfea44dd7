// The little of COM that crosses the plugin boundary: class identifiers, reference-counted
// interfaces, class factories, and failures as HRESULTs carrying a VB error.
//
// The four exports of the add-in library are plain C functions; what they hand out are objects
// with IUnknown's shape, counted with AddRef/Release, so that the library can say truthfully
// whether it may be unloaded. Calls that the IDE makes into the add-in return an HRESULT and
// never throw: Guard turns a vb::Error into a failure code and keeps the error (number, source,
// description) for the caller, who reads it back with TakeError, as COM's error info does.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "runtime/vb/error.h"

namespace com {

using HRESULT = std::int32_t;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111u);
inline constexpr HRESULT SELFREG_E_CLASS = static_cast<HRESULT>(0x80040201u);

inline bool Failed(HRESULT hr) {
  return hr < 0;
}

struct Guid {
  std::uint32_t Data1 = 0;
  std::uint16_t Data2 = 0;
  std::uint16_t Data3 = 0;
  std::uint8_t Data4[8] = {};

  friend bool operator==(const Guid& a, const Guid& b);
};
using IID = Guid;
using CLSID = Guid;

// "{8B4D2E61-0F3C-4A57-9C1E-2D6B5A7F3E10}", upper case, braced.
std::string ToString(const Guid& g);
// Reads the braced form (either case); nullopt when malformed.
std::optional<Guid> ParseGuid(const std::string& text);

class IUnknown {
 public:
  virtual HRESULT QueryInterface(const IID& iid, void** object) = 0;
  virtual unsigned long AddRef() = 0;
  virtual unsigned long Release() = 0;

 protected:
  ~IUnknown() = default;
};

class IClassFactory : public IUnknown {
 public:
  virtual HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) = 0;
  virtual HRESULT LockServer(bool lock) = 0;

 protected:
  ~IClassFactory() = default;
};

extern const IID IID_IUnknown;
extern const IID IID_IClassFactory;

// Holds one reference to a COM object and releases it when dropped.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already owns.
  static ComPtr Attach(T* p) {
    ComPtr c;
    c.p_ = p;
    return c;
  }
  ComPtr(const ComPtr& o) : p_(o.p_) {
    if (p_) p_->AddRef();
  }
  ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ComPtr& operator=(ComPtr o) {
    std::swap(p_, o.p_);
    return *this;
  }
  ~ComPtr() { Reset(); }

  void Reset() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  T* get() const { return p_; }
  T* operator->() const {
    if (!p_) throw vb::RuntimeError(vb::kObjectNotSet);
    return p_;
  }
  explicit operator bool() const { return p_ != nullptr; }
  // For out parameters: releases what is held and gives the slot.
  T** Receive() {
    Reset();
    return &p_;
  }

  // QueryInterface for U; empty when the object does not have it.
  template <class U>
  ComPtr<U> As(const IID& iid) const {
    ComPtr<U> out;
    if (p_) p_->QueryInterface(iid, reinterpret_cast<void**>(out.Receive()));
    return out;
  }

 private:
  T* p_ = nullptr;
};

// The HRESULT of a VB error, as VB reports its run-time errors to COM callers.
HRESULT HResultOf(long number);
// The VB error number inside such an HRESULT, or the HRESULT itself for other failures.
long ErrorNumberOf(HRESULT hr);

// Keeps the error of a failing call for its caller and returns its HRESULT.
HRESULT SetError(const vb::Error& error);
// The error kept by the last failing call (a generic one when none was kept), and forgets it.
vb::Error TakeError(HRESULT hr);

// Runs f; a vb::Error or any other exception becomes a failure HRESULT with its error kept.
template <class F>
HRESULT Guard(F&& f) noexcept {
  try {
    f();
    return S_OK;
  } catch (const vb::Error& e) {
    return SetError(e);
  } catch (const std::exception& e) {
    return SetError(
        vb::Error(51, vb::DefaultErrorSource(), std::string("Internal error: ") + e.what()));
  } catch (...) {
    return SetError(vb::Error(51, vb::DefaultErrorSource(), "Internal error"));
  }
}

}  // namespace com
