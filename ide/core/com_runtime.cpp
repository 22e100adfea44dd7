#include "ide/core/com_runtime.h"

#include <dlfcn.h>

#include "runtime/platform.h"

namespace ide {

void ComRuntime::Fail(const std::string& why) {
  lastError_ = why;
  throw vb::Error(429, "ComRuntime", vb::StandardDescription(429));
}

ComRuntime::Library& ComRuntime::Load(const std::string& path) {
  auto it = libraries_.find(path);
  if (it != libraries_.end()) return it->second;
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) Fail(std::string("cannot load ") + path + ": " + dlerror());
  Library lib;
  lib.Handle = handle;
  lib.GetClassObject =
      reinterpret_cast<decltype(lib.GetClassObject)>(dlsym(handle, "DllGetClassObject"));
  lib.CanUnloadNow = reinterpret_cast<decltype(lib.CanUnloadNow)>(dlsym(handle, "DllCanUnloadNow"));
  if (!lib.GetClassObject) Fail(path + " has no DllGetClassObject");
  return libraries_[path] = lib;
}

void ComRuntime::CallExport(const std::string& path, const char* name) {
  Library& lib = Load(path);
  auto fn = reinterpret_cast<com::HRESULT (*)()>(dlsym(lib.Handle, name));
  if (!fn) Fail(path + " has no " + name);
  if (com::HRESULT hr = fn(); com::Failed(hr)) throw com::TakeError(hr);
}

com::ComPtr<com::IUnknown> ComRuntime::CreateObject(const std::string& progId) {
  rt::RegistryStore& reg = rt::CurrentPlatform().Registry();
  auto clsidText = reg.GetValue(progId + "\\Clsid", "");
  if (!clsidText) Fail("the class " + progId + " is not registered");
  auto clsid = com::ParseGuid(*clsidText);
  if (!clsid) Fail("the class identifier of " + progId + " is malformed: " + *clsidText);
  auto path = reg.GetValue("CLSID\\" + *clsidText + "\\InprocServer32", "");
  if (!path) Fail("no library is registered for " + *clsidText);
  Library& lib = Load(*path);

  com::ComPtr<com::IClassFactory> factory;
  com::HRESULT hr = lib.GetClassObject(&*clsid, &com::IID_IClassFactory,
                                       reinterpret_cast<void**>(factory.Receive()));
  if (com::Failed(hr) || !factory) Fail(*path + " does not serve " + *clsidText);
  com::ComPtr<com::IUnknown> object;
  hr = factory->CreateInstance(nullptr, com::IID_IUnknown,
                               reinterpret_cast<void**>(object.Receive()));
  if (com::Failed(hr)) throw com::TakeError(hr);
  return object;
}

bool ComRuntime::CanUnloadNow(const std::string& libraryPath) {
  auto it = libraries_.find(libraryPath);
  if (it == libraries_.end() || !it->second.CanUnloadNow) return false;
  return it->second.CanUnloadNow() == com::S_OK;
}

}  // namespace ide
