// The server reference, the loaders of the catalogue lists and series, and the rate on a date,
// each against the scripted server under the locale of the examples: dd.MM.yyyy and ",".
#include "uQuorvaneFunc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>

#include "Errors.h"
#include "IsoDate.h"
#include "LocaleSettings.h"
#include "Raised.h"
#include "RuntimeTrace.h"
#include "ScriptedServer.h"
#include "ServerCall.h"
#include "Utf.h"

namespace {

using namespace quorvane;
using scripted::ErrorDetails;
using scripted::Failure;
using scripted::Op;

LocaleSettings ExampleLocale() {
  LocaleSettings settings;
  settings.ShortDateFormat = u"dd.MM.yyyy";
  settings.DateSeparator = u'.';
  settings.DecimalSeparator = u',';
  settings.ThousandSeparator = u'\u00A0';
  return settings;
}

using clienttest::Raised;
using clienttest::RaisedBy;

Raised NotAFloat(std::u16string_view text) {
  return {"EConvertError", u"'" + std::u16string(text) + u"' is not a valid floating point value"};
}
Raised NotADate(std::u16string_view text) {
  return {"EConvertError", u"''" + std::u16string(text) + u"'' is not a valid date"};
}

std::string Show(TDate date) {
  return IsoDateText(date);
}
std::string Show(Currency value) {
  const long long count = value.Count;
  char text[32];
  std::snprintf(text, sizeof text, "%s%lld.%04lld", count < 0 ? "-" : "", std::llabs(count) / 10000,
                std::llabs(count) % 10000);
  return text;
}
std::vector<std::string> Rows(const std::vector<DateValueRec>& table) {
  std::vector<std::string> rows;
  for (const DateValueRec& r : table)
    rows.push_back(Show(r.Date) + " " + Show(r.Value));
  return rows;
}
std::vector<std::string> Rows(const std::vector<MinimumWageRec>& table) {
  std::vector<std::string> rows;
  for (const MinimumWageRec& r : table)
    rows.push_back(Show(r.Date) + " " + Show(r.mValue1) + " " + Show(r.mValue2));
  return rows;
}

// Records a table holds before a load, so that what a failing load leaves behind shows.
const std::vector<DateValueRec> kOldValues = {
    {EncodeDay(1999, 9, 9), {11}}, {EncodeDay(1998, 8, 8), {22}}, {EncodeDay(1997, 7, 7), {33}}};
const std::vector<MinimumWageRec> kOldWages = {{EncodeDay(1999, 9, 9), {11}, {12}},
                                               {EncodeDay(1998, 8, 8), {21}, {22}}};

// A connected scripted server, the example locale, and the check that nothing leaks.
class QuorvaneFunc : public testing::Test {
 protected:
  QuorvaneFunc() : locale_(ExampleLocale()) {}
  void SetUp() override {
    bstrsBefore_ = platform::LiveBstrCount();
    ASSERT_TRUE(CreateServer());
    server->ClearCalls();
  }
  void TearDown() override {
    FinalizeQuorvaneFunc();
    SetErrorInfo(0, nullptr);
    EXPECT_EQ(server->ObjectsAlive(), 0);
    EXPECT_EQ(platform::LiveBstrCount(), bstrsBefore_) << "BSTRs left alive";
  }

  ScopedLocaleSettings locale_;
  scripted::ScopedScriptedServer server;

