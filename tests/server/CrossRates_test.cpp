// Rates of the built-in data where their columns begin and end: the route a pair takes, the day a
// rate is "as of", the days a pair and its inverse have a rate, and agreement with the histories.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "ExchangeRates.h"
#include "IsoDate.h"
#include "LocaleSettings.h"
#include "Replies.h"
#include "ServerTestSupport.h"
#include "Utf.h"

namespace {

using quorvane::server::Failure;
using quorvane::server::RateOn;
using quorvane::server::RateOnDay;
using quorvane::server::ReferenceData;
using quorvane::server::ResolvePair;
using quorvane::server::StatusOf;

std::string Text(const std::u16string& text) {
  return quorvane::ToUtf8(text);
}

// Replies for the pairs and days the issue reports named, and the edges of the columns they rest
// on: the euro table ends on 2026-04-13, its RUB column on 2022-03-01; the dollar table's EUR and
// GBP columns end on 2026-05-15, its DKK column on 2024-11-29, its RUB column on 2026-08-22.
// The expected figures were worked out from the CSV files with decimal arithmetic.
TEST(CrossRates, RepliesWhereColumnsEnd) {
  struct Case {
    const char16_t *from, *to;
    const char* day;
    const char16_t* reply;  // the description when the pair has no rate
  };
  const Case cases[] = {
      // The euro table's RUB column has ended: both directions go through the dollar.
      {u"EUR", u"RUB", "2023-01-10", u"CRUB per EUR through USD as of 2023-01-10:75.4813"},
      {u"RUB", u"EUR", "2023-01-10", u"CEUR per RUB through USD as of 2023-01-10:0.0132483"},
      // Its last day is quoted directly, the next goes through the dollar.
      {u"EUR", u"RUB", "2022-03-01", u"NRUB per EUR as of 2022-03-01=117.201"},
      {u"RUB", u"EUR", "2022-03-01", u"CEUR per RUB through EUR as of 2022-03-01:0.00853235"},
      {u"EUR", u"RUB", "2022-03-02", u"CRUB per EUR through USD as of 2022-03-02:101.856"},
      // A Sunday: the rouble leg is of Saturday, the euro leg of Friday; "as of" the newer, the
      // day the rate took its value.
      {u"RUB", u"EUR", "2024-12-15", u"CEUR per RUB through USD as of 2024-12-14:0.00920968"},
      // The euro leg 31 days old still counts, 32 days old it does not. Meanwhile the rate stands
      // still on the rouble's figure of the euro leg's last day, though the rouble goes on.
      {u"RUB", u"EUR", "2026-05-15", u"CEUR per RUB through USD as of 2026-05-15:0.0117594"},
      {u"RUB", u"EUR", "2026-06-15", u"CEUR per RUB through USD as of 2026-05-15:0.0117594"},
      {u"EUR", u"RUB", "2026-06-15", u"CRUB per EUR through USD as of 2026-05-15:85.0381"},
      {u"RUB", u"EUR", "2026-06-16",
       u"No rate of EUR per RUB on 2026-06-16: the data end on 2026-05-15"},
      {u"EUR", u"RUB", "2026-06-16",
       u"No rate of RUB per EUR on 2026-06-16: the data end on 2026-05-15"},
      {u"USD", u"GBP", "2026-06-15", u"NGBP per USD as of 2026-05-15=0.750075"},
      {u"GBP", u"USD", "2026-06-15", u"CUSD per GBP through USD as of 2026-05-15:1.3332"},
      {u"GBP", u"USD", "2026-06-16",
       u"No rate of USD per GBP on 2026-06-16: the data end on 2026-05-15"},
      // The dollar table's DKK column has ended: the euro table carries the pair on.
      {u"USD", u"DKK", "2024-11-29", u"NDKK per USD as of 2024-11-29=7.0702"},
      {u"USD", u"DKK", "2024-12-02", u"CDKK per USD through EUR as of 2024-12-02:7.09841"},
      {u"DKK", u"USD", "2024-12-02", u"CUSD per DKK through EUR as of 2024-12-02:0.140877"},
      {u"DKK", u"JPY", "2024-12-02", u"CJPY per DKK through EUR as of 2024-12-02:21.1496"},
      {u"USD", u"DKK", "2026-05-14", u"CDKK per USD through EUR as of 2026-04-13:6.39567"},
      {u"USD", u"DKK", "2026-05-15",
       u"No rate of DKK per USD on 2026-05-15: the data end on 2026-04-13"},
      {u"DKK", u"USD", "2026-05-15",
       u"No rate of USD per DKK on 2026-05-15: the data end on 2026-04-13"},
      // Euro and dollar: each table quotes its own base directly while it runs.
      {u"EUR", u"GBP", "2026-04-13", u"NGBP per EUR as of 2026-04-13=0.87058"},
      {u"GBP", u"EUR", "2026-04-13", u"CEUR per GBP through EUR as of 2026-04-13:1.14866"},
      {u"EUR", u"USD", "2026-04-14", u"CUSD per EUR through USD as of 2026-04-14:1.1791"},
      {u"USD", u"EUR", "2026-04-14", u"NEUR per USD as of 2026-04-14=0.848104"},
      {u"RUB", u"USD", "2026-08-22", u"CUSD per RUB through USD as of 2026-08-22:0.0120597"},
      {u"RUB", u"USD", "1998-12-31",
       u"No rate of USD per RUB on or before 1998-12-31: the data start on 1999-01-01"},
  };
  quorvane::ScopedLocaleSettings settings(servertest::Settings(u"yyyy-MM-dd", u'-', u'.'));
  for (const Case& c : cases) {
    auto reply = quorvane::server::ExchangeRateReply(
        ReferenceData(), c.from, c.to, static_cast<int>(*quorvane::ReadIsoDate(c.day)));
    std::string what = Text(c.from) + "->" + Text(c.to) + " on " + c.day;
    EXPECT_EQ(Text(reply.Text), Text(c.reply)) << what;
    bool noRate = std::u16string_view(c.reply).substr(0, 3) == u"No ";
    EXPECT_EQ(reply.Status, noRate ? StatusOf(Failure::NoRateOnDay) : 0) << what;
  }
}

double Value(quorvane::server::Figure figure) {
  return static_cast<double>(figure.Digits) / std::pow(10.0, figure.Scale);
}

std::optional<RateOnDay> TryRateOn(const quorvane::server::RatePair& pair, int day) {
  try {
    return RateOn(pair, day);
  } catch (const quorvane::server::ReplyFailure& failure) {
    EXPECT_EQ(failure.Kind, Failure::NoRateOnDay) << Text(failure.Description);
    return std::nullopt;
  }
}

// Every day from a little before a pair's first rate to well after its last, both directions:
// - a pair and its inverse have a rate on the same days, and (but for the dollar and the euro,
//   which each table quotes on its own) rest on the same observations, so the two rates multiply
//   to 1 within their rounding to 6 significant digits;
// - no rate rests on an observation more than 31 days old or later than the day;
// - the rate on each day is the history's entry in force that day, from the history's first
//   entry to its last without a day missing, and after the last entry for exactly kStaleDays.
TEST(CrossRates, PairsAndInversesAgreeWithEachOtherAndWithTheirHistories) {
  const auto& data = ReferenceData();
  // A currency of each kind of column: both tables to their ends (GBP, CHF, CNY), a column that
  // ends years before the other table's (RUB, DKK), the dollar table only (BYN, KZT), and a
  // late starter (TRY).
  const std::u16string codes[] = {u"USD", u"EUR", u"RUB", u"GBP", u"DKK",
                                  u"CHF", u"CNY", u"BYN", u"TRY", u"KZT"};
  for (std::size_t i = 0; i < std::size(codes); ++i) {
    for (std::size_t j = i + 1; j < std::size(codes); ++j) {
      const auto& a = codes[i];
      const auto& b = codes[j];
      std::string what = Text(a) + "<->" + Text(b);
      auto forward = ResolvePair(data, a, b), backward = ResolvePair(data, b, a);
      auto forwardHistory = quorvane::server::RateHistory(forward);
      auto backwardHistory = quorvane::server::RateHistory(backward);
      ASSERT_FALSE(forwardHistory.empty()) << what;
      ASSERT_FALSE(backwardHistory.empty()) << what;
      EXPECT_EQ(forwardHistory.front().Day, backwardHistory.front().Day) << what;
      bool ownQuotes = (a == u"USD" && b == u"EUR") || (a == u"EUR" && b == u"USD");

      std::size_t f = 0, g = 0;  // the history entries in force
      bool ended = false;
      int last = std::max(forwardHistory.back().Day, backwardHistory.back().Day);
      for (int day = forwardHistory.front().Day - 3; day <= last + 40; ++day) {
        auto there = TryRateOn(forward, day), back = TryRateOn(backward, day);
        ASSERT_EQ(there.has_value(), back.has_value()) << what << " on " << day;
        if (day < forwardHistory.front().Day) {
          EXPECT_FALSE(there) << what << " on " << day;
          continue;
        }
        if (!there) {
          EXPECT_GT(day, last + quorvane::server::kStaleDays)
              << what << ": no rate within the history or the days it lingers, on " << day;
          ended = true;
          continue;
        }
        EXPECT_FALSE(ended) << what << ": a rate again after the end, on " << day;
        for (const auto* rate : {&*there, &*back}) {
          EXPECT_LE(rate->ObservedDay, day) << what << " on " << day;
          EXPECT_LE(day - rate->ObservedDay, quorvane::server::kStaleDays) << what << " on " << day;
        }
        while (f + 1 < forwardHistory.size() && forwardHistory[f + 1].Day <= day)
          ++f;
        while (g + 1 < backwardHistory.size() && backwardHistory[g + 1].Day <= day)
          ++g;
        ASSERT_EQ(there->Value, forwardHistory[f].Value) << what << " on " << day;
        ASSERT_EQ(back->Value, backwardHistory[g].Value) << what << " on " << day;
        if (!ownQuotes) {
          EXPECT_EQ(there->ObservedDay, back->ObservedDay) << what << " on " << day;
          EXPECT_NEAR(Value(there->Value) * Value(back->Value), 1.0, 1.1e-5)
              << what << " on " << day;
        }
      }
      EXPECT_TRUE(ended) << what;
    }
  }
}

// Whether the day is an observation of a leg of the route the rate took.
bool ObservedOnRoute(const quorvane::server::RatePair& pair, const RateOnDay& rate, int day) {
  for (const auto& route : pair.Routes) {
    const bool taken = rate.Kind == quorvane::server::RateKind::Direct
                           ? route.FromLeg == nullptr
                           : route.FromLeg != nullptr && route.Table->Base == rate.Through;
    if (!taken)
      continue;
    for (const auto* leg : {route.FromLeg, route.ToLeg}) {
      if (!leg)
        continue;
      const auto at = std::lower_bound(leg->begin(), leg->end(), day,
                                       [](const auto& o, int d) { return o.Day < d; });
      if (at != leg->end() && at->Day == day)
        return true;
    }
  }
  return false;
}

// Every pair of the built-in data, on the days where a leg of one of its routes begins or ends
// (where a route takes over, lingers or lapses): the rate on the day is the history's entry in
// force, "as of" that entry's day (earlier only where the entry marks a change of route), and
// there is a rate from the first entry until exactly kStaleDays after the last.
TEST(CrossRates, EveryPairAgreesWithItsHistoryWhereItsLegsBeginAndEnd) {
  const auto& data = ReferenceData();
  std::vector<std::u16string> codes;
  for (const auto& table : data.RateTables) {
    for (const auto& code : table.Codes)
      if (std::find(codes.begin(), codes.end(), code) == codes.end())
        codes.push_back(code);
    if (std::find(codes.begin(), codes.end(), table.Base) == codes.end())
      codes.push_back(table.Base);
  }
  ASSERT_GT(codes.size(), 30u);
  constexpr int kStale = quorvane::server::kStaleDays;
  for (const auto& from : codes) {
    for (const auto& to : codes) {
      if (from >= to)
        continue;  // one direction: the other test holds each pair to its inverse
      const auto pair = ResolvePair(data, from, to);
      const auto history = quorvane::server::RateHistory(pair);
      ASSERT_FALSE(history.empty()) << Text(from) << "->" << Text(to);
      std::vector<int> days;
      for (const auto& route : pair.Routes)
        for (const auto* leg : {route.FromLeg, route.ToLeg})
          if (leg && !leg->empty()) {
            for (int d = leg->front().Day - 1; d <= leg->front().Day + 1; ++d)
              days.push_back(d);
            for (int d = leg->back().Day - 2; d <= leg->back().Day + kStale + 2; ++d)
              days.push_back(d);
          }
      for (const int day : days) {
        const std::string what = Text(from) + "->" + Text(to) + " on " + quorvane::IsoDateText(day);
        const auto rate = TryRateOn(pair, day);
        if (day < history.front().Day || day > history.back().Day + kStale) {
          EXPECT_FALSE(rate) << what;
          continue;
        }
        ASSERT_TRUE(rate) << what;
        const auto& entry = *(std::upper_bound(history.begin(), history.end(), day,
                                               [](int d, const auto& o) { return d < o.Day; }) -
                              1);
        ASSERT_EQ(rate->Value, entry.Value) << what;
        if (ObservedOnRoute(pair, *rate, entry.Day))
          EXPECT_EQ(rate->ObservedDay, entry.Day) << what;
        else
          EXPECT_LT(rate->ObservedDay, entry.Day) << what;
      }
    }
  }
}

}  // namespace
