#pragma once
// What a console program needs of the system: its arguments as UTF-8, UTF-8 output, whether a
// stream is a terminal, and an environment variable for the servers it starts in process.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "LocaleSettings.h"

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

// The user's locale items: on Windows the user's default locale, or the named one (such as
// "de-DE"), which also becomes the thread's locale, so that an in-process server follows it;
// elsewhere the POSIX locale that LC_ALL, LC_NUMERIC, LC_TIME and LANG name, or the named one
// (such as "de_DE.UTF-8"). The C and POSIX locales give no items, so the defaults stand. Nothing
// when the locale is not available on this system.
std::optional<quorvane::LocaleItems> ReadUserLocaleItems(std::string_view name = {});

}  // namespace platform
