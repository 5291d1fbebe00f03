// Whether the system registry names a server for a class.

#include <string>

#include "Com.h"

namespace platform {

namespace {

bool HasKey(const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

// The default value of a key, empty when it has none.
std::u16string DefaultValue(const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return {};
  wchar_t text[1024] = {};
  DWORD type = 0, size = sizeof text - sizeof(wchar_t);
  const LONG read =
      RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
  RegCloseKey(key);
  if (read != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
    return {};
  return std::u16string(reinterpret_cast<const char16_t*>(text));
}

std::wstring ClassKey(const CLSID& clsid) {
  const std::u16string braced = GuidToString(clsid);
  return L"CLSID\\" + std::wstring(braced.begin(), braced.end()) + L"\\";
}

}  // namespace

std::u16string RegisteredServerModule(const CLSID& clsid) {
  const std::u16string inproc = DefaultValue(ClassKey(clsid) + L"InprocServer32");
  return inproc.empty() ? DefaultValue(ClassKey(clsid) + L"LocalServer32") : inproc;
}

bool IsClassRegistered(const CLSID& clsid) {
  const std::wstring base = ClassKey(clsid);
  // Only the registry is read: asking for the class object would load the server or start it.
  return HasKey(base + L"InprocServer32") || HasKey(base + L"LocalServer32");
}

}  // namespace platform
