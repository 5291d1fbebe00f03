#include "ServerCall.h"

#include <cstdint>
#include <new>
#include <utility>

#include "ComPtr.h"
#include "Digits.h"

namespace quorvane {

EServerCallError::EServerCallError(HRESULT errorCode, std::u16string message, std::u16string source,
                                   std::u16string helpFile, DWORD helpContext)
    : Exception(std::move(message)),
      errorCode_(errorCode),
      source_(std::move(source)),
      helpFile_(std::move(helpFile)),
      helpContext_(helpContext) {}

std::u16string TrimMessage(std::u16string_view text) {
  std::size_t length = text.size();
  while (length > 0 && (text[length - 1] <= u' ' || text[length - 1] == u'.'))
    --length;
  return std::u16string(text.substr(0, length));
}

std::u16string StatusMessage(HRESULT status) {
  std::u16string message = TrimMessage(platform::SystemMessageText(status));
  if (!message.empty())
    return message;
  return u"OLE error " + UpperHexText(static_cast<std::uint32_t>(status), 8);
}

namespace {

// Takes the text of a BSTR out-parameter and frees it.
std::u16string TakeText(BSTR text) {
  std::u16string result = platform::BstrText(text);
  SysFreeString(text);
  return result;
}

}  // namespace

void CheckStatus(HRESULT status) {
  if (SUCCEEDED(status))
    return;
  std::u16string description, source, helpFile;
  DWORD helpContext = 0;
  IErrorInfo* raw = nullptr;
  if (GetErrorInfo(0, &raw) == S_OK && raw != nullptr) {
    auto info = platform::ComPtr<IErrorInfo>::Adopt(raw);
    BSTR text = nullptr;
    if (SUCCEEDED(info->GetDescription(&text)))
      description = TakeText(text);
    text = nullptr;
    if (SUCCEEDED(info->GetSource(&text)))
      source = TakeText(text);
    text = nullptr;
    if (SUCCEEDED(info->GetHelpFile(&text)))
      helpFile = TakeText(text);
    if (FAILED(info->GetHelpContext(&helpContext)))
      helpContext = 0;
  }
  std::u16string message = TrimMessage(description);
  if (message.empty())
    message = StatusMessage(status);
  throw EServerCallError(status, std::move(message), std::move(source), std::move(helpFile),
                         helpContext);
}

BStrArg::BStrArg(std::u16string_view text) : value_(platform::AllocBstr(text)) {
  if (value_ == nullptr && !text.empty())
    throw std::bad_alloc();
}

BStrArg::~BStrArg() {
  SysFreeString(value_);
}

BStrResult::~BStrResult() {
  SysFreeString(value_);
}

BSTR* BStrResult::Put() {
  SysFreeString(value_);
  value_ = nullptr;
  return &value_;
}

std::u16string BStrResult::Text() const {
  return platform::BstrText(value_);
}

std::u16string_view BStrResult::View() const {
  if (value_ == nullptr)
    return {};
  return std::u16string_view(reinterpret_cast<const char16_t*>(value_), SysStringLen(value_));
}

}  // namespace quorvane
