// The call log: every call the client makes through its one server reference, the creation
// included, with what the server answered; and the CSV and JSON it is saved as.
#include "CallLog.h"

#include <gtest/gtest.h>

#include <string>

#include "LocaleSettings.h"
#include "ScriptedServer.h"
#include "StringList.h"
#include "Utf.h"
#include "uQuorvaneFunc.h"

namespace {

using namespace quorvane;
using scripted::ErrorDetails;
using scripted::Failure;
using scripted::Op;

// A fresh log around each test, which leaves the log on as the process starts.
class CallLogTest : public testing::Test {
 protected:
  void SetUp() override { TheCallLog().Clear(); }
  void TearDown() override {
    FinalizeQuorvaneFunc();
    TheCallLog().SetEnabled(true);
    TheCallLog().Clear();
  }
  static std::vector<std::string> Lines() {
    std::vector<std::string> lines;
    for (const LoggedCall& call : TheCallLog().Calls())
      lines.push_back(call.operation + "(" + ToUtf8(call.arguments) + ") " +
                      StatusHex(call.status) + " " + ToUtf8(call.errorDescription) + " " +
                      std::to_string(call.replyLength));
    return lines;
  }
  ScopedLocaleSettings locale_{LocaleSettings{}};
};

TEST_F(CallLogTest, EveryCallWithItsArgumentsStatusDescriptionAndReplyLength) {
  scripted::ScopedScriptedServer server;
  server->Reply(Op::GetCountryList, u";Russia;Chile");
  server->Reply(Op::GetExchangeRate, u"N1=0.5");
  server->Fail(Op::GetFundsRateList,
               {static_cast<HRESULT>(0x80040201), ErrorDetails{u"Unknown country \"X\""}});
  ASSERT_TRUE(CreateServer());
  StringList countries;
  LoadCountryList(countries);
  EXPECT_THROW(LoadFundsRate(u"X"), Exception);
  GetRateOnDate(u"RUB", u"USD", 40459.75);
  ServerSetVisible(true);
  ServerGetVisible();
  const std::string classId = ToUtf8(platform::GuidToString(CLASS_CoQuorvaneAutomation));
  EXPECT_EQ(Lines(), (std::vector<std::string>{
                         "Create(" + classId + ") 0x00000000  0",
                         "GetCountryList() 0x00000000  13",
                         "GetFundsRateList(X) 0x80040201 Unknown country \"X\" 0",
                         "GetExchangeRate(RUB, USD, 2010-10-08T18:00:00) 0x00000000  6",
                         "Set_Visible(true) 0x00000000  0",
                         "Get_Visible() 0x00000000  4",
                     }));
  const std::vector<LoggedCall> calls = TheCallLog().Calls();
  for (std::size_t i = 1; i < calls.size(); ++i)
    EXPECT_EQ(calls[i].number, calls[i - 1].number + 1);
}

TEST_F(CallLogTest, AFailedCreationIsLoggedWithTheRuntimesStatus) {
  EXPECT_FALSE(CreateServer());  // nothing registered for the class
  const std::vector<LoggedCall> calls = TheCallLog().Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].operation, "Create");
  EXPECT_EQ(calls[0].status, REGDB_E_CLASSNOTREG);
  EXPECT_NE(calls[0].errorDescription.find(u"ClassID"), std::u16string::npos);
}

TEST_F(CallLogTest, LongArgumentsAreCutShortAndTheServerGetsThemWhole) {
  scripted::ScopedScriptedServer server;
  server->Reply(Op::GetLIDCurrency, u"RUB");
  ASSERT_TRUE(CreateServer());
  const std::u16string longName(5000, u'\u0416');
  ServerGetLIDCurrency(u"Currency_International", longName);
  const std::vector<LoggedCall> calls = TheCallLog().Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].arguments, u"Currency_International, " +
                                    std::u16string(kLoggedArgumentLength - 1, u'\u0416') +
                                    u'\u2026');
  EXPECT_EQ(server->Calls().back().texts[1], longName);
}

TEST_F(CallLogTest, OffItAddsNothingAndTheCallsStillReachTheServer) {
  scripted::ScopedScriptedServer server;
  server->Reply(Op::GetCountryList, u";Chile");
  ASSERT_TRUE(CreateServer());
  TheCallLog().SetEnabled(false);
  StringList countries;
  LoadCountryList(countries);
  EXPECT_EQ(countries.Count(), 1);
  EXPECT_EQ(TheCallLog().Calls().size(), 1u);  // the creation, logged while it was on
}

TEST_F(CallLogTest, ListenersHearEachCallAndTheClearing) {
  struct Listener : CallLogListener {
    void CallAdded(const LoggedCall& call) override { heard += call.operation + ";"; }
    void CallsCleared() override { heard += "cleared;"; }
    std::string heard;
  } listener;
  scripted::ScopedScriptedServer server;
  TheCallLog().Subscribe(&listener);
  ASSERT_TRUE(CreateServer());
  ServerGetVisible();
  TheCallLog().Clear();
  TheCallLog().Unsubscribe(&listener);
  ServerGetVisible();
  EXPECT_EQ(listener.heard, "Create;Get_Visible;cleared;");
}

TEST_F(CallLogTest, TheOldestCallsGoBeyondTheCapacity) {
  ObservedCall call;
  call.operation = "Get_Visible";
  for (std::size_t i = 0; i < kCallLogCapacity + 3; ++i)
    TheCallLog().Add(call);
  const std::vector<LoggedCall> calls = TheCallLog().Calls();
  ASSERT_EQ(calls.size(), kCallLogCapacity);
  EXPECT_EQ(TheCallLog().Dropped(), 3u);
  EXPECT_EQ(calls.back().number, calls.front().number + kCallLogCapacity - 1);
}

TEST(CallLogText, CsvQuotesWhatNeedsItAndJsonEscapes) {
  LoggedCall call;
  call.number = 7;
  call.started = std::chrono::sys_days{std::chrono::year{2026} / 12 / 11} + std::chrono::hours{14} +
                 std::chrono::milliseconds{5};
  call.operation = "GetLIDCurrency";
  call.arguments = u"Currency_International, \"Ruble\", a\nb";
  call.status = static_cast<HRESULT>(0x80040207);
  call.errorDescription = u"Several currencies: BYN, RUB";
  call.elapsed = std::chrono::microseconds{1500};
  EXPECT_EQ(CallLogCsv({call}),
            "number,time,operation,arguments,status,description,reply_length,milliseconds\r\n"
            "7,2026-12-11T14:00:00.005Z,GetLIDCurrency,\"Currency_International, \"\"Ruble\"\", "
            "a\nb\",0x80040207,\"Several currencies: BYN, RUB\",0,1.500\r\n");
  EXPECT_EQ(CallLogJson({call}),
            "[\n {\"number\": 7, \"time\": \"2026-12-11T14:00:00.005Z\", \"operation\": "
            "\"GetLIDCurrency\", \"arguments\": \"Currency_International, \\\"Ruble\\\", "
            "a\\u000ab\", \"status\": \"0x80040207\", \"description\": \"Several currencies: BYN, "
            "RUB\", \"reply_length\": 0, \"milliseconds\": 1.500}\n]\n");
  EXPECT_EQ(CallLogJson({}), "[\n]\n");
}

}  // namespace
