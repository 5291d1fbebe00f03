#include "Extended.h"

#include <array>
#include <bit>
#include <vector>

namespace quorvane {

namespace {

constexpr std::uint64_t kTopBit = std::uint64_t{1} << 63;
// The default NaN of the x87 unit ("real indefinite").
constexpr std::uint64_t kIndefiniteSignificand = 0xC000000000000000u;

// An unsigned 128-bit integer from two halves, so that every compiler computes the same bits.
struct U128 {
  std::uint64_t hi = 0, lo = 0;
  bool IsZero() const { return (hi | lo) == 0; }
};

U128 Multiply64(std::uint64_t a, std::uint64_t b) {
  const std::uint64_t aLo = a & 0xFFFFFFFFu, aHi = a >> 32;
  const std::uint64_t bLo = b & 0xFFFFFFFFu, bHi = b >> 32;
  const std::uint64_t ll = aLo * bLo, lh = aLo * bHi, hl = aHi * bLo, hh = aHi * bHi;
  const std::uint64_t mid = (ll >> 32) + (lh & 0xFFFFFFFFu) + (hl & 0xFFFFFFFFu);
  return {hh + (lh >> 32) + (hl >> 32) + (mid >> 32), (mid << 32) | (ll & 0xFFFFFFFFu)};
}

// (hi:lo) / divisor for a divisor with its top bit set and hi < divisor: the quotient fits in 64
// bits. Two steps of 32-bit digits (schoolbook long division with estimated quotient digits).
std::uint64_t Divide128By64(std::uint64_t hi, std::uint64_t lo, std::uint64_t divisor,
                            std::uint64_t& remainder) {
  const std::uint64_t base = std::uint64_t{1} << 32;
  const std::uint64_t vHi = divisor >> 32, vLo = divisor & 0xFFFFFFFFu;
  const std::uint64_t uHi = lo >> 32, uLo = lo & 0xFFFFFFFFu;

  std::uint64_t q1 = hi / vHi, rest = hi - q1 * vHi;
  while (q1 >= base || q1 * vLo > ((rest << 32) | uHi)) {
    --q1;
    rest += vHi;
    if (rest >= base)
      break;
  }
  const std::uint64_t middle = (hi << 32) + uHi - q1 * divisor;  // modulo 2^64, exact below
  std::uint64_t q0 = middle / vHi;
  rest = middle - q0 * vHi;
  while (q0 >= base || q0 * vLo > ((rest << 32) | uLo)) {
    --q0;
    rest += vHi;
    if (rest >= base)
      break;
  }
  remainder = (middle << 32) + uLo - q0 * divisor;
  return (q1 << 32) | q0;
}

int CountLeadingZeros(U128 m) {
  return m.hi != 0 ? std::countl_zero(m.hi) : 64 + std::countl_zero(m.lo);
}

U128 ShiftLeft(U128 m, int n) {
  if (n == 0)
    return m;
  if (n >= 64)
    return {m.lo << (n - 64), 0};
  return {(m.hi << n) | (m.lo >> (64 - n)), m.lo << n};
}

// Shifts right by n bits; any bit shifted out is kept as a 1 in the lowest bit (sticky), which
// is enough to round correctly at bit 63 or above.
U128 ShiftRightSticky(U128 m, int n) {
  if (n == 0)
    return m;
  if (n >= 128)
    return {0, m.IsZero() ? 0u : 1u};
  if (n >= 64) {
    const int k = n - 64;
    const std::uint64_t lost = (k == 0 ? 0 : (m.hi << (64 - k))) | m.lo;
    return {0, (m.hi >> k) | (lost != 0 ? 1u : 0u)};
  }
  const std::uint64_t lost = m.lo << (64 - n);
  return {m.hi >> n, (m.lo >> n) | (m.hi << (64 - n)) | (lost != 0 ? 1u : 0u)};
}

U128 Add(U128 a, U128 b) {
  const std::uint64_t lo = a.lo + b.lo;
  return {a.hi + b.hi + (lo < a.lo ? 1u : 0u), lo};
}

U128 Subtract(U128 a, U128 b) {
  return {a.hi - b.hi - (a.lo < b.lo ? 1u : 0u), a.lo - b.lo};
}

enum class Kind { Zero, Finite, Infinite, NaN };

// A value taken apart: value = Significand * 2^Exponent, the significand normalized (top bit set)
// when the value is finite and not zero.
struct Unpacked {
  Kind kind = Kind::Zero;
  bool negative = false;
  std::uint64_t significand = 0;
  int exponent = 0;
};

Unpacked Unpack(const Extended& x) {
  Unpacked u;
  u.negative = x.Negative();
  const bool integerBit = (x.Significand() & kTopBit) != 0;
  if (x.BiasedExponent() == Extended::kMaxBiasedExponent) {
    u.kind = integerBit && (x.Significand() << 1) == 0 ? Kind::Infinite : Kind::NaN;
    return u;
  }
  if (x.BiasedExponent() != 0 && !integerBit) {
    u.kind = Kind::NaN;  // an unnormal: an invalid operand, as for the x87 unit
    return u;
  }
  if (x.Significand() == 0)
    return u;
  u.kind = Kind::Finite;
  const int biased = x.BiasedExponent() == 0 ? 1 : x.BiasedExponent();
  const int shift = std::countl_zero(x.Significand());
  u.significand = x.Significand() << shift;
  u.exponent = biased - Extended::kExponentBias - 63 - shift;
  return u;
}

Extended Zero(bool negative) {
  return Extended::FromBits(negative, 0, 0);
}

Extended DefaultNaN() {
  return Extended::FromBits(true, Extended::kMaxBiasedExponent, kIndefiniteSignificand);
}

// Rounds m * 2^exponent (m not zero; bits below bit 0 folded into bit 0) to the format: to
// nearest, ties to even, with gradual underflow and overflow to infinity.
Extended RoundAndPack(bool negative, U128 m, int exponent) {
  const int shift = CountLeadingZeros(m);
  m = ShiftLeft(m, shift);
  exponent -= shift;
  // The top bit of m stands for 2^(exponent + 127).
  int biased = exponent + 127 + Extended::kExponentBias;
  if (biased <= 0) {
    m = ShiftRightSticky(m, 1 - biased);
    biased = 0;
  }
  std::uint64_t significand = m.hi;
  const bool roundUp = m.lo > kTopBit || (m.lo == kTopBit && (significand & 1) != 0);
  if (roundUp) {
    ++significand;
    if (significand == 0) {
      significand = kTopBit;
      ++biased;
    } else if (biased == 0 && (significand & kTopBit) != 0) {
      biased = 1;  // a subnormal rounded up to the smallest normal
    }
  }
  if (biased >= Extended::kMaxBiasedExponent)
    return Extended::Infinity(negative);
  if (significand == 0)
    return Zero(negative);
  return Extended::FromBits(negative, static_cast<std::uint16_t>(biased), significand);
}

// 5^k for k = 0..27; 5^27 still fits in 64 bits, so 10^k = 5^k * 2^k is exact for k <= 27.
constexpr std::uint64_t PowerOfFive(int k) {
  std::uint64_t p = 1;
  for (int i = 0; i < k; ++i)
    p *= 5;
  return p;
}

Extended ExactPowerOfTen(int k) {
  const Extended five = Extended::FromUint64(PowerOfFive(k));
  return Extended::FromBits(false, static_cast<std::uint16_t>(five.BiasedExponent() + k),
                            five.Significand());
}

constexpr int kLargestExactPower = Extended::kLargestExactPowerOfTen;

// A non-negative integer in base 10^9, lowest limb first, for exact decimal digits.
class DecimalInteger {
 public:
  // Room for the digits that `value` times the coming powers will have, so that the limbs grow
  // in place.
  DecimalInteger(std::uint64_t value, int expectedDigits) {
    limbs_.reserve(static_cast<std::size_t>(expectedDigits) / 9 + 4);
    do {
      limbs_.push_back(static_cast<std::uint32_t>(value % kBase));
      value /= kBase;
    } while (value != 0);
  }

