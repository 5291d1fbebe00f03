// Registration through the server DLL's own entry points, as regsvr32 calls them, so that one
// program start can check the registered and the unregistered server.

#include <string>

#include "Cases.h"
#include "Check.h"
#include "Com.h"

namespace contract {

namespace {

// The server DLL in the folder of this program.
std::wstring ServerDllBesideProgram() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0)
      return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L'\\') + 1) + L"QuorvaneServer.dll";
}

}  // namespace

void RunRegistration(const char* entryPoint) {
  RunCase((std::string(entryPoint) + " of the DLL beside the program").c_str(), [entryPoint] {
    const std::wstring path = ServerDllBesideProgram();
    HMODULE dll = LoadLibraryW(path.c_str());
    Expect(dll != nullptr, "the DLL loads: error " + std::to_string(GetLastError()));
    using Entry = HRESULT(STDAPICALLTYPE*)();
    auto entry =
        reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(GetProcAddress(dll, entryPoint)));
    const HRESULT status = entry != nullptr ? entry() : E_NOTIMPL;
    FreeLibrary(dll);
    Expect(status == S_OK, std::string(entryPoint) + " answers " + Hex(status));
  });
}

}  // namespace contract
