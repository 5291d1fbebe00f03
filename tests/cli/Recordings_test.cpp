// The tester's instruments on the embedded server: --trace, a recording of it, the check replayed
// from the recording, and diff of a recording against the live server and of an edited copy.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

#include "CliTestSupport.h"
#include "Recording.h"
#include "Utf.h"

namespace {

using clitest::RunCli;
using quorvane::server::RecordedCall;
using quorvane::server::Recording;

std::string TempFile(const std::string& name) {
  return (std::filesystem::path(testing::TempDir()) / name).string();
}

void WriteText(const std::string& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

TEST(Trace, WritesEveryCallAndTheCreationOnStandardError) {
  const clitest::Run run = RunCli({"--locale", "C", "--trace", "rate", "RUB", "USD", "2010-10-08"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "from,to,date,rate\nRUB,USD,2010-10-08,0.0337\n");
  const std::vector<std::string> lines = clitest::Lines(run.err);
  ASSERT_EQ(lines.size(), 2u) << run.err;
  EXPECT_EQ(lines[0].rfind("quorvane-cli: Create({9470904C-EAB4-4BD4-8724-274F79A89FC0}) -> "
                           "0x00000000",
                           0),
            0u);
  EXPECT_EQ(lines[1].rfind("quorvane-cli: GetExchangeRate(RUB, USD, 2010-10-08) -> 0x00000000, 51 "
                           "chars, ",
                           0),
            0u);
}

class RoundTrip : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    const clitest::Run run = RunCli({"--locale", "C", "record", File()});
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_NE(run.out.find(" calls recorded in "), std::string::npos) << run.out;
  }
  static std::string File() { return TempFile("quorvane-embedded.jsonl"); }
};

TEST_F(RoundTrip, TheHeaderNamesTheServerAndTheTime) {
  const Recording recording = quorvane::server::ReadRecordingFile(File());
  EXPECT_EQ(recording.header.classId, u"{9470904C-EAB4-4BD4-8724-274F79A89FC0}");
  EXPECT_EQ(recording.header.module, u"embedded");
  EXPECT_FALSE(recording.header.serverVersion.empty());
  EXPECT_EQ(recording.header.recorded.size(), 24u);  // 2026-12-11T15:00:00.000Z
}

TEST_F(RoundTrip, TheCheckPassesOnTheReplayAsOnTheServer) {
  const clitest::Run live = RunCli({"--locale", "C", "check"});
  const clitest::Run replayed = RunCli({"--locale", "C", "--recording", File(), "check"});
  EXPECT_EQ(replayed.status, 0) << replayed.out;
  int livePassed = 0, liveFailed = 0, passed = 0, failed = 0;
  ASSERT_TRUE(clitest::SummaryOf(live.out, livePassed, liveFailed));
  ASSERT_TRUE(clitest::SummaryOf(replayed.out, passed, failed)) << replayed.out;
  EXPECT_EQ(failed, 0);
  EXPECT_EQ(passed, livePassed);
}

TEST_F(RoundTrip, ACallTheRecordingLacksFailsSayingSo) {
  const clitest::Run run =
      RunCli({"--locale", "C", "--recording", File(), "rate", "RUB", "USD", "2010-10-08"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "quorvane-cli: The recording has no call GetExchangeRate(\"RUB\", \"USD\", 2010-10-08) "
            "under the locale settings m/d/yy / . ,\n"
            "quorvane-cli: status 0x80040210, source Quorvane.Replay\n");
}

TEST_F(RoundTrip, TheRecordingAgreesWithTheLiveServer) {
  for (const std::vector<std::string>& sides :
       {std::vector<std::string>{File(), "live"}, {"live", File()}, {File(), File()}}) {
    const clitest::Run run = RunCli({"--locale", "C", "diff", sides[0], sides[1]});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(run.out, "call,locale,difference,at,A,B\n");
  }
}

// A copy with one value changed, one entry removed and one status changed.
std::string EditedCopy(const std::string& original) {
  Recording recording = quorvane::server::ReadRecordingFile(original);
  bool value = false, entry = false, status = false;
  for (RecordedCall& call : recording.calls) {
    if (call.status != 0 || !call.reply) {
      if (!status && call.operation == "GetMinimumWageList" && call.arguments[0].text.empty()) {
        call.status = static_cast<std::int32_t>(0x80040202u);
        status = true;
      }
      continue;
    }
    std::u16string& reply = *call.reply;
    if (!value && call.operation == "GetPriceIndexList" && call.arguments[0].text == u"Russia") {
      // The first entry's value, 0.0104335, becomes 123.5.
      const std::size_t from = reply.find(u'&') + 1, to = reply.find(u'|');
      reply.replace(from, to - from, u"123.5");
      value = true;
    } else if (!entry && call.operation == "GetFundsRateList" &&
               call.arguments[0].text == u"Russia") {
      // The second entry goes.
      const std::size_t from = reply.find(u'|'), to = reply.find(u'|', from + 1);
      reply.erase(from, to - from);
      entry = true;
    }
  }
  EXPECT_TRUE(value && entry && status);
  const std::string copy = TempFile("quorvane-edited.jsonl");
  WriteText(copy, quorvane::server::RecordingText(recording));
  return copy;
}

TEST_F(RoundTrip, AnEditedCopyGivesExactlyItsThreeDifferences) {
  const std::string copy = EditedCopy(File());
  const clitest::Run run = RunCli({"--locale", "C", "--format", "json", "diff", "live", copy});
  EXPECT_EQ(run.status, 1) << run.err;
  const nlohmann::json expected = nlohmann::json::parse(R"json([
    {"call": "GetPriceIndexList(\"Russia\")", "locale": "m/d/yy / . ,",
     "difference": "entry changed", "at": "1992-01-01", "A": "0.0104", "B": "123.5"},
    {"call": "GetMinimumWageList(\"\")", "locale": "m/d/yy / . ,",
     "difference": "status", "at": "", "A": "0x80040201", "B": "0x80040202"}])json");
  nlohmann::json got = nlohmann::json::parse(run.out);
  // Ordered as the check asked: the series before the hostile countries.
  EXPECT_EQ(got.size(), 3u) << run.out;
  for (const nlohmann::json& difference : expected)
    EXPECT_NE(std::find(got.begin(), got.end(), difference), got.end()) << difference.dump();
  // The removed entry is the second newest of the funds rate (its reply runs newest first): its
  // date and value are the data's latest, so only its shape is held here.
  const auto removed = std::find_if(got.begin(), got.end(), [](const nlohmann::json& d) {
    return d["call"] == "GetFundsRateList(\"Russia\")" && d["difference"] == "entry removed";
  });
  ASSERT_NE(removed, got.end()) << run.out;
  EXPECT_EQ((*removed)["at"].get<std::string>().size(), 10u);
  EXPECT_FALSE((*removed)["A"].get<std::string>().empty());
  EXPECT_EQ((*removed)["B"], "");

  // As JUnit: one case per call, the three that differ failing.
  const std::string junit = TempFile("quorvane-diff.xml");
  const clitest::Run xml =
      RunCli({"--locale", "C", "--format", "junit", "diff", "live", copy, "--junit", junit});
  EXPECT_EQ(xml.status, 1);
  EXPECT_NE(xml.out.find("failures=\"3\""), std::string::npos) << xml.out.substr(0, 300);
  EXPECT_TRUE(std::filesystem::exists(junit));
}

struct Refused {
  const char* why;
  std::vector<std::string> arguments;
  int status;
  const char* says;
};

void PrintTo(const Refused& r, std::ostream* out) {
  *out << r.why;
}

class RefusedRun : public testing::TestWithParam<Refused> {};

TEST_P(RefusedRun, SaysWhy) {
  const Refused& r = GetParam();
  WriteText(TempFile("quorvane-bad.jsonl"),
            R"({"format": "quorvane-recording", "version": 1, "server": {"class_id": "x"}, )"
            R"("recorded": "now"})"
            "\n{\"operation\": 1}\n");
  const clitest::Run run = RunCli(r.arguments);
  EXPECT_EQ(run.status, r.status);
  EXPECT_NE(run.err.find(r.says), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Instruments, RefusedRun,
    testing::Values(
        Refused{"a malformed recording is no server",
                {"--recording", TempFile("quorvane-bad.jsonl"), "countries"},
                3,
                "does not read: line 2: the field \"operation\" must be a string"},
        Refused{"a missing recording is no server",
                {"--recording", TempFile("quorvane-none.jsonl"), "countries"},
                3,
                "cannot read the recording"},
        Refused{"diff of a malformed recording",
                {"diff", "live", TempFile("quorvane-bad.jsonl")},
                3,
                "line 2:"},
        Refused{"diff of live against live", {"diff", "live", "live"}, 2, "at most one side"},
        Refused{"diff takes no --recording",
                {"--recording", TempFile("quorvane-bad.jsonl"), "diff", "live", "x"},
                2,
                "takes its recordings as arguments"},
        Refused{"junit is diff's alone", {"--format", "junit", "countries"}, 2, "for diff only"}));

}  // namespace
