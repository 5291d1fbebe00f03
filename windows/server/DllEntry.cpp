// The DLL's entry points: the class object the runtime asks for, and whether it may unload.

#include <atomic>

#include "AutomationObject.h"
#include "QuorvaneInterface.h"
#include "ReferenceServer.h"
#include "ServerModule.h"

namespace serverdll {

namespace {

// The one class object of the DLL: static, so its reference count only guards the module.
class ClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr)
      return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *object = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    AddModuleReference();
    return 2;
  }
  ULONG STDMETHODCALLTYPE Release() override {
    ReleaseModuleReference();
    return 1;
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
    if (object == nullptr)
      return E_POINTER;
    *object = nullptr;
    if (outer != nullptr)
      return CLASS_E_NOAGGREGATION;
    return AutomationObject::Create(riid, object);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock)
      AddModuleReference();
    else
      ReleaseModuleReference();
    return S_OK;
  }
};

ClassFactory classFactory;

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
