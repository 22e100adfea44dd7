#include "addin/plugin.h"

#include <dlfcn.h>

#include <filesystem>

#include "addin/com_object.h"
#include "addin/connect.h"
#include "addin/toolwindow.h"
#include "runtime/platform.h"
#include "services/names.h"

namespace bw {

const com::CLSID CLSID_Connect = {
    0x4F1B8C2A, 0x7D3E, 0x4A61, {0xB9, 0xF0, 0x2C, 0x5E, 0x8D, 0x7A, 0x1B, 0x36}};
const com::CLSID CLSID_ToolWindow = {
    0x9A2D6E4B, 0x1C7F, 0x4B83, {0xA5, 0xD2, 0x6E, 0x0F, 0x3B, 0x9C, 0x8D, 0x17}};
const com::Guid LIBID_Brindlewick = {
    0xC3E7A915, 0x5B2D, 0x4F08, {0x8E, 0x6A, 0x1D, 0x4B, 0x7C, 0x2F, 0x9A, 0x50}};

namespace {

// The version resource: what App.FileDescription and App.Title read, set when the library loads.
const bool kVersionInstalled = (vb::SetVersionInfo(kVersionInfo), true);

struct ClassInfo {
  const com::CLSID* Clsid;
  const char* ProgId;
  const char* Description;
  com::IUnknown* (*Create)();
};

const ClassInfo kClasses[] = {
    {&CLSID_Connect, kConnectProgId, kConnectDescription,
     [] { return static_cast<com::IUnknown*>(new Connect()); }},
    {&CLSID_ToolWindow, kToolWindowProgId, kToolWindowProgId,
     [] { return static_cast<com::IUnknown*>(new ToolWindowDocument()); }},
};

class ClassFactory final : public ComObject<com::IClassFactory> {
 public:
  explicit ClassFactory(const ClassInfo& info) : ComObject(com::IID_IClassFactory), info_(info) {}

  com::HRESULT CreateInstance(com::IUnknown* outer, const com::IID& iid, void** object) override {
    if (!object) return com::E_POINTER;
    *object = nullptr;
    if (outer) return com::CLASS_E_NOAGGREGATION;
    com::IUnknown* created = nullptr;
    com::HRESULT hr = com::Guard([&] { created = info_.Create(); });
    if (com::Failed(hr)) return hr;
    hr = created->QueryInterface(iid, object);
    created->Release();
    return hr;
  }
  com::HRESULT LockServer(bool lock) override {
    lock ? ++ServerLocks : --ServerLocks;
    return com::S_OK;
  }

 private:
  const ClassInfo& info_;
};

std::string LibraryPath() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&DllGetClassObject), &info) || !info.dli_fname) return "";
  std::error_code ec;
  auto path = std::filesystem::absolute(info.dli_fname, ec);
  return ec ? std::string(info.dli_fname) : path.lexically_normal().string();
}

}  // namespace
}  // namespace bw

BW_EXPORT com::HRESULT DllRegisterServer() {
  return com::Guard([] {
    rt::RegistryStore& reg = rt::CurrentPlatform().Registry();
    const std::string path = bw::LibraryPath();
    const std::string libid = com::ToString(bw::LIBID_Brindlewick);
    for (const bw::ClassInfo& c : bw::kClasses) {
      const std::string clsid = com::ToString(*c.Clsid);
      reg.SetValue(c.ProgId, "", c.Description);
      reg.SetValue(std::string(c.ProgId) + "\\Clsid", "", clsid);
      reg.SetValue("CLSID\\" + clsid, "", c.Description);
      reg.SetValue("CLSID\\" + clsid + "\\ProgID", "", c.ProgId);
      reg.SetValue("CLSID\\" + clsid + "\\InprocServer32", "", path);
      reg.SetValue("CLSID\\" + clsid + "\\TypeLib", "", libid);
    }
    reg.SetValue("TypeLib\\" + libid + "\\1.0", "", bw::kProductName);
    reg.SetValue("TypeLib\\" + libid + "\\1.0\\0\\linux", "", path);
  });
}

BW_EXPORT com::HRESULT DllUnregisterServer() {
  return com::Guard([] {
    rt::RegistryStore& reg = rt::CurrentPlatform().Registry();
    for (const bw::ClassInfo& c : bw::kClasses) {
      reg.DeleteTree(c.ProgId);
      reg.DeleteTree("CLSID\\" + com::ToString(*c.Clsid));
    }
    reg.DeleteTree("TypeLib\\" + com::ToString(bw::LIBID_Brindlewick));
  });
}

BW_EXPORT com::HRESULT DllGetClassObject(const com::CLSID* clsid, const com::IID* iid,
                                         void** object) {
  if (!clsid || !iid || !object) return com::E_POINTER;
  *object = nullptr;
  for (const bw::ClassInfo& c : bw::kClasses) {
    if (!(*c.Clsid == *clsid)) continue;
    auto* factory = new bw::ClassFactory(c);
    com::HRESULT hr = factory->QueryInterface(*iid, object);
    factory->Release();
    return hr;
  }
  return com::CLASS_E_CLASSNOTAVAILABLE;
}

BW_EXPORT com::HRESULT DllCanUnloadNow() {
  return bw::CanUnloadNow() ? com::S_OK : com::S_FALSE;
}
