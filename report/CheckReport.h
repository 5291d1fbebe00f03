#pragma once
// One way for the check programs to report (quorvane-cli check, and the programs that
// scripts/test-windows runs under Wine): one line per check, the closing line "N passed, M failed"
// that the script reads, and the same results as a JUnit XML file for CI. Plain C++20, so that
// programs cross-built for Windows without a test framework use it as they are.
//
// A check's line: "PASS" or "FAIL", the time it measured ("%9.3f ms", blank when it measured
// none), two spaces, its name, and ": " with the detail when there is one. A check that cannot run
// is a "SKIP" line, counted neither way and left out of the JUnit file.

#include <chrono>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quorvane::report {

struct CheckResult {
  std::string name;
  bool passed = false;
  // On a pass what the check found, on a failure why it failed.
  std::string detail;
  // What the check timed (for quorvane-cli check, the server's time for the call), if anything.
  std::optional<double> milliseconds;
  // The JUnit class name: what the check belongs to (an operation, a group of cases); the suite's
  // name when empty.
  std::string group;
};

class CheckReport {
 public:
  // Lines go to `out` as they come, each flushed, so that a program that crashes keeps them.
  CheckReport(std::string suite, std::ostream& out);

  // Writes the check's line and counts it. Line ends and other control characters in its name or
  // detail become blanks: each check stays one line.
  void Add(CheckResult result);
  void Check(bool passed, std::string name, std::string detail = {}, std::string group = {});
  void Skip(const std::string& name, const std::string& why);

  // Writes the closing line; when `junit` names a file, writes the JUnit XML there too (a file
  // that cannot be written is said on the next line and fails the run). Gives the exit status: 0
  // when some check passed and none failed, else 1.
  int Finish(const std::optional<std::filesystem::path>& junit = std::nullopt);

  int Passed() const { return passed_; }
  int Failed() const { return failed_; }
  const std::vector<CheckResult>& Results() const { return results_; }

  void WriteJUnit(std::ostream& out) const;
  bool WriteJUnitFile(const std::filesystem::path& file) const;

 private:
  std::string suite_;
  std::ostream& out_;
  std::vector<CheckResult> results_;
  int passed_ = 0;
  int failed_ = 0;
  std::chrono::steady_clock::time_point started_;
  double seconds_ = 0;
};

// Takes "--junit FILE" out of a program's arguments (argc shrinks and argv closes up), so that the
// rest reads as before; gives FILE, or nothing when the option is not there.
std::optional<std::filesystem::path> TakeJUnitOption(int& argc, char** argv);
std::optional<std::filesystem::path> TakeJUnitOption(int& argc, wchar_t** argv);

}  // namespace quorvane::report
