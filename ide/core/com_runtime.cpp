#include "ide/core/com_runtime.h"

#include <dlfcn.h>

#include <cstdint>
#include <fstream>
#include <optional>

#include "runtime/platform.h"

namespace ide {
namespace {

// What an ELF file is built for: its word size and its machine.
struct ElfTarget {
  int Bits;
  unsigned Machine;
  bool operator==(const ElfTarget&) const = default;
};

// The target of the ELF file at `path`; nothing when it is no ELF file.
std::optional<ElfTarget> ReadElfTarget(const std::string& path) {
  unsigned char h[20] = {};
  std::ifstream in(path, std::ios::binary);
  if (!in.read(reinterpret_cast<char*>(h), sizeof h)) return std::nullopt;
  if (h[0] != 0x7F || h[1] != 'E' || h[2] != 'L' || h[3] != 'F') return std::nullopt;
  bool little = h[5] == 1;  // the byte order of the fields that follow
  unsigned machine = little ? h[18] | h[19] << 8 : h[18] << 8 | h[19];
  return ElfTarget{h[4] == 2 ? 64 : 32, machine};
}

std::string Describe(const ElfTarget& t) {
  static const std::pair<unsigned, const char*> kMachines[] = {
      {2, "SPARC"},       {3, "i386"},     {8, "MIPS"},       {20, "PowerPC"},
      {21, "PowerPC 64"}, {22, "S/390"},   {40, "ARM"},       {62, "x86-64"},
      {183, "AArch64"},   {243, "RISC-V"}, {258, "LoongArch"}};
  std::string name = "machine " + std::to_string(t.Machine);
  for (const auto& [number, text] : kMachines)
    if (number == t.Machine) name = text;
  return std::to_string(t.Bits) + "-bit " + name;
}

// Why the library at `path` cannot be loaded into this program, when it is built for another
// architecture (the loader itself says only that it cannot open the file); empty otherwise.
std::string ForeignArchitecture(const std::string& path) {
  static const std::optional<ElfTarget> self = ReadElfTarget("/proc/self/exe");
  std::optional<ElfTarget> library = ReadElfTarget(path);
  if (!self || !library || *self == *library) return {};
  return "it is built for another architecture (" + Describe(*library) + ") than this program (" +
         Describe(*self) + ")";
}

}  // namespace

void ComRuntime::Fail(const std::string& why) {
  lastError_ = why;
  throw vb::Error(429, "ComRuntime", vb::StandardDescription(429));
}

ComRuntime::Library& ComRuntime::Load(const std::string& path) {
  auto it = libraries_.find(path);
  if (it != libraries_.end()) return it->second;
  // dlopen("") would give this program itself.
  if (path.empty()) Fail("cannot load a library from an empty path");
  if (std::string why = ForeignArchitecture(path); !why.empty())
    Fail("cannot load " + path + ": " + why);
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
  std::string key = "CLSID\\" + *clsidText + "\\InprocServer32";
  auto path = reg.GetValue(key, "");
  if (!path) Fail("no library is registered for " + *clsidText);
  if (path->empty()) Fail("the library path of " + progId + " is empty (" + key + ")");
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
