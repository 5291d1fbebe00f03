#pragma once
// The server's keys in the registry, for each form it is used in: the DLL in process, the DLL in
// the system's surrogate, and the local-server EXE. The class, its program id and its type library
// are shared; a form's removal leaves them while the other form is still registered.

#include <string>

#include "Com.h"

namespace serverdll {

enum class ServerForm {
  InProcess,    // InprocServer32
  Surrogate,    // InprocServer32, and an AppID with DllSurrogate: out of process in dllhost
  LocalServer,  // LocalServer32 and an AppID
};

// Registers this module (ModulePath()) as the form; `arguments` follow the program's path in
// LocalServer32, before the runtime's -Embedding.
HRESULT RegisterServer(ServerForm form, const std::wstring& arguments = {});
HRESULT UnregisterServer(ServerForm form);

}  // namespace serverdll