 private:
  long bstrsBefore_ = 0;
};

// ---- the connection

TEST(Connection, CloseWithoutConnectionAndCreateWithoutClass) {
  EXPECT_TRUE(CloseServer());
  EXPECT_FALSE(ServerIntf);
  EXPECT_FALSE(CreateServer());  // nothing registered: false, nothing raised
  EXPECT_FALSE(ServerIntf);
}

TEST(Connection, CreationFailuresGiveFalseAndKeepTheFormerReference) {
  scripted::ScopedScriptedServer working;
  ASSERT_TRUE(CreateServer());
  IQuorvaneAutomation* connected = ServerIntf.Get();
  for (auto mode : {scripted::CreationMode::NoInterface, scripted::CreationMode::CreationFails}) {
    scripted::ScopedScriptedServer failing(mode);
    EXPECT_FALSE(CreateServer());
    EXPECT_EQ(ServerIntf.Get(), connected);
    EXPECT_EQ(failing->ObjectsAlive(), 0);  // an object without the interface is released
  }
  EXPECT_EQ(working->References(), 1);
  EXPECT_TRUE(CloseServer());
  EXPECT_EQ(working->ObjectsAlive(), 0);
}

TEST(Connection, ACreateDuringAConnectionReplacesTheObjectAfterWritingTheNewOne) {
  scripted::ScopedScriptedServer server;
  ASSERT_TRUE(CreateServer());
  IQuorvaneAutomation* first = ServerIntf.Get();
  bool replacedBeforeRelease = false;
  server->OnRelease([&](int object, ULONG left) {
    if (object == 1 && left == 0)
      replacedBeforeRelease = ServerIntf && ServerIntf.Get() != first;
  });
  ASSERT_TRUE(CreateServer());
  EXPECT_TRUE(replacedBeforeRelease);
  const auto& log = server->ReferenceLog();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(log.end() - 3, log.end()),
            (std::vector<std::string>{"AddRef(#2)=2", "Release(#1)=0", "Release(#2)=1"}));
  EXPECT_EQ(server->ObjectsAlive(), 1);
  FinalizeQuorvaneFunc();
  EXPECT_EQ(server->ObjectsAlive(), 0);
}

TEST(Connection, NoOperationWithoutAConnection) {
  scripted::ScopedScriptedServer server;
  const Raised noServer{"Exception", u"No server object"};
  StringList list;
  list.Add(u"kept?");
  EXPECT_EQ(RaisedBy([&] { LoadCountryList(list); }), noServer);
  EXPECT_EQ(list.Count(), 0);  // emptied before the server is asked
  EXPECT_EQ(RaisedBy([&] { LoadFieldValues(u"LetterCode", list); }), noServer);
  EXPECT_EQ(RaisedBy([] { LoadMinimumWage(u"Chile"); }), noServer);
  EXPECT_EQ(RaisedBy([] { GetRateOnDate(u"USD", u"RUB", 40459); }), noServer);
  EXPECT_EQ(RaisedBy([] { ServerSetVisible(true); }), noServer);
  EXPECT_EQ(server->ObjectsMade(), 0);
}

TEST(Connection, FinalizationEmptiesTheTablesBeforeReleasingTheServer) {
  ScopedLocaleSettings locale(ExampleLocale());
  scripted::ScopedScriptedServer server;
  server->Reply(Op::GetMinimumWageList, u"01.01.2009&1&2")
      .Reply(Op::GetPriceIndexList, u"01.01.2009&1")
      .Reply(Op::GetFundsRateList, u"01.01.2009&1")
      .Reply(Op::GetListOfExchangeRate, u";01.01.2009=1");
  ASSERT_TRUE(CreateServer());
  LoadMinimumWage(u"Chile");
  LoadPriceIndex(u"Chile");
  LoadFundsRate(u"Chile");
  LoadExchangeList(u"USD", u"RUB");
  bool tablesEmptyAtRelease = false;
  server->OnRelease([&](int, ULONG left) {
    if (left == 0)
      tablesEmptyAtRelease = ExchangeTable.empty() && MinimumWageTable.empty() &&
                             PriceIndexTable.empty() && FundsRateTable.empty();
  });
  FinalizeQuorvaneFunc();
  EXPECT_TRUE(tablesEmptyAtRelease);
  EXPECT_FALSE(ServerIntf);
  EXPECT_EQ(server->ObjectsAlive(), 0);
}

// ---- every routine: its call, its arguments, and a failure of that call

struct RoutineCase {
  const char* name;
  std::function<void()> run;  // a call that succeeds with the replies of the fixture
  std::string logged;
};

