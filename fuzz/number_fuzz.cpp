// Arbitrary bytes as UTF-16 text (two bytes a unit, so NULs, lone surrogates and long digit runs
// all occur) through number reading, money rounding and the number texts. Each must give a
// result or its own error, never crash; a money value must survive its four-decimal text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Errors.h"
#include "LocaleSettings.h"
#include "TextToValue.h"
#include "ValueToText.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0)
    return 0;
  // The first byte picks the separators, among them ones the C library never uses.
  static const char16_t kDecimal[] = {u'.', u',', u'\u066B', u'E', u' ', u'0', u'-', u'\0'};
  static const char16_t kThousand[] = {u',', u' ', u'\u00A0', u'.', u'\'', u'#', u'0', u'\0'};
  LocaleSettings settings;
  settings.DecimalSeparator = kDecimal[data[0] & 7];
  settings.ThousandSeparator = kThousand[(data[0] >> 3) & 7];
  ScopedLocaleSettings scoped(settings);

  std::u16string text;
  for (std::size_t i = 1; i + 1 < size; i += 2)
    text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));

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
    const bool plainSeparator = (data[0] & 7) < 3;
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
  double raw = 0;
  if (size >= 9)
    std::memcpy(&raw, data + size - 8, 8);
  DisplayPatternText(text, raw);
  DisplayPatternText(kCurrencyDisplayPattern, raw);
  return 0;
}
