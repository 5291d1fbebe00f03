#pragma once
// Binary floating point with a 64-bit significand and a 15-bit exponent (the x87 extended format),
// done in software so that every compiler and CPU gives bit-identical results. Every operation
// rounds to nearest, ties to even, once, with the full exponent range: overflow gives infinity,
// underflow a subnormal or zero, as an x87 unit with 64-bit precision and all errors masked. Only
// the operations that number reading, money rounding and the value-to-text conversions need are
// offered. An invalid operation (infinity minus infinity, zero times infinity, zero by zero) gives
// the default NaN; NaN operands give it too, and so do the unnormals that FromBits can make (a
// non-zero exponent without the integer bit), which the x87 unit rejects as invalid operands.

#include <cstdint>
#include <optional>
#include <string>

namespace quorvane {

// An exact decimal rendering: value = (Negative ? -1 : 1) * 0.Digits * 10^Exponent.
// Digits holds ASCII '0'..'9', the first not '0'; it is empty for zero (Exponent 0 then).
struct DecimalDigits {
  bool Negative = false;
  std::string Digits;
  int Exponent = 0;
};

class Extended {
 public:
  static constexpr std::uint16_t kMaxBiasedExponent = 0x7FFF;  // infinity and NaN
  static constexpr int kExponentBias = 16383;

  constexpr Extended() = default;  // +0

  // The raw fields, as an x87 register stores them (the integer bit is explicit in the
  // significand).
  static Extended FromBits(bool negative, std::uint16_t biasedExponent, std::uint64_t significand);
  bool Negative() const { return negative_; }
  std::uint16_t BiasedExponent() const { return biasedExponent_; }
  std::uint64_t Significand() const { return significand_; }

  static Extended FromInt64(std::int64_t value);    // exact
  static Extended FromUint64(std::uint64_t value);  // exact
  static Extended FromDouble(double value);         // exact
  static Extended Infinity(bool negative);
  double ToDouble() const;  // rounded to nearest, ties to even; too large gives infinity

  bool IsZero() const;
  bool IsFinite() const;
  bool IsNaN() const;
  Extended Negated() const;

  // The basic operations, each rounded once.
  Extended Plus(const Extended& other) const;
  Extended Times(const Extended& other) const;
  Extended DividedBy(const Extended& other) const;

  // (this * 10, rounded) + digit (digit 0..9), rounded: two roundings, as an x87 unit multiplies
  // and then adds.
  Extended TimesTenPlus(unsigned digit) const;
  // this * 10^power. For |power| <= 27 one correctly rounded multiplication or division by the
  // exact power; beyond that steps by 10^27 (multiplications or divisions, each rounded) until
  // at most 27 remain, then one step by the rest. Overflow gives infinity, underflow a subnormal
  // or zero, exactly as the x87 unit with all errors masked.
  Extended ScaledByPowerOfTen(int power) const;
  // integer * 10^power for |power| <= 27 (kLargestExactPowerOfTen): the same bits as
  // FromUint64(integer).ScaledByPowerOfTen(power), by one 64x64->128 product or one 128/64
  // division instead of the general operations.
  static Extended IntegerScaledByPowerOfTen(std::uint64_t integer, int power);
  static constexpr int kLargestExactPowerOfTen = 27;
  // Rounded to an integer, ties to even; nothing when it lies outside the signed 64-bit range.
  std::optional<std::int64_t> RoundToInt64() const;
  // The value rounded to the given number of significant decimal digits (1..40), exactly, ties to
  // even, with trailing zeros dropped. Zero gives empty Digits. Infinity and NaN are not valid
  // arguments (they give empty Digits).
  DecimalDigits ToDecimalDigits(int significantDigits) const;

  friend bool operator==(const Extended&, const Extended&) = default;

 private:
  bool negative_ = false;
  std::uint16_t biasedExponent_ = 0;
  std::uint64_t significand_ = 0;
};

}  // namespace quorvane
