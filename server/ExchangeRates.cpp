#include "ExchangeRates.h"

#include <algorithm>
#include <stdexcept>

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

// The observation in force on the day: the last one on or before it.
const Observation& InForce(const RatePair& pair, const Series& leg, int day) {
  // A column of operator data may have no observation at all.
  if (leg.empty())
    throw ReplyFailure{Failure::NoRates, u"The data hold no rate of " + PairText(pair)};
  auto after = std::upper_bound(leg.begin(), leg.end(), day,
                                [](int d, const Observation& o) { return d < o.Day; });
  if (after == leg.begin())
    throw ReplyFailure{Failure::NoRateOnDay, u"No rate of " + PairText(pair) + u" on or before " +
                                                 DayText(day) + u": the data start on " +
                                                 DayText(leg.front().Day)};
  const Observation& last = *(after - 1);
  if (after == leg.end() && day - last.Day > kStaleDays)
    throw ReplyFailure{Failure::NoRateOnDay, u"No rate of " + PairText(pair) + u" on " +
                                                 DayText(day) + u": the data end on " +
                                                 DayText(last.Day)};
  return last;
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
  if (pair.From == pair.To)
    return pair;
  for (const RateTable& table : data.RateTables) {
    if (table.Base == pair.From && table.ColumnOf(pair.To) >= 0) {
      pair.Kind = RateKind::Direct;
      pair.Table = &table;
      pair.ToLeg = Leg(table, pair.To);
      return pair;
    }
  }
  for (const RateTable& table : data.RateTables) {
    if (InTable(table, pair.From) && InTable(table, pair.To)) {
      pair.Kind = RateKind::Computed;
      pair.Table = &table;
      pair.FromLeg = Leg(table, pair.From);
      pair.ToLeg = Leg(table, pair.To);
      return pair;
    }
  }
  for (const std::u16string* code : {&pair.From, &pair.To})
    if (!HasRates(data, *code))
      throw ReplyFailure{Failure::NoRates, u"The server has no exchange rates for " + *code +
                                               u"; it has rates for " + RatedCurrencies(data)};
  throw ReplyFailure{Failure::NoRates,
                     u"The server has no exchange rates between " + pair.From + u" and " + pair.To};
}

Series RateHistory(const RatePair& pair) {
  if (pair.Kind == RateKind::Same)
    return {};
  if (pair.Kind == RateKind::Direct)
    return *pair.ToLeg;
  static const Series kNone;
  const Series& to = pair.ToLeg ? *pair.ToLeg : kNone;
  const Series& from = pair.FromLeg ? *pair.FromLeg : kNone;
  Series history;
  if ((pair.ToLeg && to.empty()) || (pair.FromLeg && from.empty()))
    return history;
  std::size_t t = 0, f = 0;
  Figure toValue = kOne, fromValue = kOne;
  bool toStarted = !pair.ToLeg, fromStarted = !pair.FromLeg;
  while (t < to.size() || f < from.size()) {
    // The next day on which either leg has an observation.
    int day = t < to.size() ? to[t].Day : from[f].Day;
    if (f < from.size())
      day = std::min(day, from[f].Day);
    if (t < to.size() && to[t].Day == day) {
      toValue = to[t++].Value;
      toStarted = true;
    }
    if (f < from.size() && from[f].Day == day) {
      fromValue = from[f++].Value;
      fromStarted = true;
    }
    if (toStarted && fromStarted)
      history.push_back({day, ComputedRate(pair, toValue, fromValue, day)});
    // The history ends with the leg that ends first.
    if ((pair.ToLeg && t == to.size()) || (pair.FromLeg && f == from.size()))
      break;
  }
  return history;
}

RateOnDay RateOn(const RatePair& pair, int day) {
  if (pair.Kind == RateKind::Same)
    return {kOne, day};
  if (pair.Kind == RateKind::Direct) {
    const Observation& quote = InForce(pair, *pair.ToLeg, day);
    return {quote.Value, quote.Day};
  }
  RateOnDay rate{kOne, 0};
  Figure toValue = kOne, fromValue = kOne;
  if (pair.ToLeg) {
    const Observation& quote = InForce(pair, *pair.ToLeg, day);
    toValue = quote.Value;
    rate.ObservedDay = quote.Day;
  }
  if (pair.FromLeg) {
    const Observation& quote = InForce(pair, *pair.FromLeg, day);
    fromValue = quote.Value;
    rate.ObservedDay = std::max(rate.ObservedDay, quote.Day);
  }
  rate.Value = ComputedRate(pair, toValue, fromValue, day);
  return rate;
}

}  // namespace quorvane::server
