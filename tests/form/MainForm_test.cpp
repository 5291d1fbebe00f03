// The handlers of the main window on a fake view against the scripted server: what each click
// calls, in which order, what it writes and enables, and what an error at each server call leaves.

#include <gtest/gtest.h>

#include <algorithm>

#include "FakeView.h"
#include "FormDescription.h"
#include "LocaleSettings.h"
#include "ScriptedServer.h"
#include "ValueToText.h"
#include "uQuorvaneFunc.h"

using namespace quorvane;
using quorvane::test::FakeView;
using scripted::Op;

namespace {

const ControlId kWorkingControls[] = {
    ControlId::Button2,     ControlId::cxGroupBox1, ControlId::cxGroupBox2, ControlId::cxGroupBox3,
    ControlId::cxGroupBox4, ControlId::cxGroupBox6, ControlId::cxGroupBox7, ControlId::cxGroupBox8};
const ControlId kCodeBoxes[] = {ControlId::cxComboBox3, ControlId::cxComboBox4,
                                ControlId::cxComboBox5, ControlId::cxComboBox6};

class FormTest : public testing::Test {
 protected:
  void SetUp() override {
    SetLocaleSettings(LocaleSettings{});
    server->Reply(Op::GetCountryList, u";Chile;United_Kingdom");
    server->ReplyInTurn(Op::GetFieldValueList, {u"RUB,USD", u"EUR", u"JPY", u"CHF,RUB"});
  }
  void TearDown() override { FinalizeQuorvaneFunc(); }

  void Connect() {
    view.form.Button1Click();
    ASSERT_TRUE(view.errors.empty());
    server->ClearCalls();
    view.log.clear();
  }
  std::vector<std::u16string> ItemsOf(ControlId box) { return ItemsOf(view, box); }
  static std::vector<std::u16string> ItemsOf(FakeView& of, ControlId box) {
    return of.items[box].Items();
  }
  static std::vector<std::u16string> StartItemsOf(ControlId box) {
    const auto items = Describe(box).items;
    return std::vector<std::u16string>(items.begin(), items.end());
  }
  void ExpectConnected(bool connected) {
    EXPECT_EQ(view.Enabled(ControlId::Button1), !connected);
    for (ControlId control : kWorkingControls)
      EXPECT_EQ(view.Enabled(control), connected) << ControlName(control);
  }

  scripted::ScopedScriptedServer server;
  FakeView view;
};

TEST_F(FormTest, CreateEnablesFillsAndMirrorsVisibilityInThisOrder) {
  server->SetVisible(0);
  view.form.Button1Click();
  EXPECT_EQ(view.log,
            (std::vector<std::string>{
                "enable Button2", "enable cxGroupBox1", "enable cxGroupBox2", "enable cxGroupBox3",
                "enable cxGroupBox4", "enable cxGroupBox6", "enable cxGroupBox7",
                "enable cxGroupBox8", "disable Button1", "items cxComboBox1", "items cxComboBox3",
                "items cxComboBox4", "items cxComboBox5", "items cxComboBox6",
                "text cxComboBox1=Russia", "enable cxCheckBox1", "uncheck"}));
  EXPECT_EQ(server->Log(),
            (std::vector<std::string>{"GetCountryList()", "GetFieldValueList(\"LetterCode\")",
                                      "GetFieldValueList(\"LetterCode\")",
                                      "GetFieldValueList(\"LetterCode\")",
                                      "GetFieldValueList(\"LetterCode\")", "Get_Visible()"}));
  EXPECT_EQ(ItemsOf(ControlId::cxComboBox1),
            (std::vector<std::u16string>{u"Chile", u"United Kingdom"}));
  const std::vector<std::vector<std::u16string>> codes = {
      {u"RUB", u"USD"}, {u"EUR"}, {u"JPY"}, {u"CHF", u"RUB"}};
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(ItemsOf(kCodeBoxes[i]), codes[i]) << i;
  EXPECT_EQ(view.Text(ControlId::cxComboBox1), u"Russia");
  ExpectConnected(true);
  EXPECT_TRUE(view.Enabled(ControlId::cxCheckBox1));
  EXPECT_TRUE(view.errors.empty());
}

// The box's state before Create, the server's answer, the box after, and what goes back.
struct VisibilityCase {
  bool before;
  VARIANT_BOOL answer;
  bool after;
  std::vector<std::string> calls;
};

TEST_F(FormTest, CreateSendsTheServersVisibilityBackOnlyWhenTheBoxChanges) {
  const VisibilityCase cases[] = {
      {false, 0, false, {"Get_Visible()"}},
      {false, -1, true, {"Get_Visible()", "Set_Visible(-1)"}},
      {false, 1, true, {"Get_Visible()", "Set_Visible(-1)"}},  // any non-zero is visible
      {true, -1, true, {"Get_Visible()"}},
      {true, 0, false, {"Get_Visible()", "Set_Visible(0)"}},
  };
  for (const VisibilityCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.before << " " << c.answer);
    view.checked = c.before;
    server->SetVisible(c.answer);
    view.form.Button1Click();
    std::vector<std::string> calls;
    for (const std::string& call : server->Log())
      if (call.find("_Visible") != std::string::npos)
        calls.push_back(call);
    EXPECT_EQ(calls, c.calls);
    EXPECT_EQ(view.checked, c.after);
    view.form.Button2Click();
    server->ClearCalls();
  }
}