std::vector<RoutineCase> AllRoutines(StringList& list) {
  return {
      {"LoadCountryList", [&] { LoadCountryList(list); }, "GetCountryList()"},
      {"LoadFieldValues", [&] { LoadFieldValues(u"LetterCode", list); },
       "GetFieldValueList(\"LetterCode\")"},
      {"LoadMinimumWage", [] { LoadMinimumWage(u"United Kingdom"); },
       "GetMinimumWageList(\"United Kingdom\")"},
      {"LoadPriceIndex", [] { LoadPriceIndex(u"\u0420\u043E\u0441\u0441\u0438\u044F"); },
       "GetPriceIndexList(\"\xD0\xA0\xD0\xBE\xD1\x81\xD1\x81\xD0\xB8\xD1\x8F\")"},
      {"LoadFundsRate", [] { LoadFundsRate(u""); }, "GetFundsRateList(null)"},  // empty: null
      {"LoadExchangeList", [] { LoadExchangeList(u"RUB", u"USD"); },
       "GetListOfExchangeRate(\"RUB\", \"USD\")"},
      {"GetRateOnDate", [] { GetRateOnDate(u"USD", u"RUB", 40459.75); },
       "GetExchangeRate(\"USD\", \"RUB\", 40459.75)"},  // the time of day goes along
      {"GetRateOnDate, no date", [] { GetRateOnDate(u"USD", u"RUB", kNullDate); },
       "GetExchangeRate(\"USD\", \"RUB\", -700000)"},
      {"ServerGetVisible", [] { ServerGetVisible(); }, "Get_Visible()"},
      {"ServerSetVisible true", [] { ServerSetVisible(true); }, "Set_Visible(-1)"},
      {"ServerSetVisible false", [] { ServerSetVisible(false); }, "Set_Visible(0)"},
      {"ServerGetLIDCurrency",
       [] { ServerGetLIDCurrency(u"Currency_National", u"\u0440\u0443\u0431\u043B\u044C"); },
       "GetLIDCurrency(\"Currency_National\", \"\xD1\x80\xD1\x83\xD0\xB1\xD0\xBB\xD1\x8C\")"},
      {"ServerGetListOfExchangeRate", [] { ServerGetListOfExchangeRate(u"USD", u""); },
       "GetListOfExchangeRate(\"USD\", null)"},
  };
}

class Routines : public QuorvaneFunc {
 protected:
  void SetUp() override {
    QuorvaneFunc::SetUp();
    server->Reply(Op::GetCountryList, u";Chile")
        .Reply(Op::GetFieldValueList, u"RUB,USD")
        .Reply(Op::GetMinimumWageList, u"01.01.2009&1&2")
        .Reply(Op::GetPriceIndexList, u"01.01.2009&1")
        .Reply(Op::GetFundsRateList, u"01.01.2009&1")
        .Reply(Op::GetListOfExchangeRate, u";01.01.2009=1")
        .Reply(Op::GetExchangeRate, u"F")
        .Reply(Op::GetLIDCurrency, u"RUB");
  }
};

TEST_F(Routines, EachCallsItsOperationOnceWithItsArguments) {
  StringList list;
  for (const RoutineCase& routine : AllRoutines(list)) {
    SCOPED_TRACE(routine.name);
    server->ClearCalls();
    EXPECT_EQ(RaisedBy(routine.run), Raised{});
    EXPECT_EQ(server->Log(), std::vector<std::string>{routine.logged});
  }
}

TEST_F(Routines, AFailingCallRaisesTheServerErrorAndLeavesTheTablesAlone) {
  StringList list;
  for (const RoutineCase& routine : AllRoutines(list)) {
    SCOPED_TRACE(routine.name);
    MinimumWageTable = kOldWages;
    PriceIndexTable = FundsRateTable = ExchangeTable = kOldValues;
    server->ClearCalls();
    server->ClearFailures().FailEvery({E_FAIL, ErrorDetails{u"No data for Chile. "}});
    EXPECT_EQ(RaisedBy(routine.run), (Raised{"EServerCallError", u"No data for Chile"}));
    server->ClearFailures().FailEvery({MakeHresult(0x8ABCDEF0)});
    EXPECT_EQ(RaisedBy(routine.run), (Raised{"EServerCallError", u"OLE error 8ABCDEF0"}));
    EXPECT_EQ(Rows(MinimumWageTable), Rows(kOldWages));
    for (const auto* table : {&PriceIndexTable, &FundsRateTable, &ExchangeTable})
      EXPECT_EQ(Rows(*table), Rows(kOldValues));
    EXPECT_EQ(server->Calls().size(), 2u);
    EXPECT_TRUE(ServerIntf);  // the connection stays open
  }
}

