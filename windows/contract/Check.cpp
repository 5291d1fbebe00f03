#include "Check.h"

#include <cstdio>
#include <exception>

#include "Errors.h"
#include "Utf.h"

namespace contract {

namespace {
int passed = 0;
int failed = 0;
}  // namespace

void Expect(bool condition, std::string what) {
  if (!condition)
    throw CheckFailed{std::move(what)};
}

std::string Utf8(std::u16string_view text) {
  return quorvane::ToUtf8(text);
}

std::string Hex(long value) {
  char text[16];
  std::snprintf(text, sizeof text, "%08lX", static_cast<unsigned long>(value) & 0xFFFFFFFFul);
  return text;
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
