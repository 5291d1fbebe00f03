// The server as a component: registered under its class id, made by the client's creator, its
// interface table, and every failure as the client's server-call error sees it.
#include "ReferenceServer.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "ComPtr.h"
#include "Quorvane_TLB.h"
#include "Reply.h"
#include "ServerCall.h"
#include "ServerTestSupport.h"
#include "Utf.h"

namespace {

using quorvane::BStrArg;
using quorvane::BStrResult;
using quorvane::EServerCallError;
using quorvane::IQuorvaneAutomation;
using quorvane::server::Failure;
using quorvane::server::StatusOf;

class ReferenceServerTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(registration_.Registered());
    server_ =
        platform::ComPtr<IQuorvaneAutomation>::Adopt(quorvane::CoQuorvaneAutomation::Create());
  }

  quorvane::server::ReferenceServerRegistration registration_ =
      quorvane::server::RegisterReferenceServer();
  platform::ComPtr<IQuorvaneAutomation> server_;
};

// The error a failing operation raises once the client has checked its status.
EServerCallError CallError(HRESULT status) {
  try {
    quorvane::CheckStatus(status);
  } catch (const EServerCallError& error) {
    return error;
  }
  return EServerCallError(S_OK, u"", u"", u"", 0);
}

TEST_F(ReferenceServerTest, AnswersThroughItsInterfaceTable) {
  BStrResult countries;
  ASSERT_EQ(server_->GetCountryList(countries.Put()), S_OK);
  EXPECT_EQ(countries.Text(), u"|Russia|United_States|United_Kingdom|Euro_area");

  BStrResult code;
  BStrArg field(u"Currency_National"), value(u"рубль");
  ASSERT_EQ(server_->GetLIDCurrency(field.Get(), value.Get(), code.Put()), S_OK);
  EXPECT_EQ(code.Text(), u"RUB");

  VARIANT_BOOL visible = VARIANT_TRUE;
  ASSERT_EQ(server_->Get_Visible(&visible), S_OK);
  EXPECT_EQ(visible, VARIANT_FALSE);
  ASSERT_EQ(server_->Set_Visible(VARIANT_TRUE), S_OK);
  ASSERT_EQ(server_->Get_Visible(&visible), S_OK);
  EXPECT_NE(visible, VARIANT_FALSE);

  // The operations the window never calls exist and answer "not implemented".
  for (HRESULT status :
       {server_->Reserved3(), server_->Reserved5(), server_->Reserved10(), server_->Reserved13(),
        server_->Reserved14(), server_->Reserved16(), server_->Reserved17(), server_->Reserved18(),
        server_->Reserved19(), server_->Reserved20(), server_->Reserved21(), server_->Reserved22(),
        server_->Reserved23(), server_->Reserved24()})
    EXPECT_EQ(status, E_NOTIMPL);
  EXPECT_EQ(server_->GetCountryList(nullptr), E_POINTER);

  platform::ComPtr<ISupportErrorInfo> support;
  ASSERT_EQ(server_->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(support.Put())),
            S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(quorvane::IID_IQuorvaneAutomation), S_OK);
}

