// Number reading and money rounding, in software arithmetic with a 64-bit significand.

#include <algorithm>
#include <cstdint>
#include <limits>
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

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// The accumulator of the digits: a plain integer while acc * 10 + digit stays exact, then the
// 64-bit-significand arithmetic (each step rounded).
class DigitAccumulator {
 public:
  void Take(unsigned digit) {
    if (!wide_) {
      if (small_ <= (std::numeric_limits<std::uint64_t>::max() - 9) / 10) {
        small_ = small_ * 10 + digit;
        return;
      }
      wide_ = true;
      value_ = Extended::FromUint64(small_);
    }
    value_ = value_.TimesTenPlus(digit);
  }
  Extended Value() const { return wide_ ? value_ : Extended::FromUint64(small_); }

 private:
  bool wide_ = false;
  std::uint64_t small_ = 0;
  Extended value_;
};

}  // namespace

Extended ReadNumber(std::u16string_view text) {
  const auto fail = [text]() { return EConvertError(FillTemplate(kNotAFloatMessage, {text})); };
  const char16_t separator = CurrentLocaleSettings().DecimalSeparator;
  const std::size_t end = std::min(text.find(u'\0'), text.size());
  std::size_t i = 0;
  const auto skipSpaces = [&]() {
    while (i < end && text[i] == u' ')
      ++i;
  };

  skipSpaces();
  bool negative = false;
  if (i < end && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  DigitAccumulator acc;
  bool tookSomething = false;
  for (; i < end && IsDigit(text[i]); ++i) {
    acc.Take(text[i] - u'0');
    tookSomething = true;
  }
  std::int64_t fractionDigits = 0;
  if (i < end && text[i] == separator) {
    ++i;
    tookSomething = true;
    for (; i < end && IsDigit(text[i]); ++i) {
      acc.Take(text[i] - u'0');
      if (fractionDigits < kPowerLimit * 2)
        ++fractionDigits;
    }
  }
  if (!tookSomething)
    throw fail();

  int exponent = 0;
  if (i < end && (text[i] == u'E' || text[i] == u'e')) {
    ++i;
    bool exponentNegative = false;
    if (i < end && (text[i] == u'+' || text[i] == u'-')) {
      exponentNegative = text[i] == u'-';
      ++i;
    }
    for (; i < end && IsDigit(text[i]) && exponent < 500; ++i)
      exponent = exponent * 10 + (text[i] - u'0');
    if (exponentNegative)
      exponent = -exponent;
  }
  skipSpaces();
  if (i != end)
    throw fail();

  std::int64_t power = exponent - fractionDigits;
  if (power < -kPowerLimit)
    power = -kPowerLimit;
  Extended value = acc.Value().ScaledByPowerOfTen(static_cast<int>(power));
  if (negative)
    value = value.Negated();
  if (!value.IsFinite())
    throw fail();
  return value;
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

Currency ReadMoney(std::u16string_view text) {
  return RoundToMoney(ReadNumber(text));
}

}  // namespace quorvane
