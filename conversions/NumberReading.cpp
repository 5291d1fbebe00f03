// Number reading and money rounding, in software arithmetic with a 64-bit significand. A fast path
// takes the common texts (few digits, a small power of ten) with plain integer arithmetic and gives
// the same bits as the general path, which reads every other text.

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "Errors.h"
#include "LocaleSettings.h"
#include "TextToValue.h"

namespace quorvane {

namespace {

constexpr std::u16string_view kNotAFloatMessage = u"'%s' is not a valid floating point value";

// Beyond this many powers of ten any finite accumulator has become zero or infinity under the
// steps of 10^27, so larger powers give the same result.
constexpr std::int64_t kPowerLimit = 20000;

// While the accumulator stays at or below this, times 10 plus a digit still fits in 64 bits.
constexpr std::uint64_t kExactLimit = (std::numeric_limits<std::uint64_t>::max() - 9) / 10;

// The parts of a number text: value = (negative ? -1 : 1) * accumulator * 10^power.
struct NumberParts {
  bool negative = false;
  // The digits as a plain integer while acc * 10 + digit stays exact (it is then exactly what the
  // rounded 64-bit-significand steps give, every step being an integer below 2^64), else `wide`
  // holds the accumulator of the rounded steps.
  bool exact = true;
  std::uint64_t integer = 0;
  Extended wide;
  std::int64_t power = 0;  // exponent minus fraction digits, not below -kPowerLimit
};

// Inlined into its callers, so that the parts stay in registers on the fast path.
#if defined(__GNUC__)
#define QV_INLINE [[gnu::always_inline]] inline
#else
#define QV_INLINE inline
#endif

// Reads the syntax of a number; false when the text does not read.
QV_INLINE bool ScanNumber(std::u16string_view text, char16_t separator, NumberParts& parts) {
  // The text ends at its first NUL: no step below takes a NUL, so the scan stops there, and the
  // end test accepts it as the end. A NUL separator could never be reached.
  const char16_t* p = text.data();
  const char16_t* const end = p + text.size();
  if (separator == u'\0')
    separator = u'0';  // a digit: the digit loops take it first, so it never acts as a separator
  const auto isDigit = [](char16_t c) { return static_cast<char16_t>(c - u'0') < 10; };
  const auto take = [&parts](unsigned digit) {
    if (parts.integer <= kExactLimit) {
      parts.integer = parts.integer * 10 + digit;
      return;
    }
    if (parts.exact) {
      parts.exact = false;
      parts.wide = Extended::FromUint64(parts.integer);
    }
    parts.wide = parts.wide.TimesTenPlus(digit);
  };

  while (p != end && *p == u' ')
    ++p;
  if (p != end && (*p == u'+' || *p == u'-')) {
    parts.negative = *p == u'-';
    ++p;
  }
  bool tookSomething = false;
  for (; p != end && isDigit(*p); ++p) {
    take(static_cast<unsigned>(*p - u'0'));
    tookSomething = true;
  }
  std::int64_t fractionDigits = 0;
  if (p != end && *p == separator) {
    ++p;
    tookSomething = true;
    const char16_t* const fractionStart = p;
    for (; p != end && isDigit(*p); ++p)
      take(static_cast<unsigned>(*p - u'0'));
    fractionDigits = std::min<std::int64_t>(p - fractionStart, kPowerLimit * 2);
  }
  if (!tookSomething)
    return false;

  int exponent = 0;
  if (p != end && (*p == u'E' || *p == u'e')) {
    ++p;
    bool exponentNegative = false;
    if (p != end && (*p == u'+' || *p == u'-')) {
      exponentNegative = *p == u'-';
      ++p;
    }
    for (; p != end && isDigit(*p) && exponent < 500; ++p)
      exponent = exponent * 10 + (*p - u'0');
    if (exponentNegative)
      exponent = -exponent;
  }
  while (p != end && *p == u' ')
    ++p;
  if (p != end && *p != u'\0')
    return false;
  parts.power = std::max<std::int64_t>(exponent - fractionDigits, -kPowerLimit);
  return true;
}

EConvertError NotAFloat(std::u16string_view text) {
  return EConvertError(FillTemplate(kNotAFloatMessage, {text}));
}

// With an exact integer and |power| <= 27 the specified value is one correctly rounded operation
// on exact operands: the integer times or by the exact power of ten.
bool FastNumber(const NumberParts& parts) {
  return parts.exact && parts.power >= -Extended::kLargestExactPowerOfTen &&
         parts.power <= Extended::kLargestExactPowerOfTen;
}

Extended FastValue(const NumberParts& parts) {
  const Extended magnitude =
      Extended::IntegerScaledByPowerOfTen(parts.integer, static_cast<int>(parts.power));
  return parts.negative ? magnitude.Negated() : magnitude;
}

Extended GeneralValue(const NumberParts& parts, std::u16string_view text) {
  const Extended accumulator = parts.exact ? Extended::FromUint64(parts.integer) : parts.wide;
  Extended value = accumulator.ScaledByPowerOfTen(static_cast<int>(parts.power));
  if (parts.negative)
    value = value.Negated();
  if (!value.IsFinite())
    throw NotAFloat(text);
  return value;
}

constexpr std::array<std::uint64_t, 20> kPowersOfTen = [] {
  std::array<std::uint64_t, 20> powers{};
  std::uint64_t p = 1;
  for (std::uint64_t& power : powers) {
    power = p;
    p *= 10;
  }
  return powers;
}();

// n / 10^k for k = 1..18, each by a constant divisor, which compiles to a multiplication.
std::uint64_t DivideByPowerOfTen(std::uint64_t n, int k) {
  switch (k) {
    case 1:
      return n / 10u;
    case 2:
      return n / 100u;
    case 3:
      return n / 1000u;
    case 4:
      return n / 10000u;
    case 5:
      return n / 100000u;
    case 6:
      return n / 1000000u;
    default:
      return n / kPowersOfTen[static_cast<std::size_t>(k)];
  }
}

constexpr std::uint64_t kFastMoneyLimit = std::uint64_t{1} << 62;

// 2^62 / 10^q: below it, the integer times 10^q stays below 2^62.
constexpr std::array<std::uint64_t, 20> kFastMoneyIntegerLimits = [] {
  std::array<std::uint64_t, 20> limits{};
  for (std::size_t q = 0; q < limits.size(); ++q)
    limits[q] = kFastMoneyLimit / kPowersOfTen[q];
  return limits;
}();

// 2^s mod 625 for s = 0..73, for the ties below.
constexpr std::array<std::uint32_t, 74> kTwoPowersModulo625 = [] {
  std::array<std::uint32_t, 74> residues{};
  std::uint32_t r = 1;
  for (std::uint32_t& residue : residues) {
    residue = r;
    r = r * 2 % 625;
  }
  return residues;
}();

// The count at an exact half x = m + 1/2 (1 <= m < 2^62), in closed form. The specified steps are
// R = x / 10^4 rounded to 64 bits, then R * 10^4 rounded to 64 bits, then rounded to an integer,
// each to nearest, ties to even.
//
// With a = 2m + 1 (odd, below 2^63), x / 10^4 = a / (2^5 * 625). Take s with t = a * 2^s / 625 in
// [2^63, 2^64): R = round(t) * 2^(-5-s); t has the odd denominator 625, so it is never halfway.
// With r = a * 2^s mod 625, round(t) - t = j / 625 where j = -r for r <= 312 and 625 - r else, so
// |j| <= 312. Then R * 10^4 = 625 * round(t) * 2^(-1-s) = x + j * u with u = 2^(-1-s), exactly.
// x = a * 2^s * u and a * 2^s lies in [625 * 2^63, 625 * 2^64), inside [2^72, 2^74): the unit in
// the last place of x is 512u below 2^73 * u and 1024u above. x is no power of two (m >= 1), so it
// lies at least one such unit inside its binade and x + j * u stays in it. x has fewer than 64
// significant bits, so its last bit is 0 (even). Hence the product rounds back to x when
// |j| * u is at most half a unit, which always holds for 1024u and for 512u while |j| <= 256; for
// j > 256 (r in 313..368) it becomes the next number above x, at most m + 1, which rounds to
// m + 1; for j < -256 (r in 257..312) the next below, at least m, which rounds to m. x itself
// rounds to the even one of m and m + 1.
//
// s: with L the bit length of a, a * 2^(73-L) lies in [2^72, 2^73); it reaches 625 * 2^63 (and
// then s = 73 - L and x lies below 2^73 * u) exactly when a shifted to the top bit reaches
// 625 * 2^54; else s = 74 - L. L >= 2 and L <= 63 keep s within 10..72.
std::uint64_t CountAtTie(std::uint64_t m) {
  const std::uint64_t a = 2 * m + 1;
  const int leadingZeros = std::countl_zero(a);
  const bool belowTwoTo73 = (a << leadingZeros) >= (std::uint64_t{625} << 54);
  const int s = 9 + leadingZeros + (belowTwoTo73 ? 0 : 1);
  const std::uint64_t r = a % 625 * kTwoPowersModulo625[static_cast<std::size_t>(s)] % 625;
  if (belowTwoTo73 && r >= 257 && r <= 312)
    return m;
  if (belowTwoTo73 && r >= 313 && r <= 368)
    return m + 1;
  return m + (m & 1);
}

// The count of ten-thousandths straight from the integer, for N = integer < 2^62 and
// P = power within -27..27; Q = P + 4. The specified steps are R = N * 10^P rounded to 64 bits,
// then R * 10^4 rounded to 64 bits, then rounded to an integer, each to nearest, ties to even.
// Each 64-bit rounding changes a value by a factor (1 + d) with |d| <= 2^-64.
//
// Q >= 0, M = N * 10^Q < 2^62: for P >= 0 every step is an exact integer below 2^64. For P < 0,
// |R * 10^4 - M| <= M * 2^-64 < 1/4 and the product rounds to within (M + 1/4) * 2^-64 < 1/4 of
// that, so it lies within 1/2 of M and rounds to M.
//
// Q < 0, k = -Q, x = N / 10^k: the product is x(1 + d1)(1 + d2), within x(2^-63 + 2^-128) of x.
// Unless x is exactly halfway between two integers, its distance to the nearest half is
// |2N - (2q + 1) * 10^k| / (2 * 10^k) >= 1 / (2 * 10^k), and x(2^-63 + 2^-128) is smaller than
// that exactly when N(2^-62 + 2^-127) < 1, which holds for every N < 2^62. So the product rounds
// to the integer nearest x: the quotient N / 10^k, plus one when twice the remainder exceeds
// 10^k. For k >= 19, x < 2^62 / 10^19 < 1/2 and the count is 0. At an exact half the two
// roundings decide: CountAtTie for x above 1, the general steps for x = 1/2.
std::optional<Currency> FastMoney(const NumberParts& parts) {
  if (!FastNumber(parts) || parts.integer >= kFastMoneyLimit)
    return std::nullopt;
  const std::uint64_t n = parts.integer;
  const int q = static_cast<int>(parts.power) + 4;
  std::uint64_t count;
  if (q >= 0) {
    if (q >= static_cast<int>(kPowersOfTen.size()) ||
        n >= kFastMoneyIntegerLimits[static_cast<std::size_t>(q)])
      return std::nullopt;  // large counts and the range errors: the general path
    count = n * kPowersOfTen[static_cast<std::size_t>(q)];
  } else if (-q >= 19) {
    count = 0;
  } else {
    const std::uint64_t divisor = kPowersOfTen[static_cast<std::size_t>(-q)];
    count = DivideByPowerOfTen(n, -q);
    const std::uint64_t twiceRemainder = 2 * (n - count * divisor);  // below 2 * 10^18
    if (twiceRemainder == divisor) {
      if (count == 0)
        return std::nullopt;
      count = CountAtTie(count);
    } else if (twiceRemainder > divisor) {
      ++count;
    }
  }
  const auto signedCount = static_cast<std::int64_t>(count);
  return Currency{parts.negative ? -signedCount : signedCount};
}

}  // namespace

Extended ReadNumber(std::u16string_view text, char16_t decimalSeparator) {
  NumberParts parts;
  if (!ScanNumber(text, decimalSeparator, parts))
    throw NotAFloat(text);
  return FastNumber(parts) ? FastValue(parts) : GeneralValue(parts, text);
}

Extended ReadNumber(std::u16string_view text) {
  return ReadNumber(text, CurrentLocaleSettings().DecimalSeparator);
}

Extended ReadNumber(std::u16string_view text, const LocaleSettings& settings) {
  return ReadNumber(text, settings.DecimalSeparator);
}

Currency RoundToMoney(const Extended& value) {
  if (!value.IsFinite())
    throw EInvalidOp(std::u16string(kInvalidOpMessage));
  const Extended product = value.Times(Extended::FromUint64(10000));
  if (!product.IsFinite())
    throw EOverflow(std::u16string(kOverflowMessage));
  const std::optional<std::int64_t> count = product.RoundToInt64();
  if (!count)
    throw EInvalidOp(std::u16string(kInvalidOpMessage));
  return Currency{*count};
}

Currency ReadMoney(std::u16string_view text, char16_t decimalSeparator) {
  NumberParts parts;
  if (!ScanNumber(text, decimalSeparator, parts))
    throw NotAFloat(text);
  if (const std::optional<Currency> money = FastMoney(parts))
    return *money;
  return RoundToMoney(FastNumber(parts) ? FastValue(parts) : GeneralValue(parts, text));
}

Currency ReadMoney(std::u16string_view text) {
  return ReadMoney(text, CurrentLocaleSettings().DecimalSeparator);
}

Extended ReadNumberGeneral(std::u16string_view text, char16_t decimalSeparator) {
  NumberParts parts;
  if (!ScanNumber(text, decimalSeparator, parts))
    throw NotAFloat(text);
  return GeneralValue(parts, text);
}

Currency ReadMoneyGeneral(std::u16string_view text, char16_t decimalSeparator) {
  return RoundToMoney(ReadNumberGeneral(text, decimalSeparator));
}

}  // namespace quorvane
