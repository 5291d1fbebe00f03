#pragma once
// Decimal figures as the data files write them, kept exactly.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::server {

// Digits * 10^-Scale, exactly: "0.0104335" is {104335, 7}, "7.00" would be {700, 2}.
struct Figure {
  std::int64_t Digits = 0;
  int Scale = 0;
  friend bool operator==(const Figure&, const Figure&) = default;
};

// "[-]digits[.digits]" with at most 18 digits; nothing for anything else.
std::optional<Figure> ParseFigure(std::string_view text);
// The figure with its own number of decimals and the given decimal separator; no grouping, no
// exponent, no sign for zero.
void AppendFigure(std::u16string& out, Figure figure, char16_t decimalSeparator);
std::string FigureText(Figure figure);  // with '.'

// a / b, rounded once from the exact quotient, ties to even, to 6 significant digits but never
// to fewer than 4 decimals; trailing zeros dropped. Raises std::range_error when b is zero or
// the quotient does not fit.
Figure DivideFigures(Figure a, Figure b);

}  // namespace quorvane::server
