// Each subcommand against the embedded reference server, decoded under the settings the command
// line names; the charts it writes, held to a strict XML reader; and the check, which the
// reference server must pass.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "../chart/XmlCheck.h"
#include "ChartModel.h"
#include "CliTestSupport.h"

namespace {

using clitest::RunCli;

struct Case {
  const char* why;
  std::vector<std::string> arguments;
  std::string out;
};

// A failure names the case and its command line, not the bytes of the structure.
void PrintTo(const Case& c, std::ostream* out) {
  *out << c.why << ": quorvane-cli";
  for (const std::string& argument : c.arguments)
    *out << ' ' << argument;
}

// The C locale gives the client's defaults (m/d/yy, "/", "."); the table form follows them, CSV
// and JSON write ISO dates and plain numbers whatever they are.
const std::vector<std::string> kDefaults = {"--locale", "C"};
const std::vector<std::string> kGerman = {"--locale",
                                          "C",
                                          "--short-date",
                                          "dd.MM.yyyy",
                                          "--date-separator",
                                          ".",
                                          "--decimal-separator",
                                          ",",
                                          "--thousand-separator",
                                          "."};

std::vector<std::string> With(std::vector<std::string> settings,
                              const std::vector<std::string>& arguments) {
  settings.insert(settings.end(), arguments.begin(), arguments.end());
  return settings;
}

class EmbeddedServer : public testing::TestWithParam<Case> {};

TEST_P(EmbeddedServer, PrintsWhatTheClientDecodes) {
  const Case& c = GetParam();
  const clitest::Run run = RunCli(c.arguments);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, c.out);
  EXPECT_EQ(run.err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Subcommands, EmbeddedServer,
    testing::Values(
        Case{"the rate of the README, CSV off a terminal",
             With(kDefaults, {"rate", "RUB", "USD", "2010-10-08"}),
             "from,to,date,rate\nRUB,USD,2010-10-08,0.0337\n"},
        Case{"the table shows the window's texts under the named settings",
             With(kGerman, {"--format", "table", "rate", "RUB", "USD", "2010-10-08"}),
             "from  to   date          rate\nRUB   USD  08.10.2010  0,0337\n"},
        Case{"a time of day goes to the server and shows",
             With(kDefaults, {"--format", "table", "rate", "EUR", "RUB", "2010-10-08T18:00"}),
             "from  to   date                rate\nEUR   RUB  10/8/10 18:00:00  41.593\n"},
        Case{"a date in the short date pattern of the settings",
             With(kGerman, {"rate", "RUB", "USD", "08.10.2010"}),
             "from,to,date,rate\nRUB,USD,2010-10-08,0.0337\n"},
        Case{"the price index in force: the entry of the month, on or after its first day",
             With(kDefaults, {"series", "cpi", "United States", "--on", "2010-01-15"}),
             "date,value\n2010-01-15,216.687\n"},
        Case{"the funds rate in force: scanned from the oldest entry while the day lies after it",
             With(kDefaults, {"series", "funds-rate", "Russia", "--on", "2014-04-01"}),
             "date,value\n2014-04-01,7\n"},
        Case{"the minimum wage in force on the day of a change is the former one",
             With(kDefaults, {"series", "min-wage", "United States", "--on", "2009-07-24"}),
             "date,value\n2009-07-24,6.55\n"},
        Case{"the letter code of the window's start texts",
             With(kDefaults, {"code", "Currency_National", "рубль"}), "code\nRUB\n"},
        Case{"the country list as sent: underscores for spaces",
             With(kDefaults, {"--raw", "countries"}),
             "|Russia|United_States|United_Kingdom|Euro_area\n"},
        Case{"the country list decoded", With(kDefaults, {"countries"}),
             "country\nRussia\nUnited States\nUnited Kingdom\nEuro area\n"},
        Case{"a rate reply as sent, written by the client's settings",
             With(kGerman, {"--raw", "rate", "EUR", "RUB", "2010-10-08"}),
             "NRUB per EUR as of 2010-10-08=41,593\n"},
        Case{"options may stand before or after the subcommand",
             {"rate", "RUB", "USD", "2010-10-08", "--locale", "C", "--format", "json"},
             "[\n {\"from\": \"RUB\", \"to\": \"USD\", \"date\": \"2010-10-08\", \"rate\": "
             "0.0337}\n]\n"},
        Case{"visibility set, then read back", With(kDefaults, {"visible", "on"}),
             "visible\ntrue\n"},
        Case{"a new server object is not visible", With(kDefaults, {"--raw", "visible"}), "0\n"}));

TEST(EmbeddedServerLists, SeriesInEveryFormatCarryTheSameFigures) {
  const clitest::Run csv = RunCli(With(kDefaults, {"series", "min-wage", "United States"}));
  const clitest::Run json =
      RunCli(With(kDefaults, {"series", "min-wage", "United States", "--format", "json"}));
  const clitest::Run table =
      RunCli(With(kGerman, {"series", "min-wage", "United States", "--format", "table"}));
  ASSERT_EQ(csv.status, 0);
  ASSERT_EQ(json.status, 0);
  ASSERT_EQ(table.status, 0);
  const std::vector<std::string> csvLines = clitest::Lines(csv.out);
  const std::vector<std::string> tableLines = clitest::Lines(table.out);
  const nlohmann::json rows = nlohmann::json::parse(json.out);
  ASSERT_EQ(csvLines.size(), rows.size() + 1);
  ASSERT_EQ(tableLines.size(), rows.size() + 1);
  EXPECT_EQ(csvLines[0], "date,value,value2");
  // The first federal minimum wage: 25 cents an hour, 1938-10-24; monthly 0.25*40*52/12.
  EXPECT_EQ(csvLines[1], "1938-10-24,0.25,43.33");
  EXPECT_EQ(rows[0]["date"], "1938-10-24");
  EXPECT_EQ(rows[0]["value"], 0.25);
  // Aligned to the widest figure of each column.
  EXPECT_TRUE(std::regex_match(tableLines[1], std::regex("24\\.10\\.1938 +0,2500 +43,3300")))
      << tableLines[1];
}

TEST(EmbeddedServerLists, AHistoryListsItsDaysInOrder) {
  const clitest::Run run = RunCli(With(kDefaults, {"history", "RUB", "USD", "--format", "json"}));
  ASSERT_EQ(run.status, 0) << run.err;
  const nlohmann::json rows = nlohmann::json::parse(run.out);
  ASSERT_FALSE(rows.empty());
  for (std::size_t i = 1; i < rows.size(); ++i)
    ASSERT_LT(rows[i - 1]["date"].get<std::string>(), rows[i]["date"].get<std::string>()) << i;
}

TEST(EmbeddedServerLists, FieldValuesKeepTheirSpacesInCsvAndJson) {
  const clitest::Run run = RunCli(With(kDefaults, {"values", "Currency_International"}));
  ASSERT_EQ(run.status, 0) << run.err;
  // A value with a blank travels in quotes and arrives whole.
  EXPECT_NE(run.out.find("\nRussian Ruble\n"), std::string::npos);
}

TEST(EmbeddedServerFailures, TheServersMessageThenStatusAndSource) {
  const clitest::Run run = RunCli(With(kDefaults, {"series", "min-wage", "Euro area"}));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "quorvane-cli: The server has no minimum wage data for Euro area\n"
            "quorvane-cli: status 0x80040202, source Quorvane.ReferenceServer\n");
}

