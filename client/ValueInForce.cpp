#include "ValueInForce.h"

#include "ValueToText.h"

namespace quorvane {

Currency ValueInForce(const SeriesLookup& lookup, TDateTime day) {
  return lookup.Scan(WholeDayCut(day), lookup.Rule);
}

Currency HistoryValueInForce(TDateTime day) {
  return ScanTable<ExchangeTable, &DateValueRec::Value>(WholeDayCut(day), kExchangeHistoryRule);
}

}  // namespace quorvane
