#pragma once
// A small check harness for a console program that runs where no test framework is installed:
// each case is a function; a case fails on its first unmet expectation or on any exception. The
// lines, the closing line "N passed, M failed" and the JUnit file are the check programs' report
// (report/CheckReport.h).

#include <filesystem>
#include <functional>
#include <optional>
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

// Runs one case, timed, and reports it under the group in force.
void RunCase(const char* name, const std::function<void()>& body);
// The group of the cases that follow, their class in the JUnit file.
void SetGroup(std::string group);
// Cases that this run leaves out, said and counted neither way.
void Skip(const std::string& name, const std::string& why);
// Prints the closing line and writes the JUnit file when one is asked for; the process's exit
// code: 0 when some case passed and none failed.
int Summary(const std::optional<std::filesystem::path>& junit);

}  // namespace contract
