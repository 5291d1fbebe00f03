#include "SeriesKind.h"

namespace quorvane {

std::u16string_view SeriesKindName(SeriesKind kind) {
  switch (kind) {
    case SeriesKind::MinimumWage:
      return u"minimum wage";
    case SeriesKind::PriceIndex:
      return u"price index";
    case SeriesKind::FundsRate:
      return u"funds rate";
    case SeriesKind::ExchangeRates:
      return u"exchange rates";
  }
  return u"";
}

}  // namespace quorvane
