// Registration of the server under its class id and program id, with its type library, as
// regsvr32 and the EXE's /RegServer ask for it.
#include "Registration.h"

#include <olectl.h>

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

// The application id is the class id: one class, one application.
std::wstring AppIdKey() {
  return L"AppID\\" + BracedGuid(quorvane::CLASS_CoQuorvaneAutomation);
}

std::wstring FileName(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
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

bool HasKey(const std::wstring& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
    return false;
  RegCloseKey(handle);
  return true;
}

void DeleteValue(const std::wstring& key, const wchar_t* name) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS)
    return;
  RegDeleteValueW(handle, name);
  RegCloseKey(handle);
}

void DeleteTree(const std::wstring& key) {
  RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
  RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
}

// Registers the embedded type library, which also registers the interface with the automation
// marshaler for calls across apartments and processes. Gives the library id, empty on failure.
std::wstring RegisterTypeLibrary(const std::wstring& path) {
  ITypeLib* library = nullptr;
  if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_REGISTER, &library)))
    return {};
  TLIBATTR* attributes = nullptr;
  std::wstring libraryId;
  if (SUCCEEDED(library->GetLibAttr(&attributes))) {
    libraryId = BracedGuid(attributes->guid);
    library->ReleaseTLibAttr(attributes);
  }
  library->Release();
  return libraryId;
}

void UnregisterTypeLibrary(const std::wstring& path) {
  ITypeLib* library = nullptr;
  if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library)))
    return;
  TLIBATTR* attributes = nullptr;
  if (SUCCEEDED(library->GetLibAttr(&attributes))) {
    UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                      attributes->lcid, attributes->syskind);
    library->ReleaseTLibAttr(attributes);
  }
  library->Release();
}

}  // namespace

HRESULT RegisterServer(ServerForm form, const std::wstring& arguments) {
  const std::wstring path = ModulePath();
  if (path.empty())
    return SELFREG_E_CLASS;
  // The type library first: the interface's marshaling comes from it.
  const std::wstring libraryId = RegisterTypeLibrary(path);
  if (libraryId.empty())
    return SELFREG_E_TYPELIB;
  const std::wstring classKey = ClassKey();
  const std::wstring classId = BracedGuid(quorvane::CLASS_CoQuorvaneAutomation);
  bool written = SetText(classKey, nullptr, kDescription) &&
                 SetText(classKey + L"\\ProgID", nullptr, kProgId) &&
                 SetText(classKey + L"\\TypeLib", nullptr, libraryId) &&
                 SetText(kProgId, nullptr, kDescription) &&
                 SetText(kProgId + L"\\CLSID", nullptr, classId);
  if (form == ServerForm::LocalServer) {
    const std::wstring command =
        L"\"" + path + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    written = written && SetText(classKey + L"\\LocalServer32", nullptr, command) &&
              SetText(classKey, L"AppID", classId) && SetText(AppIdKey(), nullptr, kDescription) &&
              SetText(L"AppID\\" + FileName(path), L"AppID", classId);
  } else {
    written = written && SetText(classKey + L"\\InprocServer32", nullptr, path) &&
              SetText(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    // The empty surrogate path names the system's own surrogate.
    if (form == ServerForm::Surrogate)
      written = written && SetText(classKey, L"AppID", classId) &&
                SetText(AppIdKey(), nullptr, kDescription) &&
                SetText(AppIdKey(), L"DllSurrogate", L"");
  }
  return written ? S_OK : SELFREG_E_CLASS;
}

HRESULT UnregisterServer(ServerForm form) {
  const std::wstring classKey = ClassKey();
  const std::wstring path = ModulePath();
  const bool local = form == ServerForm::LocalServer;
  if (local) {
    DeleteTree(classKey + L"\\LocalServer32");
    DeleteTree(L"AppID\\" + FileName(path));
  } else {
    DeleteTree(classKey + L"\\InprocServer32");
    DeleteValue(AppIdKey(), L"DllSurrogate");
  }
  // The other form still registered keeps the class, its program id and the type library.
  if (HasKey(classKey + (local ? L"\\InprocServer32" : L"\\LocalServer32")))
    return S_OK;
  DeleteTree(classKey);
  DeleteTree(kProgId);
  DeleteTree(AppIdKey());
  UnregisterTypeLibrary(path);
  return S_OK;
}

}  // namespace serverdll