// A folder of its own for the charts that the tests write.
std::filesystem::path ChartFolder() {
  const std::filesystem::path folder =
      std::filesystem::path(testing::TempDir()) / "quorvane-cli-charts";
  std::filesystem::create_directories(folder);
  return folder;
}

std::string FileText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct ChartCase {
  const char* why;
  std::vector<std::string> arguments;
  const char* file;  // written with -o into the chart folder; none for standard output
  std::string width, height, title;
  std::string marker;  // the chosen day's label; none when nothing is marked
};

TEST(EmbeddedServerChart, WritesAWellFormedSvgWithItsTitleAndMarker) {
  const ChartCase cases[] = {
      {"a price index to standard output, by default size and title",
       With(kDefaults, {"chart", "cpi", "United States", "--on", "2010-01-15"}), nullptr, "800",
       "450", "Consumer price index, United States", "1/15/10 216.6870"},
      {"a history into a file, its day in the short date pattern, labels by the named settings",
       With(kGerman, {"chart", "history", "USD", "CHF", "--on", "08.10.2008", "--size", "640x360"}),
       "usd-chf.svg", "640", "360", "USD->CHF", "08.10.2008 1,1272"},
      {"a zoomed funds rate marked on the day of a cut with the former rate, its own title",
       With(kGerman, {"chart", "funds-rate", "United Kingdom", "--on", "2008-10-08", "--from",
                      "2008-01-01", "--to", "2009-12-31", "--title", "Bank Rate", "-o", "-"}),
       nullptr, "800", "450", "Bank Rate", "08.10.2008 5,0000"},
      {"the null date marks nothing",
       With(kDefaults, {"chart", "min-wage", "United States", "--on", "null"}), "us-min-wage.svg",
       "800", "450", "Minimum wage, United States", ""},
  };
  char markerColour[8];
  std::snprintf(markerColour, sizeof markerColour, "#%06x",
                static_cast<unsigned>(quorvane::chart::ChartStyle::kMarker));
  for (const ChartCase& c : cases) {
    SCOPED_TRACE(c.why);
    std::vector<std::string> arguments = c.arguments;
    const std::filesystem::path file = c.file ? ChartFolder() / c.file : std::filesystem::path();
    if (c.file) {
      std::filesystem::remove(file);
      arguments.insert(arguments.end(), {"-o", file.string()});
    }
    const clitest::Run run = RunCli(arguments);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.empty(), c.file != nullptr);
    const std::string svg = c.file ? FileText(file) : run.out;
    const quorvane::chart::testing::XmlDocument document = quorvane::chart::testing::ReadXml(svg);
    ASSERT_EQ(document.Error, "");
    ASSERT_FALSE(document.Elements.empty());
    const auto& root = document.Elements.front();
    EXPECT_EQ(root.Name, "svg");
    EXPECT_EQ(root.Attributes.at("width"), c.width);
    EXPECT_EQ(root.Attributes.at("height"), c.height);
    const auto texts = [&](const std::string& text) {
      return std::count_if(document.Elements.begin(), document.Elements.end(),
                           [&](const auto& e) { return e.Name == "text" && e.Text == text; });
    };
    EXPECT_EQ(texts(c.title), 1);
    const auto marked =
        std::count_if(document.Elements.begin(), document.Elements.end(), [&](const auto& e) {
          const auto stroke = e.Attributes.find("stroke");
          return stroke != e.Attributes.end() && stroke->second == markerColour;
        });
    if (c.marker.empty()) {
      EXPECT_EQ(marked, 0);
    } else {
      EXPECT_EQ(marked, 1);
      EXPECT_EQ(texts(c.marker), 1);
    }
  }
}

