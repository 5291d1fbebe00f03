#pragma once
// Runs quorvane-cli in process and keeps what it wrote and the exit status.

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "LocaleSettings.h"

namespace clitest {

struct Run {
  int status = -1;
  std::string out;
  std::string err;
};

// The arguments after the program name; the user's settings are kept as they were.
inline Run RunCli(std::vector<std::string> arguments, bool terminal = false) {
  quorvane::ScopedLocaleSettings keep(quorvane::CurrentLocaleSettings());
  arguments.insert(arguments.begin(), "quorvane-cli");
  std::ostringstream out, err;
  quorvane::cli::Console console{out, err, terminal, terminal};
  Run run;
  run.status = quorvane::cli::RunCli(arguments, console);
  run.out = out.str();
  run.err = err.str();
  return run;
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

// The check's closing line, e.g. "103 passed, 0 failed", and its two numbers.
inline bool SummaryOf(const std::string& out, int& passed, int& failed) {
  const std::vector<std::string> lines = Lines(out);
  std::smatch parts;
  static const std::regex summary(R"(^(\d+) passed, (\d+) failed$)");
  if (lines.empty() || !std::regex_match(lines.back(), parts, summary))
    return false;
  passed = std::stoi(parts[1]);
  failed = std::stoi(parts[2]);
  return true;
}

}  // namespace clitest
