// quorvane-cli against the scripted server: the calls each subcommand makes, what reaches the user
// when the server fails or answers what the client cannot read, usage errors that cost no call,
// and the check finding each fault the server is set up to commit.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>

#include "CliTestSupport.h"
#include "LocaleSettings.h"
#include "QuorvaneIds.h"
#include "ScriptedServer.h"
#include "Utf.h"
#include "ValueToText.h"

namespace {

using clitest::RunCli;
using scripted::ErrorDetails;
using scripted::Failure;
using scripted::Op;

const std::vector<std::string> kDefaults = {"--locale", "C"};

std::vector<std::string> With(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), kDefaults.begin(), kDefaults.end());
  return arguments;
}

// A number in the client's settings of the moment, as a well-behaved server writes it.
std::u16string Number(std::u16string_view whole, std::u16string_view fraction) {
  return std::u16string(whole) + quorvane::CurrentLocaleSettings().DecimalSeparator +
         std::u16string(fraction);
}

std::u16string Day(double day) {
  return quorvane::ShortDateText(day);
}

// Answers every operation correctly for any arguments, under whatever settings are in force.
void WellBehaved(scripted::Script& script) {
  using scripted::Call;
  script.Reply(Op::GetCountryList, u";Russia;United_States");
  script.Reply(Op::GetFieldValueList, u"RUB,USD,EUR");
  script.Reply(Op::GetMinimumWageList, [](const Call&) {
    return Day(39814) + u"&" + Number(u"100", u"5") + u"&" + Number(u"200", u"25");
  });
  const auto dateValues = [](const Call&) {
    return Day(39814) + u"&" + Number(u"100", u"5") + u"|" + Day(40179) + u"&105";
  };
  script.Reply(Op::GetPriceIndexList, dateValues);
  script.Reply(Op::GetFundsRateList, dateValues);
  script.Reply(Op::GetListOfExchangeRate, [](const Call&) {
    std::u16string reply(u"|");
    reply.append(Day(40452)).append(u"=").append(Number(u"30", u"2"));
    reply.append(u"|").append(Day(40459)).append(u"=").append(Number(u"30", u"5"));
    return reply;
  });
  script.Reply(Op::GetExchangeRate,
               [](const Call&) { return u"NRUB per USD=" + Number(u"30", u"2"); });
  script.Reply(Op::GetLIDCurrency, u"RUB");
}

TEST(ScriptedCalls, EachSubcommandMakesTheWindowsCall) {
  struct Case {
    std::vector<std::string> arguments;
    std::string call;
  };
  const Case cases[] = {
      {{"countries"}, "GetCountryList()"},
      {{"values", "LetterCode"}, "GetFieldValueList(\"LetterCode\")"},
      {{"series", "min-wage", "United States"}, "GetMinimumWageList(\"United States\")"},
      {{"series", "cpi", "Russia", "--on", "2010-01-01"}, "GetPriceIndexList(\"Russia\")"},
      {{"series", "funds-rate", "Россия"}, "GetFundsRateList(\"Россия\")"},
      {{"history", "RUB", "USD"}, "GetListOfExchangeRate(\"RUB\", \"USD\")"},
      // The day goes as given: with its time of day, or the null date of an empty editor.
      {{"rate", "RUB", "USD", "2010-10-08T18:00"}, "GetExchangeRate(\"RUB\", \"USD\", 40459.75)"},
      {{"rate", "RUB", "USD", "null"}, "GetExchangeRate(\"RUB\", \"USD\", -700000)"},
      {{"rate", "RUB", "USD", "1899-12-29T06:00"}, "GetExchangeRate(\"RUB\", \"USD\", -1.25)"},
      {{"code", "Currency_National", "рубль"}, "GetLIDCurrency(\"Currency_National\", \"рубль\")"},
      // An empty text goes as a null BSTR.
      {{"code", "", "x"}, "GetLIDCurrency(null, \"x\")"},
      {{"visible"}, "Get_Visible()"},
  };
  for (const Case& c : cases) {
    scripted::ScopedScriptedServer server;
    WellBehaved(*server);
    const clitest::Run run = RunCli(With(c.arguments));
    EXPECT_EQ(run.status, 0) << c.call << ": " << run.err;
    ASSERT_FALSE(server->Log().empty()) << c.call;
    EXPECT_EQ(server->Log().front(), c.call);
    // One object, released before the run ends.
    EXPECT_EQ(server->ObjectsMade(), 1);
    EXPECT_EQ(server->ObjectsAlive(), 0) << c.call;
  }
}

