// diff: the differences between two servers, each a recording or the live one (Diff.h).
#include <CLI/CLI.hpp>

#include <sstream>

#include "CheckReport.h"
#include "Diff.h"
#include "ReplayServer.h"
#include "ServerChoice.h"
#include "Subcommand.h"
#include "Utf.h"
#include "uQuorvaneFunc.h"

namespace quorvane::cli {

namespace {

constexpr const char* kLive = "live";

class DiffSubcommand final : public Subcommand {
 public:
  DiffSubcommand()
      : Subcommand("diff",
                   "Compare two servers, A and B, each a recording of record or live (the server "
                   "the runtime gives): every call of the recordings, asked of both under the "
                   "locale settings it was recorded with and decoded as the client decodes it; one "
                   "line per difference (entries added, removed or changed with their dates and "
                   "values, list items, values, statuses and error texts, replies that decode on "
                   "one side only). Exit 0 when they agree, 1 when they differ") {}

  void AddOptions(CLI::App& command) override {
    command.add_option("A", sides_[0].name, "A recording, or live")->required();
    command.add_option("B", sides_[1].name, "A recording, or live")->required();
    command.add_option("--junit", junit_, "Also write one JUnit test case per call to FILE")
        ->type_name("FILE");
  }

  bool NeedsServer() const override { return sides_[0].name == kLive || sides_[1].name == kLive; }
  bool AllowsRecording() const override { return false; }
  bool WritesJUnit() const override { return true; }

  void Prepare() override {
    if (sides_[0].name == kLive && sides_[1].name == kLive)
      throw UsageProblem{"diff: at most one side can be live; the other must be a recording"};
    for (DiffSide& side : sides_) {
      if (side.name == kLive)
        continue;
      try {
        side.recording = std::make_shared<const server::Recording>(server::ReadRecordingFile(
            std::filesystem::path(std::u8string(side.name.begin(), side.name.end()))));
      } catch (const server::RecordingError& e) {
        throw NoServer(FromUtf8("the recording \"" + side.name + "\" does not read: " + e.what()));
      }
      const HRESULT status = server::CreateReplayServer(
          side.recording, [] { return CurrentLocaleSettings(); }, IID_IQuorvaneAutomation,
          reinterpret_cast<void**>(side.server.Put()));
      if (FAILED(status))
        throw NoServer(u"the replay of \"" + FromUtf8(side.name) + u"\" could not be made", status);
    }
  }

  int Run(const Invocation& run) override {
    for (DiffSide& side : sides_)
      if (side.name == kLive)
        side.server = ServerIntf;
    const std::vector<ComparedCall> compared = CompareServers(sides_[0], sides_[1]);

    std::ostringstream lines;
    report::CheckReport report("quorvane-cli diff", lines);
    Table table;
    table.columns = {"call", "locale", "difference", "at", "A", "B"};
    table.emptyNote = "no differences";
    for (const ComparedCall& call : compared) {
      std::string detail;
      for (const Difference& difference : call.differences) {
        table.rows.push_back({TextCell(call.call), TextCell(call.locale),
                              TextCell(FromUtf8(difference.kind)),
                              TextCell(FromUtf8(difference.at)), TextCell(FromUtf8(difference.a)),
                              TextCell(FromUtf8(difference.b))});
        detail += (detail.empty() ? "" : "; ") + difference.kind +
                  (difference.at.empty() ? "" : " " + difference.at) + ": " + difference.a + " | " +
                  difference.b;
      }
      report.Add({ToUtf8(call.call) + " [" + ToUtf8(call.locale) + "]", call.differences.empty(),
                  detail, std::nullopt, ToUtf8(call.call.substr(0, call.call.find(u'(')))});
    }
    report.Finish();
    if (run.junit)
      report.WriteJUnit(run.console.out);
    else
      run.Show(table);
    if (!junit_.empty() && !report.WriteJUnitFile(junit_)) {
      run.console.err << kProgram << ": cannot write " << junit_ << '\n';
      return kServerFailure;
    }
    return table.rows.empty() ? kSuccess : kServerFailure;
  }

 private:
  DiffSide sides_[2];
  std::string junit_;
};

}  // namespace

std::unique_ptr<Subcommand> MakeDiffSubcommand() {
  return std::make_unique<DiffSubcommand>();
}

}  // namespace quorvane::cli
