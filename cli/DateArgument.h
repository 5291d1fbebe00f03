#pragma once
// A date on the command line: YYYY-MM-DD with an optional time, a date in the short date pattern
// of the settings in force, or null.

#include <string>

#include "TextToValue.h"

namespace quorvane::cli {

// The day, or a UsageProblem that names the option (or argument) it was given to.
TDateTime DayOf(const std::string& option, const std::string& text);

}  // namespace quorvane::cli
