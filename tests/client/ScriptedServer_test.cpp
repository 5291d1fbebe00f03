// The scripted server's own promises, on which the fault-injection tests rely.
#include "ScriptedServer.h"

#include <gtest/gtest.h>

#include "ComPtr.h"
#include "Errors.h"
#include "ServerCall.h"
#include "uQuorvaneFunc.h"

namespace {

using scripted::ErrorDetails;
using scripted::Op;

class ScriptedServerTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(quorvane::CreateServer()); }
  void TearDown() override {
    quorvane::FinalizeQuorvaneFunc();
    SetErrorInfo(0, nullptr);
  }
  // The outcome of one text call: its reply, or "!" and the server-call error's message.
  static std::u16string Outcome() {
    try {
      return quorvane::ServerGetLIDCurrency(u"LetterCode", u"RUB");
    } catch (const quorvane::EServerCallError& e) {
      return u"!" + e.Message();
    }
  }
  scripted::ScopedScriptedServer server;
};

TEST_F(ScriptedServerTest, FailureRulesCountCallsFromOne) {
  server->Reply(Op::GetLIDCurrency, u"ok");
  server->FailNth(2, E_ACCESSDENIED)
      .FailNthOf(Op::GetLIDCurrency, 4, {E_FAIL, ErrorDetails{u"4th"}});
  EXPECT_EQ(Outcome(), u"ok");
  EXPECT_EQ(Outcome(), u"!Access is denied");
  EXPECT_EQ(Outcome(), u"ok");
  EXPECT_EQ(Outcome(), u"!4th");
  server->ClearFailures().Fail(Op::GetLIDCurrency, MakeHresult(0x80041234));
  EXPECT_EQ(Outcome(), u"!OLE error 80041234");
  EXPECT_EQ(server->Calls().back().failed, true);
  EXPECT_EQ(server->CallCount(Op::GetLIDCurrency), 5);
}

TEST_F(ScriptedServerTest, RepliesInTurnAndFromTheCall) {
  server->ReplyInTurn(Op::GetLIDCurrency, {u"a", u"b"});
  EXPECT_EQ(Outcome(), u"a");
  EXPECT_EQ(Outcome(), u"b");
  EXPECT_EQ(Outcome(), u"b");  // the last repeats
  server->Reply(Op::GetLIDCurrency,
                [](const scripted::Call& call) { return call.texts[1].value_or(u"null") + u"!"; });
  EXPECT_EQ(Outcome(), u"RUB!");
}

TEST_F(ScriptedServerTest, ErrorDetailsReachTheError) {
  server->Fail(Op::GetLIDCurrency, {E_FAIL, ErrorDetails{u"Unknown field.", u"Src", u"h.hlp", 5}});
  try {
    quorvane::ServerGetLIDCurrency(u"X", u"Y");
    FAIL();
  } catch (const quorvane::EServerCallError& e) {
    EXPECT_EQ(e.Message(), u"Unknown field");
    EXPECT_EQ(e.Source(), u"Src");
    EXPECT_EQ(e.HelpFile(), u"h.hlp");
    EXPECT_EQ(e.HelpContext(), 5u);
  }
}

TEST_F(ScriptedServerTest, TheHookSeesEachCallBeforeItIsAnswered) {
  std::vector<std::string> seen;
  server->OnCall([&](const scripted::Call& call) {
    seen.push_back(call.ToString());
    server->Reply(Op::GetLIDCurrency, u"from the hook");
  });
  EXPECT_EQ(Outcome(), u"from the hook");
  EXPECT_EQ(seen, std::vector<std::string>{"GetLIDCurrency(\"LetterCode\", \"RUB\")"});
}

}  // namespace
