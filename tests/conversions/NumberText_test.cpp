#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "LocaleSettings.h"
#include "Sanitized.h"
#include "TextToValue.h"
#include "Utf.h"
#include "ValueToText.h"

namespace quorvane {
namespace {

// The sanitizer build looks for memory faults, not for rare values: it runs a tenth of the cases.
constexpr int kCaseDivisor = kSanitizedBuild ? 10 : 1;

constexpr std::int64_t kMaxCount = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMinCount = std::numeric_limits<std::int64_t>::min();

LocaleSettings Separators(char16_t decimal, char16_t thousand) {
  LocaleSettings s;
  s.DecimalSeparator = decimal;
  s.ThousandSeparator = thousand;
  return s;
}

Extended Real(std::int64_t count) {
  return MoneyToReal(Currency{count});
}

TEST(NumberTextTest, MoneyToRealDividesOnce) {
  EXPECT_EQ(Real(10000), Extended::FromInt64(1));
  EXPECT_EQ(Real(-5), Extended::FromInt64(-5).DividedBy(Extended::FromInt64(10000)));
  EXPECT_EQ(Real(1000).ToDouble(), 0.1);
  EXPECT_EQ(Real(kMinCount), Extended::FromInt64(kMinCount).DividedBy(Extended::FromInt64(10000)));
}

TEST(NumberTextTest, GeneralNumberTextWithAFullStop) {
  struct Case {
    const char* why;
    Extended value;
    std::u16string_view want;
  };
  const Extended one = Extended::FromInt64(1);
  const Case cases[] = {
      {"a rate of one", one, u"1"},
      {"four decimals", Real(315678), u"31.5678"},
      {"smallest fixed exponent", Real(1), u"0.0001"},
      {"one more zero is scientific", one.ScaledByPowerOfTen(-5), u"1E-5"},
      {"10^15 is scientific", one.ScaledByPowerOfTen(15), u"1E15"},
      {"10^15 - 1 is fixed", Extended::FromInt64(999999999999999), u"999999999999999"},
      {"rounding to 15 digits carries into 10^15", ReadNumber(u"999999999999999.5"), u"1E15"},
      {"the largest money value rounds up", Real(kMaxCount), u"922337203685478"},
      {"the smallest money value", Real(kMinCount), u"-922337203685478"},
      {"a third", one.DividedBy(Extended::FromInt64(3)), u"0.333333333333333"},
      {"two thirds round up", Extended::FromInt64(2).DividedBy(Extended::FromInt64(3)),
       u"0.666666666666667"},
      {"18 digits first: ...45499999 becomes ...455, then rounds up",
       ReadNumber(u"1.2345678901234549999999"), u"1.23456789012346"},
      {"a negative exponent", Extended::FromInt64(-15).ScaledByPowerOfTen(-11), u"-1.5E-10"},
      {"a long exponent", one.ScaledByPowerOfTen(100), u"1E100"},
      {"a double 0.1", Extended::FromDouble(0.1), u"0.1"},
      {"integers are not grouped", Extended::FromInt64(1234567), u"1234567"},
      {"negative zero", Extended::FromInt64(0).Negated(), u"0"},
      {"infinity", Extended::Infinity(true), u"-INF"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(GeneralNumberText(c.value), c.want) << c.why;
}

TEST(NumberTextTest, FourDecimalTextIsExact) {
  struct Case {
    std::int64_t count;
    std::u16string_view want;
  };
  const Case cases[] = {
      {10000, u"1,0000"},
      {-5, u"-0,0005"},
      {0, u"0,0000"},
      {315678, u"31,5678"},
      {123456789, u"12345,6789"},  // no grouping
      {kMaxCount, u"922337203685477,5807"},
      {kMinCount, u"-922337203685477,5808"},  // its magnitude has no int64
  };
  ScopedLocaleSettings scoped(Separators(u',', u' '));
  for (const Case& c : cases)
    EXPECT_EQ(FourDecimalText(Currency{c.count}), c.want) << c.count;
}

TEST(NumberTextTest, TextsUnderACommaAndASpace) {
  ScopedLocaleSettings scoped(Separators(u',', u' '));
  EXPECT_EQ(GeneralNumberText(Real(10000)), u"1");
  EXPECT_EQ(GeneralNumberText(Real(315678)), u"31,5678");
  EXPECT_EQ(GeneralNumberText(Real(-5)), u"-0,0005");
  EXPECT_EQ(GeneralNumberText(Real(1).ScaledByPowerOfTen(-1)), u"1E-5");
  EXPECT_EQ(DisplayPatternText(kCurrencyDisplayPattern, 31.5678), u"31,57");
  EXPECT_EQ(DisplayPatternText(kCurrencyDisplayPattern, 1234567), u"1 234 567,00");
  EXPECT_EQ(DisplayPatternText(kCurrencyDisplayPattern, -0.004), u"0,00");
}

TEST(NumberTextTest, DisplayPatternOfTheCurrencyEditors) {
  struct Case {
    double value;
    std::u16string_view want;
  };
  const Case cases[] = {
      {1234567.891, u"1,234,567.89"},
      {-1234.5, u"-1,234.50"},  // the second section writes its own "-"
      {0, u"0.00"},
      {-0.0, u"0.00"},
      {-0.004, u"0.00"},       // rounds to zero: no sign
      {-0.005, u"-0.01"},      // held a little above 0.005
      {2.675, u"2.67"},        // held a little below 2.675
      {0.125, u"0.13"},        // held exactly: half up
      {999.995, u"1,000.00"},  // held a little above: the carry makes a new group
      {999999.999, u"1,000,000.00"},
      {0.5, u"0.50"},
      {123.0, u"123.00"},
      {999999999999999872.0, u"999,999,999,999,999,872.00"},  // just below 10^18
      {1e18, u"1E18"},  // from 10^18 on the general number text
      {-2.5e20, u"-2.5E20"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DisplayPatternText(kCurrencyDisplayPattern, c.value), c.want) << c.value;
}

TEST(NumberTextTest, DisplayPatternSectionsPlaceholdersAndQuotes) {
  struct Case {
    std::u16string_view pattern;
    double value;
    std::u16string_view want;
  };
  const Case cases[] = {
      {u"#,##0.00", 1234.5, u"1,234.50"},
      {u"#,##0.00", -1234.5, u"-1,234.50"},  // one section: "-" in front
      {u"000", 5, u"005"},                   // "0" forces a digit
      {u"#", 0.4, u""},                      // "#" shows no zero
      {u"#.00", 0.5, u".50"},
      {u"0.0#", 1.5, u"1.5"},  // "#" behind the point drops a trailing zero
      {u"0.0#", 1.25, u"1.25"},
      {u"0.0#", 1, u"1.0"},
      {u"0", 2.5, u"3"},  // half up
      {u"0", 1234567, u"1234567"},
      {u"0,0", 1234567, u"1,234,567"},  // "," anywhere turns grouping on
      {u"0.00,", 1234567, u"1,234,567.00"},
      {u"'$'#,##0.00;('$'#,##0.00);'zero'", -1234.5, u"($1,234.50)"},
      {u"'$'#,##0.00;('$'#,##0.00);'zero'", 0, u"zero"},
      {u"'$'#,##0.00;('$'#,##0.00);'zero'", 0.001, u"zero"},  // rounded to zero
      {u"0.0\";\"", 1.25, u"1.3;"},                           // a quoted ";" does not separate
      {u"0.0 'h.0#'", 2, u"2.0 h.0#"},
      {u"0.00;;z", -1.5, u"-1.50"},  // an empty second section: the first, with "-"
      {u"0.00;-0.00;", 0, u"0.00"},  // an empty third section: the first
      {u"0;-0;z;ignored", 0, u"z"},  // at most three sections
      {u"0 EUR", 7, u"7 EUR"},
      {u"0.0.0", 1.25, u"1.2.5"},  // only the first "." is the point; a later one is text
      {u"", 1.5, u""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DisplayPatternText(c.pattern, c.value), c.want)
        << ToUtf8(c.pattern) << " " << c.value;
}

// Odd separators, so that any separator that does not come from the settings shows up.
TEST(NumberTextTest, OddSeparatorsComeOnlyFromTheSettings) {
  ScopedLocaleSettings scoped(Separators(u'\u00B7', u'\u00A0'));
  EXPECT_EQ(DisplayPatternText(kCurrencyDisplayPattern, 1234567.891),
            u"1\u00A0234\u00A0567\u00B789");
  EXPECT_EQ(GeneralNumberText(Real(315678)), u"31\u00B75678");
  EXPECT_EQ(GeneralNumberText(Real(12345).ScaledByPowerOfTen(-10)), u"1\u00B72345E-10");
  EXPECT_EQ(FourDecimalText(Currency{-315678}), u"-31\u00B75678");
}

// A money value written with four decimals reads back as the same value. Reading divides by
// 10^4 and multiplies back, each rounded to 64 bits: below 2^62 the two errors stay under half a
// count; above it they can move the count by one, as on the x87 unit (the differential test
// covers those), but not at the two ends of the range.
TEST(NumberTextTest, FourDecimalTextReadsBack) {
  std::mt19937_64 random(40459);
  for (char16_t separator : {u',', u'.', u'\u066B'}) {
    ScopedLocaleSettings scoped(Separators(separator, u' '));
    for (std::int64_t count : {kMaxCount, kMinCount, std::int64_t{0}, std::int64_t{-1}})
      ASSERT_EQ(ReadMoney(FourDecimalText(Currency{count})).Count, count);
    for (int i = 0; i < 100000; ++i) {
      const std::int64_t count = static_cast<std::int64_t>(random() >> (2 + random() % 62));
      const std::int64_t signedCount = (random() & 1) ? count : -count;
      ASSERT_EQ(ReadMoney(FourDecimalText(Currency{signedCount})).Count, signedCount)
          << signedCount;
    }
  }
}

// A money value with at most 15 significant digits survives its general number text.
TEST(NumberTextTest, GeneralNumberTextOfShortMoneyValuesReadsBack) {
  std::mt19937_64 random(19991231);
  ScopedLocaleSettings scoped(Separators(u',', u'\u00A0'));
  for (int i = 0; i < 100000; ++i) {
    const int digits = 1 + static_cast<int>(random() % 15);
    std::int64_t count = static_cast<std::int64_t>(random() % 1000000000000000u);
    for (int k = digits; k < 15; ++k)
      count /= 10;
    while (count != 0 && count <= kMaxCount / 10 && random() % 3 != 0)
      count *= 10;
    if (random() & 1)
      count = -count;
    const std::u16string text = GeneralNumberText(Real(count));
    ASSERT_EQ(ReadMoney(text).Count, count) << ToUtf8(text);
  }
}

// The display pattern's rounding against an independent reading of the double's exact decimal
// expansion: 18 significant digits ties to even, then half up to the decimals.
std::string ExpectedFixed(double value, int decimals) {
  char buffer[1200];
  int binaryExponent;
  std::frexp(value, &binaryExponent);
  const int precision = 20 + std::max(0, 53 - binaryExponent);  // every digit of the expansion
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                    std::chars_format::scientific, precision);
  const std::string text(buffer, result.ptr);
  const std::size_t e = text.find('e');
  std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
  int pointAfter = std::stoi(text.substr(e + 1)) + 1;  // digits before the point
  // Ties to even at 18 digits.
  const auto increment = [&](std::size_t length) {
    digits.resize(length);
    std::size_t i = length;
    while (i > 0 && digits[i - 1] == '9')
      digits[--i] = '0';
    if (i == 0) {
      digits.insert(digits.begin(), '1');
      ++pointAfter;
    } else {
      ++digits[i - 1];
    }
  };
  if (digits.size() > 18) {
    const bool above = digits.find_first_not_of('0', 19) != std::string::npos;
    const bool up =
        digits[18] > '5' || (digits[18] == '5' && (above || (digits[17] - '0') % 2 == 1));
    if (up)
      increment(18);
    else
      digits.resize(18);
  }
  // Half up at the decimals.
  const int keep = pointAfter + decimals;
  if (keep < 0) {
    digits = "0";
    pointAfter = 1;
  } else if (keep < static_cast<int>(digits.size())) {
    const bool up = digits[keep] >= '5';
    if (up)
      increment(keep);
    else
      digits.resize(keep);
  }
  while (pointAfter <= 0) {
    digits.insert(digits.begin(), '0');
    ++pointAfter;
  }
  while (static_cast<int>(digits.size()) < pointAfter + decimals)
    digits += '0';
  std::string integer = digits.substr(0, pointAfter);
  integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size() - 1));
  std::string out = integer;
  if (decimals > 0)
    out += "." + digits.substr(pointAfter, decimals);
  const bool zero = out.find_first_not_of("0.") == std::string::npos;
  return (value < 0 && !zero ? "-" : "") + out;
}

TEST(NumberTextTest, DisplayPatternRoundingMatchesTheExactExpansion) {
  const std::u16string_view patterns[] = {u"0",     u"0.0",    u"0.00",
                                          u"0.000", u"0.0000", u"0.00000000"};
  ASSERT_EQ(ExpectedFixed(2.675, 2), "2.67");
  ASSERT_EQ(ExpectedFixed(0.125, 2), "0.13");
  ASSERT_EQ(ExpectedFixed(-0.004, 2), "0.00");
  std::mt19937_64 random(20100101);
  for (int i = 0; i < 1000000 / kCaseDivisor; ++i) {
    double value;
    switch (i % 4) {
      case 0:  // a money value
        value = static_cast<double>(static_cast<std::int64_t>(random() >> 14)) / 10000.0;
        break;
      case 1:  // a tie of a decimal place, as the nearest double
        value = (static_cast<double>(random() % 100000000) + 0.5) /
                std::pow(10.0, static_cast<double>(random() % 8));
        break;
      default:  // any magnitude below 10^18
        value = std::ldexp(static_cast<double>(random() >> 11), -static_cast<int>(random() % 110));
        break;
    }
    if (random() & 1)
      value = -value;
    if (std::fabs(value) >= 1e18)
      continue;
    const std::size_t p = random() % std::size(patterns);
    const int decimals = p == 0 ? 0 : static_cast<int>(patterns[p].size()) - 2;
    const std::string want = ExpectedFixed(value, decimals);
    ASSERT_EQ(ToUtf8(DisplayPatternText(patterns[p], value)), want)
        << ToUtf8(patterns[p]) << " " << value;
  }
}

}  // namespace
}  // namespace quorvane