  // factor < 2^32 / 2 keeps every partial product below 2^64.
  void MultiplyBy(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (std::uint32_t& limb : limbs_) {
      const std::uint64_t p = std::uint64_t{limb} * factor + carry;
      limb = static_cast<std::uint32_t>(p % kBase);
      carry = p / kBase;
    }
    while (carry != 0) {
      limbs_.push_back(static_cast<std::uint32_t>(carry % kBase));
      carry /= kBase;
    }
  }

  void MultiplyByPowerOfTwo(int k) {
    for (; k >= 30; k -= 30)
      MultiplyBy(std::uint32_t{1} << 30);
    if (k > 0)
      MultiplyBy(std::uint32_t{1} << k);
  }

  void MultiplyByPowerOfFive(int k) {
    constexpr std::uint32_t kFiveToThe13 = 1220703125;
    for (; k >= 13; k -= 13)
      MultiplyBy(kFiveToThe13);
    if (k > 0)
      MultiplyBy(static_cast<std::uint32_t>(PowerOfFive(k)));
  }

  std::string Digits() const {
    std::string out = std::to_string(limbs_.back());
    out.reserve(out.size() + 9 * (limbs_.size() - 1));
    for (std::size_t i = limbs_.size() - 1; i-- > 0;) {
      char group[9];
      std::uint32_t limb = limbs_[i];
      for (int j = 8; j >= 0; --j) {
        group[j] = static_cast<char>('0' + limb % 10);
        limb /= 10;
      }
      out.append(group, 9);
    }
    return out;
  }

