// Arbitrary bytes as UTF-16 text (two bytes a unit, so NULs, lone surrogates and long digit runs
// all occur) through number reading, money rounding and the number texts. Each must give a
// result or its own error, never crash; a money value must survive its four-decimal text; the
// fast paths must give the general path's bits, errors and messages.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Errors.h"
#include "FuzzInput.h"
#include "LocaleSettings.h"
#include "TextToValue.h"
#include "ValueToText.h"

using namespace quorvane;

namespace {

// What a reading gave: the value's bits, or the error's kind and message.
template <typename Read>
std::u16string Outcome(Read read) {
  try {
    return read();
  } catch (const EConvertError& e) {
    return u"EConvertError " + e.Message();
  } catch (const EInvalidOp& e) {
    return u"EInvalidOp " + e.Message();
  } catch (const EOverflow& e) {
    return u"EOverflow " + e.Message();
  }
}

std::u16string Bits(std::uint64_t bits) {
  return {static_cast<char16_t>(bits >> 48), static_cast<char16_t>(bits >> 32),
          static_cast<char16_t>(bits >> 16), static_cast<char16_t>(bits)};
}

std::u16string Bits(const Extended& x) {
  return std::u16string{static_cast<char16_t>(x.Negative()),
                        static_cast<char16_t>(x.BiasedExponent())} +
         Bits(x.Significand());
}

std::u16string Bits(Currency c) {
  return Bits(static_cast<std::uint64_t>(c.Count));
}

void CheckFastPaths(std::u16string_view text, char16_t separator) {
  if (Outcome([&] { return Bits(ReadNumber(text, separator)); }) !=
          Outcome([&] { return Bits(ReadNumberGeneral(text, separator)); }) ||
      Outcome([&] { return Bits(ReadMoney(text, separator)); }) !=
          Outcome([&] { return Bits(ReadMoneyGeneral(text, separator)); }))
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  // The separators, among them ones the C library never uses.
  static const char16_t kDecimal[] = {u'.', u',', u'\u066B', u'E', u' ', u'0', u'-', u'\0'};
  static const char16_t kThousand[] = {u',', u' ', u'\u00A0', u'.', u'\'', u'#', u'0', u'\0'};
  const int decimal = input.ConsumeIntegralInRange(0, 7);
  LocaleSettings settings;
  settings.DecimalSeparator = kDecimal[decimal];
  settings.ThousandSeparator = input.PickValueInArray(kThousand);
  ScopedLocaleSettings scoped(settings);
  // A number for the display patterns, made of raw bytes.
  const double raw = fuzzinput::ConsumeAnyDouble(input);
  const std::u16string text = fuzzinput::ConsumeRemainingUtf16(input);
  CheckFastPaths(text, settings.DecimalSeparator);

  double real = 0;
  try {
    const Extended value = ReadNumber(text);
    if (GeneralNumberText(value).empty())
      std::abort();
    real = value.ToDouble();
    const Currency money = RoundToMoney(value);
    const std::int64_t limit = std::int64_t{1} << 62;
    // A separator that is a digit, a sign, a letter of the exponent or a space cannot be read
    // back; the others must be.
    const bool plainSeparator = decimal < 3;
    if (plainSeparator && money.Count > -limit && money.Count < limit &&
        ReadMoney(FourDecimalText(money)).Count != money.Count)
      std::abort();
    if (GeneralNumberText(MoneyToReal(money)).empty())
      std::abort();
  } catch (const EConvertError&) {
  } catch (const EInvalidOp&) {
  } catch (const EOverflow&) {
  }
  // The text as a display pattern, for the value read and for one made of the raw bytes.
  DisplayPatternText(text, real);
  DisplayPatternText(text, raw);
  DisplayPatternText(kCurrencyDisplayPattern, raw);
  return 0;
}
