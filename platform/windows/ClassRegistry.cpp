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

}  // namespace

bool IsClassRegistered(const CLSID& clsid) {
  const std::u16string braced = GuidToString(clsid);
  const std::wstring base = L"CLSID\\" + std::wstring(braced.begin(), braced.end()) + L"\\";
  // Only the registry is read: asking for the class object would load the server or start it.
  return HasKey(base + L"InprocServer32") || HasKey(base + L"LocalServer32");
}

}  // namespace platform
