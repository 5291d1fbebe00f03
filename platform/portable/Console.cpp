// The console on POSIX systems.
#include "Console.h"

#include <stdlib.h>
#include <unistd.h>

namespace platform {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

void PrepareConsoleOutput() {}

bool IsTerminal(Stream stream) {
  return isatty(stream == Stream::Output ? STDOUT_FILENO : STDERR_FILENO) == 1;
}

void SetProcessEnvironment(std::string_view name, std::string_view value) {
  setenv(std::string(name).c_str(), std::string(value).c_str(), 1);
}

}  // namespace platform
