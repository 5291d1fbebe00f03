#pragma once
// The conformance check: calls every operation of the connected server through the client, with
// representative arguments taken from the server's own lists and with hostile ones, under several
// locale settings, and judges each call: a failure must be a negative status with error
// information, a success must leave none and its reply must decode by the client's rules, and no
// call may leave strings or references behind.

#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "CheckReport.h"
#include "LocaleSettings.h"

namespace quorvane::cli {

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

// Runs every check on the server in ServerIntf into `report`, one line per call (named like
// GetPriceIndexList("Russia") [dd.MM.yyyy ,], of the group GetPriceIndexList, timed by the
// server's time for the call) and, when `progress` is given, the running count there. Ends with
// the report's closing line; gives its exit status.
//
// A call that has not answered after `timeout` (none when zero) cannot be taken back: its check
// is added as failed, naming the operation, and `gaveUp` runs on another thread; it must end the
// process. Where the runtime does not carry error information from the server's process
// (`errorInfoLost`), a failure without it passes when the client's message is the system's text
// for the status, and says so.
struct CheckOptions {
  std::chrono::milliseconds timeout{0};
  std::function<void()> gaveUp;
  bool errorInfoLost = false;
};
int RunCheck(report::CheckReport& report, std::ostream* progress, const ApplyLocaleVariant& apply,
             const CheckOptions& options = {});

}  // namespace quorvane::cli