TEST_F(Routines, SuccessCodesOtherThanSOkCount) {
  server->Reply(Op::GetExchangeRate, u"N=2,5", S_FALSE);
  EXPECT_EQ(GetRateOnDate(u"USD", u"RUB", 1).Count, 25000);
}

TEST_F(QuorvaneFunc, VisibilityReadsEveryNonZeroValueAsTrue) {
  const struct {
    VARIANT_BOOL sent;
    bool read;
  } cases[] = {
      {VARIANT_TRUE, true}, {VARIANT_FALSE, false}, {1, true}, {0x7FFF, true}, {INT16_MIN, true}};
  for (const auto& c : cases) {
    server->SetVisible(c.sent);
    EXPECT_EQ(ServerGetVisible(), c.read) << c.sent;
  }
  ServerSetVisible(true);
  EXPECT_EQ(server->Visible(), VARIANT_TRUE);
}

// ---- catalogue lists

TEST_F(QuorvaneFunc, CountryList) {
  struct Case {
    std::u16string reply;
    std::vector<std::u16string> entries;
    char16_t delimiter;
  };
  const Case cases[] = {
      {u";Russia;United_Kingdom", {u"Russia", u"United Kingdom"}, u';'},
      {u";Russia;United_Kingdom;", {u"Russia", u"United Kingdom", u""}, u';'},
      {u";New Zealand", {u"New", u"Zealand"}, u';'},  // a space ends an entry
      {u";a__b", {u"a  b"}, u';'},                    // every underscore
      {u";", {}, u';'},
      {u",Russia;Chile", {u"Russia;Chile"}, u','},                // the first character decides
      {u"_Costa_Rica_Peru", {u"Costa", u"Rica", u"Peru"}, u'_'},  // underscore as delimiter
      {u" Chile  Peru", {u"Chile", u"Peru"}, u' '},  // a blank delimiter only separates
      {u"", {}, u'#'},                               // no first character: no entry, no read
      {std::u16string(u";Chile\0;Peru", 12), {u"Chile"}, u';'},  // nothing behind a NUL
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.reply));
    StringList target;
    target.SetDelimiter(u'#');
    target.Add(u"left over");
    server->Reply(Op::GetCountryList, c.reply);
    LoadCountryList(target);
    EXPECT_EQ(target.Items(), c.entries);
    EXPECT_EQ(target.Delimiter(), c.delimiter);
  }
}

TEST_F(QuorvaneFunc, CountryListFailureLeavesTheTargetEmpty) {
  StringList target;
  target.Add(u"Chile");
  server->Fail(Op::GetCountryList);
  EXPECT_EQ(RaisedBy([&] { LoadCountryList(target); }).kind, "EServerCallError");
  EXPECT_EQ(target.Count(), 0);
}

TEST_F(QuorvaneFunc, FieldValuesAndTheBlankEntrySweep) {
  struct Case {
    std::u16string reply;
    std::vector<std::u16string> entries;
  };
  const Case cases[] = {
      {u"RUB,USD,EUR", {u"RUB", u"USD", u"EUR"}},
      {u"RUB,,USD", {u"RUB", u"USD"}},
      {u",RUB", {u"RUB"}},
      {u"RUB, ,USD", {u"RUB", u"USD"}},
      {u"RUB,\" \",USD", {u"RUB", u"USD"}},  // a quoted blank is a blank entry
      {u"RUB,USD,", {u"RUB", u"USD", u""}},  // the last entry is never examined
      {u"RUB,\" \"", {u"RUB", u" "}},
      {u"RUB", {u"RUB"}},
      {u",", {u""}},
      {u",,", {u""}},
      {u"RUB,,,,", {u"RUB", u""}},  // removals move later blanks up to the same index
      {u"US Dollar,RUB", {u"US", u"Dollar", u"RUB"}},
      {u"\"\t\x01\",RUB", {u"RUB"}},             // control characters are blanks
      {u"\"\u00A0\",RUB", {u"\u00A0", u"RUB"}},  // the no-break space is not
      {u"Pound_Sterling", {u"Pound_Sterling"}},  // values are never altered
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.reply));
    StringList target;
    target.SetDelimiter(u';');
    target.Add(u"left over");
    server->Reply(Op::GetFieldValueList, c.reply);
    LoadFieldValues(u"LetterCode", target);
    EXPECT_EQ(target.Items(), c.entries);
    EXPECT_EQ(target.Delimiter(), u',');
  }
}

