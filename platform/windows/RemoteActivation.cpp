// Objects made on a named machine through the system's remote activation.

#include <string>

#include "Com.h"

namespace platform {

HRESULT CreateInstanceOnMachine(REFCLSID clsid, std::u16string_view machine, REFIID riid,
                                void** object) {
  if (object == nullptr)
    return E_POINTER;
  *object = nullptr;
  // The system reads the name up to its first NUL: a longer text would name another machine.
  if (machine.find(u'\0') != std::u16string_view::npos)
    return E_INVALIDARG;
  std::wstring name(machine.begin(), machine.end());
  COSERVERINFO server = {};
  server.pwszName = name.data();
  MULTI_QI query = {&riid, nullptr, S_OK};
  const HRESULT created = CoCreateInstanceEx(
      clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER, &server, 1,
      &query);
  if (FAILED(created))
    return created;
  if (FAILED(query.hr))
    return query.hr;
  *object = query.pItf;
  return created;
}

}  // namespace platform
