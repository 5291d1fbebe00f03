// The server interface's slot layout and the creation of server objects.
#include "Quorvane_TLB.h"

#include <gtest/gtest.h>

#include <functional>

#include "ComPtr.h"
#include "Errors.h"
#include "RuntimeTrace.h"
#include "ScriptedServer.h"

namespace {

using quorvane::IQuorvaneAutomation;
using scripted::Op;

// Entry `entry` of the object's function table, counted from 1.
template <typename... Args>
HRESULT CallEntry(IQuorvaneAutomation* object, int entry, Args... args) {
  using Function = HRESULT(STDMETHODCALLTYPE*)(IQuorvaneAutomation*, Args...);
  void** table = *reinterpret_cast<void***>(object);
  return reinterpret_cast<Function>(table[entry - 1])(object, args...);
}

TEST(QuorvaneAutomation, EachOperationSitsAtEntrySevenPlusItsPosition) {
  auto script = std::make_shared<scripted::Script>();
  script->Reply(Op::GetCountryList, u";Chile");
  auto server = platform::ComPtr<IQuorvaneAutomation>::Adopt(scripted::NewScriptedServer(script));
  IQuorvaneAutomation* object = server.Get();
  BSTR a = platform::AllocBstr(u"Russia");
  BSTR b = platform::AllocBstr(u"USD");
  BSTR result = nullptr;
  VARIANT_BOOL visible = 0;
  const long bstrsBefore = platform::LiveBstrCount();

  struct Case {
    int position;
    std::function<HRESULT()> call;
    std::string logged;
  };
  const Case cases[] = {
      {1, [&] { return CallEntry(object, 8, &visible); }, "Get_Visible()"},
      {2, [&] { return CallEntry(object, 9, VARIANT_TRUE); }, "Set_Visible(-1)"},
      {4, [&] { return CallEntry(object, 11, &result); }, "GetCountryList()"},
      {6, [&] { return CallEntry(object, 13, a, &result); }, "GetMinimumWageList(\"Russia\")"},
      {7, [&] { return CallEntry(object, 14, a, &result); }, "GetPriceIndexList(\"Russia\")"},
      {8, [&] { return CallEntry(object, 15, a, &result); }, "GetFundsRateList(\"Russia\")"},
      {9, [&] { return CallEntry(object, 16, b, &result); }, "GetFieldValueList(\"USD\")"},
      {11, [&] { return CallEntry(object, 18, a, b, &result); },
       "GetListOfExchangeRate(\"Russia\", \"USD\")"},
      {12, [&] { return CallEntry(object, 19, b, BSTR{}, &result); },
       "GetLIDCurrency(\"USD\", null)"},
      {15, [&] { return CallEntry(object, 22, b, a, DATE{40459.75}, &result); },
       "GetExchangeRate(\"USD\", \"Russia\", 40459.75)"},
      // The never-called positions exist in order, so that the called ones keep their entries.
      {3, [&] { return CallEntry(object, 10); }, "Reserved3()"},
      {24, [&] { return CallEntry(object, 31); }, "Reserved24()"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.logged);
    script->ClearCalls();
    c.call();
    EXPECT_EQ(script->Log(), std::vector<std::string>{c.logged});
    SysFreeString(result);
    result = nullptr;
  }
  EXPECT_EQ(platform::LiveBstrCount(), bstrsBefore);
  SysFreeString(a);
  SysFreeString(b);
}

class Creation : public testing::Test {
 protected:
  static std::u16string CreationMessage() {
    try {
      quorvane::CoQuorvaneAutomation::Create()->Release();
    } catch (const quorvane::Exception& e) {
      return e.Message();
    }
    return u"(created)";
  }
};

TEST_F(Creation, GivesTheOnlyReferenceToANewObject) {
  scripted::ScopedScriptedServer server;
  auto object =
      platform::ComPtr<IQuorvaneAutomation>::Adopt(quorvane::CoQuorvaneAutomation::Create());
  ASSERT_TRUE(object);
  EXPECT_EQ(server->ObjectsMade(), 1);
  EXPECT_EQ(server->References(), 1);  // the temporary IUnknown is gone
  object.Reset();
  EXPECT_EQ(server->ObjectsAlive(), 0);
}

TEST_F(Creation, ClassNotRegistered) {
  EXPECT_EQ(CreationMessage(),
            u"Class not registered, ClassID: " + std::u16string(quorvane::kClassIdText));
}

TEST_F(Creation, TheCreationStatusWithoutSystemText) {
  // The message uses the status alone; error information left by the server is not read.
  scripted::ScopedScriptedServer server(scripted::CreationMode::CreationFails,
                                        MakeHresult(0x80041234));
  EXPECT_EQ(CreationMessage(),
            u"OLE error 80041234, ClassID: " + std::u16string(quorvane::kClassIdText));
}

TEST_F(Creation, InterfaceNotSupportedReleasesTheObject) {
  scripted::ScopedScriptedServer server(scripted::CreationMode::NoInterface);
  EXPECT_EQ(CreationMessage(), u"Interface not supported");
  EXPECT_EQ(server->ObjectsMade(), 1);
  EXPECT_EQ(server->ObjectsAlive(), 0);
}

TEST_F(Creation, RemoteMachinesAreNotReachable) {
  // This runtime knows the objects of this process only, so even a registered class is not made.
  scripted::ScopedScriptedServer server;
  std::u16string message;
  try {
    quorvane::CoQuorvaneAutomation::CreateRemote(u"far-away")->Release();
  } catch (const quorvane::Exception& e) {
    message = e.Message();
  }
  EXPECT_EQ(message, u"Server objects on other machines are not supported (machine \"far-away\")");
  EXPECT_EQ(server->ObjectsMade(), 0);
}

}  // namespace
