#pragma once
// The four series of the reference data, which the client keeps one table each of.

#include <string_view>

namespace quorvane {

enum class SeriesKind { MinimumWage, PriceIndex, FundsRate, ExchangeRates };

// "minimum wage", "price index", "funds rate", "exchange rates".
std::u16string_view SeriesKindName(SeriesKind kind);

}  // namespace quorvane
