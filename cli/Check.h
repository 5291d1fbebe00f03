#pragma once
// The conformance check: calls every operation of the connected server through the client, with
// representative arguments taken from the server's own lists and with hostile ones, under several
// locale settings, and judges each call: a failure must be a negative status with error
// information, a success must leave none and its reply must decode by the client's rules, and no
// call may leave strings or references behind.

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "LocaleSettings.h"

namespace quorvane::cli {

struct CheckOutcome {
  std::string name;       // the call, e.g. GetPriceIndexList("Russia") [dd.mm.yyyy]
  std::string operation;  // GetPriceIndexList
  bool passed = false;
  std::string detail;
  double milliseconds = 0;  // the server's time for the call
};

// Locale settings under which the replies are decoded once more: on the embedded server the
// client's settings, which the server follows; on Windows the named system locale, which both the
// server and the client then read.
struct LocaleVariant {
  std::string label;
  std::string systemName;
  LocaleSettings settings;
};
std::vector<LocaleVariant> StandardLocaleVariants();
// Puts a variant in force; false when this system does not have it.
using ApplyLocaleVariant = std::function<bool(const LocaleVariant&)>;

struct CheckReport {
  std::vector<CheckOutcome> outcomes;
  int passed = 0;
  int failed = 0;
  double seconds = 0;
};

// Runs every check on the server in ServerIntf, writing one line per check to `out` and, when
// `progress` is given, the running count there. Ends with the line "N passed, M failed".
CheckReport RunCheck(std::ostream& out, std::ostream* progress, const ApplyLocaleVariant& apply);

// The report in the JUnit XML form that CI systems read.
void WriteJUnit(std::ostream& out, const CheckReport& report);

}  // namespace quorvane::cli
