// check: the conformance check of whatever server the runtime gives for the class id (Check.h).
#include <CLI/CLI.hpp>

#include <cstdio>
#include <cstdlib>

#include "Check.h"
#include "CheckReport.h"
#include "ServerChoice.h"
#include "Subcommand.h"

namespace quorvane::cli {

namespace {

class CheckSubcommand final : public Subcommand {
 public:
  CheckSubcommand()
      : Subcommand(
            "check",
            "Check that the server answers what this client can read: every operation with "
            "representative and hostile arguments, replies decoded under several locale "
            "settings, failures with error information, successes without, no strings or "
            "references left behind; one line per check with the server's time, then the line "
            "\"N passed, M failed\"") {}

  void AddOptions(CLI::App& command) override {
    command.add_option("--junit", junit_, "Also write the results as JUnit XML to FILE")
        ->type_name("FILE");
    command
        .add_option("--timeout", timeout_,
                    "Give up on a call that has not answered after SECONDS (0: wait for ever); "
                    "it fails, the summary follows and the exit status is 1")
        ->type_name("SECONDS")
        ->check(CLI::Range(0.0, 86400.0));
  }

  int Run(const Invocation& run) override {
    Console& console = run.console;
    report::CheckReport report("quorvane-cli check", console.out);
    CheckOptions options;
    options.timeout = std::chrono::milliseconds(static_cast<long long>(timeout_ * 1000));
    options.errorInfoLost = ServerErrorInfoLost();
    // The unanswered call holds the main thread: the run ends from the watching one, without
    // the release of a server that would not answer that either.
    options.gaveUp = [&] {
      report.Finish();
      if (!junit_.empty() && !report.WriteJUnitFile(junit_))
        console.err << kProgram << ": cannot write " << junit_ << '\n';
      console.out.flush();
      console.err.flush();
      std::fflush(nullptr);
      std::_Exit(kServerFailure);
    };
    const int status = RunCheck(report, console.errIsTerminal ? &console.err : nullptr,
                                ApplyLocaleVariantHere, options);
    if (!junit_.empty() && !report.WriteJUnitFile(junit_)) {
      console.err << kProgram << ": cannot write " << junit_ << '\n';
      return kServerFailure;
    }
    return status == 0 ? kSuccess : kServerFailure;
  }

 private:
  std::string junit_;
  double timeout_ = 30;
};

}  // namespace

std::unique_ptr<Subcommand> MakeCheckSubcommand() {
  return std::make_unique<CheckSubcommand>();
}

}  // namespace quorvane::cli
