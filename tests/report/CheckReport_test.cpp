// The check programs' report: the line of each check, the closing line and exit status that
// scripts/test-windows and CI go by, the JUnit XML, and the --junit option taken from argv.
#include "CheckReport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

using quorvane::report::CheckReport;
using quorvane::report::CheckResult;

TEST(CheckReportLines, OneLinePerCheckWithTheTimeColumn) {
  struct Case {
    const char* why;
    CheckResult result;
    std::string line;
  };
  const Case cases[] = {
      {"a timed pass with what it found",
       {"GetCountryList()", true, "4 countries", 0.0216, ""},
       "PASS     0.022 ms  GetCountryList(): 4 countries\n"},
      {"a timed failure says why",
       {"GetFundsRateList(\"Russia\")", false, "failed with 0x80040201", 12.5, ""},
       "FAIL    12.500 ms  GetFundsRateList(\"Russia\"): failed with 0x80040201\n"},
      {"an untimed check keeps the name in its column",
       {"the caption", true, "", {}, ""},
       "PASS               the caption\n"},
      {"line ends in a detail do not start a line of their own",
       {"shutdown order", false, "got\nOleUninitialize\r\n", {}, ""},
       "FAIL               shutdown order: got OleUninitialize  \n"},
      {"a time of 100 seconds or more pushes the name on, never cuts it",
       {"slow", true, "", 123456.789, ""},
       "PASS 123456.789 ms  slow\n"},
  };
  for (const Case& c : cases) {
    std::ostringstream out;
    CheckReport report("suite", out);
    report.Add(c.result);
    EXPECT_EQ(out.str(), c.line) << c.why;
  }
}

TEST(CheckReportLines, SkipsAlignAndCountNeitherWay) {
  std::ostringstream out;
  CheckReport report("suite", out);
  report.Skip("locale de-DE [dd.MM.yyyy ,]", "this system does not have the locale");
  report.Check(true, "something");
  EXPECT_EQ(report.Finish(), 0);
  EXPECT_EQ(out.str(),
            "SKIP               locale de-DE [dd.MM.yyyy ,]: this system does not have the locale\n"
            "PASS               something\n"
            "1 passed, 0 failed\n");
}

TEST(CheckReportSummary, TheClosingLineAndTheExitStatus) {
  struct Case {
    const char* why;
    std::vector<bool> checks;
    std::string summary;
    int status;
  };
  const Case cases[] = {
      {"all passed", {true, true}, "2 passed, 0 failed\n", 0},
      {"one failure fails the run", {true, false, true}, "2 passed, 1 failed\n", 1},
      // A program that checked nothing (it ended early, or found nothing to check) has not passed.
      {"nothing checked", {}, "0 passed, 0 failed\n", 1},
  };
  for (const Case& c : cases) {
    std::ostringstream out;
    CheckReport report("suite", out);
    for (bool passed : c.checks)
      report.Check(passed, "a check");
    const int status = report.Finish();
    EXPECT_EQ(status, c.status) << c.why;
    const std::string text = out.str();
    ASSERT_GE(text.size(), c.summary.size());
    EXPECT_EQ(text.substr(text.size() - c.summary.size()), c.summary) << c.why;
  }
}

