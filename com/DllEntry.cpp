// The DLL's entry points: the class object the runtime asks for, and whether it may unload.

#include <cwchar>

#include "AutomationObject.h"
#include "ComObject.h"
#include "QuorvaneInterface.h"
#include "ReferenceServer.h"
#include "Registration.h"
#include "ServerModule.h"

namespace serverdll {

namespace {

// The one class object of the DLL: static, so its references and locks only guard the module.
platform::ClassObject classFactory(
    AutomationObject::Create,
    [](int change) {
      if (change > 0)
        AddModuleReference();
      else
        ReleaseModuleReference();
    },
    true);

}  // namespace

}  // namespace serverdll

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    serverdll::SetModule(instance);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* object) {
  if (object == nullptr)
    return E_POINTER;
  *object = nullptr;
  if (!IsEqualCLSID(rclsid, quorvane::CLASS_CoQuorvaneAutomation))
    return CLASS_E_CLASSNOTAVAILABLE;
  return serverdll::classFactory.QueryInterface(riid, object);
}

STDAPI DllCanUnloadNow() {
  const bool inUse = serverdll::ModuleInUse() || quorvane::server::ReferenceServerUseCount() > 0;
  return inUse ? S_FALSE : S_OK;
}

STDAPI DllRegisterServer() {
  return serverdll::RegisterServer(serverdll::ServerForm::InProcess);
}

STDAPI DllUnregisterServer() {
  return serverdll::UnregisterServer(serverdll::ServerForm::InProcess);
}

// regsvr32 /i:surrogate also registers the DLL for the system's surrogate, so that a client of
// the other bitness reaches it out of process; regsvr32 /u /i:surrogate removes it again.
STDAPI DllInstall(BOOL install, LPCWSTR commandLine) {
  if (commandLine == nullptr || _wcsicmp(commandLine, L"surrogate") != 0)
    return E_INVALIDARG;
  return install ? serverdll::RegisterServer(serverdll::ServerForm::Surrogate)
                 : serverdll::UnregisterServer(serverdll::ServerForm::Surrogate);
}
