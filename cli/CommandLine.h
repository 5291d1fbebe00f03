#pragma once
// The program: its own options, the locale settings they name, the server connection, the
// subcommand (Subcommand.h), and what reaches the user on the way out.

#include <ostream>
#include <string>
#include <vector>

namespace quorvane::cli {

inline constexpr const char* kProgram = "quorvane-cli";

// The exit statuses the manual documents.
enum ExitStatus : int {
  kSuccess = 0,
  // the server failed, a reply did not decode, a check failed, or a file could not be written
  kServerFailure = 1,
  kUsageError = 2,  // the command line was wrong
  kNoServer = 3,    // no server object could be made
};

struct Console {
  std::ostream& out;
  std::ostream& err;
  bool outIsTerminal = false;
  bool errIsTerminal = false;
};

// Runs the program on its arguments (the program name first); gives the exit status.
int RunCli(const std::vector<std::string>& arguments, Console& console);

// The manual page in roff, made from the same texts as --help.
std::string ManPage();

}  // namespace quorvane::cli