TEST(CheckReportJUnit, EveryCheckWithItsFailureEscaped) {
  std::ostringstream out;
  CheckReport report("quorvane-cli check", out);
  report.Add(
      {"GetLIDCurrency(\"<&>\", \"x\")", false, "failed: \"a\" & <b>\x01", 2.5, "GetLIDCurrency"});
  report.Add({"Get_Visible()", true, "false", 0.25, ""});
  report.Check(true, "untimed");
  report.Finish();
  std::ostringstream xml;
  report.WriteJUnit(xml);
  const std::string text = xml.str();
  EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites>\n"
                       "<testsuite name=\"quorvane-cli check\" tests=\"3\" failures=\"1\" "
                       "errors=\"0\" time=\"",
                       0),
            0u)
      << text;
  EXPECT_NE(text.find("  <testcase classname=\"GetLIDCurrency\" name=\"GetLIDCurrency(&quot;&lt;"
                      "&amp;&gt;&quot;, &quot;x&quot;)\" time=\"0.002500\">\n"
                      "    <failure message=\"failed: &quot;a&quot; &amp; &lt;b&gt; \"/>\n"
                      "  </testcase>\n"),
            std::string::npos)
      << text;
  // Without a group the suite names the class; without a time the case has no time attribute.
  EXPECT_NE(text.find("  <testcase classname=\"quorvane-cli check\" name=\"Get_Visible()\" "
                      "time=\"0.000250\"/>\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("  <testcase classname=\"quorvane-cli check\" name=\"untimed\"/>\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.substr(text.size() - 27), "</testsuite>\n</testsuites>\n");
}

TEST(CheckReportJUnit, AFileThatCannotBeWrittenFailsTheRun) {
  const std::string file = testing::TempDir() + "check-report-test.xml";
  {
    std::ostringstream out;
    CheckReport report("suite", out);
    report.Check(true, "a check");
    EXPECT_EQ(report.Finish(file), 0);
    std::ifstream written(file);
    const std::string xml((std::istreambuf_iterator<char>(written)),
                          std::istreambuf_iterator<char>());
    EXPECT_NE(xml.find("tests=\"1\" failures=\"0\""), std::string::npos) << xml;
    std::remove(file.c_str());
  }
  for (const std::filesystem::path& unwritable :
       {std::filesystem::path("/no/such/directory/report.xml"), std::filesystem::path()}) {
    std::ostringstream out;
    CheckReport report("suite", out);
    report.Check(true, "a check");
    EXPECT_EQ(report.Finish(unwritable), 1) << unwritable;
    EXPECT_NE(out.str().find("1 passed, 0 failed\ncannot write the JUnit file"), std::string::npos)
        << out.str();
  }
}

TEST(JUnitOption, TakenOutOfTheArgumentsWhereverItStands) {
  struct Case {
    std::vector<std::string> arguments;
    std::vector<std::string> rest;
    std::optional<std::string> file;
  };
  const Case cases[] = {
      {{"program", "--register", "--junit", "C:\\r.xml", "--no-threads"},
       {"program", "--register", "--no-threads"},
       "C:\\r.xml"},
      {{"program", "--junit", "r.xml"}, {"program"}, "r.xml"},
      {{"program", "window.exe", "shots"}, {"program", "window.exe", "shots"}, std::nullopt},
      // Asked for without a file: taken, and the run then fails to write it.
      {{"program", "window.exe", "--junit"}, {"program", "window.exe"}, ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> storage = c.arguments;
    std::vector<char*> argv;
    for (std::string& argument : storage)
      argv.push_back(argument.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(storage.size());
    const auto file = quorvane::report::TakeJUnitOption(argc, argv.data());
    EXPECT_EQ(file.has_value(), c.file.has_value());
    if (file && c.file) {
      EXPECT_EQ(file->string(), *c.file);
    }
    ASSERT_EQ(argc, static_cast<int>(c.rest.size()));
    for (int i = 0; i < argc; ++i)
      EXPECT_EQ(argv[i], c.rest[i]);
    EXPECT_EQ(argv[argc], nullptr);  // still ended as a program's argv is
  }
}

TEST(JUnitOption, WideArgumentsToo) {
  std::wstring program = L"driver", option = L"--junit", file = L"C:\\w.xml", shots = L"shots";
  wchar_t* argv[] = {program.data(), option.data(), file.data(), shots.data(), nullptr};
  int argc = 4;
  const auto junit = quorvane::report::TakeJUnitOption(argc, argv);
  ASSERT_TRUE(junit);
  EXPECT_EQ(junit->wstring(), L"C:\\w.xml");
  ASSERT_EQ(argc, 2);
  EXPECT_EQ(std::wstring(argv[1]), L"shots");
}

}  // namespace