TEST(EmbeddedServerChart, BadOptionsAndFailedWritesAreClearAndLoseNothing) {
  const std::filesystem::path kept = ChartFolder() / "kept.svg";
  const std::string missing = (ChartFolder() / "no-such-folder" / "x.svg").string();
  const struct {
    const char* why;
    std::vector<std::string> arguments;
    int status;
    std::string err;
  } cases[] = {
      {"a size without a height",
       {"chart", "cpi", "Russia", "--size", "800x", "-o", kept.string()},
       2,
       "quorvane-cli: --size: \"800x\" is not WIDTHxHEIGHT in pixels, each from 1 to 65535\n"
       "Run with --help for more information.\n"},
      {"a side of zero pixels",
       {"chart", "cpi", "Russia", "--size", "0x450", "-o", kept.string()},
       2,
       "quorvane-cli: --size: \"0x450\" is not WIDTHxHEIGHT in pixels, each from 1 to 65535\n"
       "Run with --help for more information.\n"},
      {"a PNG is not written",
       {"chart", "history", "RUB", "USD", "-o", "rub-usd.PNG"},
       2,
       "quorvane-cli: --output: \"rub-usd.PNG\": only SVG is written, not PNG\n"
       "Run with --help for more information.\n"},
      {"a history takes a pair",
       {"chart", "history", "RUB", "-o", kept.string()},
       2,
       "quorvane-cli: history takes two letter codes, FROM TO\n"
       "Run with --help for more information.\n"},
      {"a file in a folder that does not exist",
       {"chart", "cpi", "Russia", "-o", missing},
       1,
       "quorvane-cli: cannot write \"" + missing + "\": No such file or directory\n"},
      {"the server's error, before the file is opened",
       {"chart", "cpi", "Atlantis", "-o", kept.string()},
       1,
       "quorvane-cli: Unknown country \"Atlantis\"; the server has data for Russia, United "
       "States, United Kingdom, Euro area\n"
       "quorvane-cli: status 0x80040201, source Quorvane.ReferenceServer\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    std::ofstream(kept, std::ios::binary) << "the former chart";
    const clitest::Run run = RunCli(With(kDefaults, c.arguments));
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(FileText(kept), "the former chart");
  }
}

TEST(EmbeddedServerCheck, TheReferenceServerPassesEveryCheck) {
  const clitest::Run run = RunCli(With(kDefaults, {"check"}));
  int passed = 0, failed = -1;
  ASSERT_TRUE(clitest::SummaryOf(run.out, passed, failed)) << run.out;
  EXPECT_EQ(failed, 0) << run.out;
  EXPECT_GT(passed, 0);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out.find("FAIL"), std::string::npos) << run.out;
}

TEST(EmbeddedServerCheck, PassesUnderTheUsersOwnOddSettingsToo) {
  // Settings that the check's own variants do not cover: a blank-free but unusual pattern.
  const clitest::Run run = RunCli({"--locale", "C", "--short-date", "yyyy/MM/dd",
                                   "--date-separator", "/", "--decimal-separator", ",", "check"});
  int passed = 0, failed = -1;
  ASSERT_TRUE(clitest::SummaryOf(run.out, passed, failed)) << run.out;
  EXPECT_EQ(failed, 0) << run.out;
}

}  // namespace
