// Compares the software arithmetic, number reading and money rounding bit for bit with the x87
// unit of the processor, where long double is the 80-bit extended format.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "Errors.h"
#include "Extended.h"
#include "LocaleSettings.h"
#include "Sanitized.h"
#include "TextToValue.h"
#include "Utf.h"
#include "ValueToText.h"

#if defined(__LDBL_MANT_DIG__) && __LDBL_MANT_DIG__ == 64 && \
    (defined(__x86_64__) || defined(__i386__))
#define QV_X87_ORACLE 1
#include <cfenv>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#endif

namespace quorvane {
namespace {

#ifdef QV_X87_ORACLE

// The sanitizer build looks for memory faults, not for rare values: it runs a tenth of the cases.
constexpr int kCaseDivisor = kSanitizedBuild ? 10 : 1;

long double ToLongDouble(const Extended& x) {
  unsigned char bytes[sizeof(long double)] = {};
  const std::uint64_t significand = x.Significand();
  const std::uint16_t top =
      static_cast<std::uint16_t>((x.Negative() ? 0x8000 : 0) | x.BiasedExponent());
  std::memcpy(bytes, &significand, 8);
  std::memcpy(bytes + 8, &top, 2);
  long double v;
  std::memcpy(&v, bytes, sizeof v);
  return v;
}

Extended FromLongDouble(long double v) {
  unsigned char bytes[sizeof(long double)];
  std::memcpy(bytes, &v, sizeof v);
  std::uint64_t significand;
  std::uint16_t top;
  std::memcpy(&significand, bytes, 8);
  std::memcpy(&top, bytes + 8, 2);
  return Extended::FromBits((top & 0x8000) != 0, top & 0x7FFF, significand);
}

std::string Show(const Extended& x) {
  char text[64];
  std::snprintf(text, sizeof text, "%c%04x:%016llx", x.Negative() ? '-' : '+', x.BiasedExponent(),
                static_cast<unsigned long long>(x.Significand()));
  return text;
}

class X87DifferentialTest : public testing::Test {
 protected:
  void SetUp() override {
    std::fesetround(FE_TONEAREST);
    // The unit must round to 64 bits: 1 + 2^-63 is representable only then.
    volatile long double one = 1.0L;
    ASSERT_NE(one + LDBL_EPSILON, one);
  }
  std::mt19937_64 random_{19991231};

