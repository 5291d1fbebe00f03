#pragma once
// What a console program needs of the system: its arguments as UTF-8, UTF-8 output, whether a
// stream is a terminal, and an environment variable for the servers it starts in process.

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The program's arguments as UTF-8, the program name first. On Windows they are taken from the
// system's UTF-16 command line, since argv holds them in the ANSI code page.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Lets the console show UTF-8 output (on Windows, the console's output code page).
void PrepareConsoleOutput();

enum class Stream { Output, Error };
bool IsTerminal(Stream stream);

// Sets an environment variable of this process, which servers made in process read.
void SetProcessEnvironment(std::string_view name, std::string_view value);

}  // namespace platform
