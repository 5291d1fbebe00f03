// Whether the runtime is Wine's, whose channel leaves error information behind in the server.
#include "Com.h"

namespace platform {

bool ErrorInfoCrossesProcesses() {
  // Wine's ntdll names itself by this export; Windows' has none.
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll == nullptr || GetProcAddress(ntdll, "wine_get_version") == nullptr;
}

}  // namespace platform