TEST(ScriptedCalls, SettingTheVisibilityThenReadsIt) {
  scripted::ScopedScriptedServer server;
  const clitest::Run run = RunCli(With({"visible", "false"}));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(server->Log(), (std::vector<std::string>{"Set_Visible(0)", "Get_Visible()"}));
  EXPECT_EQ(run.out, "visible\nfalse\n");
}

TEST(ScriptedFailures, WhatReachesTheUser) {
  struct Case {
    const char* why;
    std::function<void(scripted::Script&)> setUp;
    std::vector<std::string> arguments;
    int status;
    std::string err;
  };
  const Case cases[] = {
      {"the server's description without its full stop, then status and source",
       [](scripted::Script& s) {
         s.Fail(Op::GetPriceIndexList, {static_cast<HRESULT>(0x80040201),
                                        ErrorDetails{u"Unknown country.", u"Scripted.Source"}});
       },
       {"series", "cpi", "Atlantis"},
       1,
       "quorvane-cli: Unknown country\nquorvane-cli: status 0x80040201, source Scripted.Source\n"},
      {"no error information: the system's text for the status, and no source",
       [](scripted::Script& s) { s.Fail(Op::GetCountryList, {E_FAIL}); },
       {"countries"},
       1,
       "quorvane-cli: Unspecified error\nquorvane-cli: status 0x80004005, source (none)\n"},
      {"no error information and no system text",
       [](scripted::Script& s) { s.Fail(Op::GetLIDCurrency, {static_cast<HRESULT>(0x80049999)}); },
       {"code", "LetterCode", "RUB"},
       1,
       "quorvane-cli: OLE error 80049999\nquorvane-cli: status 0x80049999, source (none)\n"},
      {"a raw reply fails alike",
       [](scripted::Script& s) { s.Fail(Op::Get_Visible, {E_FAIL}); },
       {"--raw", "visible"},
       1,
       "quorvane-cli: Unspecified error\nquorvane-cli: status 0x80004005, source (none)\n"},
      {"a reply that does not decode under the settings",
       [](scripted::Script& s) { s.Reply(Op::GetPriceIndexList, u"01.01.2009&100,5"); },
       {"series", "cpi", "Russia"},
       1,
       "quorvane-cli: ''01.01.2009'' is not a valid date\nquorvane-cli: the reply does not decode "
       "under the short date pattern \"m/d/yy\", date separator \"/\", decimal separator \".\"\n"},
      {"a rate reply without its status letter",
       [](scripted::Script& s) { s.Reply(Op::GetExchangeRate, u"X=1"); },
       {"rate", "RUB", "USD", "2010-10-08"},
       1,
       "quorvane-cli: Unexpected exchange-rate reply: 'X=1'\nquorvane-cli: the reply does not "
       "decode under the short date pattern \"m/d/yy\", date separator \"/\", decimal separator "
       "\".\"\n"},
      {"an empty field-value reply: the list's index error",
       [](scripted::Script& s) { s.Reply(Op::GetFieldValueList, u""); },
       {"values", "LetterCode"},
       1,
       "quorvane-cli: List index out of bounds (0)\nquorvane-cli: the reply does not decode "
       "under the short date pattern \"m/d/yy\", date separator \"/\", decimal separator \".\"\n"},
  };
  for (const Case& c : cases) {
    scripted::ScopedScriptedServer server;
    WellBehaved(*server);
    c.setUp(*server);
    const clitest::Run run = RunCli(With(c.arguments));
    EXPECT_EQ(run.status, c.status) << c.why;
    EXPECT_EQ(run.err, c.err) << c.why;
    EXPECT_EQ(run.out, "") << c.why;
  }
}

