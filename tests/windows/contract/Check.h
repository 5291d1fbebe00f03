#pragma once
// A small check harness for a console program that runs where no test framework is installed:
// each case is a function; a case fails on its first unmet expectation or on any exception, and
// the run ends with the line "N passed, N failed".

#include <functional>
#include <string>
#include <string_view>

namespace contract {

// Raised by Expect; caught by RunCase, which reports the case as failed.
struct CheckFailed {
  std::string what;
};

// Ends the current case unless condition holds; what says what was expected, with the values.
void Expect(bool condition, std::string what);

// Text for messages.
std::string Utf8(std::u16string_view text);
// The system's wide text of a UTF-16 text (the same code units on Windows).
std::wstring Wide(std::u16string_view text);
std::string Hex(long value);

// The description of the error information left for the calling thread, which it takes (the
// thread has none afterwards); empty when there is none.
std::u16string TakeThreadErrorDescription();

void RunCase(const char* name, const std::function<void()>& body);
// Prints the summary line; the process's exit code: 0 when nothing failed.
int Summary();

}  // namespace contract
