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

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

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
  // The accumulator in a local, so that it stays in a register through the digit loops.
  std::uint64_t integer = 0;
  const auto take = [&parts, &integer](unsigned digit) {
    if (integer <= kExactLimit) {
      integer = integer * 10 + digit;
      return;
    }
    if (parts.exact) {
      parts.exact = false;
      parts.wide = Extended::FromUint64(integer);
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
  parts.integer = integer;
  parts.power = std::max<std::int64_t>(exponent - fractionDigits, -kPowerLimit);
  return true;
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

#if defined(__SIZEOF_INT128__)
// n / 10^k for n < 2^62 and k = 0..18 by one multiplication and a shift, with no branch on k:
// floor(2n * M / 2^(64 + l)) with 2^l <= 10^k < 2^(l + 1) and M = ceil(2^(63 + l) / 10^k), which
// is below 2^64. With M * 10^k = 2^(63 + l) + e, 0 <= e < 10^k, the fraction 2n * M / 2^(64 + l)
// is n / 10^k + n * e / (10^k * 2^(63 + l)), and n * e < 2^62 * 2^(l + 1) keeps the excess below
// 1 / 10^k, too little to reach the next integer.
struct PowerOfTenDivisor {
  std::uint64_t multiplier;
  int shift;
};

constexpr std::array<PowerOfTenDivisor, 19> kPowerOfTenDivisors = [] {
  std::array<PowerOfTenDivisor, 19> divisors{};
  for (std::size_t k = 0; k < divisors.size(); ++k) {
    const std::uint64_t d = kPowersOfTen[k];
    const int l = 63 - std::countl_zero(d);
    const unsigned __int128 top = static_cast<unsigned __int128>(1) << (63 + l);
    divisors[k] = {static_cast<std::uint64_t>((top + d - 1) / d), l};
  }
  return divisors;
}();

std::uint64_t DivideByPowerOfTen(std::uint64_t n, std::size_t k) {
  const PowerOfTenDivisor& d = kPowerOfTenDivisors[k];
  return static_cast<std::uint64_t>((static_cast<unsigned __int128>(2 * n) * d.multiplier) >> 64) >>
         d.shift;
}
#else
std::uint64_t DivideByPowerOfTen(std::uint64_t n, std::size_t k) {
  return n / kPowersOfTen[k];
}
#endif

#if defined(__SSE2__) || defined(_M_X64)
// The lanes of a four-unit word that no earlier word covered: the last `fresh` of them.
constexpr std::array<std::uint64_t, 5> kFreshLanes = {0, 0xFFFF000000000000u, 0xFFFFFFFF00000000u,
                                                      0xFFFFFFFFFFFF0000u, ~std::uint64_t{0}};

// Four units from `units` in the low half of a vector.
__m128i LoadFourUnits(const char16_t* units) {
  return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(units));
}

// The common texts of 4 to 16 units, with no branch on the digits: an optional sign, then digits
// with at most one separator; false for every other text, which ScanNumber then reads. Four words
// of four units start at 0, 4, 8 and 12, none beyond the last four units, so a word may repeat
// units of the one before: only its fresh lanes (past the previous word) add to the value, where
// the sign and the separator count as digits 0. So `value` is I * 10^(f + 1) + F for the integer
// digits I and the f fraction digits F, and the integer of the digits, I * 10^f + F, is
// value - 9 * I * 10^f. At most 16 units keep the value below 10^16 < 2^62: exact, and within
// DivideByPowerOfTen's range. On such a text ScanNumber takes the same steps: no spaces (a blank
// separator is left to it), the sign, the digits, the separator, the digits, the end.
QV_INLINE bool ScanShortNumber(std::u16string_view text, char16_t separator, NumberParts& parts) {
  const std::size_t n = text.size();
  if (n < 4 || n > 16 || separator == u' ' || separator == u'\0' ||
      static_cast<char16_t>(separator - u'0') < 10)
    return false;
  const char16_t* const units = text.data();
  const bool hasSign = units[0] == u'-' || units[0] == u'+';
  const std::size_t last = n - 4;
  const std::size_t second = std::min<std::size_t>(4, last);
  const std::size_t third = std::min<std::size_t>(8, last);
  const std::size_t fourth = std::min<std::size_t>(12, last);
  const __m128i front = _mm_unpacklo_epi64(LoadFourUnits(units), LoadFourUnits(units + second));
  const __m128i back =
      _mm_unpacklo_epi64(LoadFourUnits(units + third), LoadFourUnits(units + fourth));
  const __m128i frontFresh = _mm_set_epi64x(static_cast<long long>(kFreshLanes[second]), -1);
  const __m128i backFresh = _mm_set_epi64x(static_cast<long long>(kFreshLanes[fourth - third]),
                                           static_cast<long long>(kFreshLanes[third - second]));
  // Digit values, and all ones in the lanes of digits (unit - '0' at most 9, unsigned).
  const __m128i frontDigits = _mm_sub_epi16(front, _mm_set1_epi16('0'));
  const __m128i backDigits = _mm_sub_epi16(back, _mm_set1_epi16('0'));
  const __m128i nine = _mm_set1_epi16(9);
  const __m128i frontIsDigit =
      _mm_cmpeq_epi16(_mm_subs_epu16(frontDigits, nine), _mm_setzero_si128());
  const __m128i backIsDigit =
      _mm_cmpeq_epi16(_mm_subs_epu16(backDigits, nine), _mm_setzero_si128());
  // Pairs of lanes (10 * first + second), then pairs of pairs: each word's four-digit value.
  const __m128i tenAndOne = _mm_set1_epi32(0x0001000A);
  const __m128i frontPairs = _mm_madd_epi16(
      _mm_and_si128(_mm_and_si128(frontDigits, frontIsDigit), frontFresh), tenAndOne);
  const __m128i backPairs =
      _mm_madd_epi16(_mm_and_si128(_mm_and_si128(backDigits, backIsDigit), backFresh), tenAndOne);
  const __m128i fours =
      _mm_madd_epi16(_mm_packs_epi32(frontPairs, backPairs), _mm_set1_epi32(0x00010064));
  alignas(16) std::uint32_t four[4];
  _mm_store_si128(reinterpret_cast<__m128i*>(four), fours);
  const std::uint64_t value = four[0] * kPowersOfTen[last] + four[1] * kPowersOfTen[last - second] +
                              four[2] * kPowersOfTen[last - third] +
                              four[3] * kPowersOfTen[last - fourth];
  // Two bits for each unit that is no digit (a byte mask of 16-bit lanes), the sign left out.
  const auto nonDigits = [](__m128i isDigit) {
    return ~static_cast<std::uint32_t>(_mm_movemask_epi8(isDigit)) & 0xFFFFu;
  };
  const std::uint32_t frontOthers = nonDigits(frontIsDigit), backOthers = nonDigits(backIsDigit);
  std::uint32_t others = (frontOthers & 0xFF) | (frontOthers >> 8) << (2 * second) |
                         (backOthers & 0xFF) << (2 * third) | (backOthers >> 8) << (2 * fourth);
  others &= ~(hasSign ? 3u : 0u);
  const std::size_t otherAt = static_cast<std::size_t>(std::countr_zero(others)) / 2;  // 16: none
  if ((others & (others - 1) & 0x55555555u) != 0 || (others != 0 && units[otherAt] != separator) ||
      n - hasSign == (others != 0))
    return false;  // another unit, a second separator, or no digit
  const std::size_t fractionDigits = others != 0 ? n - 1 - otherAt : 0;
  const std::uint64_t integerDigits = DivideByPowerOfTen(value, fractionDigits + 1);
  parts.negative = units[0] == u'-';
  parts.integer = others != 0 ? value - 9 * integerDigits * kPowersOfTen[fractionDigits] : value;
  parts.power = -static_cast<std::int64_t>(fractionDigits);
  return true;
}
#else
bool ScanShortNumber(std::u16string_view, char16_t, NumberParts&) {
  return false;  // ScanNumber reads every text
}
#endif

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
  // The sign put on as a bit, with no branch on it (zero too becomes -0, as negating it does).
  return Extended::FromBits(parts.negative, magnitude.BiasedExponent(), magnitude.Significand());
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
  if (q >= static_cast<int>(kPowersOfTen.size()))
    return std::nullopt;  // a count of 2^62 or more: the general path
  if (q <= -19)
    return Currency{0};
  // Both cases in one sequence, with no branch on the number of decimals: for Q >= 0 the
  // division is by 1, for Q < 0 the multiplication by 1.
  const auto up = static_cast<std::size_t>(std::max(q, 0));
  const auto down = static_cast<std::size_t>(std::max(-q, 0));
  if (n >= kFastMoneyIntegerLimits[up])
    return std::nullopt;  // large counts and the range errors: the general path
  const std::uint64_t divisor = kPowersOfTen[down];
  std::uint64_t quotient = DivideByPowerOfTen(n, down);
  const std::uint64_t twiceRemainder = 2 * (n - quotient * divisor);  // below 2 * 10^18
  if (twiceRemainder == divisor) {                                    // never for a divisor of 1
    if (quotient == 0)
      return std::nullopt;
    quotient = CountAtTie(quotient);
  } else {
    quotient += twiceRemainder > divisor;
  }
  const auto count = static_cast<std::int64_t>(quotient * kPowersOfTen[up]);
  const std::int64_t sign = -static_cast<std::int64_t>(parts.negative);  // 0 or all ones
  return Currency{(count ^ sign) - sign};
}

}  // namespace

Extended ReadNumber(std::u16string_view text, char16_t decimalSeparator) {
  NumberParts parts;
  if (!ScanShortNumber(text, decimalSeparator, parts) && !ScanNumber(text, decimalSeparator, parts))
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
  if (!ScanShortNumber(text, decimalSeparator, parts) && !ScanNumber(text, decimalSeparator, parts))
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
