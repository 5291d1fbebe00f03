// record: the calls of the check, with the replies exactly as received, kept as a recording
// (docs/recordings.md).
#include <CLI/CLI.hpp>

#include <sstream>

#include "CallRecorder.h"
#include "Check.h"
#include "CheckReport.h"
#include "ServerChoice.h"
#include "Subcommand.h"

namespace quorvane::cli {

namespace {

class RecordSubcommand final : public Subcommand {
 public:
  RecordSubcommand()
      : Subcommand("record",
                   "Record the server: every call of check (the same operations, arguments and "
                   "locale settings) with the status, the error information and the reply exactly "
                   "as received, the server's identity and the time, as JSON Lines to FILE "
                   "(written once whole); --recording replays it, diff compares it") {}

  void AddOptions(CLI::App& command) override {
    command.add_option("FILE", file_, "The recording to write; - for standard output")->required();
  }

  int Run(const Invocation& run) override {
    server::Recording recording;
    recording.header = HeaderOfConnectedServer();
    std::ostringstream checkLines;
    report::CheckReport report("quorvane-cli record", checkLines);
    {
      const CallRecorder recorder;
      RunCheck(report, run.console.errIsTerminal ? &run.console.err : nullptr,
               ApplyLocaleVariantHere);
      recording.calls = recorder.Calls();
    }
    WriteWholeFile(file_, server::RecordingText(recording), run.console.out);
    if (file_ != "-")
      run.console.out << recording.calls.size() << " calls recorded in " << file_
                      << " (the check: " << report.Passed() << " passed, " << report.Failed()
                      << " failed)\n";
    return kSuccess;
  }

 private:
  std::string file_;
};

}  // namespace

std::unique_ptr<Subcommand> MakeRecordSubcommand() {
  return std::make_unique<RecordSubcommand>();
}

}  // namespace quorvane::cli
