// The class table: class objects that servers register, and the objects made from them.
#include <mutex>
#include <vector>

#include "Com.h"

namespace {

struct Registration {
  CLSID clsid;
  IUnknown* classObject;  // counted while registered
  DWORD context;
  DWORD cookie;
};

// Never destroyed: registrations may be revoked by objects that end after this file's statics.
struct ClassTable {
  std::mutex lock;
  std::vector<Registration> registrations;
  DWORD lastCookie = 0;
};
ClassTable& Table() {
  static ClassTable* table = new ClassTable;
  return *table;
}

// The newest registration of the class that serves a request in the given context, counted up.
IUnknown* FindClassObject(REFCLSID clsid, DWORD context) {
  ClassTable& table = Table();
  std::lock_guard<std::mutex> lock(table.lock);
  for (auto it = table.registrations.rbegin(); it != table.registrations.rend(); ++it) {
    if (it->clsid == clsid && (it->context & context) != 0) {
      it->classObject->AddRef();
      return it->classObject;
    }
  }
  return nullptr;
}

}  // namespace

HRESULT CoRegisterClassObject(REFCLSID rclsid, IUnknown* pUnk, DWORD dwClsContext, DWORD /*flags*/,
                              DWORD* lpdwRegister) {
  if (lpdwRegister == nullptr)
    return E_POINTER;
  *lpdwRegister = 0;
  if (pUnk == nullptr)
    return E_INVALIDARG;
  pUnk->AddRef();
  ClassTable& table = Table();
  std::lock_guard<std::mutex> lock(table.lock);
  const DWORD cookie = ++table.lastCookie;
  table.registrations.push_back({rclsid, pUnk, dwClsContext, cookie});
  *lpdwRegister = cookie;
  return S_OK;
}

HRESULT CoRevokeClassObject(DWORD dwRegister) {
  IUnknown* revoked = nullptr;
  {
    ClassTable& table = Table();
    std::lock_guard<std::mutex> lock(table.lock);
    for (auto it = table.registrations.begin(); it != table.registrations.end(); ++it) {
      if (it->cookie == dwRegister) {
        revoked = it->classObject;
        table.registrations.erase(it);
        break;
      }
    }
  }
  if (revoked == nullptr)
    return CO_E_OBJNOTREG;
  // Released outside the lock: the class object's end may call back into the runtime.
  revoked->Release();
  return S_OK;
}

namespace platform {

bool IsClassRegistered(const CLSID& clsid) {
  IUnknown* classObject = FindClassObject(clsid, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER);
  if (classObject == nullptr)
    return false;
  classObject->Release();
  return true;
}

std::u16string RegisteredServerModule(const CLSID& /*clsid*/) {
  return {};
}

HRESULT CreateInstanceOnMachine(REFCLSID /*clsid*/, std::u16string_view /*machine*/,
                                REFIID /*riid*/, void** object) {
  // This runtime has no other machine to ask.
  if (object == nullptr)
    return E_POINTER;
  *object = nullptr;
  return E_NOTIMPL;
}

}  // namespace platform

HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid,
                         LPVOID* ppv) {
  if (ppv == nullptr)
    return E_POINTER;
  *ppv = nullptr;
  IUnknown* classObject = FindClassObject(rclsid, dwClsContext);
  if (classObject == nullptr)
    return REGDB_E_CLASSNOTREG;
  IClassFactory* factory = nullptr;
  HRESULT hr = classObject->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(&factory));
  classObject->Release();
  if (FAILED(hr))
    return hr;
  if (factory == nullptr)
    return E_NOINTERFACE;
  hr = factory->CreateInstance(pUnkOuter, riid, ppv);
  factory->Release();
  if (FAILED(hr))
    *ppv = nullptr;
  return hr;
}
