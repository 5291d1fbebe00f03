#pragma once
// The jobs of the subcommands, each through the client's loaders and conversions as the window
// calls them, giving a table; and the same calls giving the reply as the server sent it.

#include <optional>
#include <string>
#include <vector>

#include "ChartModel.h"
#include "Output.h"
#include "SeriesKind.h"
#include "TextToValue.h"

namespace quorvane::cli {

Table Countries();
Table FieldValues(std::u16string_view fieldName);
// The series of a country: every kind but the exchange rates, which are a pair's (ExchangeHistory).
Table Series(SeriesKind kind, std::u16string_view country);
// The value in force on a day, picked from the series as the window's lookup picks it (nothing
// found gives 0, as the window's result box then shows).
Table SeriesOnDay(SeriesKind kind, std::u16string_view country, TDateTime day);
Table ExchangeHistory(std::u16string_view fromCode, std::u16string_view toCode);
Table RateOnDate(std::u16string_view fromCode, std::u16string_view toCode, TDateTime day);
Table LetterCode(std::u16string_view fieldName, std::u16string_view value);

// A series or a pair's history as a chart takes it: the entries in the table's order and, when a
// day is given, the day with the value in force on it (SeriesOnDay's value; for a history the
// rate HistoryValueInForce picks).
struct ChartSeries {
  std::vector<chart::ChartEntry> entries;
  std::optional<chart::ChosenDay> chosen;
};
ChartSeries SeriesChart(SeriesKind kind, std::u16string_view country, std::optional<TDateTime> day);
ChartSeries HistoryChart(std::u16string_view fromCode, std::u16string_view toCode,
                         std::optional<TDateTime> day);
Table Visibility();
Table SetVisibility(bool visible);

// The reply of one operation as the server sent it, with the status check; the name of the
// operation goes into `operation`.
struct RawReply {
  std::string operation;
  std::u16string reply;
};
RawReply RawCountries();
RawReply RawFieldValues(std::u16string_view fieldName);
RawReply RawSeries(SeriesKind kind, std::u16string_view country);
RawReply RawExchangeHistory(std::u16string_view fromCode, std::u16string_view toCode);
RawReply RawRateOnDate(std::u16string_view fromCode, std::u16string_view toCode, TDateTime day);
RawReply RawLetterCode(std::u16string_view fieldName, std::u16string_view value);
// The truth value as the number the server gave (-1 for true).
RawReply RawVisibility();
RawReply RawSetVisibility(bool visible);

}  // namespace quorvane::cli
