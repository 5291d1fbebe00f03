#include "Extended.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>

namespace quorvane {

// Shows the raw fields when a comparison fails.
inline namespace {

constexpr std::uint64_t kTop = std::uint64_t{1} << 63;
constexpr std::uint16_t kBias = Extended::kExponentBias;

Extended Bits(bool negative, std::uint16_t biased, std::uint64_t significand) {
  return Extended::FromBits(negative, biased, significand);
}
Extended Int(std::int64_t v) {
  return Extended::FromInt64(v);
}

const Extended kMinSubnormal = Bits(false, 0, 1);
const Extended kMaxFinite = Bits(false, 0x7FFE, ~std::uint64_t{0});

TEST(ExtendedTest, OperationsRoundOnceToNearestEven) {
  struct Case {
    const char* why;
    Extended got, want;
  };
  const Case cases[] = {
      {"1/3 rounds up in the last bit", Int(1).DividedBy(Int(3)),
       Bits(false, kBias - 2, 0xAAAAAAAAAAAAAAABu)},
      {"1/10 rounds up", Int(1).DividedBy(Int(10)), Bits(false, kBias - 4, 0xCCCCCCCCCCCCCCCDu)},
      {"2/3 rounds down", Int(2).DividedBy(Int(3)), Bits(false, kBias - 1, 0xAAAAAAAAAAAAAAABu)},
      {"(2^64-1)+0.5 is a tie and goes to even",
       Extended::FromUint64(~std::uint64_t{0}).Plus(Int(1).DividedBy(Int(2))),
       Bits(false, kBias + 64, kTop)},
      {"2^64-1 = (2^64-2)+1 is exact", Extended::FromUint64(~std::uint64_t{0} - 1).Plus(Int(1)),
       Extended::FromUint64(~std::uint64_t{0})},
      {"2^64+1 is a tie down to even 2^64", Extended::FromUint64(~std::uint64_t{0}).Plus(Int(2)),
       Bits(false, kBias + 64, kTop)},
      {"2^64+3 is a tie up to even 2^64+4", Extended::FromUint64(~std::uint64_t{0}).Plus(Int(4)),
       Bits(false, kBias + 64, kTop + 2)},
      {"exact cancellation gives +0", Int(5).Plus(Int(-5)), Extended()},
      {"-0 + -0 stays -0", Int(0).Negated().Plus(Int(0).Negated()), Int(0).Negated()},
      {"x - tiny rounds back to x", Int(1).Plus(kMinSubnormal.Negated()), Int(1)},
      {"1 - 2^-64 is exact", Int(1).Plus(Bits(true, kBias - 64, kTop)),
       Bits(false, kBias - 1, ~std::uint64_t{0})},
      {"1 - 2^-65 ties to even 1", Int(1).Plus(Bits(true, kBias - 65, kTop)), Int(1)},
      {"smallest subnormal / 2 is a tie down to zero", kMinSubnormal.DividedBy(Int(2)), Extended()},
      {"3 * smallest / 2 is a tie up to even 2", Bits(false, 0, 3).DividedBy(Int(2)),
       Bits(false, 0, 2)},
      {"smallest * 0.75 rounds up to smallest", kMinSubnormal.Times(Int(3)).DividedBy(Int(4)),
       kMinSubnormal},
      {"largest subnormal + smallest is the smallest normal",
       Bits(false, 0, kTop - 1).Plus(kMinSubnormal), Bits(false, 1, kTop)},
      {"smallest normal / 2 is an exact subnormal", Bits(false, 1, kTop).DividedBy(Int(2)),
       Bits(false, 0, kTop >> 1)},
      {"largest finite * 2 overflows to infinity", kMaxFinite.Times(Int(2)),
       Extended::Infinity(false)},
      {"largest finite + half an ulp rounds to infinity",
       kMaxFinite.Plus(Bits(false, 0x7FFE - 64, kTop)), Extended::Infinity(false)},
      {"negative overflow", kMaxFinite.Negated().Times(Int(3)), Extended::Infinity(true)},
      {"x / 0 is infinity", Int(-1).DividedBy(Int(0)), Extended::Infinity(true)},
      {"(10*x, rounded) + digit: two roundings",
       Extended::FromUint64(0xFFFFFFFFFFFFFFF1u).TimesTenPlus(9),
       Bits(false, kBias + 67, 0x9FFFFFFFFFFFFFF8u)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.got, c.want) << c.why;
}

TEST(ExtendedTest, InvalidOperationsGiveNaN) {
  const Extended inf = Extended::Infinity(false);
  EXPECT_TRUE(inf.Plus(inf.Negated()).IsNaN());
  EXPECT_TRUE(inf.Times(Int(0)).IsNaN());
  EXPECT_TRUE(Int(0).DividedBy(Int(0)).IsNaN());
  EXPECT_TRUE(inf.DividedBy(inf).IsNaN());
  EXPECT_FALSE(inf.IsNaN());
  EXPECT_EQ(inf.Plus(Int(1)), inf);
}

TEST(ExtendedTest, PowersOfTenUpTo27AreExact) {
  Extended p = Int(1);
  for (int k = 1; k <= 27; ++k) {
    p = p.Times(Int(10));  // exact while 5^k fits in 64 bits
    EXPECT_EQ(Int(1).ScaledByPowerOfTen(k), p) << k;
    EXPECT_EQ(p.ScaledByPowerOfTen(-k), Int(1)) << k;
  }
  // Beyond 27 the steps are 10^27 each, then the rest.
  EXPECT_EQ(Int(3).ScaledByPowerOfTen(60),
            Int(3).ScaledByPowerOfTen(27).ScaledByPowerOfTen(27).ScaledByPowerOfTen(6));
  EXPECT_EQ(Int(3).ScaledByPowerOfTen(-60),
            Int(3).ScaledByPowerOfTen(-27).ScaledByPowerOfTen(-27).ScaledByPowerOfTen(-6));
  EXPECT_EQ(Int(1).ScaledByPowerOfTen(5000), Extended::Infinity(false));
  EXPECT_EQ(Int(1).ScaledByPowerOfTen(-5000), Extended());
}

TEST(ExtendedTest, RoundToInt64TiesToEvenAndChecksTheRange) {
  const Extended half = Int(1).DividedBy(Int(2));
  struct Case {
    const char* why;
    Extended value;
    std::optional<std::int64_t> want;
  };
  const Case cases[] = {
      {"0.5 ties to 0", half, 0},
      {"1.5 ties to 2", Int(3).Times(half), 2},
      {"2.5 ties to 2", Int(5).Times(half), 2},
      {"-2.5 ties to -2", Int(-5).Times(half), -2},
      {"just above a half", Bits(false, kBias - 1, kTop + 1), 1},
      {"0.75 rounds up", Int(3).DividedBy(Int(4)), 1},
      {"a quarter of the smallest", kMinSubnormal, 0},
      {"largest int64", Int(std::numeric_limits<std::int64_t>::max()),
       std::numeric_limits<std::int64_t>::max()},
      {"2^63 is outside", Bits(false, kBias + 63, kTop), std::nullopt},
      {"-2^63 is inside", Bits(true, kBias + 63, kTop), std::numeric_limits<std::int64_t>::min()},
      {"-2^63 - 1 is outside", Bits(true, kBias + 63, kTop + 1), std::nullopt},
      {"2^63 - 0.5 ties up to 2^63: outside", Bits(false, kBias + 62, ~std::uint64_t{0}),
       std::nullopt},
      {"2^64 is outside", Bits(false, kBias + 64, kTop), std::nullopt},
      {"infinity", Extended::Infinity(true), std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.value.RoundToInt64(), c.want) << c.why;
}

TEST(ExtendedTest, DoublesConvertExactlyAndBackCorrectlyRounded) {
  const double cases[] = {0.0,
                          -0.0,
                          1.0,
                          -2.675,
                          0.1,
                          std::numeric_limits<double>::max(),
                          std::numeric_limits<double>::min(),
                          std::numeric_limits<double>::denorm_min(),
                          -std::numeric_limits<double>::denorm_min() * 3,
                          std::numeric_limits<double>::infinity()};
  for (double d : cases) {
    const Extended x = Extended::FromDouble(d);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(x.ToDouble()), std::bit_cast<std::uint64_t>(d)) << d;
  }
  EXPECT_EQ(Extended::FromDouble(0.5), Int(1).DividedBy(Int(2)));
  EXPECT_EQ(Extended::FromDouble(std::numeric_limits<double>::denorm_min()),
            Bits(false, kBias - 1074, kTop));
  struct Case {
    const char* why;
    Extended value;
    double want;
  };
  const Case rounding[] = {
      {"1/3 to the nearest double", Int(1).DividedBy(Int(3)), 1.0 / 3.0},
      {"2^53+1 ties to even", Extended::FromUint64((std::uint64_t{1} << 53) + 1),
       9007199254740992.0},
      {"2^53+3 ties to even upward", Extended::FromUint64((std::uint64_t{1} << 53) + 3),
       9007199254740996.0},
      {"too large for a double", kMaxFinite, std::numeric_limits<double>::infinity()},
      {"half the smallest double ties to zero", Bits(false, kBias - 1075, kTop), 0.0},
      {"just above half the smallest double", Bits(false, kBias - 1075, kTop + 1),
       std::numeric_limits<double>::denorm_min()},
      {"largest double subnormal rounds up to the smallest normal",
       Bits(false, kBias - 1023, ~std::uint64_t{0}), std::numeric_limits<double>::min()},
      {"an extended subnormal is zero as a double", kMinSubnormal, 0.0},
  };
  for (const Case& c : rounding)
    EXPECT_EQ(c.value.ToDouble(), c.want) << c.why;
}

TEST(ExtendedTest, DecimalDigitsAreExactAndTiesGoToEven) {
  struct Case {
    const char* why;
    Extended value;
    int digits;
    const char* wantDigits;
    int wantExponent;
  };
  const Case cases[] = {
      {"0.125 to two digits ties to even", Extended::FromDouble(0.125), 2, "12", 0},
      {"0.375 to two digits ties to even upward", Extended::FromDouble(0.375), 2, "38", 0},
      {"2.675 held below", Extended::FromDouble(2.675), 19, "2674999999999999822", 1},
      {"trailing zeros dropped", Int(1000), 18, "1", 4},
      {"all nines carry into a new digit", Int(9999), 3, "1", 5},
      {"exact when digits suffice", Int(123456789), 40, "123456789", 9},
      {"largest int64 to 18 digits", Int(std::numeric_limits<std::int64_t>::max()), 18,
       "922337203685477581", 19},
      {"the smallest subnormal", kMinSubnormal, 5, "36452", -4950},
      {"the largest finite", kMaxFinite, 5, "11897", 4933},
      {"negative values keep their digits", Int(-5), 18, "5", 1},
  };
  for (const Case& c : cases) {
    const DecimalDigits d = c.value.ToDecimalDigits(c.digits);
    EXPECT_EQ(d.Digits, c.wantDigits) << c.why;
    EXPECT_EQ(d.Exponent, c.wantExponent) << c.why;
    EXPECT_EQ(d.Negative, c.value.Negative()) << c.why;
  }
  EXPECT_EQ(Extended().ToDecimalDigits(18).Digits, "");
}

// Division undone by multiplication stays within one rounding of the start, and integers that
// fit survive the round trip through both operations exactly.
TEST(ExtendedTest, RandomIntegerArithmeticIsExact) {
  std::mt19937_64 random(20101008);
  for (int i = 0; i < 100000; ++i) {
    const std::int64_t a = static_cast<std::int64_t>(random() >> 34) - (std::int64_t{1} << 29);
    const std::int64_t b = static_cast<std::int64_t>(random() >> 34) - (std::int64_t{1} << 29);
    ASSERT_EQ(Int(a).Times(Int(b)), Int(a * b));
    ASSERT_EQ(Int(a).Plus(Int(b)), Int(a + b));
    if (b != 0) {
      ASSERT_EQ(Int(a * b).DividedBy(Int(b)), Int(a));
    }
  }
}

}  // namespace
}  // namespace quorvane
