#pragma once
// Exchange rates between any two currencies of the rate tables. A rate is always the number of
// units of the second currency per one unit of the first.
//
// - A currency with itself: 1.
// - Quoted directly: the first currency is the base of a table that has a column for the second;
//   the figures are the table's own.
// - Computed: otherwise, through the base of the first table that holds both currencies (the US
//   dollar table first): (second per base) / (first per base), the base itself counting 1. The
//   exact quotient is rounded once, ties to even, to 6 significant digits but never to fewer
//   than 4 decimals.
//
// The rate on a day is the last observation on or before the day; a day more than
// kStaleDays after a currency's last observation has no rate.

#include <string>
#include <string_view>

#include "Reply.h"
#include "ServerData.h"

namespace quorvane::server {

inline constexpr int kStaleDays = 31;

enum class RateKind { Same, Direct, Computed };

struct RatePair {
  RateKind Kind = RateKind::Same;
  std::u16string From, To;  // letter codes, upper case
  const RateTable* Table = nullptr;
  const Series* FromLeg = nullptr;  // units of From per base; null for the base itself
  const Series* ToLeg = nullptr;    // units of To per base; null for the base itself
};

// How the rate of the pair is got; raises ReplyFailure for an unknown code or a pair without
// rates.
RatePair ResolvePair(const ServerData& data, std::u16string_view from, std::u16string_view to);

// Every day on which the rate may change (a day with an observation of either leg, from the day
// both have begun to the day the first of them ends), with the rate in force from that day.
// Empty for RateKind::Same. Raises ReplyFailure (NoRates) when a computed rate is too large to be
// a figure.
Series RateHistory(const RatePair& pair);

struct RateOnDay {
  Figure Value;
  int ObservedDay = 0;  // the latest observation day that the rate rests on
};
// Raises ReplyFailure (NoRateOnDay) when a leg has no observation on or before the day, or the
// day lies more than kStaleDays after its last one, and (NoRates) when a leg has no observation at
// all or a computed rate is too large to be a figure.
RateOnDay RateOn(const RatePair& pair, int day);

}  // namespace quorvane::server
