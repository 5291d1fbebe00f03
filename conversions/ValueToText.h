#pragma once
// Value to text: the window's texts of money values, rates and dates, under the locale settings.
// None of these raises an error.

#include <string>
#include <string_view>

#include "Extended.h"
#include "TextToValue.h"

namespace quorvane {

// The pattern of every currency editor of the window.
inline constexpr std::u16string_view kCurrencyDisplayPattern = u",0.00;-,0.00";

// The count divided by 10000, rounded once.
Extended MoneyToReal(Currency value);
// The whole-day part, truncated toward zero.
TDate WholeDayCut(TDateTime date);
// At most 15 significant digits, fixed or scientific notation (a rate of one gives "1").
std::u16string GeneralNumberText(const Extended& value);
// Exactly four decimals, no grouping ("%2.4f" of a money value).
std::u16string FourDecimalText(Currency value);
// The date by the short date pattern, cut at kMaxDateTextLength code units.
inline constexpr std::size_t kMaxDateTextLength = 4096;
std::u16string ShortDateText(TDateTime date);
// The number by a display pattern such as ",0.00;-,0.00".
std::u16string DisplayPatternText(std::u16string_view pattern, double value);

}  // namespace quorvane
