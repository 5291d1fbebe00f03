#pragma once
// Exchange rates between any two currencies of the rate tables. A rate is always the number of
// units of the second currency per one unit of the first.
//
// A rate goes through a common currency: the base of a rate table that holds both currencies
// (as its base or as a column), the base itself counting 1. The rate is (second per base) /
// (first per base); when the first currency is the base, that is the table's own figure, quoted
// directly. A computed quotient is rounded once, ties to even, to 6 significant digits but never
// to fewer than 4 decimals.
//
// The common currency is chosen afresh for every day, in this order: the first currency, the
// second, then the bases of the tables in their order (the US dollar, then the euro). The first
// route whose two legs both still run on the day is taken (a leg runs from its first observation
// to its last); failing that, of the routes whose legs have begun and ended at most kStaleDays
// before the day, the one whose data end last; failing that, the pair has no rate that day. So a
// pair and its inverse have a rate on the same days, and a pair whose direct column has ended
// goes on through the dollar or the euro while both currencies are quoted there.
//
// The rate on a day rests on each leg's last observation on or before the day; while a route
// lingers, on each leg's last observation on or before the day the route's data end, so the rate
// stands still until it lapses. Its "as of" day is the newer of the two observations, the day the
// rate took its value.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Reply.h"
#include "ServerData.h"

namespace quorvane::server {

inline constexpr int kStaleDays = 31;

enum class RateKind { Same, Direct, Computed };

// One way to a rate: through the base of Table.
struct RateRoute {
  const RateTable* Table = nullptr;
  const Series* FromLeg = nullptr;  // units of the first currency per base; null for the base
  const Series* ToLeg = nullptr;    // units of the second currency per base; null for the base
};

struct RatePair {
  std::u16string From, To;        // letter codes, upper case
  std::vector<RateRoute> Routes;  // in order of preference; empty when From == To
  bool Same() const { return From == To; }
};

// The ways to the rate of the pair; raises ReplyFailure for an unknown code or a pair without
// rates.
RatePair ResolvePair(const ServerData& data, std::u16string_view from, std::u16string_view to);

// Every day on which the rate may change (a day with an observation of either leg of the route
// taken, or a day on which another route is taken), with the rate in force from that day; days
// without a rate have no entry. Empty for a currency with itself. Raises ReplyFailure (NoRates)
// when a computed rate is too large to be a figure.
Series RateHistory(const RatePair& pair);

struct RateOnDay {
  Figure Value;
  int ObservedDay = 0;  // the newer of the two observations the rate rests on
  RateKind Kind = RateKind::Same;
  std::u16string Through;  // the common currency of a computed rate
};
// Raises ReplyFailure (NoRateOnDay) when no route has a rate on the day: the message names the
// day the data start or end. Raises (NoRates) when every route has a leg without observations or
// a computed rate is too large to be a figure.
RateOnDay RateOn(const RatePair& pair, int day);

}  // namespace quorvane::server