TEST_F(ReferenceServerTest, EveryFailureCarriesItsStatusAndDescription) {
  using Call = std::function<HRESULT(IQuorvaneAutomation&, BSTR*)>;
  auto text = [](const char16_t* t) { return std::make_shared<BStrArg>(t); };
  auto country = [&](HRESULT (IQuorvaneAutomation::*op)(BSTR, BSTR*), const char16_t* name) {
    auto arg = text(name);
    return Call([=](IQuorvaneAutomation& s, BSTR* r) { return (s.*op)(arg->Get(), r); });
  };
  auto pair = [&](const char16_t* a, const char16_t* b) {
    auto from = text(a), to = text(b);
    return Call([=](IQuorvaneAutomation& s, BSTR* r) {
      return s.GetListOfExchangeRate(from->Get(), to->Get(), r);
    });
  };
  auto rate = [&](const char16_t* a, const char16_t* b, DATE day) {
    auto from = text(a), to = text(b);
    return Call([=](IQuorvaneAutomation& s, BSTR* r) {
      return s.GetExchangeRate(from->Get(), to->Get(), day, r);
    });
  };
  auto lookup = [&](const char16_t* f, const char16_t* v) {
    auto field = text(f), value = text(v);
    return Call([=](IQuorvaneAutomation& s, BSTR* r) {
      return s.GetLIDCurrency(field->Get(), value->Get(), r);
    });
  };
  struct Case {
    Call call;
    Failure failure;
    const char16_t* description;
  };
  const Case cases[] = {
      {country(&IQuorvaneAutomation::GetMinimumWageList, u"Atlantis"), Failure::UnknownCountry,
       u"Unknown country \"Atlantis\"; the server has data for Russia, United States, United "
       u"Kingdom, Euro area"},
      {country(&IQuorvaneAutomation::GetMinimumWageList, u"United Kingdom"), Failure::NoSeries,
       u"The server has no minimum wage data for United Kingdom"},
      {country(&IQuorvaneAutomation::GetMinimumWageList, u"Euro area"), Failure::NoSeries,
       u"The server has no minimum wage data for Euro area"},
      {country(&IQuorvaneAutomation::GetFieldValueList, u"Colour"), Failure::UnknownField,
       u"Unknown catalogue field \"Colour\"; the fields are LetterCode, Currency_International, "
       u"CurrencyShrt_International, NumericCode, CountryName_National, "
       u"CountryName_International, Currency_National, CurrencyShrt_National"},
      {lookup(u"Currency_International", u"Ruble"), Failure::SeveralMatches,
       u"Several currencies have \"Ruble\" as words of their Currency_International: BYN, RUB"},
      {lookup(u"Currency_National", u"тугрик"), Failure::NoMatch,
       u"No currency has \"тугрик\" as its Currency_National or as words of it"},
      {lookup(u"Flag", u"x"), Failure::UnknownField, nullptr},
      {pair(u"USD", u"USD"), Failure::NoRates,
       u"The rate of USD with itself is always 1; it has no history"},
      {pair(u"USD", u"QQQ"), Failure::UnknownCurrency, u"Unknown currency code \"QQQ\""},
      {rate(u"USD", u"RUB", 32874), Failure::NoRateOnDay,  // 1990-01-01
       u"No rate of RUB per USD on or before 1990-01-01: the data start on 1999-01-01"},
      {rate(u"USD", u"GBP", 46357), Failure::NoRateOnDay,  // 2026-12-01
       u"No rate of GBP per USD on 2026-12-01: the data end on 2026-05-15"},
      {rate(u"USD", u"RUB", -700000.0), Failure::NoDate,
       u"No date given (the date editor holds no date)"},
      {rate(u"USD", u"AED", 40459), Failure::NoRates, nullptr},
  };
  for (const Case& c : cases) {
    BStrResult result;
    HRESULT status = c.call(*server_.Get(), result.Put());
    ASSERT_EQ(status, StatusOf(c.failure));
    EXPECT_EQ(result.Text(), u"");
    EServerCallError error = CallError(status);
    EXPECT_EQ(error.ErrorCode(), StatusOf(c.failure));
    EXPECT_EQ(error.Source(), u"Quorvane.ReferenceServer");
    if (c.description) {
      EXPECT_EQ(error.Message(), c.description);
    }
    EXPECT_FALSE(error.Message().empty());
  }
}

TEST_F(ReferenceServerTest, FailsWhenTheClientsSettingsCannotCarryTheReply) {
  quorvane::ScopedLocaleSettings settings(servertest::Settings(u"dd MM yyyy", u' ', u','));
  BStrArg russia(u"Russia");
  BStrResult result;
  HRESULT status = server_->GetMinimumWageList(russia.Get(), result.Put());
  EXPECT_EQ(status, StatusOf(Failure::LocaleSettings));
  EXPECT_EQ(CallError(status).Message(),
            u"Dates cannot be written for the client's locale settings (short date pattern \"dd MM "
            u"yyyy\", date separator (code 32)): the day 2000-07-01 would be written \"01 07 "
            u"2000\", which does not read back as that day");
}

