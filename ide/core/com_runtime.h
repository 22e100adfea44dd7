// COM activation for the IDE: in-process servers found through the registry by ProgID and
// loaded from their libraries, as the system does for the VB6 IDE.
//
// A ProgID leads to its class identifier ("<ProgID>\Clsid"), the class identifier to its library
// ("CLSID\{...}\InprocServer32"); the library is loaded once and asked for the class's factory
// with DllGetClassObject. Registration calls the library's DllRegisterServer, which writes into
// the registry store of the installed platform.
#pragma once

#include <map>
#include <string>

#include "host/com.h"
#include "host/vbide.h"

namespace ide {

class ComRuntime : public vbide::ObjectActivator {
 public:
  ComRuntime() = default;
  ComRuntime(const ComRuntime&) = delete;
  ComRuntime& operator=(const ComRuntime&) = delete;
  // Libraries stay loaded for the life of the process: their objects may still be referenced.
  ~ComRuntime() override = default;

  // Loads the library and calls its DllRegisterServer / DllUnregisterServer. Raises 429 when the
  // library cannot be loaded or lacks the export, or the error the library reports.
  void RegisterServer(const std::string& libraryPath) {
    CallExport(libraryPath, "DllRegisterServer");
  }
  void UnregisterServer(const std::string& libraryPath) {
    CallExport(libraryPath, "DllUnregisterServer");
  }

  // A new object of the class registered for `progId`. Raises 429 ("ActiveX component can't
  // create object") when the ProgID, class or library cannot be found or loaded; LastError()
  // then says why: an empty library path in the registry is named as such (never loaded as this
  // program itself), a library built for another architecture says for which.
  com::ComPtr<com::IUnknown> CreateObject(const std::string& progId) override;

  // Whether the library at that path says it may be unloaded (DllCanUnloadNow); false when not
  // loaded.
  bool CanUnloadNow(const std::string& libraryPath);

  const std::string& LastError() const { return lastError_; }

 private:
  struct Library {
    void* Handle = nullptr;
    com::HRESULT (*GetClassObject)(const com::CLSID*, const com::IID*, void**) = nullptr;
    com::HRESULT (*CanUnloadNow)() = nullptr;
  };
  Library& Load(const std::string& path);
  void CallExport(const std::string& path, const char* name);
  [[noreturn]] void Fail(const std::string& why);

  std::map<std::string, Library> libraries_;
  std::string lastError_;
};

}  // namespace ide