TEST_F(FormTest, ACreationFailureChangesNothingAndShowsNothing) {
  scripted::ScopedScriptedServer failing(scripted::CreationMode::CreationFails);
  view.form.Button1Click();
  EXPECT_TRUE(view.log.empty());
  EXPECT_TRUE(view.errors.empty());
  ExpectConnected(false);
}

// An error at the n-th server call of Create ends it there: the earlier steps stay done.
TEST_F(FormTest, AnErrorAtEachCallOfCreateLeavesTheStepsBeforeIt) {
  server->SetVisible(-1);
  for (int n = 1; n <= 7; ++n) {
    SCOPED_TRACE(n);
    FakeView fresh;
    server->ClearCalls();
    server->ClearFailures();
    server->FailNth(n, scripted::Failure(E_FAIL, scripted::ErrorDetails(u"Broken call")));
    fresh.form.Button1Click();
    EXPECT_EQ(fresh.errors, std::vector<std::string>{"Broken call."});
    ASSERT_EQ(static_cast<int>(server->Log().size()), n);
    // Connected whatever failed: the user may go on or press Close.
    EXPECT_FALSE(fresh.Enabled(ControlId::Button1));
    EXPECT_TRUE(fresh.Enabled(ControlId::Button2));
    // "Russia" comes after the five list calls, the check box after it.
    EXPECT_EQ(fresh.Text(ControlId::cxComboBox1), n <= 5 ? u"cxComboBox1" : u"Russia");
    EXPECT_EQ(fresh.Enabled(ControlId::cxCheckBox1), n > 5);
    // Failing Set_Visible (the 7th call) leaves the box in its new state.
    EXPECT_EQ(fresh.checked, n == 7);
    // The code boxes from the failing one on keep their start items.
    for (int box = 0; box < 4; ++box)
      EXPECT_EQ(ItemsOf(fresh, kCodeBoxes[box]) == StartItemsOf(kCodeBoxes[box]), n <= box + 2)
          << box;
    FinalizeQuorvaneFunc();
  }
}

TEST_F(FormTest, CloseReleasesTheServerAndKeepsEveryContent) {
  server->SetVisible(-1);
  Connect();
  view.texts[ControlId::cxComboBox1] = u"Chile";
  view.form.Button2Click();
  EXPECT_EQ(view.log, (std::vector<std::string>{
                          "disable Button2", "disable cxGroupBox1", "disable cxGroupBox2",
                          "disable cxGroupBox3", "disable cxGroupBox4", "disable cxGroupBox6",
                          "disable cxGroupBox7", "disable cxGroupBox8", "enable Button1",
                          "disable cxCheckBox1", "focus Button1"}));
  EXPECT_FALSE(ServerIntf);
  EXPECT_EQ(server->ObjectsAlive(), 0);
  EXPECT_TRUE(view.checked);
  EXPECT_EQ(view.Text(ControlId::cxComboBox1), u"Chile");
  EXPECT_EQ(view.items[ControlId::cxComboBox1].Count(), 2);
  // The next Create fetches again and sets "Russia" over the typed text.
  view.form.Button1Click();
  EXPECT_EQ(view.Text(ControlId::cxComboBox1), u"Russia");
  EXPECT_EQ(server->CallCount(Op::GetCountryList), 1);
}