// The settings of the thread a call runs on, as a DLL reads its caller's thread locale.
thread_local quorvane::LocaleSettings t_callerSettings;
quorvane::LocaleSettings CallerSettings() {
  return t_callerSettings;
}

// A server object made with a source of settings writes each reply under what the source gives
// for that call, on whatever thread; the client's process-wide settings play no part. Two threads
// with settings of their own call at once (a race shows under the sanitizers).
TEST(ReferenceServerLocaleSource, EachCallIsWrittenUnderTheSettingsItsSourceGives) {
  const quorvane::LocaleSettings settingsOf[2] = {servertest::Settings(u"M/d/yyyy", u'/', u'.'),
                                                  servertest::Settings(u"dd.MM.yyyy", u'.', u',')};
  // What each settings give, asked alone.
  std::u16string expected[2];
  for (int i = 0; i < 2; ++i) {
    t_callerSettings = settingsOf[i];
    platform::ComPtr<IQuorvaneAutomation> server;
    ASSERT_EQ(
        quorvane::server::CreateReferenceServer(CallerSettings, quorvane::IID_IQuorvaneAutomation,
                                                reinterpret_cast<void**>(server.Put())),
        S_OK);
    BStrArg russia(u"Russia");
    BStrResult reply;
    ASSERT_EQ(server->GetFundsRateList(russia.Get(), reply.Put()), S_OK);
    expected[i] = reply.Text();
  }
  EXPECT_NE(expected[0], expected[1]);
  // Newest first: the list ends with the first key rate.
  EXPECT_TRUE(expected[0].ends_with(u"|9/17/2013&5.5")) << quorvane::ToUtf8(expected[0]);
  EXPECT_TRUE(expected[1].ends_with(u"|17.09.2013&5,5")) << quorvane::ToUtf8(expected[1]);

  // The process-wide settings differ from both: a reply written under them shows.
  quorvane::ScopedLocaleSettings processWide(servertest::Settings(u"yyyy-mm-dd", u'-', u'.'));
  std::string failures[2];
  auto run = [&](int i) {
    t_callerSettings = settingsOf[i];
    platform::ComPtr<IQuorvaneAutomation> server;
    quorvane::server::CreateReferenceServer(CallerSettings, quorvane::IID_IQuorvaneAutomation,
                                            reinterpret_cast<void**>(server.Put()));
    BStrArg russia(u"Russia");
    for (int call = 0; call < 300 && failures[i].empty(); ++call) {
      BStrResult reply;
      if (server->GetFundsRateList(russia.Get(), reply.Put()) != S_OK ||
          reply.Text() != expected[i])
        failures[i] = "call " + std::to_string(call) + ": " + quorvane::ToUtf8(reply.Text());
    }
  };
  std::thread first(run, 0), second(run, 1);
  first.join();
  second.join();
  EXPECT_EQ(failures[0], "");
  EXPECT_EQ(failures[1], "");
  void* none = nullptr;
  EXPECT_EQ(
      quorvane::server::CreateReferenceServer(nullptr, quorvane::IID_IQuorvaneAutomation, &none),
      E_INVALIDARG);
  EXPECT_EQ(none, nullptr);
}

TEST(ReferenceServerRegistration, RevokesOnDestructionAndObjectsEndWithTheirLastReference) {
  {
    quorvane::server::ReferenceServerRegistration registration =
        quorvane::server::RegisterReferenceServer();
    ASSERT_TRUE(registration.Registered());
    IQuorvaneAutomation* server = quorvane::CoQuorvaneAutomation::Create();
    EXPECT_EQ(quorvane::server::ReferenceServerUseCount(), 1);
    server->Release();
    EXPECT_EQ(quorvane::server::ReferenceServerUseCount(), 0);
  }
  EXPECT_THROW(quorvane::CoQuorvaneAutomation::Create(), quorvane::Exception);
}

}  // namespace
