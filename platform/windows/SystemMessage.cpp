// The system's message text for a status code, from the system's message table.

#include "Com.h"

namespace platform {

std::u16string SystemMessageText(HRESULT status) {
  // Room for 256 characters with the terminator; FormatMessageW fails on a longer text, which
  // then counts as none, as does a status the table does not know.
  constexpr DWORD kRoom = 256;
  wchar_t buffer[kRoom];
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                     static_cast<DWORD>(status), 0, buffer, kRoom, nullptr);
  return std::u16string(buffer, buffer + length);
}

}  // namespace platform