  // Finite values over the whole exponent range, with many subnormals and values near the ends.
  Extended RandomFinite() {
    const bool negative = (random_() & 1) != 0;
    std::uint64_t significand = random_();
    switch (random_() % 4) {
      case 0:
        significand >>= random_() % 64;  // subnormal, or an exponent near the bottom
        return Extended::FromBits(negative, 0, significand);
      case 1:
        significand &= ~std::uint64_t{0} << (random_() % 64);  // few significant bits
        break;
      default:
        break;
    }
    significand |= std::uint64_t{1} << 63;
    const int region = static_cast<int>(random_() % 3);
    const int biased = region == 0       ? static_cast<int>(random_() % 0x7FFE) + 1
                       : region == 1     ? 16383 + static_cast<int>(random_() % 140) - 70
                       : (random_() & 1) ? 1 + static_cast<int>(random_() % 80)
                                         : 0x7FFE - static_cast<int>(random_() % 80);
    return Extended::FromBits(negative, static_cast<std::uint16_t>(biased), significand);
  }
};

TEST_F(X87DifferentialTest, BasicOperationsMatchBitForBit) {
  for (int i = 0; i < 300000 / kCaseDivisor; ++i) {
    const Extended a = RandomFinite();
    Extended b = RandomFinite();
    if (i % 3 == 0)  // near a for cancellations
      b = Extended::FromBits(!a.Negative(), a.BiasedExponent(),
                             a.Significand() ^ (random_() >> (random_() % 64)));
    const long double x = ToLongDouble(a), y = ToLongDouble(b);
    ASSERT_EQ(a.Plus(b), FromLongDouble(x + y)) << Show(a) << " + " << Show(b);
    ASSERT_EQ(a.Times(b), FromLongDouble(x * y)) << Show(a) << " * " << Show(b);
    if (!b.IsZero()) {
      ASSERT_EQ(a.DividedBy(b), FromLongDouble(x / y)) << Show(a) << " / " << Show(b);
    }
    const unsigned digit = static_cast<unsigned>(i % 10);
    ASSERT_EQ(a.TimesTenPlus(digit), FromLongDouble(x * 10.0L + static_cast<long double>(digit)))
        << Show(a) << " * 10 + " << digit;
    const double d = static_cast<double>(x);
    ASSERT_EQ(std::bit_cast<std::uint64_t>(a.ToDouble()), std::bit_cast<std::uint64_t>(d))
        << Show(a);
    ASSERT_EQ(Extended::FromDouble(d), FromLongDouble(static_cast<long double>(d))) << Show(a);
  }
}

TEST_F(X87DifferentialTest, RoundingToIntegersAndDecimalDigitsMatch) {
  for (int i = 0; i < 200000 / kCaseDivisor; ++i) {
    Extended a = RandomFinite();
    if (i % 2 == 0)  // magnitudes around the int64 range and halves
      a = Extended::FromBits(a.Negative(), static_cast<std::uint16_t>(16383 + random_() % 66 - 2),
                             a.Significand() | (std::uint64_t{1} << 63));
    const long double x = ToLongDouble(a);
    const long double r = std::nearbyintl(x);
    std::optional<std::int64_t> want;
    if (r >= -9223372036854775808.0L && r < 9223372036854775808.0L)
      want = static_cast<std::int64_t>(r);
    ASSERT_EQ(a.RoundToInt64(), want) << Show(a);

    if (i % 4 == 0) {
      const int digits = 1 + static_cast<int>(random_() % 40);
      char text[128];
      std::snprintf(text, sizeof text, "%.*Le", digits - 1, x < 0 ? -x : x);
      std::string mantissa;
      const char* p = text;
      for (; *p != 'e'; ++p) {
        if (*p != '.')
          mantissa += *p;
      }
      const int exponent = std::atoi(p + 1);
      const DecimalDigits got = a.ToDecimalDigits(digits);
      if (a.IsZero()) {
        ASSERT_EQ(got.Digits, "");
        continue;
      }
      mantissa.erase(mantissa.find_last_not_of('0') + 1);
      ASSERT_EQ(got.Digits, mantissa) << Show(a) << " " << text;
      ASSERT_EQ(got.Exponent, exponent + 1) << Show(a) << " " << text;
    }
  }
}

// The general number text from the C library's exact digits of the long double: 18 digits ties
// to even, then half up to 15, written by the notation rules.
std::string ExpectedGeneralText(long double x) {
  if (x == 0)
    return "0";
  char text[64];
  std::snprintf(text, sizeof text, "%.17Le", std::fabs(x));
  std::string digits;
  const char* p = text;
  for (; *p != 'e'; ++p) {
    if (*p != '.')
      digits += *p;
  }
  int exponent = std::atoi(p + 1) + 1;  // value = 0.digits * 10^exponent
  if (digits[15] >= '5') {
    int i = 14;
    while (i >= 0 && digits[i] == '9')
      digits[i--] = '0';
    if (i < 0) {
      digits.insert(digits.begin(), '1');
      ++exponent;
    } else {
      ++digits[i];
    }
  }
  digits.resize(15);
  digits.erase(digits.find_last_not_of('0') + 1);
  std::string out = x < 0 ? "-" : "";
  const int count = static_cast<int>(digits.size());
  if (exponent >= -3 && exponent <= 15) {
    if (exponent <= 0)
      return out + "0." + std::string(-exponent, '0') + digits;
    if (count <= exponent)
      return out + digits + std::string(exponent - count, '0');
    return out + digits.substr(0, exponent) + "." + digits.substr(exponent);
  }
  out += digits.substr(0, 1);
  if (count > 1)
    out += "." + digits.substr(1);
  return out + "E" + std::to_string(exponent - 1);
}

TEST_F(X87DifferentialTest, GeneralNumberTextMatchesTheExactDigits) {
  for (int i = 0; i < 200000 / kCaseDivisor; ++i) {
    Extended a = RandomFinite();
    // Mostly the range where fixed and scientific notation meet; the far ends are slow to expand.
    if (i % 512 != 0)
      a = Extended::FromBits(a.Negative(), static_cast<std::uint16_t>(16383 + random_() % 90 - 30),
                             a.Significand() | (std::uint64_t{1} << 63));
    if (i % 8 == 0) {  // just below a power of ten, so that rounding carries into a new digit
      const Extended belowOne =
          Extended::FromBits(false, 16382, ~std::uint64_t{0} - random_() % 4096);
      a = Extended::FromInt64(1)
              .ScaledByPowerOfTen(static_cast<int>(random_() % 40) - 20)
              .Times(belowOne);
    }
    if (a.BiasedExponent() == 0 && a.Significand() >> 63 != 0)
      continue;  // the C library reads a pseudo-denormal with the wrong exponent
    ASSERT_EQ(ToUtf8(GeneralNumberText(a)), ExpectedGeneralText(ToLongDouble(a))) << Show(a);
  }
}

// The independent reading: the text's parts are known, and the value is computed by the x87
// unit exactly as the reading defines it.
struct Oracle {
  bool failed = false;  // the value overflowed
  long double value = 0;
  enum class Money { Count, Overflow, Invalid } money = Money::Count;
  std::int64_t count = 0;
};

Oracle Compute(bool negative, const std::string& digits, int fractionDigits, int exponent) {
  static const long double kPowers[28] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,
                                          1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
                                          1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L,
                                          1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};
  Oracle o;
  volatile long double acc = 0;
  for (char c : digits)
    acc = acc * 10.0L + static_cast<long double>(c - '0');
  long double v = acc;
  int power = exponent - fractionDigits;
  for (; power > 27; power -= 27)
    v = v * kPowers[27];
  for (; power < -27; power += 27)
    v = v / kPowers[27];
  if (power > 0)
    v = v * kPowers[power];
  else if (power < 0)
    v = v / kPowers[-power];
  if (negative)
    v = -v;
  o.value = v;
  if (std::isinf(v)) {
    o.failed = true;
    return o;
  }
  const long double product = v * 10000.0L;
  if (std::isinf(product)) {
    o.money = Oracle::Money::Overflow;
    return o;
  }
  const long double r = std::nearbyintl(product);
  if (r < -9223372036854775808.0L || r >= 9223372036854775808.0L) {
    o.money = Oracle::Money::Invalid;
    return o;
  }
  o.count = std::llrintl(product);
  return o;
}

void Check(std::u16string_view text, const Oracle& o) {
  Extended value;
  try {
    value = ReadNumber(text);
  } catch (const EConvertError&) {
    ASSERT_TRUE(o.failed) << ToUtf8(text);
    return;
  }
  ASSERT_FALSE(o.failed) << ToUtf8(text);
  ASSERT_EQ(value, FromLongDouble(o.value))
      << ToUtf8(text) << " got " << Show(value) << " want " << Show(FromLongDouble(o.value));
  try {
    const Currency money = RoundToMoney(value);
    ASSERT_EQ(o.money, Oracle::Money::Count) << ToUtf8(text);
    ASSERT_EQ(money.Count, o.count) << ToUtf8(text);
  } catch (const EOverflow&) {
    ASSERT_EQ(o.money, Oracle::Money::Overflow) << ToUtf8(text);
  } catch (const EInvalidOp&) {
    ASSERT_EQ(o.money, Oracle::Money::Invalid) << ToUtf8(text);
  }
}

TEST_F(X87DifferentialTest, NumberReadingAndMoneyRoundingMatchBitForBit) {
  LocaleSettings settings;
  settings.DecimalSeparator = u'\u066B';  // an Arabic decimal separator: no C locale has it here
  ScopedLocaleSettings scoped(settings);
  for (int i = 0; i < 1000000 / kCaseDivisor; ++i) {
    const bool negative = random_() % 3 == 0;
    const int length = static_cast<int>(random_() % 31);
    std::string digits;
    for (int k = 0; k < length; ++k)
      digits += static_cast<char>('0' + random_() % 10);
    const bool withSeparator = length == 0 || random_() % 4 != 0;
    const int fractionDigits = withSeparator ? static_cast<int>(random_() % (length + 1)) : 0;
    int exponent = 0;
    std::u16string exponentText;
    switch (random_() % 4) {
      case 0:
        exponent = static_cast<int>(random_() % 121) - 60;
        // Appended, not "literal" + string, which GCC 12 at -O3 misreads (-Wrestrict).
        exponentText = random_() & 1 ? u"E" : u"e";
        exponentText += FromUtf8(std::to_string(exponent));
        break;
      case 1:
        exponent = static_cast<int>(random_() % 9999) - 4999;  // the long step sequences
        exponentText = u"E";
        exponentText += FromUtf8(std::to_string(exponent));
        break;
      default:
        break;
    }
    std::u16string text(random_() % 3, u' ');
    text += negative ? u"-" : (random_() % 4 == 0 ? u"+" : u"");
    const std::string integerPart = digits.substr(0, digits.size() - fractionDigits);
    text += FromUtf8(integerPart);
    if (withSeparator) {
      text += u'\u066B';
      text += FromUtf8(digits.substr(integerPart.size()));
    }
    text += exponentText;
    text.append(random_() % 2, u' ');
    Check(text, Compute(negative, digits, fractionDigits, exponent));
    if (HasFatalFailure())
      return;
  }
}

// Every tie of the fourth decimal, and its neighbours, over the whole money range.
TEST_F(X87DifferentialTest, TiesOfTheFourthDecimalMatch) {
  LocaleSettings settings;
  settings.DecimalSeparator = u',';
  ScopedLocaleSettings scoped(settings);
  const char* const tails[] = {"5", "50000", "49999", "50001", "4999999999999", "5000000000001"};
  for (int i = 0; i < 300000 / kCaseDivisor; ++i) {
    const int integerDigits = static_cast<int>(random_() % 16);
    std::string digits;
    for (int k = 0; k < integerDigits; ++k)
      digits += static_cast<char>('0' + random_() % 10);
    for (int k = 0; k < 4; ++k)
      digits += static_cast<char>('0' + random_() % 10);
    if (i % 1000 == 0)
      digits = "9223372036854775807";  // the largest count and its ties
    const std::string tail = tails[random_() % std::size(tails)];
    const std::string all = digits + tail;
    const int fractionDigits = 4 + static_cast<int>(tail.size());
    const bool negative = (random_() & 1) != 0;
    const std::string integerPart = all.substr(0, all.size() - fractionDigits);
    std::u16string text = negative ? u"-" : u"";
    text += FromUtf8(integerPart) + u"," + FromUtf8(all.substr(integerPart.size()));
    Check(text, Compute(negative, all, fractionDigits, 0));
    if (HasFatalFailure())
      return;
  }
}

#else

TEST(X87DifferentialTest, NeedsTheX87ExtendedFormat) {
  GTEST_SKIP() << "long double is not the x87 80-bit format here";
}

#endif

}  // namespace
}  // namespace quorvane