TEST(ScriptedFailures, NoServerObject) {
  {
    scripted::ScopedScriptedServer server(scripted::CreationMode::CreationFails);
    const clitest::Run run = RunCli(With({"countries"}));
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err.rfind("quorvane-cli: no server: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(quorvane::ToUtf8(quorvane::kClassIdText)), std::string::npos);
  }
  {
    scripted::ScopedScriptedServer server(scripted::CreationMode::NoInterface);
    const clitest::Run run = RunCli(With({"check"}));
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "quorvane-cli: no server: Interface not supported\n");
  }
}

TEST(UsageErrors, AClearMessageAndNoServerCall) {
  struct Case {
    std::vector<std::string> arguments;
    std::string message;  // a part of what stands on standard error
  };
  const Case cases[] = {
      {{}, "A subcommand is required"},
      {{"exchange"}, "unknown subcommand \"exchange\"; the subcommands are countries, values"},
      {{"series", "gdp", "Russia"}, "gdp"},
      {{"series", "cpi"}, "country is required"},
      {{"rate", "RUB", "USD", "2010-13-45"}, "date: \"2010-13-45\" is not a date"},
      {{"rate", "RUB", "USD", "2010-02-29"}, "\"2010-02-29\" is not a date"},
      {{"rate", "RUB", "USD", "yesterday"}, "\"yesterday\" is not a date"},
      {{"series", "cpi", "Russia", "--on", "31.02.2010"}, "--on: \"31.02.2010\" is not a date"},
      {{"--decimal-separator", "ab", "countries"}, "--decimal-separator takes one character"},
      {{"--date-separator", "", "countries"}, ""},
      {{"--format", "xml", "countries"}, "xml"},
      {{"visible", "maybe"}, "maybe"},
      {{"--locale", "xx_NOWHERE", "countries"}, "no locale \"xx_NOWHERE\""},
      {{"--data-dir", "/no/such/directory", "countries"}, "/no/such/directory"},
      {{"countries", "extra"}, "extra"},
  };
  for (const Case& c : cases) {
    scripted::ScopedScriptedServer server;
    std::vector<std::string> arguments = c.arguments;
    if (std::find(arguments.begin(), arguments.end(), "--locale") == arguments.end())
      arguments = With(arguments);
    const clitest::Run run = RunCli(arguments);
    // An empty separator means "the locale's", so that case is no error.
    if (c.message.empty()) {
      EXPECT_EQ(run.status, 0) << run.err;
      continue;
    }
    EXPECT_EQ(run.status, 2) << c.message << ": " << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.message << ": " << run.err;
    EXPECT_TRUE(server->Log().empty()) << c.message;
    EXPECT_EQ(run.out, "");
  }
}

TEST(UsageErrors, HelpAndVersionSucceed) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--help"}, {"rate", "--help"}, {"check", "--help"}}) {
    const clitest::Run run = RunCli(arguments);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("Exit status"), std::string::npos) << run.out;
  }
  const clitest::Run version = RunCli({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("quorvane-cli ", 0), 0u) << version.out;
  const clitest::Run man = RunCli({"--man"});
  EXPECT_EQ(man.out.rfind(".TH QUORVANE-CLI 1", 0), 0u);
  // The manual carries every subcommand and the texts of --help.
  for (const char* text :
       {"countries", "values field", "series kind country", "history from to", "rate from to date",
        "code field value", "visible [state]", "check", "\\-\\-junit", "Exit status"})
    EXPECT_NE(man.out.find(text), std::string::npos) << text;
}

std::vector<std::string> FailLines(const std::string& out) {
  std::vector<std::string> lines;
  for (const std::string& line : clitest::Lines(out))
    if (line.rfind("FAIL ", 0) == 0)
      lines.push_back(line);
  return lines;
}

TEST(ScriptedCheck, AWellBehavedServerPasses) {
  scripted::ScopedScriptedServer server;
  WellBehaved(*server);
  const clitest::Run run = RunCli(With({"check"}));
  int passed = 0, failed = -1;
  ASSERT_TRUE(clitest::SummaryOf(run.out, passed, failed)) << run.out;
  EXPECT_EQ(failed, 0) << run.out;
  EXPECT_EQ(run.status, 0);
  // Every object made is released, and the visibility is as it was.
  EXPECT_EQ(server->ObjectsAlive(), 0);
  EXPECT_EQ(server->Visible(), VARIANT_FALSE);
}

