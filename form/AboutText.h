#pragma once
// The About box's text, whatever draws it: the program's version and build, how recent the data
// are and what the currency catalogue was made from, and the licences of what the program ships.

#include <string>
#include <vector>

namespace quorvane {

struct AboutContent {
  std::u16string version;                   // the program's version, such as "1.4.0"
  std::u16string build;                     // build type, compiler and toolkit, on one line
  std::u16string catalogueSource;           // empty when not known
  std::vector<std::u16string> dataVintage;  // one line per series and rate table; may be empty
  std::vector<std::u16string> licences;     // one line per shipped component
  std::u16string dataNotice;                // the notice of the data's sources and licences
};

std::u16string AboutText(const AboutContent& content);

// The compiler that built the program, for the build line.
std::u16string CompilerName();

}  // namespace quorvane
