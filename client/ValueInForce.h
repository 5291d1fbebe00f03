#pragma once
// The value in force on a day: which entry of a loaded series applies to a chosen day. The three
// series are scanned alike but not the same (direction, comparison, value taken); each of them is
// one row below, used by the window's lookups and by the command line. A pair's history, which the
// window only lists, is scanned the same way for the command line's chart.

#include <string_view>
#include <vector>

#include "TextToValue.h"
#include "uQuorvaneFunc.h"

namespace quorvane {

enum class ScanOrder { FirstToLast, LastToFirst };
// When an entry passes: the chosen day lies after its date, or on or after it.
enum class EntryPasses { DayAfterDate, DayOnOrAfterDate };

struct ScanRule {
  ScanOrder order;
  EntryPasses passes;
};

// Visits the entries in the rule's order while they pass, and gives the value taken from the last
// one that passed: zero when the first one visited fails or there is none. The scan stops at the
// first entry that fails; it never sorts or searches.
template <typename Record>
Currency ScanForValue(const std::vector<Record>& entries, Currency Record::*valueTaken, TDate day,
                      ScanRule rule) {
  Currency value;
  const std::size_t count = entries.size();
  for (std::size_t visited = 0; visited < count; ++visited) {
    const Record& entry =
        entries[rule.order == ScanOrder::FirstToLast ? visited : count - 1 - visited];
    const bool passes =
        rule.passes == EntryPasses::DayAfterDate ? day > entry.Date : day >= entry.Date;
    if (!passes)
      break;
    value = entry.*valueTaken;
  }
  return value;
}

// The scan of one client table and the value its entries give.
template <auto& table, auto valueTaken>
Currency ScanTable(TDate day, ScanRule rule) {
  return ScanForValue(table, valueTaken, day, rule);
}

// One series lookup: the loader that replaces the table, the table with the value taken from its
// entries, and the rule of the scan.
struct SeriesLookup {
  void (*Load)(std::u16string_view country);
  Currency (*Scan)(TDate day, ScanRule rule);
  ScanRule Rule;
};

inline constexpr SeriesLookup kMinimumWageLookup{
    LoadMinimumWage,
    ScanTable<MinimumWageTable, &MinimumWageRec::mValue1>,
    {ScanOrder::FirstToLast, EntryPasses::DayAfterDate}};
inline constexpr SeriesLookup kFundsRateLookup{LoadFundsRate,
                                               ScanTable<FundsRateTable, &DateValueRec::Value>,
                                               {ScanOrder::LastToFirst, EntryPasses::DayAfterDate}};
inline constexpr SeriesLookup kPriceIndexLookup{
    LoadPriceIndex,
    ScanTable<PriceIndexTable, &DateValueRec::Value>,
    {ScanOrder::FirstToLast, EntryPasses::DayOnOrAfterDate}};

// The value in force on `day` in the table that the lookup's loader filled last. The day is cut to
// a whole day first, so the time of day does not count; the null date fails against every entry.
Currency ValueInForce(const SeriesLookup& lookup, TDateTime day);

// A pair's history comes oldest first, and a rate is in force from its own day on, as the chart
// draws it: the price index's rule.
inline constexpr ScanRule kExchangeHistoryRule{ScanOrder::FirstToLast,
                                               EntryPasses::DayOnOrAfterDate};

// The rate in force on `day` in the history that LoadExchangeList filled last, the day cut alike.
Currency HistoryValueInForce(TDateTime day);

}  // namespace quorvane
