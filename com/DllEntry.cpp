// The DLL's entry points: the class object the runtime asks for, and whether it may unload.

#include <atomic>

#include "AutomationObject.h"
#include "ComObject.h"
#include "QuorvaneInterface.h"
#include "ReferenceServer.h"
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