TEST_F(FormTest, TheCheckBoxSendsItsStateAndKeepsItWhenTheServerRefuses) {
  Connect();
  view.SetChecked(true);
  view.SetChecked(true);  // no change, no call
  view.SetChecked(false);
  EXPECT_EQ(server->Log(), (std::vector<std::string>{"Set_Visible(-1)", "Set_Visible(0)"}));
  server->Fail(Op::Set_Visible, scripted::Failure(E_FAIL, scripted::ErrorDetails(u"No window")));
  view.SetChecked(true);
  EXPECT_TRUE(view.checked);
  EXPECT_EQ(view.errors, std::vector<std::string>{"No window."});
}

// The three lookups over one table of cases: entries in reply order, the chosen day, the value.
struct LookupCase {
  const char* name;
  Op op;
  void (MainForm::*click)();
  ControlId date;
  ControlId result;
  std::u16string reply;
  TDateTime day;
  double value;
};

constexpr TDateTime d1 = 39814;  // 2009-01-01
constexpr TDateTime d2 = 40179;  // 2010-01-01

TEST_F(FormTest, EachLookupScansInItsOrderWithItsComparison) {
  const auto wage = [](TDateTime day, double v, std::u16string reply) {
    return LookupCase{"wage",
                      Op::GetMinimumWageList,
                      &MainForm::Button4Click,
                      ControlId::cxDateEdit1,
                      ControlId::cxCurrencyEdit1,
                      reply,
                      day,
                      v};
  };
  const auto funds = [](TDateTime day, double v, std::u16string reply) {
    return LookupCase{"funds",
                      Op::GetFundsRateList,
                      &MainForm::Button3Click,
                      ControlId::cxDateEdit2,
                      ControlId::cxCurrencyEdit2,
                      reply,
                      day,
                      v};
  };
  const auto prices = [](TDateTime day, double v, std::u16string reply) {
    return LookupCase{"prices",
                      Op::GetPriceIndexList,
                      &MainForm::Button5Click,
                      ControlId::cxDateEdit3,
                      ControlId::cxCurrencyEdit3,
                      reply,
                      day,
                      v};
  };
  const std::u16string wages = u"1/1/09&100&9|1/1/10&200&9";
  const std::u16string ascending = u"1/1/09&100|1/1/10&200";
  const std::u16string descending = u"1/1/10&200|1/1/09&100";
  const LookupCase cases[] = {
      wage(d1, 0, wages),        // an entry on the chosen day does not count
      wage(d1 + 1, 100, wages),  // after the first
      wage(d2, 100, wages),
      wage(d2 + 0.75, 100, wages),  // the time of day is dropped
      wage(d2 + 1, 200, wages),
      wage(kNullDate, 0, wages),  // an empty date editor
      wage(d2 + 1, 0, u""),       // no entries
      prices(d1 - 1, 0, ascending),
      prices(d1, 100, ascending),  // an entry on the chosen day counts
      prices(d2, 200, ascending),
      prices(d2 + 1, 100, descending),  // the newest first stops at once... after the oldest
      prices(d2 - 1, 0, descending),    // before the newest
      funds(d1, 0, descending),         // scanned from the last (oldest) entry back
      funds(d1 + 1, 100, descending),
      funds(d2 + 1, 200, descending),
      funds(d2, 0, ascending),  // oldest first: the last entry is the newest and fails
      funds(d2 + 1, 100, ascending),
      prices(d2 + 1, 100, u"1/1/09&100|1/1/12&300|1/1/10&200"),  // out of order stops the scan
      prices(d2 + 1, 200, u"1/1/09&100|1/1/09&200"),             // the later of one day wins
  };
  Connect();
  for (const LookupCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.name << " " << ToUtf8(c.reply) << " " << c.day);
    server->Reply(c.op, c.reply);
    view.texts[ControlId::cxComboBox1] = u"New Zealand";
    view.dates[c.date] = c.day;
    view.values.erase(c.result);
    server->ClearCalls();
    (view.form.*c.click)();
    ASSERT_TRUE(view.errors.empty()) << view.errors.front();
    EXPECT_EQ(view.values.at(c.result), c.value);
    ASSERT_EQ(server->Calls().size(), 1u);
    EXPECT_EQ(server->Calls()[0].texts[0], std::optional<std::u16string>(u"New Zealand"));
  }
}

