#include "ValueInForce.h"

#include "ValueToText.h"

namespace quorvane {

Currency ValueInForce(const SeriesLookup& lookup, TDateTime day) {
  return lookup.Scan(WholeDayCut(day), lookup.Rule);
}

}  // namespace quorvane