 private:
  static constexpr std::uint64_t kBase = 1000000000;
  std::vector<std::uint32_t> limbs_;
};

}  // namespace

Extended Extended::FromBits(bool negative, std::uint16_t biasedExponent,
                            std::uint64_t significand) {
  Extended x;
  x.negative_ = negative;
  x.biasedExponent_ = static_cast<std::uint16_t>(biasedExponent & kMaxBiasedExponent);
  x.significand_ = significand;
  return x;
}

Extended Extended::FromUint64(std::uint64_t value) {
  if (value == 0)
    return Extended();
  const int shift = std::countl_zero(value);
  return FromBits(false, static_cast<std::uint16_t>(kExponentBias + 63 - shift), value << shift);
}

Extended Extended::FromInt64(std::int64_t value) {
  const std::uint64_t magnitude = value < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(value)
                                            : static_cast<std::uint64_t>(value);
  Extended x = FromUint64(magnitude);
  x.negative_ = value < 0;
  return x;
}

Extended Extended::FromDouble(double value) {
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
  const bool negative = (bits >> 63) != 0;
  const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  if (exponent == 0x7FF) {
    if (fraction == 0)
      return Infinity(negative);
    return FromBits(negative, kMaxBiasedExponent, kIndefiniteSignificand | (fraction << 11));
  }
  if (exponent == 0) {
    if (fraction == 0)
      return Zero(negative);
    // A double subnormal: fraction * 2^-1074, always a normal number here.
    const int shift = std::countl_zero(fraction);
    return FromBits(negative, static_cast<std::uint16_t>(-1074 + 63 - shift + kExponentBias),
                    fraction << shift);
  }
  return FromBits(negative, static_cast<std::uint16_t>(exponent - 1023 + kExponentBias),
                  kTopBit | (fraction << 11));
}

Extended Extended::Infinity(bool negative) {
  return FromBits(negative, kMaxBiasedExponent, kTopBit);
}

double Extended::ToDouble() const {
  const std::uint64_t sign = negative_ ? kTopBit : 0;
  const Unpacked u = Unpack(*this);
  switch (u.kind) {
    case Kind::Zero:
      return std::bit_cast<double>(sign);
    case Kind::Infinite:
      return std::bit_cast<double>(sign | 0x7FF0000000000000u);
    case Kind::NaN:
      if (biasedExponent_ != kMaxBiasedExponent || (significand_ & kTopBit) == 0)
        return std::bit_cast<double>(0xFFF8000000000000u);  // an invalid operand
      return std::bit_cast<double>(sign | 0x7FF8000000000000u | ((significand_ << 1) >> 12));
    case Kind::Finite:
      break;
  }
  // The top bit of the significand stands for 2^(exponent + 63).
  int biased = u.exponent + 63 + 1023;
  int shift = 11;
  if (biased <= 0) {
    shift += 1 - biased;
    biased = 0;
  }
  if (shift > 64)
    return std::bit_cast<double>(sign);  // below half the smallest subnormal
  std::uint64_t m = shift == 64 ? 0 : u.significand >> shift;
  const std::uint64_t rest = shift == 64 ? u.significand : u.significand << (64 - shift);
  if (rest > kTopBit || (rest == kTopBit && (m & 1) != 0))
    ++m;
  if (biased > 0 && m == (std::uint64_t{1} << 53)) {
    m >>= 1;
    ++biased;
  }
  if (biased >= 0x7FF)
    return std::bit_cast<double>(sign | 0x7FF0000000000000u);
  // For a subnormal that rounded up to 2^52, the bit of m lands on the exponent field as 1.
  const std::uint64_t bits =
      biased == 0 ? m : (std::uint64_t(biased) << 52) | (m & ((std::uint64_t{1} << 52) - 1));
  return std::bit_cast<double>(sign | bits);
}

bool Extended::IsZero() const {
  return biasedExponent_ == 0 && significand_ == 0;
}

bool Extended::IsFinite() const {
  const Kind kind = Unpack(*this).kind;
  return kind == Kind::Zero || kind == Kind::Finite;
}

bool Extended::IsNaN() const {
  return Unpack(*this).kind == Kind::NaN;
}

Extended Extended::Negated() const {
  Extended x = *this;
  x.negative_ = !negative_;
  return x;
}

Extended Extended::Plus(const Extended& other) const {
  const Unpacked a = Unpack(*this), b = Unpack(other);
  if (a.kind == Kind::NaN || b.kind == Kind::NaN)
    return DefaultNaN();
  if (a.kind == Kind::Infinite || b.kind == Kind::Infinite) {
    if (a.kind == Kind::Infinite && b.kind == Kind::Infinite && a.negative != b.negative)
      return DefaultNaN();
    return Infinity(a.kind == Kind::Infinite ? a.negative : b.negative);
  }
  if (a.kind == Kind::Zero && b.kind == Kind::Zero)
    return Zero(a.negative && b.negative);
  if (b.kind == Kind::Zero)
    return RoundAndPack(a.negative, {a.significand, 0}, a.exponent - 64);
  if (a.kind == Kind::Zero)
    return RoundAndPack(b.negative, {b.significand, 0}, b.exponent - 64);

  const bool aLarger =
      a.exponent > b.exponent || (a.exponent == b.exponent && a.significand >= b.significand);
  const Unpacked& big = aLarger ? a : b;
  const Unpacked& small = aLarger ? b : a;
  // Both significands from bit 126 down, leaving bit 127 free for a carry.
  const U128 bigM{big.significand >> 1, big.significand << 63};
  const U128 smallM = ShiftRightSticky({small.significand >> 1, small.significand << 63},
                                       big.exponent - small.exponent);
  const U128 sum = big.negative == small.negative ? Add(bigM, smallM) : Subtract(bigM, smallM);
  if (sum.IsZero())
    return Zero(false);  // an exact cancellation gives +0 when rounding to nearest
  return RoundAndPack(big.negative, sum, big.exponent - 63);
}

Extended Extended::Times(const Extended& other) const {
  const Unpacked a = Unpack(*this), b = Unpack(other);
  const bool negative = a.negative != b.negative;
  if (a.kind == Kind::NaN || b.kind == Kind::NaN)
    return DefaultNaN();
  if (a.kind == Kind::Infinite || b.kind == Kind::Infinite) {
    if (a.kind == Kind::Zero || b.kind == Kind::Zero)
      return DefaultNaN();
    return Infinity(negative);
  }
  if (a.kind == Kind::Zero || b.kind == Kind::Zero)
    return Zero(negative);
  return RoundAndPack(negative, Multiply64(a.significand, b.significand), a.exponent + b.exponent);
}

Extended Extended::DividedBy(const Extended& other) const {
  const Unpacked a = Unpack(*this), b = Unpack(other);
  const bool negative = a.negative != b.negative;
  if (a.kind == Kind::NaN || b.kind == Kind::NaN)
    return DefaultNaN();
  if (a.kind == Kind::Infinite)
    return b.kind == Kind::Infinite ? DefaultNaN() : Infinity(negative);
  if (b.kind == Kind::Infinite)
    return Zero(negative);
  if (b.kind == Kind::Zero)
    return a.kind == Kind::Zero ? DefaultNaN() : Infinity(negative);
  if (a.kind == Kind::Zero)
    return Zero(negative);

  // 129 quotient bits: one integer bit, then two 64-bit digits; the remainder is the sticky bit.
  std::uint64_t remainder = a.significand;
  const bool integerBit = remainder >= b.significand;
  if (integerBit)
    remainder -= b.significand;
  const std::uint64_t q1 = Divide128By64(remainder, 0, b.significand, remainder);
  const std::uint64_t q2 = Divide128By64(remainder, 0, b.significand, remainder);
  const std::uint64_t sticky = remainder != 0 ? 1 : 0;
  const int exponent = a.exponent - b.exponent - 128;
  if (integerBit) {
    const U128 m{kTopBit | (q1 >> 1), (q1 << 63) | (q2 >> 1) | (q2 & 1) | sticky};
    return RoundAndPack(negative, m, exponent + 1);
  }
  return RoundAndPack(negative, {q1, q2 | sticky}, exponent);
}

Extended Extended::TimesTenPlus(unsigned digit) const {
  return Times(FromUint64(10)).Plus(FromUint64(digit));
}

Extended Extended::ScaledByPowerOfTen(int power) const {
  Extended x = *this;
  for (; power > kLargestExactPower; power -= kLargestExactPower)
    x = x.Times(ExactPowerOfTen(kLargestExactPower));
  for (; power < -kLargestExactPower; power += kLargestExactPower)
    x = x.DividedBy(ExactPowerOfTen(kLargestExactPower));
  if (power > 0)
    x = x.Times(ExactPowerOfTen(power));
  else if (power < 0)
    x = x.DividedBy(ExactPowerOfTen(-power));
  return x;
}

namespace {

// 5^k shifted up until its top bit is set, and, where 128-bit integers exist, its reciprocal
// floor((2^128 - 1) / divisor) - 2^64 for dividing by multiplication.
struct FiveDivisor {
  std::uint64_t divisor = 0;
  int shift = 0;
  std::uint64_t reciprocal = 0;
};

constexpr auto kFiveDivisors = [] {
  std::array<FiveDivisor, kLargestExactPower + 1> table{};
  for (int k = 0; k <= kLargestExactPower; ++k) {
    FiveDivisor& d = table[static_cast<std::size_t>(k)];
    const std::uint64_t five = PowerOfFive(k);
    while (((five << d.shift) & kTopBit) == 0)
      ++d.shift;
    d.divisor = five << d.shift;
#if defined(__SIZEOF_INT128__)
    d.reciprocal = static_cast<std::uint64_t>(~static_cast<unsigned __int128>(0) / d.divisor);
#endif
  }
  return table;
}();

// The quotient of (hi:lo) by d.divisor (top bit set) for hi < d.divisor, so that it fits in 64
// bits, and the remainder. With 128-bit integers: hi + (hi * reciprocal) / 2^64 is at most the
// quotient (the reciprocal is below 2^128 / divisor - 2^64, and lo is left out), and less than
// five below it; adding the divisor back while the remainder reaches it makes both exact.
std::uint64_t DivideWide(std::uint64_t hi, std::uint64_t lo, const FiveDivisor& d,
                         std::uint64_t& remainder) {
#if defined(__SIZEOF_INT128__)
  using Wide = unsigned __int128;
  const Wide dividend = (Wide{hi} << 64) | lo;
  std::uint64_t quotient = hi + static_cast<std::uint64_t>((Wide{hi} * d.reciprocal) >> 64);
  Wide rest = dividend - Wide{quotient} * d.divisor;
  while (rest >= d.divisor) {
    ++quotient;
    rest -= d.divisor;
  }
  remainder = static_cast<std::uint64_t>(rest);
  return quotient;
#else
  return Divide128By64(hi, lo, d.divisor, remainder);
#endif
}

U128 MultiplyWide(std::uint64_t a, std::uint64_t b) {
#if defined(__SIZEOF_INT128__)
  const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
  return {static_cast<std::uint64_t>(product >> 64), static_cast<std::uint64_t>(product)};
#else
  return Multiply64(a, b);
#endif
}

// significand * 2^exponent with the significand normalized (top bit set), well inside the range.
Extended Pack(std::uint64_t significand, int exponent) {
  return Extended::FromBits(
      false, static_cast<std::uint16_t>(exponent + 63 + Extended::kExponentBias), significand);
}

constexpr auto kPowersOfFive = [] {
  std::array<std::uint64_t, kLargestExactPower + 1> powers{};
  for (int k = 0; k <= kLargestExactPower; ++k)
    powers[static_cast<std::size_t>(k)] = PowerOfFive(k);
  return powers;
}();

}  // namespace

// 10^p = 5^p * 2^p, and 5^p < 2^63 for p <= 27, so the exact value is integer * 5^p (a 128-bit
// product) or integer / 5^p (a quotient), times a power of two. The general operations round that
// exact value once to 64 bits, to nearest, ties to even; so does this, and since the value lies
// between 10^-27 and 10^47 it is never near the underflow or overflow of the format. A correctly
// rounded result is unique, so the bits agree.
Extended Extended::IntegerScaledByPowerOfTen(std::uint64_t integer, int power) {
  if (integer == 0)
    return Extended();  // +0, as 0 times or by a positive power gives
  if (power >= 0) {
    const U128 product = MultiplyWide(integer, kPowersOfFive[static_cast<std::size_t>(power)]);
    if (product.hi == 0) {
      const int shift = std::countl_zero(product.lo);
      return Pack(product.lo << shift, power - shift);  // at most 64 bits: exact
    }
    // The top 64 of at most 127 bits, rounded by the bits below them, ties to even.
    const int shift = std::countl_zero(product.hi);
    const U128 m = ShiftLeft(product, shift);
    std::uint64_t significand = m.hi;
    int exponent = 64 + power - shift;
    if (m.lo > kTopBit || (m.lo == kTopBit && (significand & 1) != 0)) {
      if (++significand == 0) {
        significand = kTopBit;
        ++exponent;
      }
    }
    return Pack(significand, exponent);
  }
  // integer / 10^k = n / (D * 2^(k + c - t)) with n the integer shifted to the top (c places) and
  // D = 5^k shifted to the top (t places). Dividing n * 2^64 (or n * 2^63 when n >= D) by D gives
  // a quotient with exactly 64 bits. Twice the remainder against D decides the rounding; 5^k is
  // odd, so the exact quotient has an odd denominator and is never halfway, but a tie would still
  // go to even.
  const int k = -power;
  const FiveDivisor& five = kFiveDivisors[static_cast<std::size_t>(k)];
  const std::uint64_t divisor = five.divisor;
  const int c = std::countl_zero(integer);
  const std::uint64_t n = integer << c;
  const bool wide = n >= divisor;
  std::uint64_t remainder = 0;
  std::uint64_t quotient = DivideWide(wide ? n >> 1 : n, wide ? n << 63 : 0, five, remainder);
  int exponent = five.shift - (wide ? 63 : 64) - c - k;
  const std::uint64_t rest = divisor - remainder;  // remainder < divisor: no wrap
  if (remainder > rest || (remainder == rest && (quotient & 1) != 0)) {
    if (++quotient == 0) {
      quotient = kTopBit;
      ++exponent;
    }
  }
  return Pack(quotient, exponent);
}

std::optional<std::int64_t> Extended::RoundToInt64() const {
  const Unpacked u = Unpack(*this);
  if (u.kind == Kind::Zero)
    return 0;
  if (u.kind != Kind::Finite || u.exponent > 0)
    return std::nullopt;  // at least 2^64 in magnitude
  std::uint64_t magnitude;
  if (u.exponent == 0) {
    magnitude = u.significand;
  } else if (u.exponent < -64) {
    magnitude = 0;  // below a quarter
  } else {
    const int shift = -u.exponent;
    magnitude = shift == 64 ? 0 : u.significand >> shift;
    const std::uint64_t rest = shift == 64 ? u.significand : u.significand << (64 - shift);
    if (rest > kTopBit || (rest == kTopBit && (magnitude & 1) != 0))
      ++magnitude;
  }
  if (u.negative) {
    if (magnitude > kTopBit)
      return std::nullopt;
    return static_cast<std::int64_t>(std::uint64_t{0} - magnitude);
  }
  if (magnitude >= kTopBit)
    return std::nullopt;
  return static_cast<std::int64_t>(magnitude);
}

DecimalDigits Extended::ToDecimalDigits(int significantDigits) const {
  DecimalDigits result;
  result.Negative = negative_;
  const Unpacked u = Unpack(*this);
  if (u.kind != Kind::Finite)
    return result;
  // value = odd * 2^exponent = (odd * 5^-exponent) * 10^exponent when the exponent is negative.
  const int zeros = std::countr_zero(u.significand);
  const std::uint64_t odd = u.significand >> zeros;
  const int exponent = u.exponent + zeros;
  // 20 digits for the odd part, then about 0.302 digits a power of two, 0.699 a power of five.
  const int expectedDigits = 20 + (exponent >= 0 ? exponent * 302 : -exponent * 699) / 1000;
  DecimalInteger n(odd, expectedDigits);
  int decimalShift = 0;
  if (exponent >= 0) {
    n.MultiplyByPowerOfTwo(exponent);
  } else {
    n.MultiplyByPowerOfFive(-exponent);
    decimalShift = exponent;
  }
  std::string digits = n.Digits();
  result.Exponent = static_cast<int>(digits.size()) + decimalShift;

  const std::size_t keep = static_cast<std::size_t>(significantDigits < 1 ? 1 : significantDigits);
  if (digits.size() > keep) {
    const char first = digits[keep];
    const bool beyondHalf = digits.find_first_not_of('0', keep + 1) != std::string::npos;
    const bool lastOdd = ((digits[keep - 1] - '0') & 1) != 0;
    const bool roundUp = first > '5' || (first == '5' && (beyondHalf || lastOdd));
    digits.resize(keep);
    if (roundUp) {
      std::size_t i = keep;
      while (i > 0 && digits[i - 1] == '9')
        digits[--i] = '0';
      if (i == 0) {
        digits.insert(digits.begin(), '1');
        digits.pop_back();
        ++result.Exponent;
      } else {
        ++digits[i - 1];
      }
    }
  }
  digits.erase(digits.find_last_not_of('0') + 1);
  result.Digits = std::move(digits);
  return result;
}

}  // namespace quorvane
