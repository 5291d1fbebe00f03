// The value in force on a day over the client's tables, for the three lookups and a pair's history:
// against what each scan means for a table in date order (an independent statement of the rule),
// and the cases where the order of the entries, the time of day or the null date decide.
#include "ValueInForce.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "uQuorvaneFunc.h"

namespace {

using namespace quorvane;

Currency Money(std::int64_t units) {
  return Currency{units * 10000};
}

class ValueInForceTest : public testing::Test {
 protected:
  void TearDown() override { FinalizeQuorvaneFunc(); }

  // The same (date, value) entries in all four tables; a minimum-wage entry's second value is
  // another number, which no lookup may take.
  static void Store(const std::vector<std::pair<TDate, std::int64_t>>& entries) {
    MinimumWageTable.clear();
    FundsRateTable.clear();
    PriceIndexTable.clear();
    ExchangeTable.clear();
    for (const auto& [date, units] : entries) {
      MinimumWageTable.push_back({date, Money(units), Money(-units - 1)});
      FundsRateTable.push_back({date, Money(units)});
      PriceIndexTable.push_back({date, Money(units)});
      ExchangeTable.push_back({date, Money(units)});
    }
  }
};

// What each scan gives by the order of the entries, for entries of distinct dates.
struct Expected {
  Currency wage, funds, prices;
};

Expected FromAscending(const std::vector<std::pair<TDate, std::int64_t>>& entries, TDate day) {
  Expected e;
  for (const auto& [date, units] : entries) {
    if (date < day)
      e.wage = Money(units);  // the latest entry strictly before the day
    if (date <= day)
      e.prices = Money(units);  // the latest entry on or before the day
  }
  // From the last (newest) back: only a day after every entry passes them all, down to the oldest.
  if (!entries.empty() && day > entries.back().first)
    e.funds = Money(entries.front().second);
  return e;
}

Expected FromDescending(const std::vector<std::pair<TDate, std::int64_t>>& entries, TDate day) {
  Expected e;
  if (!entries.empty() && day > entries.front().first)
    e.wage = Money(entries.back().second);  // after every entry: the last (oldest)
  if (!entries.empty() && day >= entries.front().first)
    e.prices = Money(entries.back().second);
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
    if (entry->first < day)
      e.funds = Money(entry->second);  // the newest entry strictly before the day
  return e;
}

TEST_F(ValueInForceTest, EachScanGivesWhatItMeansForTablesInDateOrder) {
  std::mt19937 random(24);
  for (int round = 0; round < 2000; ++round) {
    const int count = static_cast<int>(random() % 6);
    std::vector<std::pair<TDate, std::int64_t>> entries;
    int date = 40000 + static_cast<int>(random() % 5);
    for (int i = 0; i < count; ++i) {
      entries.push_back({date, static_cast<std::int64_t>(random() % 1000) + 1});
      date += 1 + static_cast<int>(random() % 3);
    }
    const bool descending = random() % 2 == 1;
    if (descending)
      std::reverse(entries.begin(), entries.end());
    Store(entries);
    // Days around every entry's date, with and without a time of day.
    const int whole = 39998 + static_cast<int>(random() % static_cast<unsigned>(date - 39996));
    const TDateTime day = whole + (random() % 2 == 1 ? 0.75 : 0.0);
    const Expected e = descending ? FromDescending(entries, whole) : FromAscending(entries, whole);
    SCOPED_TRACE(testing::Message() << "round " << round << ", day " << day);
    EXPECT_EQ(ValueInForce(kMinimumWageLookup, day), e.wage);
    EXPECT_EQ(ValueInForce(kFundsRateLookup, day), e.funds);
    EXPECT_EQ(ValueInForce(kPriceIndexLookup, day), e.prices);
    EXPECT_EQ(HistoryValueInForce(day), e.prices);  // a history by the price index's rule
  }
}

TEST_F(ValueInForceTest, TheOrderOfTheEntriesTheTimeOfDayAndTheNullDateDecide) {
  constexpr TDate d1 = 39814, d2 = 40179, d3 = 40544;
  const struct {
    const char* why;
    std::vector<std::pair<TDate, std::int64_t>> entries;
    TDateTime day;
    Expected expected;
  } cases[] = {
      {"no entries", {}, d2, {}},
      {"the null date fails against every entry", {{d1, 1}, {d2, 2}}, kNullDate, {}},
      {"a time of day late on d1 is d1", {{d1, 1}, {d2, 2}}, d1 + 0.99, {{}, {}, Money(1)}},
      {"two entries of one day: the one visited later wins",
       {{d1, 1}, {d1, 2}},
       d1 + 1,
       {Money(2), Money(1), Money(2)}},
      // d3 stops the scans from the first after d1, and the scan from the last after d2.
      {"an entry out of order stops the scan",
       {{d1, 1}, {d3, 3}, {d2, 2}},
       d2 + 1,
       {Money(1), Money(2), Money(1)}},
      {"a later entry first: zero from the first, however many after it would pass",
       {{d3, 3}, {d1, 1}, {d2, 2}},
       d2 + 1,
       {{}, Money(1), {}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    Store(c.entries);
    EXPECT_EQ(ValueInForce(kMinimumWageLookup, c.day), c.expected.wage);
    EXPECT_EQ(ValueInForce(kFundsRateLookup, c.day), c.expected.funds);
    EXPECT_EQ(ValueInForce(kPriceIndexLookup, c.day), c.expected.prices);
    EXPECT_EQ(HistoryValueInForce(c.day), c.expected.prices);
  }
}

}  // namespace