TEST_F(FormTest, AFailedLoadKeepsTheFormerValueAndShowsTheError) {
  Connect();
  view.values[ControlId::cxCurrencyEdit3] = 42;
  server->Reply(Op::GetPriceIndexList, u"1/1/09&abc");
  view.form.Button5Click();
  EXPECT_EQ(view.values[ControlId::cxCurrencyEdit3], 42);
  EXPECT_EQ(view.errors, std::vector<std::string>{"'abc' is not a valid floating point value."});
}

TEST_F(FormTest, LetterCodeLookupSendsFieldAndValueAndShowsTheReplyAsIs) {
  Connect();
  for (const std::u16string reply : {u"RUB", u" a|b;c ", u""}) {
    server->Reply(Op::GetLIDCurrency, reply);
    server->ClearCalls();
    view.form.Button6Click();
    EXPECT_EQ(server->Log(),
              std::vector<std::string>{"GetLIDCurrency(\"Currency_National\", \"рубль\")"});
    EXPECT_EQ(view.Text(ControlId::cxTextEdit2), reply);
  }
  server->Fail(Op::GetLIDCurrency);
  view.form.Button6Click();
  EXPECT_EQ(view.Text(ControlId::cxTextEdit2), u"");
  EXPECT_EQ(view.errors.size(), 1u);
}

TEST_F(FormTest, ExchangeListingWritesHeaderAndOneLinePerEntry) {
  Connect();
  const std::u16string memo = view.memo;
  server->Reply(Op::GetListOfExchangeRate, u";");
  view.form.Button7Click();
  EXPECT_EQ(view.memo, memo + u"List of ExchangeRate RUB->USD\r\nlist is clear\r\n");
  // 30.12345 is a tie, rounded to even when it is read as money.
  server->Reply(Op::GetListOfExchangeRate, u";10/1/10=1;10/2/10=30.12345");
  view.texts[ControlId::cxComboBox3] = u"xx";  // codes are sent as typed
  view.form.Button7Click();
  view.form.Button7Click();  // a second listing goes below the first
  const std::u16string listing =
      u"List of ExchangeRate xx->USD\r\n10/1/10 1.0000\r\n10/2/10 30.1234\r\n";
  EXPECT_EQ(view.memo,
            memo + u"List of ExchangeRate RUB->USD\r\nlist is clear\r\n" + listing + listing);
  EXPECT_EQ(server->Calls().back().texts,
            (std::vector<std::optional<std::u16string>>{u"xx", u"USD"}));
  // A failed load writes nothing, not even the header.
  server->Fail(Op::GetListOfExchangeRate);
  const std::u16string before = view.memo;
  view.form.Button7Click();
  EXPECT_EQ(view.memo, before);
  EXPECT_EQ(view.errors.size(), 1u);
}

TEST_F(FormTest, RateOnADaySendsTheDayUnchangedAndShowsTheRate) {
  Connect();
  const struct {
    TDateTime day;
    std::u16string reply;
    std::u16string shown;
  } cases[] = {
      {40459.0, u"F", u"1"},
      {40459.75, u"N=30.5", u"30.5"},
      {kNullDate, u"C:0.25", u"0.25"},
  };
  for (const auto& c : cases) {
    view.dates[ControlId::cxDateEdit4] = c.day;
    server->Reply(Op::GetExchangeRate, c.reply);
    server->ClearCalls();
    view.form.Button8Click();
    ASSERT_TRUE(view.errors.empty()) << view.errors.front();
    EXPECT_EQ(view.Text(ControlId::cxTextEdit3), c.shown);
    ASSERT_EQ(server->Calls().size(), 1u);
    EXPECT_EQ(server->Calls()[0].day, c.day);
    EXPECT_EQ(server->Calls()[0].texts,
              (std::vector<std::optional<std::u16string>>{u"RUB", u"USD"}));
  }
  server->Fail(Op::GetExchangeRate);
  view.form.Button8Click();
  EXPECT_EQ(view.Text(ControlId::cxTextEdit3), u"0.25");
}

