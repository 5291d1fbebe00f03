#include "ServerModule.h"

#include <atomic>

#include "QuorvaneInterface.h"
#include "ServerHost.h"

namespace serverdll {

namespace {

HMODULE module_ = nullptr;
std::atomic<long> moduleReferences_{0};
void (*lastReleased_)() = nullptr;
ServerHost* host_ = nullptr;

platform::ComPtr<ITypeInfo> LoadInterfaceTypeInfo() {
  platform::ComPtr<ITypeLib> library;
  if (FAILED(LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, library.Put())))
    return nullptr;
  platform::ComPtr<ITypeInfo> info;
  if (FAILED(library->GetTypeInfoOfGuid(quorvane::IID_IQuorvaneAutomation, info.Put())))
    return nullptr;
  // A dual interface is found as its dispatch view; calls must go through the vtable view.
  TYPEATTR* attributes = nullptr;
  if (FAILED(info->GetTypeAttr(&attributes)))
    return nullptr;
  const TYPEKIND kind = attributes->typekind;
  info->ReleaseTypeAttr(attributes);
  if (kind != TKIND_DISPATCH)
    return info;
  HREFTYPE vtableView = 0;
  platform::ComPtr<ITypeInfo> vtableInfo;
  if (FAILED(info->GetRefTypeOfImplType(-1, &vtableView)) ||
      FAILED(info->GetRefTypeInfo(vtableView, vtableInfo.Put())))
    return nullptr;
  return vtableInfo;
}

}  // namespace

HMODULE Module() {
  return module_;
}

void SetModule(HMODULE module) {
  module_ = module;
}

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(module_, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0)
      return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void AddModuleReference() {
  ++moduleReferences_;
}

void ReleaseModuleReference() {
  if (--moduleReferences_ == 0 && lastReleased_ != nullptr)
    lastReleased_();
}

void SetLastReleaseAction(void (*action)()) {
  lastReleased_ = action;
}

long ModuleReferences() {
  return moduleReferences_;
}

ServerHost* Host() {
  return host_;
}

void SetHost(ServerHost* host) {
  host_ = host;
}

bool ModuleInUse() {
  return moduleReferences_ > 0;
}

platform::ComPtr<ITypeInfo> InterfaceTypeInfo() {
  // Loaded once, on the first dispatch call, and never released: releasing it while the DLL is
  // detached at process end would call into a runtime that may be gone already.
  static const auto* info = new platform::ComPtr<ITypeInfo>(LoadInterfaceTypeInfo());
  return *info;
}

}  // namespace serverdll