// A list shown in a window is rebuilt on each change it is told of: each catalogue loader tells
// one change, whatever the number of entries it renames or removes, and also when it fails.
TEST_F(QuorvaneFunc, CatalogueLoadersTellOneChange) {
  struct Observer : StringListObserver {
    void Changing() override { ++changing; }
    void Changed() override { ++changed; }
    int changing = 0, changed = 0;
  };
  std::u16string countries, codes;
  for (int i = 0; i < 1000; ++i) {
    countries += u";Country_" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26));
    codes += u",,C";
  }
  struct Case {
    const char* name;
    Op op;
    std::u16string reply;
    std::function<void(StringList&)> load;
  };
  const Case cases[] = {
      {"countries with names to mend", Op::GetCountryList, countries, LoadCountryList},
      {"codes among blank entries", Op::GetFieldValueList, codes,
       [](StringList& list) { LoadFieldValues(u"LetterCode", list); }},
      {"an empty field list, which fails", Op::GetFieldValueList, u"",
       [](StringList& list) { LoadFieldValues(u"LetterCode", list); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StringList list;
    Observer observer;
    list.SetObserver(&observer);
    server->Reply(c.op, c.reply);
    RaisedBy([&] { c.load(list); });
    EXPECT_EQ(observer.changing, 1);
    EXPECT_EQ(observer.changed, 1);
  }
}

TEST_F(QuorvaneFunc, FieldValuesOfAnEmptyReplyRaiseTheIndexError) {
  for (std::u16string reply : {u"", u"  "}) {
    StringList target;
    target.Add(u"left over");
    server->Reply(Op::GetFieldValueList, reply);
    EXPECT_EQ(RaisedBy([&] { LoadFieldValues(u"LetterCode", target); }),
              (Raised{"EStringListError", u"List index out of bounds (0)"}));
    EXPECT_EQ(target.Count(), 0);
  }
}

TEST_F(QuorvaneFunc, FieldValuesFailureKeepsTheEntriesButNotTheDelimiter) {
  StringList target;
  target.SetDelimiter(u';');
  target.Add(u"RUB");
  server->Fail(Op::GetFieldValueList);
  EXPECT_EQ(RaisedBy([&] { LoadFieldValues(u"LetterCode", target); }).kind, "EServerCallError");
  EXPECT_EQ(target.Items(), std::vector<std::u16string>{u"RUB"});
  EXPECT_EQ(target.Delimiter(), u',');
}

// ---- the series

enum class Series { PriceIndex, FundsRate, Exchange };

std::vector<DateValueRec>& TableOf(Series series) {
  switch (series) {
    case Series::PriceIndex:
      return PriceIndexTable;
    case Series::FundsRate:
      return FundsRateTable;
    case Series::Exchange:
      break;
  }
  return ExchangeTable;
}

struct SeriesCase {
  const char* why;
  std::u16string reply;
  std::vector<DateValueRec> before;
  std::vector<std::string> after;
  Raised raised;
};

// Written for the vertical bar and "&"; the exchange-rate form is derived from each.
const SeriesCase kDateValueCases[] = {
    {"two entries in reply order",
     u"01.01.2009&100,0|01.01.2010&105,5",
     kOldValues,
     {"2009-01-01 100.0000", "2010-01-01 105.5000"},
     {}},
    {"an empty reply empties the table", u"", kOldValues, {}, {}},
    {"the same date twice is kept twice",
     u"01.01.2009&1|01.01.2009&2",
     {},
     {"2009-01-01 1.0000", "2009-01-01 2.0000"},
     {}},
    {"a trailing delimiter: a second, empty entry fails at its date",
     u"01.01.2009&100,0|",
     kOldValues,
     {"2009-01-01 100.0000", "1998-08-08 0.0022"},
     NotADate(u"")},
    {"the grown record stays zero",
     u"01.01.2009&100,0|",
     {},
     {"2009-01-01 100.0000", "1899-12-30 0.0000"},
     NotADate(u"")},
    {"a space splits the entry; the rest has no separator",
     u"01.01.2009&1 000,5",
     {},
     {"2009-01-01 1.0000", "1899-12-30 0.0000"},
     NotADate(u"")},
    {"the wrong decimal separator: the date is already stored",
     u"01.01.2009&100.0",
     kOldValues,
     {"2009-01-01 0.0011"},
     NotAFloat(u"100.0")},
    {"a date that does not read leaves the record",
     u"01.01.2009&1|1.13.2009&2",
     kOldValues,
     {"2009-01-01 1.0000", "1998-08-08 0.0022"},
     NotADate(u"1.13.2009")},
    {"number reading passes over spaces inside a quoted entry",
     u"\"01.01.2009& 5 \"",
     {},
     {"2009-01-01 5.0000"},
     {}},
    {"ties of the fifth decimal go to even",
     u"01.01.2009&0,00005|01.01.2009&0,00015",
     {},
     {"2009-01-01 0.0000", "2009-01-01 0.0002"},
     {}},
    {"beyond the money range",
     u"01.01.2009&1000000000000000",
     {},
     {"2009-01-01 0.0000"},
     {"EInvalidOp", u"Invalid floating point operation"}},
    {"fewer entries than before leave exactly that many",
     u"02.02.2002&-2",
     kOldValues,
     {"2002-02-02 -2.0000"},
     {}},
};

std::u16string AsExchangeReply(std::u16string reply) {
  for (char16_t& c : reply) {
    if (c == u'|')
      c = u';';
    else if (c == u'&')
      c = u'=';
  }
  return u";" + reply;
}

TEST_F(QuorvaneFunc, PriceIndexFundsRateAndExchangeSeries) {
  for (Series series : {Series::PriceIndex, Series::FundsRate, Series::Exchange}) {
    for (const SeriesCase& c : kDateValueCases) {
      SCOPED_TRACE(testing::Message() << static_cast<int>(series) << ": " << c.why);
      std::vector<DateValueRec>& table = TableOf(series);
      table = c.before;
      std::function<void()> load;
      switch (series) {
        case Series::PriceIndex:
          server->Reply(Op::GetPriceIndexList, c.reply);
          load = [] { LoadPriceIndex(u"Chile"); };
          break;
        case Series::FundsRate:
          server->Reply(Op::GetFundsRateList, c.reply);
          load = [] { LoadFundsRate(u"Chile"); };
          break;
        case Series::Exchange:
          server->Reply(Op::GetListOfExchangeRate, AsExchangeReply(c.reply));
          load = [] { LoadExchangeList(u"USD", u"RUB"); };
          break;
      }
      EXPECT_EQ(RaisedBy(load), c.raised);
      EXPECT_EQ(Rows(table), c.after);
    }
  }
}

TEST_F(QuorvaneFunc, OnlyTheLoadersOwnTableChanges) {
  MinimumWageTable = kOldWages;
  PriceIndexTable = FundsRateTable = ExchangeTable = kOldValues;
  server->Reply(Op::GetFundsRateList, u"01.01.2009&1");
  LoadFundsRate(u"Chile");
  EXPECT_EQ(Rows(FundsRateTable), std::vector<std::string>{"2009-01-01 1.0000"});
  EXPECT_EQ(Rows(MinimumWageTable), Rows(kOldWages));
  EXPECT_EQ(Rows(PriceIndexTable), Rows(kOldValues));
  EXPECT_EQ(Rows(ExchangeTable), Rows(kOldValues));
}

TEST_F(QuorvaneFunc, ExchangeReplyFormsOfItsOwn) {
  struct Case {
    std::u16string reply;
    std::vector<std::string> after;
    Raised raised;
  };
  const Case cases[] = {
      {u";01.10.2010=12,3456;02.10.2010=12,5", {"2010-10-01 12.3456", "2010-10-02 12.5000"}, {}},
      {u"|01.10.2010=12,3456|02.10.2010=12,5", {"2010-10-01 12.3456", "2010-10-02 12.5000"}, {}},
      {u";", {}, {}},  // only the delimiter: no entry, nothing decoded
      {u"", {}, {}},   // no delimiter to read: no entry
      // "0" is the delimiter: the rest splits into "1.1", ".2", "1", "=1"; the first fails.
      {u"01.10.2010=1", std::vector<std::string>(4, "1899-12-30 0.0000"), NotADate(u"")},
      {u";01.10.2010&1", {"1899-12-30 0.0000"}, NotADate(u"")},  // the "&" of other series
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.reply));
    ExchangeTable.clear();
    server->Reply(Op::GetListOfExchangeRate, c.reply);
    const Raised raised = RaisedBy([] { LoadExchangeList(u"USD", u"RUB"); });
    EXPECT_EQ(raised, c.raised);
    EXPECT_EQ(Rows(ExchangeTable), c.after);
  }
}

