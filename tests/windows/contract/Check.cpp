#include "Check.h"

#include <chrono>
#include <exception>
#include <iostream>

#include "CheckReport.h"
#include "Com.h"
#include "ComPtr.h"
#include "Digits.h"
#include "Errors.h"
#include "Utf.h"

namespace contract {

namespace {

quorvane::report::CheckReport& Report() {
  static quorvane::report::CheckReport report("windows_contract_test", std::cout);
  return report;
}

std::string group;

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
  const auto started = std::chrono::steady_clock::now();
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
  const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - started;
  Report().Add({name, failure.empty(), failure, took.count(), group});
}

void SetGroup(std::string name) {
  group = std::move(name);
}

void Skip(const std::string& name, const std::string& why) {
  Report().Skip(name, why);
}

int Summary(const std::optional<std::filesystem::path>& junit) {
  return Report().Finish(junit);
}

}  // namespace contract
