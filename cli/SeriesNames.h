#pragma once
// The series of a country as the command line names them, for every subcommand that takes one.

#include <string>
#include <vector>

#include "SeriesKind.h"

namespace quorvane::cli {

// min-wage, cpi, funds-rate: the names in the order of the help texts.
std::vector<std::string> CountrySeriesNames();
// The series of one of those names.
SeriesKind CountrySeriesNamed(const std::string& name);
// Its caption, as the window's group box names it: "Consumer price index".
std::u16string CountrySeriesCaption(SeriesKind kind);

}  // namespace quorvane::cli
