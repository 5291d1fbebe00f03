#include "Figure.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <stdexcept>

#include "Digits.h"

namespace quorvane::server {

namespace {

constexpr std::uint64_t kMaxFigureDigits = 999'999'999'999'999'999ULL;  // 18 digits

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

constexpr std::uint64_t kPowersOfTen[20] = {1ULL,
                                            10ULL,
                                            100ULL,
                                            1000ULL,
                                            10000ULL,
                                            100000ULL,
                                            1000000ULL,
                                            10000000ULL,
                                            100000000ULL,
                                            1000000000ULL,
                                            10000000000ULL,
                                            100000000000ULL,
                                            1000000000000ULL,
                                            10000000000000ULL,
                                            100000000000000ULL,
                                            1000000000000000ULL,
                                            10000000000000000ULL,
                                            100000000000000000ULL,
                                            1000000000000000000ULL,
                                            10000000000000000000ULL};

// a * 10^power / b (b > 0), rounded down or to nearest with ties to even, by long division so
// that nothing overflows on the way.
std::uint64_t ScaledQuotient(std::uint64_t a, std::uint64_t b, int power, bool toNearest) {
  constexpr std::uint64_t kLimit = std::numeric_limits<std::uint64_t>::max() / 20;
  std::uint64_t whole = a / b, remainder = a % b;
  if (power < 0) {
    // Whole part shifted right by |power| digits; the digits dropped decide the rounding.
    if (-power >= 20)
      return 0;
    std::uint64_t unit = kPowersOfTen[-power];
    std::uint64_t dropped = whole % unit, half = unit / 2;
    whole /= unit;
    if (toNearest && (dropped > half || (dropped == half && (remainder > 0 || whole % 2 != 0))))
      ++whole;
    return whole;
  }
  for (int i = 0; i < power; ++i) {
    if (whole > kLimit)
      throw std::range_error("quotient out of range");
    remainder *= 10;
    whole = whole * 10 + remainder / b;
    remainder %= b;
  }
  if (toNearest && (remainder > b - remainder || (remainder == b - remainder && whole % 2 != 0)))
    ++whole;
  return whole;
}

int DigitCount(std::uint64_t value) {
  int count = 1;
  while (value >= 10) {
    value /= 10;
    ++count;
  }
  return count;
}

}  // namespace

std::optional<Figure> ParseFigure(std::string_view text) {
  bool negative = !text.empty() && text.front() == '-';
  if (negative)
    text.remove_prefix(1);
  std::uint64_t digits = 0;
  int count = 0, scale = 0;
  bool point = false, any = false;
  for (char c : text) {
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    if (!IsDigit(c))
      return std::nullopt;
    any = true;
    if (digits != 0 || c != '0')
      ++count;
    if (count > 18)
      return std::nullopt;
    digits = digits * 10 + static_cast<unsigned>(c - '0');
    if (point)
      ++scale;
  }
  if (!any || (point && text.back() == '.') || text.front() == '.')
    return std::nullopt;
  auto value = static_cast<std::int64_t>(digits);
  return Figure{negative ? -value : value, scale};
}

void AppendFigure(std::u16string& out, Figure figure, char16_t decimalSeparator) {
  if (figure.Digits < 0)
    out += u'-';
  std::uint64_t magnitude = figure.Digits < 0 ? 0 - static_cast<std::uint64_t>(figure.Digits)
                                              : static_cast<std::uint64_t>(figure.Digits);
  std::string digits = AsciiDecimal(magnitude);
  if (static_cast<int>(digits.size()) <= figure.Scale)
    digits.insert(0, static_cast<std::size_t>(figure.Scale) + 1 - digits.size(), '0');
  std::size_t integerDigits = digits.size() - static_cast<std::size_t>(figure.Scale);
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i == integerDigits)
      out += decimalSeparator;
    out += static_cast<char16_t>(digits[i]);
  }
}

std::string FigureText(Figure figure) {
  std::u16string text;
  AppendFigure(text, figure, u'.');
  return std::string(text.begin(), text.end());
}

Figure DivideFigures(Figure a, Figure b) {
  if (b.Digits == 0)
    throw std::range_error("division by zero");
  bool negative = (a.Digits < 0) != (b.Digits < 0);
  auto magnitude = [](std::int64_t v) {
    return v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
  };
  std::uint64_t numerator = magnitude(a.Digits), denominator = magnitude(b.Digits);
  if (numerator == 0)
    return {};
  // The quotient is numerator / denominator * 10^shift.
  int shift = b.Scale - a.Scale;
  int decimals = 4;
  std::uint64_t whole = ScaledQuotient(numerator, denominator, shift, false);
  if (whole >= 1) {
    decimals = std::max(4, 6 - DigitCount(whole));
  } else {
    int position = 1;  // decimal position of the first significant digit
    while (ScaledQuotient(numerator, denominator, shift + position, false) == 0)
      ++position;
    decimals = std::max(4, position + 5);
  }
  std::uint64_t result = ScaledQuotient(numerator, denominator, shift + decimals, true);
  while (decimals > 0 && result % 10 == 0) {
    result /= 10;
    --decimals;
  }
  if (result > kMaxFigureDigits)
    throw std::range_error("quotient out of range");
  auto digits = static_cast<std::int64_t>(result);
  return Figure{negative ? -digits : digits, decimals};
}

}  // namespace quorvane::server