TEST_F(FormTest, RawHistoryGoesIntoTheMemoAsOneText) {
  Connect();
  const std::u16string memo = view.memo;
  server->Reply(Op::GetListOfExchangeRate, u";a\r\nb");
  view.form.CountryClick();
  EXPECT_EQ(view.memo, memo + u";a\r\nb\r\n");
}

TEST_F(FormTest, RawHistoryWithoutAServerShowsAnErrorAndCallsNothing) {
  view.form.CountryClick();
  EXPECT_EQ(view.errors.size(), 1u);
  EXPECT_TRUE(server->Log().empty());
  EXPECT_EQ(view.memo, Describe(ControlId::cxMemo1).text);
}

}  // namespace

TEST_F(FormTest, EachLoadIsKeptForItsGroupsChart) {
  EXPECT_EQ(view.form.ChartFor(std::nullopt).title, kNothingLoaded);
  EXPECT_TRUE(view.form.ChartFor(ControlId::cxGroupBox4).entries.empty());
  Connect();
  view.texts[ControlId::cxComboBox1] = u"New Zealand";
  view.dates[ControlId::cxDateEdit3] = d2;
  server->Reply(Op::GetPriceIndexList, u"1/1/10&200|1/1/09&100");
  view.form.Button5Click();
  server->Reply(Op::GetListOfExchangeRate, u";10/1/10=1;10/2/10=2");
  view.form.Button7Click();
  ASSERT_EQ(view.loaded.size(), 2u);

  const LoadedSeries prices = view.form.ChartFor(ControlId::cxGroupBox4);
  EXPECT_EQ(prices.title, u"Consumer price index, New Zealand");
  ASSERT_EQ(prices.entries.size(), 2u);
  EXPECT_EQ(prices.entries[0].Date, d2);  // as the server sent them
  ASSERT_TRUE(prices.chosen);
  EXPECT_EQ(prices.chosen->Day, d2);
  EXPECT_EQ(MoneyToReal(prices.chosen->Value).ToDouble(), 100);  // the lookup's value

  const LoadedSeries rates = view.form.ChartFor(ControlId::cxGroupBox7);
  EXPECT_EQ(rates.title, u"ExchangeRate RUB->USD");
  EXPECT_EQ(rates.entries.size(), 2u);
  EXPECT_FALSE(rates.chosen);
  // A group that loaded nothing, or none, gets the last load.
  EXPECT_EQ(view.form.ChartFor(ControlId::cxGroupBox2).title, rates.title);
  EXPECT_EQ(view.form.ChartFor(std::nullopt).title, rates.title);

  // A failed load keeps the chart of the former one; an empty date editor marks no day.
  server->Fail(Op::GetPriceIndexList);
  view.form.Button5Click();
  EXPECT_EQ(view.form.ChartFor(ControlId::cxGroupBox4).entries.size(), 2u);
  server->ClearFailures();
  server->Reply(Op::GetPriceIndexList, u"1/1/09&100");
  view.dates.erase(ControlId::cxDateEdit3);
  view.form.Button5Click();
  EXPECT_EQ(view.form.ChartFor(ControlId::cxGroupBox4).entries.size(), 1u);
  EXPECT_FALSE(view.form.ChartFor(ControlId::cxGroupBox4).chosen);
  EXPECT_EQ(view.loaded.size(), 3u);
}

TEST(ChartGroup, IsTheLookupOrListingAroundAControl) {
  const struct {
    ControlId control;
    std::optional<ControlId> group;
  } cases[] = {
      {ControlId::Button4, ControlId::cxGroupBox2},
      {ControlId::cxCurrencyEdit2, ControlId::cxGroupBox3},
      {ControlId::cxDateEdit3, ControlId::cxGroupBox4},
      {ControlId::cxComboBox4, ControlId::cxGroupBox7},
      {ControlId::cxGroupBox7, ControlId::cxGroupBox7},
      {ControlId::Button8, std::nullopt},
      {ControlId::cxGroupBox5, std::nullopt},
      {ControlId::cxMemo1, std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ChartGroupOf(c.control), c.group) << ControlName(c.control);
}