TEST_F(QuorvaneFunc, MinimumWageSeries) {
  struct Case {
    const char* why;
    std::u16string reply;
    std::vector<std::string> after;
    Raised raised;
  };
  const Case cases[] = {
      {"one entry", u"01.01.2009&100&200,5", {"2009-01-01 100.0000 200.5000"}, {}},
      {"an empty reply empties the table", u"", {}, {}},
      {"one separator: the first value text is empty",
       u"01.01.2009&100",
       {"2009-01-01 0.0011 0.0012"},
       NotAFloat(u"")},
      {"a third separator stays in the second value",
       u"01.01.2009&1&2&3",
       {"2009-01-01 1.0000 0.0012"},
       NotAFloat(u"2&3")},
      {"no separator: the date text is empty",
       u"1|2|3",
       {"1999-09-09 0.0011 0.0012", "1998-08-08 0.0021 0.0022", "1899-12-30 0.0000 0.0000"},
       NotADate(u"")},
      {"two entries",
       u"01.01.2009&1&2|01.01.2010&3&4",
       {"2009-01-01 1.0000 2.0000", "2010-01-01 3.0000 4.0000"},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    MinimumWageTable = kOldWages;
    server->Reply(Op::GetMinimumWageList, c.reply);
    EXPECT_EQ(RaisedBy([] { LoadMinimumWage(u"Chile"); }), c.raised);
    EXPECT_EQ(Rows(MinimumWageTable), c.after);
  }
}

// ---- the rate on a date

TEST_F(QuorvaneFunc, RateOnDate) {
  struct Case {
    std::u16string reply;
    std::int64_t count;  // when nothing is raised
    Raised raised;
  };
  const Case cases[] = {
      {u"F", 10000, {}},
      {u"F=2,5", 10000, {}},  // the rest is not read
      {u"N=12,3456", 123456, {}},
      {u"NUSD=12,3456", 123456, {}},
      {u"N= 12,3456 ", 123456, {}},
      {u"C:12,3456", 123456, {}},
      {u"Cxyz:0,5", 5000, {}},
      {u"N=12,34565", 123456, {}},  // a tie goes to the even count
      {u"N=12,34575", 123458, {}},
      {u"N=-0,5", -5000, {}},
      {u"N12,3456", 0, NotAFloat(u"N12,3456")},  // no "=": the whole reply is read
      {u"C=12,3456", 0, NotAFloat(u"C=12,3456")},
      {u"N=12,3456=1", 0, NotAFloat(u"12,3456=1")},
      {u"N=12.3456", 0, NotAFloat(u"12.3456")},
      {u"N=", 0, NotAFloat(u"")},
      {u"N=1000000000000000", 0, {"EInvalidOp", u"Invalid floating point operation"}},
      {u"n=1", 0, {"EConvertError", u"Unexpected exchange-rate reply: 'n=1'"}},  // upper case only
      {u"", 0, {"EConvertError", u"Unexpected exchange-rate reply: ''"}},
      {u"X%s%d", 0, {"EConvertError", u"Unexpected exchange-rate reply: 'X%s%d'"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.reply));
    server->Reply(Op::GetExchangeRate, c.reply);
    Currency rate{-1};
    EXPECT_EQ(RaisedBy([&] { rate = GetRateOnDate(u"USD", u"RUB", 40459.75); }), c.raised);
    if (c.raised == Raised{}) {
      EXPECT_EQ(rate.Count, c.count);
    }
  }
}

TEST_F(QuorvaneFunc, RateOnDateWithTheDecimalSeparatorAsALetter) {
  // A separator "C" lets the text that "N" left begin with "C"; the result stays the same.
  LocaleSettings settings = ExampleLocale();
  settings.DecimalSeparator = u'C';
  ScopedLocaleSettings odd(settings);
  server->Reply(Op::GetExchangeRate, u"N=C5");
  EXPECT_EQ(GetRateOnDate(u"USD", u"RUB", 1).Count, 5000);
}

// ---- property: random series written as the server writes them read back exactly

std::u16string DateText(TDate date) {
  const CalendarDay day = DecodeDay(date);
  char text[16];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d", day.Day, day.Month, day.Year);
  return std::u16string(text, text + std::strlen(text));
}

// The count as a number text with the example's decimal comma, as many decimals as it needs.
std::u16string MoneyText(Currency value) {
  std::string text = Show(value);
  std::replace(text.begin(), text.end(), '.', ',');
  while (text.back() == '0')
    text.pop_back();
  if (text.back() == ',')
    text.pop_back();
  return std::u16string(text.begin(), text.end());
}

TEST_F(QuorvaneFunc, RandomSeriesReadBackExactly) {
  std::mt19937_64 random(20101008);
  std::uniform_int_distribution<int> days(static_cast<int>(EncodeDay(1000, 1, 1)),
                                          static_cast<int>(EncodeDay(9999, 12, 31)));
  // Money counts up to 2^50, of either sign: far inside what number reading keeps exact.
  std::uniform_int_distribution<std::int64_t> counts(-(std::int64_t{1} << 50),
                                                     std::int64_t{1} << 50);
  const std::u16string delimiters = u";|#/!*~\u00A7\u0416";
  for (int round = 0; round < 40; ++round) {
    const int entries = static_cast<int>(random() % 200);
    std::vector<MinimumWageRec> wages(static_cast<std::size_t>(entries));
    std::u16string wageReply, exchangeReply;
    const char16_t delimiter = delimiters[random() % delimiters.size()];
    exchangeReply += delimiter;
    for (int i = 0; i < entries; ++i) {
      MinimumWageRec& r = wages[static_cast<std::size_t>(i)];
      r = {static_cast<TDate>(days(random)), {counts(random)}, {counts(random) % 100000000}};
      if (i > 0) {
        wageReply += u'|';
        exchangeReply += delimiter;
      }
      wageReply += DateText(r.Date) + u"&" + MoneyText(r.mValue1) + u"&" + MoneyText(r.mValue2);
      exchangeReply += DateText(r.Date) + u"=" + MoneyText(r.mValue1);
    }
    server->Reply(Op::GetMinimumWageList, wageReply)
        .Reply(Op::GetListOfExchangeRate, exchangeReply);
    LoadMinimumWage(u"Chile");
    LoadExchangeList(u"USD", u"RUB");
    ASSERT_EQ(Rows(MinimumWageTable), Rows(wages)) << ToUtf8(wageReply);
    ASSERT_EQ(ExchangeTable.size(), wages.size());
    for (std::size_t i = 0; i < wages.size(); ++i) {
      ASSERT_EQ(ExchangeTable[i].Date, wages[i].Date);
      ASSERT_EQ(ExchangeTable[i].Value, wages[i].mValue1) << ToUtf8(exchangeReply);
    }
  }
}

}  // namespace