TEST(ScriptedCheck, ReportsEachFaultOfTheServer) {
  struct Case {
    const char* fault;
    std::function<void(scripted::Script&)> commit;
    std::string operation;
    std::string report;
  };
  const Case cases[] = {
      {"a reply the client cannot read",
       [](scripted::Script& s) { s.Reply(Op::GetPriceIndexList, u"x&1"); }, "GetPriceIndexList",
       "the reply does not decode: ''x'' is not a valid date"},
      {"a number the client cannot read",
       [](scripted::Script& s) {
         s.Reply(Op::GetExchangeRate, [](const scripted::Call&) { return u"N=1 000"; });
       },
       "GetExchangeRate", "the reply does not decode: '1 000' is not a valid floating point value"},
      {"an error without error information",
       [](scripted::Script& s) {
         s.Fail(Op::GetFundsRateList, {static_cast<HRESULT>(0x80040201)});
       },
       "GetFundsRateList", "failed with 0x80040201 and no error information"},
      {"an error whose description is blank",
       [](scripted::Script& s) {
         s.Fail(Op::GetLIDCurrency, {E_FAIL, ErrorDetails{u" . ", u"Scripted"}});
       },
       "GetLIDCurrency", "failed with 0x80004005 and no error information"},
      {"a leaked string", [](scripted::Script& s) { s.LeakStrings(Op::GetCountryList); },
       "GetCountryList", "1 string(s) left allocated"},
      {"a success with error information left behind",
       [](scripted::Script& s) {
         s.LeaveErrorInfoOnSuccess(Op::GetFieldValueList, ErrorDetails{u"stale news"});
       },
       "GetFieldValueList", "but left error information: stale news"},
      {"a visibility that does not stick",
       [](scripted::Script& s) {
         s.OnCall([&s](const scripted::Call& call) {
           if (call.op == Op::Get_Visible)
             s.SetVisible(VARIANT_FALSE);
         });
       },
       "Get_Visible", "reads false"},
      {"a representative call that fails properly",
       [](scripted::Script& s) {
         s.Fail(Op::GetCountryList, {E_FAIL, ErrorDetails{u"Down for maintenance"}});
       },
       "GetCountryList", "failed with 0x80004005: Down for maintenance"},
  };
  for (const Case& c : cases) {
    scripted::ScopedScriptedServer server;
    WellBehaved(*server);
    c.commit(*server);
    const std::string junit = testing::TempDir() + "quorvane-cli-check.xml";
    const clitest::Run run = RunCli(With({"check", "--junit", junit}));
    int passed = 0, failed = 0;
    ASSERT_TRUE(clitest::SummaryOf(run.out, passed, failed)) << c.fault << "\n" << run.out;
    EXPECT_EQ(run.status, 1) << c.fault;
    const std::vector<std::string> fails = FailLines(run.out);
    ASSERT_FALSE(fails.empty()) << c.fault << "\n" << run.out;
    EXPECT_EQ(static_cast<int>(fails.size()), failed) << c.fault;
    // Only the faulty operation fails, each time with the fault named.
    for (const std::string& line : fails) {
      EXPECT_NE(line.find(c.operation), std::string::npos) << c.fault << ": " << line;
      EXPECT_NE(line.find(c.report), std::string::npos) << c.fault << ": " << line;
    }
    std::ifstream file(junit);
    const std::string xml((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_NE(xml.find("failures=\"" + std::to_string(failed) + "\""), std::string::npos) << xml;
    EXPECT_NE(xml.find("<failure message="), std::string::npos);
    std::remove(junit.c_str());
  }
}

TEST(ScriptedCheck, ShowsProgressOnATerminalOnly) {
  scripted::ScopedScriptedServer server;
  WellBehaved(*server);
  const clitest::Run terminal = RunCli(With({"check"}), true);
  EXPECT_NE(terminal.err.find("\r\033[K[1] Get_Visible()"), std::string::npos);
  const clitest::Run piped = RunCli(With({"check"}));
  EXPECT_EQ(piped.err, "");
}

}  // namespace
