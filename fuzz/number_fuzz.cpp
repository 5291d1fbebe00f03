// Arbitrary bytes as UTF-16 text (two bytes a unit, so NULs, lone surrogates and long digit runs
// all occur) through number reading, money rounding and the number texts. Each must give a
// result or its own error, never crash; a money value must survive its four-decimal text.

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
