// The add-in library's four in-process server exports, the only C entry points of
// libbrindlewick.so. Registration writes the ProgIDs "Brindlewick.Connect" and
// "Brindlewick.ToolWindow" with their class identifiers, the library path and the type library
// into the registry store of the installed platform.
#pragma once

#include "host/com.h"

#define BW_EXPORT extern "C" __attribute__((visibility("default")))

BW_EXPORT com::HRESULT DllRegisterServer();
BW_EXPORT com::HRESULT DllUnregisterServer();
BW_EXPORT com::HRESULT DllGetClassObject(const com::CLSID* clsid, const com::IID* iid,
                                         void** object);
BW_EXPORT com::HRESULT DllCanUnloadNow();

namespace bw {

extern const com::CLSID CLSID_Connect;
extern const com::CLSID CLSID_ToolWindow;
extern const com::Guid LIBID_Brindlewick;

}  // namespace bw
