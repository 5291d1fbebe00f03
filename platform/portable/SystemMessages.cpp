// The system's message texts for the status codes that the runtime, its servers and its callers
// meet. Each ends with ".\r\n", as the system's own texts do.
#include <cstdint>

#include "Com.h"

namespace {

struct MessageEntry {
  std::uint32_t status;
  const char16_t* text;
};

constexpr MessageEntry kMessages[] = {
    {0x80004001, u"Not implemented.\r\n"},
    {0x80004002, u"No such interface supported.\r\n"},
    {0x80004003, u"Invalid pointer.\r\n"},
    {0x80004004, u"Operation aborted.\r\n"},
    {0x80004005, u"Unspecified error.\r\n"},
    {0x8000000A, u"The data necessary to complete this operation is not yet available.\r\n"},
    {0x8000FFFF, u"Catastrophic failure.\r\n"},
    {0x80010105, u"The server threw an exception.\r\n"},
    {0x80010106, u"Cannot change thread mode after it is set.\r\n"},
    {0x80010108, u"The object invoked has disconnected from its clients.\r\n"},
    {0x80020003, u"Member not found.\r\n"},
    {0x80020004, u"Parameter not found.\r\n"},
    {0x80020005, u"Type mismatch.\r\n"},
    {0x80020006, u"Unknown name.\r\n"},
    {0x80020009, u"Exception occurred.\r\n"},
    {0x8002000A, u"Out of present range.\r\n"},
    {0x8002000E, u"Invalid number of parameters.\r\n"},
    {0x80040110, u"Class does not support aggregation (or class object is remote).\r\n"},
    {0x80040111, u"ClassFactory cannot supply requested class.\r\n"},
    {0x80040154, u"Class not registered.\r\n"},
    {0x800401F0, u"CoInitialize has not been called.\r\n"},
    {0x800401FB, u"Object is not registered.\r\n"},
    {0x80070002, u"The system cannot find the file specified.\r\n"},
    {0x80070003, u"The system cannot find the path specified.\r\n"},
    {0x80070005, u"Access is denied.\r\n"},
    {0x80070006, u"The handle is invalid.\r\n"},
    {0x80070008, u"Not enough memory resources are available to process this command.\r\n"},
    {0x8007000D, u"The data is invalid.\r\n"},
    {0x8007000E, u"Not enough memory resources are available to complete this operation.\r\n"},
    {0x80070032, u"The request is not supported.\r\n"},
    {0x80070057, u"The parameter is incorrect.\r\n"},
    {0x800706BA, u"The RPC server is unavailable.\r\n"},
    {0x80080005, u"Server execution failed.\r\n"},
};

}  // namespace

namespace platform {

std::u16string SystemMessageText(HRESULT status) {
  const auto code = static_cast<std::uint32_t>(status);
  for (const MessageEntry& entry : kMessages) {
    if (entry.status == code)
      return entry.text;
  }
  return {};
}

}  // namespace platform
