// Registration of the server under its class id and program id, with its type library, as
// regsvr32 asks for it.

#include "Com.h"

#include <olectl.h>

#include <string>

#include "QuorvaneInterface.h"
#include "ServerModule.h"

namespace serverdll {

namespace {

const std::wstring kProgId(quorvane::kProgramId.begin(), quorvane::kProgramId.end());
const std::wstring kDescription(quorvane::kServerName.begin(), quorvane::kServerName.end());

std::wstring BracedGuid(REFGUID guid) {
  wchar_t text[40];
  const int length = StringFromGUID2(guid, text, 40);
  return std::wstring(text, length > 0 ? length - 1 : 0);
}

std::wstring ClassKey() {
  return L"CLSID\\" + BracedGuid(quorvane::CLASS_CoQuorvaneAutomation);
}

// Writes a text value (the key's default one when name is null), creating the key as needed.
bool SetText(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
    return false;
  const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  const LSTATUS status =
      RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
  RegCloseKey(handle);
  return status == ERROR_SUCCESS;
}

void DeleteTree(const std::wstring& key) {
  RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
  RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
}

}  // namespace

}  // namespace serverdll

STDAPI DllRegisterServer() {
  using namespace serverdll;
  const std::wstring path = ModulePath();
  if (path.empty())
    return SELFREG_E_CLASS;
  // The type library first: it also registers the interface for calls across apartments.
  ITypeLib* library = nullptr;
  HRESULT status = LoadTypeLibEx(path.c_str(), REGKIND_REGISTER, &library);
  if (FAILED(status))
    return SELFREG_E_TYPELIB;
  TLIBATTR* attributes = nullptr;
  std::wstring libraryId;
  if (SUCCEEDED(library->GetLibAttr(&attributes))) {
    libraryId = BracedGuid(attributes->guid);
    library->ReleaseTLibAttr(attributes);
  }
  library->Release();

  const std::wstring classKey = ClassKey();
  const bool written =
      SetText(classKey, nullptr, kDescription) &&
      SetText(classKey + L"\\InprocServer32", nullptr, path) &&
      SetText(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
      SetText(classKey + L"\\ProgID", nullptr, kProgId) &&
      SetText(classKey + L"\\TypeLib", nullptr, libraryId) &&
      SetText(kProgId, nullptr, kDescription) &&
      SetText(kProgId + L"\\CLSID", nullptr, BracedGuid(quorvane::CLASS_CoQuorvaneAutomation));
  return written ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer() {
  using namespace serverdll;
  DeleteTree(ClassKey());
  DeleteTree(kProgId);
  ITypeLib* library = nullptr;
  if (SUCCEEDED(LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, &library))) {
    TLIBATTR* attributes = nullptr;
    if (SUCCEEDED(library->GetLibAttr(&attributes))) {
      UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                        attributes->lcid, attributes->syskind);
      library->ReleaseTLibAttr(attributes);
    }
    library->Release();
  }
  return S_OK;
}
