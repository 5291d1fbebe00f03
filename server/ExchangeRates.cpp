#include "ExchangeRates.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <stdexcept>

#include "IsoDate.h"
#include "TextMatch.h"
#include "Utf.h"

namespace quorvane::server {

namespace {

constexpr Figure kOne{1, 0};

std::u16string NormalizedCode(std::u16string_view code) {
  std::u16string text(TrimBlanks(code));
  for (char16_t& c : text)
    if (c >= u'a' && c <= u'z')
      c = static_cast<char16_t>(c - 32);
  return text;
}

bool InTable(const RateTable& table, std::u16string_view code) {
  return table.Base == code || table.ColumnOf(code) >= 0;
}

bool HasRates(const ServerData& data, std::u16string_view code) {
  return std::any_of(data.RateTables.begin(), data.RateTables.end(),
                     [&](const RateTable& table) { return InTable(table, code); });
}

bool InCatalogue(const ServerData& data, std::u16string_view code) {
  return std::any_of(data.Catalogue.begin(), data.Catalogue.end(),
                     [&](const CatalogueRow& row) { return row[0] == code; });
}

std::u16string RatedCurrencies(const ServerData& data) {
  std::u16string list;
  std::vector<std::u16string> seen;
  for (const RateTable& table : data.RateTables) {
    std::vector<std::u16string> codes = {table.Base};
    codes.insert(codes.end(), table.Codes.begin(), table.Codes.end());
    for (const std::u16string& code : codes) {
      if (std::find(seen.begin(), seen.end(), code) != seen.end())
        continue;
      seen.push_back(code);
      AppendToList(list, code);
    }
  }
  return list;
}

const Series* Leg(const RateTable& table, std::u16string_view code) {
  int column = table.ColumnOf(code);
  return column < 0 ? nullptr : &table.Columns[static_cast<std::size_t>(column)];
}

std::u16string DayText(int day) {
  return FromUtf8(IsoDateText(day));
}

std::u16string PairText(const RatePair& pair) {
  return pair.To + u" per " + pair.From;
}

// The computed rate from the two legs' figures; a quotient too large for a figure (legs of
// operator data far apart) is no rate the client could hold.
Figure ComputedRate(const RatePair& pair, Figure toValue, Figure fromValue, int day) {
  try {
    return DivideFigures(toValue, fromValue);
  } catch (const std::range_error&) {
    throw ReplyFailure{Failure::NoRates, u"The rate of " + PairText(pair) + u" on " + DayText(day) +
                                             u" is too large to be written as a figure"};
  }
}

// Where a leg stands on a day: it runs from its first observation to its last, and lingers for
// kStaleDays after that.
enum class LegState { Running, Lingering, Unusable };

struct LegOnDay {
  LegState State = LegState::Unusable;
  const Observation* Last = nullptr;  // the last observation on or before the day
};

LegOnDay LegOn(const Series* leg, int day) {
  if (!leg)
    return {LegState::Running, nullptr};  // the base itself
  auto after = std::upper_bound(leg->begin(), leg->end(), day,
                                [](int d, const Observation& o) { return d < o.Day; });
  if (after == leg->begin())
    return {};  // not begun, or no observation at all
  const Observation* last = &*(after - 1);
  if (day <= leg->back().Day)
    return {LegState::Running, last};
  if (day - leg->back().Day <= kStaleDays)
    return {LegState::Lingering, last};
  return {};
}

struct Choice {
  std::size_t Route = 0;
  const Observation* From = nullptr;  // null for the base
  const Observation* To = nullptr;    // null for the base
};

// The day a route's data end: the last observation of the leg that ends first.
int RouteEnd(const RateRoute& route) {
  int end = std::numeric_limits<int>::max();
  for (const Series* leg : {route.FromLeg, route.ToLeg})
    if (leg && !leg->empty())
      end = std::min(end, leg->back().Day);
  return end;
}

// The first route whose legs both run on the day; else, of the routes whose legs at most linger,
// the one whose data end last. A lingering route stands still: both legs at their last
// observations on or before the route's end, so that the rate neither moves with the leg that
// still runs nor outlasts the history, which lists no day after that end.
std::optional<Choice> Choose(const RatePair& pair, int day) {
  std::optional<std::size_t> lingering;
  int lingeringEnd = 0;
  for (std::size_t i = 0; i < pair.Routes.size(); ++i) {
    const RateRoute& route = pair.Routes[i];
    LegOnDay from = LegOn(route.FromLeg, day), to = LegOn(route.ToLeg, day);
    LegState worse = std::max(from.State, to.State);
    if (worse == LegState::Running)
      return Choice{i, from.Last, to.Last};
    if (worse == LegState::Lingering && (!lingering || RouteEnd(route) > lingeringEnd)) {
      lingering = i;
      lingeringEnd = RouteEnd(route);
    }
  }
  if (!lingering)
    return std::nullopt;
  const RateRoute& route = pair.Routes[*lingering];
  return Choice{*lingering, LegOn(route.FromLeg, lingeringEnd).Last,
                LegOn(route.ToLeg, lingeringEnd).Last};
}

RateOnDay RateOf(const RatePair& pair, const Choice& choice, int day) {
  const RateRoute& route = pair.Routes[choice.Route];
  RateOnDay rate;
  if (!route.FromLeg) {
    rate.Kind = RateKind::Direct;
    rate.Value = choice.To->Value;
    rate.ObservedDay = choice.To->Day;
    return rate;
  }
  rate.Kind = RateKind::Computed;
  rate.Through = route.Table->Base;
  rate.Value = ComputedRate(pair, choice.To ? choice.To->Value : kOne, choice.From->Value, day);
  // The newer observation: the day the figure last changed, which is the day of the history's
  // entry in force unless a change of route came later.
  rate.ObservedDay = choice.To ? std::max(choice.To->Day, choice.From->Day) : choice.From->Day;
  return rate;
}

// Why no route has a rate on the day: the data start later, or end earlier (and perhaps begin
// again later).
[[noreturn]] void FailNoRateOn(const RatePair& pair, int day) {
  constexpr int kNone = std::numeric_limits<int>::min();
  int firstStart = std::numeric_limits<int>::max(), lastEnd = kNone,
      nextStart = std::numeric_limits<int>::max();
  for (const RateRoute& route : pair.Routes) {
    int start = kNone, end = std::numeric_limits<int>::max();
    bool observed = true;
    for (const Series* leg : {route.FromLeg, route.ToLeg}) {
      if (!leg)
        continue;
      if (leg->empty()) {
        observed = false;
        break;
      }
      start = std::max(start, leg->front().Day);
      end = std::min(end, leg->back().Day);
    }
    if (!observed)
      continue;
    firstStart = std::min(firstStart, start);
    if (start <= day)
      lastEnd = std::max(lastEnd, end);
    else
      nextStart = std::min(nextStart, start);
  }
  if (firstStart == std::numeric_limits<int>::max())
    throw ReplyFailure{Failure::NoRates, u"The data hold no rate of " + PairText(pair)};
  if (lastEnd == kNone)
    throw ReplyFailure{Failure::NoRateOnDay, u"No rate of " + PairText(pair) + u" on or before " +
                                                 DayText(day) + u": the data start on " +
                                                 DayText(firstStart)};
  std::u16string message = u"No rate of " + PairText(pair) + u" on " + DayText(day) +
                           u": the data end on " + DayText(lastEnd);
  if (nextStart != std::numeric_limits<int>::max())
    message += u" and begin again on " + DayText(nextStart);
  throw ReplyFailure{Failure::NoRateOnDay, message};
}

}  // namespace

RatePair ResolvePair(const ServerData& data, std::u16string_view from, std::u16string_view to) {
  RatePair pair;
  pair.From = NormalizedCode(from);
  pair.To = NormalizedCode(to);
  for (const std::u16string* code : {&pair.From, &pair.To}) {
    if (code->empty())
      throw ReplyFailure{Failure::UnknownCurrency, u"No currency code given"};
    if (!HasRates(data, *code) && !InCatalogue(data, *code))
      throw ReplyFailure{Failure::UnknownCurrency, u"Unknown currency code " + Quoted(*code)};
  }
  if (pair.Same())
    return pair;
  // The common currencies in order of preference: the pair's own, then the tables' bases.
  std::vector<std::u16string_view> bases = {pair.From, pair.To};
  for (const RateTable& table : data.RateTables)
    bases.push_back(table.Base);
  for (std::u16string_view base : bases) {
    for (const RateTable& table : data.RateTables) {
      if (table.Base != base || !InTable(table, pair.From) || !InTable(table, pair.To))
        continue;
      bool known = std::any_of(pair.Routes.begin(), pair.Routes.end(),
                               [&](const RateRoute& route) { return route.Table == &table; });
      if (!known)
        pair.Routes.push_back({&table, Leg(table, pair.From), Leg(table, pair.To)});
    }
  }
  if (!pair.Routes.empty())
    return pair;
  for (const std::u16string* code : {&pair.From, &pair.To})
    if (!HasRates(data, *code))
      throw ReplyFailure{Failure::NoRates, u"The server has no exchange rates for " + *code +
                                               u"; it has rates for " + RatedCurrencies(data)};
  throw ReplyFailure{Failure::NoRates,
                     u"The server has no exchange rates between " + pair.From + u" and " + pair.To};
}

Series RateHistory(const RatePair& pair) {
  if (pair.Same())
    return {};
  // The days on which a leg is observed, begins to linger or ends: the only days on which the
  // route taken or its figures can change.
  std::vector<int> days;
  for (const RateRoute& route : pair.Routes) {
    for (const Series* leg : {route.FromLeg, route.ToLeg}) {
      if (!leg || leg->empty())
        continue;
      for (const Observation& observation : *leg)
        days.push_back(observation.Day);
      days.push_back(leg->back().Day + 1);
      days.push_back(leg->back().Day + kStaleDays + 1);
    }
  }
  std::sort(days.begin(), days.end());
  days.erase(std::unique(days.begin(), days.end()), days.end());
  Series history;
  std::optional<std::size_t> previousRoute;  // none after a day without a rate
  for (int day : days) {
    std::optional<Choice> choice = Choose(pair, day);
    if (!choice) {
      previousRoute.reset();
      continue;
    }
    bool observed =
        (choice->From && choice->From->Day == day) || (choice->To && choice->To->Day == day);
    if (observed || previousRoute != choice->Route)
      history.push_back({day, RateOf(pair, *choice, day).Value});
    previousRoute = choice->Route;
  }
  return history;
}

RateOnDay RateOn(const RatePair& pair, int day) {
  if (pair.Same())
    return {kOne, day, RateKind::Same, {}};
  std::optional<Choice> choice = Choose(pair, day);
  if (!choice)
    FailNoRateOn(pair, day);
  return RateOf(pair, *choice, day);
}

}  // namespace quorvane::server
