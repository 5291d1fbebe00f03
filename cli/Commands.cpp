#include "Commands.h"

#include <stdexcept>

#include "ServerCall.h"
#include "StringList.h"
#include "ValueInForce.h"
#include "ValueToText.h"
#include "uQuorvaneFunc.h"

namespace quorvane::cli {

namespace {

// The commands of a country's series are not given the exchange rates: ExchangeHistory lists them.
[[noreturn]] void RefuseExchangeRates() {
  throw std::invalid_argument("exchange rates are the series of a pair, not of a country");
}

Table ListOf(const StringList& list, const std::string& column) {
  Table table{{column}, {}, {}};
  for (int i = 0; i < list.Count(); ++i)
    table.rows.push_back({TextCell(list.Get(i))});
  return table;
}

// The window's lookup of the series: its loader and its scan for the value in force on a day.
const SeriesLookup& SeriesLookupOf(SeriesKind kind) {
  switch (kind) {
    case SeriesKind::MinimumWage:
      return kMinimumWageLookup;
    case SeriesKind::PriceIndex:
      return kPriceIndexLookup;
    case SeriesKind::FundsRate:
      return kFundsRateLookup;
    case SeriesKind::ExchangeRates:
      break;
  }
  RefuseExchangeRates();
}

void LoadSeries(SeriesKind kind, std::u16string_view country) {
  SeriesLookupOf(kind).Load(country);
}

const std::vector<DateValueRec>& DateValueTable(SeriesKind kind) {
  return kind == SeriesKind::PriceIndex ? PriceIndexTable : FundsRateTable;
}

}  // namespace

Table Countries() {
  StringList list;
  LoadCountryList(list);
  return ListOf(list, "country");
}

Table FieldValues(std::u16string_view fieldName) {
  StringList list;
  LoadFieldValues(fieldName, list);
  return ListOf(list, "value");
}

Table Series(SeriesKind kind, std::u16string_view country) {
  LoadSeries(kind, country);
  if (kind == SeriesKind::MinimumWage) {
    // mValue2 is kept by the client though the window shows only mValue1.
    Table table{{"date", "value", "value2"}, {}, {}};
    for (const MinimumWageRec& entry : MinimumWageTable)
      table.rows.push_back(
          {DateCell(entry.Date), MoneyCell(entry.mValue1), MoneyCell(entry.mValue2)});
    return table;
  }
  Table table{{"date", "value"}, {}, {}};
  for (const DateValueRec& entry : DateValueTable(kind))
    table.rows.push_back({DateCell(entry.Date), MoneyCell(entry.Value)});
  return table;
}

Table SeriesOnDay(SeriesKind kind, std::u16string_view country, TDateTime day) {
  LoadSeries(kind, country);
  const Currency value = ValueInForce(SeriesLookupOf(kind), day);
  return {{"date", "value"}, {{DateCell(WholeDayCut(day)), MoneyCell(value)}}, {}};
}

Table ExchangeHistory(std::u16string_view fromCode, std::u16string_view toCode) {
  LoadExchangeList(fromCode, toCode);
  Table table{{"date", "rate"}, {}, "list is clear"};
  for (const DateValueRec& entry : ExchangeTable)
    table.rows.push_back({DateCell(entry.Date), MoneyCell(entry.Value)});
  return table;
}

ChartSeries SeriesChart(SeriesKind kind, std::u16string_view country,
                        std::optional<TDateTime> day) {
  LoadSeries(kind, country);
  ChartSeries series{kind == SeriesKind::MinimumWage ? chart::ChartEntries(MinimumWageTable)
                                                     : chart::ChartEntries(DateValueTable(kind)),
                     {}};
  if (day)
    series.chosen = chart::ChosenDay{*day, ValueInForce(SeriesLookupOf(kind), *day)};
  return series;
}

ChartSeries HistoryChart(std::u16string_view fromCode, std::u16string_view toCode,
                         std::optional<TDateTime> day) {
  LoadExchangeList(fromCode, toCode);
  ChartSeries series{chart::ChartEntries(ExchangeTable), {}};
  if (day)
    series.chosen = chart::ChosenDay{*day, HistoryValueInForce(*day)};
  return series;
}

Table RateOnDate(std::u16string_view fromCode, std::u16string_view toCode, TDateTime day) {
  const Currency rate = GetRateOnDate(fromCode, toCode, day);
  return {{"from", "to", "date", "rate"},
          {{TextCell(fromCode), TextCell(toCode), DateTimeCell(day), RateCell(rate)}},
          {}};
}

Table LetterCode(std::u16string_view fieldName, std::u16string_view value) {
  return {{"code"}, {{TextCell(ServerGetLIDCurrency(fieldName, value))}}, {}};
}

Table Visibility() {
  return {{"visible"}, {{TruthCell(ServerGetVisible())}}, {}};
}

Table SetVisibility(bool visible) {
  ServerSetVisible(visible);
  return Visibility();
}

namespace {

using TextOperation = HRESULT (STDMETHODCALLTYPE IQuorvaneAutomation::*)(BSTR, BSTR*);
using PairOperation = HRESULT (STDMETHODCALLTYPE IQuorvaneAutomation::*)(BSTR, BSTR, BSTR*);

RawReply CallWithText(const char* name, TextOperation operation, std::u16string_view text) {
  BStrResult reply;
  IQuorvaneAutomation& server = Server();
  CheckStatus((server.*operation)(BStrArg(text).Get(), reply.Put()));
  return {name, reply.Text()};
}

RawReply CallWithPair(const char* name, PairOperation operation, std::u16string_view first,
                      std::u16string_view second) {
  BStrResult reply;
  IQuorvaneAutomation& server = Server();
  CheckStatus((server.*operation)(BStrArg(first).Get(), BStrArg(second).Get(), reply.Put()));
  return {name, reply.Text()};
}

std::u16string TruthNumber(VARIANT_BOOL value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

RawReply RawCountries() {
  BStrResult reply;
  IQuorvaneAutomation& server = Server();
  CheckStatus(server.GetCountryList(reply.Put()));
  return {"GetCountryList", reply.Text()};
}

RawReply RawFieldValues(std::u16string_view fieldName) {
  return CallWithText("GetFieldValueList", &IQuorvaneAutomation::GetFieldValueList, fieldName);
}

RawReply RawSeries(SeriesKind kind, std::u16string_view country) {
  switch (kind) {
    case SeriesKind::MinimumWage:
      return CallWithText("GetMinimumWageList", &IQuorvaneAutomation::GetMinimumWageList, country);
    case SeriesKind::PriceIndex:
      return CallWithText("GetPriceIndexList", &IQuorvaneAutomation::GetPriceIndexList, country);
    case SeriesKind::FundsRate:
      return CallWithText("GetFundsRateList", &IQuorvaneAutomation::GetFundsRateList, country);
    case SeriesKind::ExchangeRates:
      break;
  }
  RefuseExchangeRates();
}

RawReply RawExchangeHistory(std::u16string_view fromCode, std::u16string_view toCode) {
  return CallWithPair("GetListOfExchangeRate", &IQuorvaneAutomation::GetListOfExchangeRate,
                      fromCode, toCode);
}

RawReply RawRateOnDate(std::u16string_view fromCode, std::u16string_view toCode, TDateTime day) {
  BStrResult reply;
  IQuorvaneAutomation& server = Server();
  CheckStatus(
      server.GetExchangeRate(BStrArg(fromCode).Get(), BStrArg(toCode).Get(), day, reply.Put()));
  return {"GetExchangeRate", reply.Text()};
}

RawReply RawLetterCode(std::u16string_view fieldName, std::u16string_view value) {
  return CallWithPair("GetLIDCurrency", &IQuorvaneAutomation::GetLIDCurrency, fieldName, value);
}

RawReply RawVisibility() {
  VARIANT_BOOL visible = VARIANT_FALSE;
  IQuorvaneAutomation& server = Server();
  CheckStatus(server.Get_Visible(&visible));
  return {"Get_Visible", TruthNumber(visible)};
}

RawReply RawSetVisibility(bool visible) {
  IQuorvaneAutomation& server = Server();
  CheckStatus(server.Set_Visible(visible ? VARIANT_TRUE : VARIANT_FALSE));
  return RawVisibility();
}

}  // namespace quorvane::cli
