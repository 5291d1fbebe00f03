#include "Check.h"

#include <cstdio>
#include <exception>

#include "Com.h"
#include "ComPtr.h"
#include "Digits.h"
#include "Errors.h"
#include "Utf.h"

namespace contract {

namespace {
int passed = 0;
int failed = 0;
}  // namespace

std::u16string TakeThreadErrorDescription() {
  IErrorInfo* raw = nullptr;
  if (GetErrorInfo(0, &raw) != S_OK || raw == nullptr)
    return {};
  auto info = platform::ComPtr<IErrorInfo>::Adopt(raw);
  BSTR text = nullptr;
  info->GetDescription(&text);
  std::u16string description = platform::BstrText(text);
  SysFreeString(text);
  return description;
}

void Expect(bool condition, std::string what) {
  if (!condition)
    throw CheckFailed{std::move(what)};
}

std::string Utf8(std::u16string_view text) {
  return quorvane::ToUtf8(text);
}

std::wstring Wide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

std::string Hex(long value) {
  return quorvane::AsciiUpperHex(static_cast<std::uint32_t>(value), 8);
}

void RunCase(const char* name, const std::function<void()>& body) {
  std::string failure;
  try {
    body();
  } catch (const CheckFailed& check) {
    failure = check.what;
  } catch (const quorvane::Exception& error) {
    failure = "unexpected error: " + Utf8(error.Message());
  } catch (const std::exception& error) {
    failure = std::string("unexpected exception: ") + error.what();
  }
  if (failure.empty()) {
    ++passed;
    std::printf("ok   %s\n", name);
  } else {
    ++failed;
    std::printf("FAIL %s: %s\n", name, failure.c_str());
  }
  std::fflush(stdout);
}

int Summary() {
  std::printf("%d passed, %d failed\n", passed, failed);
  std::fflush(stdout);
  return failed == 0 ? 0 : 1;
}

}  // namespace contract
