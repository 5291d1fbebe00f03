// The runtime helpers that read the same on every backend: GUID text and BSTR <-> UTF-16 text.
#include <cstdio>

#include "Com.h"

namespace platform {

static_assert(sizeof(OLECHAR) == sizeof(char16_t), "BSTR characters are UTF-16 code units");

std::u16string GuidToString(const GUID& guid) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(guid.Data1), static_cast<unsigned>(guid.Data2),
                static_cast<unsigned>(guid.Data3), guid.Data4[0], guid.Data4[1], guid.Data4[2],
                guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  // The text is plain ASCII, so each byte is one code unit.
  return std::u16string(text, text + 38);
}

BSTR AllocBstr(std::u16string_view text) {
  if (text.empty())
    return nullptr;
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                           static_cast<UINT>(text.size()));
}

std::u16string BstrText(BSTR text) {
  if (text == nullptr)
    return {};
  return std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
}

}  // namespace platform
