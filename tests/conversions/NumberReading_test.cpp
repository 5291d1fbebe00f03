#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "Errors.h"
#include "LocaleSettings.h"
#include "TextToValue.h"
#include "Utf.h"

namespace quorvane {
namespace {

using namespace std::string_view_literals;

constexpr std::uint64_t kTop = std::uint64_t{1} << 63;

Extended Decimal(std::int64_t mantissa, int power) {
  return Extended::FromInt64(mantissa).ScaledByPowerOfTen(power);
}

LocaleSettings CommaSettings() {
  LocaleSettings s;
  s.DecimalSeparator = u',';
  s.ThousandSeparator = u' ';
  return s;
}

class NumberReadingTest : public testing::Test {
 protected:
  ScopedLocaleSettings settings_{CommaSettings()};
};

TEST_F(NumberReadingTest, ReadsTheDecimalSeparatorOfTheSettings) {
  struct Case {
    std::u16string_view text;
    Extended want;
  };
  const Case cases[] = {
      {u"31,5678", Decimal(315678, -4)},
      {u"  31,5678  ", Decimal(315678, -4)},  // spaces (code 32) on both sides
      {u"+31,5678", Decimal(315678, -4)},
      {u"3,15678E1", Decimal(315678, -4)},   // same accumulator, same power: same bits
      {u"315,678e-1", Decimal(315678, -4)},  // likewise
      {u"-0,5", Decimal(-5, -1)},
      {u",5", Decimal(5, -1)},
      {u"5,", Decimal(5, 0)},
      {u",", Decimal(0, 0)},  // a lone separator reads as zero
      {u"-,", Decimal(0, 0).Negated()},
      {u"1E", Decimal(1, 0)},  // no exponent digits: exponent 0
      {u"1e+", Decimal(1, 0)},
      {u"1E0000000005", Decimal(1, 5)},  // leading zeros of the exponent are all taken
      {u"1E4930", Decimal(1, 4930)},     // four exponent digits are read whole
      {u"1E4932", Decimal(1, 4932)},     // just below the largest finite value
      {u"1E-4999", Decimal(0, 0)},       // underflow is no failure
      {u"0,1", Extended::FromBits(false, 16383 - 4, 0xCCCCCCCCCCCCCCCDu)},
      // 2^64 + 1 needs 65 bits: the tie goes to the even 2^64.
      {u"18446744073709551617", Extended::FromBits(false, 16383 + 64, kTop)},
      {u"1,5\0ignored after the first NUL"sv, Decimal(15, -1)},
      {u"  1,5  \0 1,5,"sv, Decimal(15, -1)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReadNumber(c.text), c.want) << ToUtf8(c.text);
}

TEST_F(NumberReadingTest, TextsThatDoNotReadNameTheWholeText) {
  const std::u16string_view cases[] = {
      u"31.5678",  // the other locale's separator
      u"1 000",    // no inner spaces, no group separators
      u"1,5,",     // a second separator
      u"",         // nothing at all
      u" ",        //
      u"-",        // a sign alone
      u"E5",       // an exponent without a number
      u"1E5000",   // the exponent stops at 500 and leaves its last digit
      u"1E-5000",  //
      u"2E4932",   // overflows the format
      u"12abc",    //
      u"\t1",      // a tab is not a space
      u"1\u00A0",  // nor is a no-break space
      u"\uFF11",   // a full-width digit is no digit
      u"-\0"
      u"1"sv,   // the text ends at its first NUL: a sign alone
      u"%s%d",  // inserted verbatim, never read as a format
      u"\xD800"
      u"1",  // a lone surrogate
  };
  for (std::u16string_view text : cases) {
    try {
      ReadNumber(text);
      ADD_FAILURE() << "read: " << ToUtf8(text);
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(),
                u"'" + std::u16string(text) + u"' is not a valid floating point value");
    }
  }
  const std::u16string hugeInteger(6000, u'9');
  EXPECT_THROW(ReadNumber(hugeInteger), EConvertError);  // the accumulator overflows
  EXPECT_EQ(ReadNumber(u"0," + std::u16string(6000, u'0') + u"1"), Decimal(0, 0));
}

TEST_F(NumberReadingTest, MoneyRoundsToTheNearestTenThousandthTiesToEven) {
  struct Case {
    std::u16string_view text;
    std::int64_t want;
  };
  const Case cases[] = {
      {u"31,5678", 315678},
      {u"0,00005", 0},    // a tie at zero
      {u"0,00015", 2},    // a tie up to the even count
      {u"0,00025", 2},    // a tie down to the even count
      {u"-0,00015", -2},  //
      {u"1,23445", 12344},
      {u"0,12355", 1236},
      {u"-0", 0},
      {u"922337203685477,5807", std::numeric_limits<std::int64_t>::max()},
      {u"-922337203685477,5808", std::numeric_limits<std::int64_t>::min()},
      {u"1E-4", 1},
      // Above 2^62 the division by 10^4 and the product by 10^4, each rounded to 64 bits, can
      // end on a half and move an odd count to the even one next to it, as on the x87 unit.
      {u"761900026501372,7261", 7619000265013727260},
      {u"0,000049999999999999999999", 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReadMoney(c.text).Count, c.want) << ToUtf8(c.text);
}

TEST_F(NumberReadingTest, MoneyOutOfRangeRaisesTheFloatingPointErrors) {
  const auto invalid = [](std::u16string_view text) {
    try {
      ReadMoney(text);
      return std::u16string(u"no error");
    } catch (const EInvalidOp& e) {
      return u"EInvalidOp: " + e.Message();
    } catch (const EOverflow& e) {
      return u"EOverflow: " + e.Message();
    }
  };
  EXPECT_EQ(invalid(u"922337203685478"), u"EInvalidOp: Invalid floating point operation");
  EXPECT_EQ(invalid(u"-922337203685477,5809"), u"EInvalidOp: Invalid floating point operation");
  EXPECT_EQ(invalid(u"1E4000"), u"EInvalidOp: Invalid floating point operation");
  EXPECT_EQ(invalid(u"1E4930"), u"EOverflow: Floating point overflow");
  EXPECT_THROW(RoundToMoney(Extended::Infinity(false)), EInvalidOp);
}

// Another separator, so that a hidden fixed "." or "," shows up.
TEST(NumberReadingOddSeparatorTest, ReadsOnlyTheSeparatorOfTheSettings) {
  LocaleSettings odd;
  odd.DecimalSeparator = u'\u00B7';
  odd.ThousandSeparator = u'.';
  ScopedLocaleSettings scoped(odd);
  EXPECT_EQ(ReadMoney(u"12\u00B734").Count, 123400);
  EXPECT_THROW(ReadNumber(u"12.34"), EConvertError);
  EXPECT_THROW(ReadNumber(u"12,34"), EConvertError);
}

TEST(NumberReadingDefaultSettingsTest, TheDefaultSeparatorIsAFullStop) {
  EXPECT_EQ(ReadMoney(u"0.00015").Count, 2);
  EXPECT_THROW(ReadNumber(u"0,5"), EConvertError);
}

}  // namespace
}  // namespace quorvane
