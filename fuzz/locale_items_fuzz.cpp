// Arbitrary items from a locale source (any item missing, empty, long, or holding any code unit)
// made into locale settings, and every conversion run under them. The settings keep their rules
// (single-character separators, names never empty); the conversions give a value, a text, or
// their documented error; the server's reply writer writes a date and a number that read back, or
// fails with a description.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "Errors.h"
#include "FuzzInput.h"
#include "LocaleSettings.h"
#include "Reply.h"
#include "ReplyText.h"
#include "TextToValue.h"
#include "ValueToText.h"

namespace {

using fuzzinput::Check;

// An item as the source gives it: missing, or a text of up to 127 code units.
std::optional<std::u16string> Item(FuzzedDataProvider& input) {
  if (input.remaining_bytes() == 0 || input.ConsumeBool())
    return std::nullopt;  // the source cannot give it
  return fuzzinput::ConsumeUtf16(input, input.ConsumeIntegralInRange<std::size_t>(0, 127));
}

void CheckSeparator(char16_t made, const std::optional<std::u16string>& item, char16_t fallback) {
  Check(made == (item && item->size() == 1 ? (*item)[0] : fallback));
}

template <std::size_t N>
void CheckNames(const std::array<std::u16string, N>& made,
                const std::array<std::optional<std::u16string>, N>& items,
                const std::array<std::u16string, N>& defaults) {
  for (std::size_t i = 0; i < N; ++i) {
    Check(!made[i].empty());
    Check(made[i] == (items[i] && !items[i]->empty() ? *items[i] : defaults[i]));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  quorvane::SetCurrentYearSource([] { return 2010; });
  const double number = fuzzinput::ConsumeAnyDouble(input);
  // 0001-01-01 onwards
  const int day = input.ConsumeIntegralInRange(0, 2999999) - 693593;
  quorvane::LocaleItems items;
  items.DecimalSeparator = Item(input);
  items.ThousandSeparator = Item(input);
  items.DateSeparator = Item(input);
  items.ShortDateFormat = Item(input);
  items.LongDateFormat = Item(input);
  items.TimeSeparator = Item(input);
  items.TimeAMString = Item(input);
  items.TimePMString = Item(input);
  for (auto& name : items.ShortMonthNames)
    name = Item(input);
  for (auto& name : items.LongMonthNames)
    name = Item(input);
  for (auto& name : items.ShortDayNames)
    name = Item(input);
  for (auto& name : items.LongDayNames)
    name = Item(input);
  const std::u16string text = fuzzinput::ConsumeRemainingUtf16(input);

  const quorvane::LocaleSettings settings = quorvane::MakeLocaleSettings(items);
  const quorvane::LocaleSettings defaults;
  CheckSeparator(settings.DecimalSeparator, items.DecimalSeparator, defaults.DecimalSeparator);
  CheckSeparator(settings.ThousandSeparator, items.ThousandSeparator, defaults.ThousandSeparator);
  CheckSeparator(settings.DateSeparator, items.DateSeparator, defaults.DateSeparator);
  CheckSeparator(settings.TimeSeparator, items.TimeSeparator, defaults.TimeSeparator);
  Check(settings.ShortDateFormat == items.ShortDateFormat.value_or(defaults.ShortDateFormat));
  Check(settings.LongDateFormat == items.LongDateFormat.value_or(defaults.LongDateFormat));
  Check(settings.TimeAMString == items.TimeAMString.value_or(defaults.TimeAMString));
  Check(settings.TimePMString == items.TimePMString.value_or(defaults.TimePMString));
  CheckNames(settings.ShortMonthNames, items.ShortMonthNames, defaults.ShortMonthNames);
  CheckNames(settings.LongMonthNames, items.LongMonthNames, defaults.LongMonthNames);
  CheckNames(settings.ShortDayNames, items.ShortDayNames, defaults.ShortDayNames);
  CheckNames(settings.LongDayNames, items.LongDayNames, defaults.LongDayNames);

  quorvane::ScopedLocaleSettings scoped(settings);
  try {
    const double day = quorvane::ReadDate(text);
    Check(day == std::trunc(day) && day >= -693593 && day <= 2958465);
  } catch (const quorvane::EConvertError&) {
  }
  try {
    quorvane::ReadMoney(text);
  } catch (const quorvane::EConvertError&) {
  } catch (const quorvane::EOverflow&) {
  } catch (const quorvane::EInvalidOp&) {
  }
  Check(quorvane::ShortDateText(number).size() <= quorvane::kMaxDateTextLength);
  quorvane::DisplayPatternText(quorvane::kCurrencyDisplayPattern, number);
  quorvane::DisplayPatternText(text, number);
  if (std::isfinite(number))
    quorvane::GeneralNumberText(quorvane::Extended::FromDouble(number));

  // The server writes a date and a number under the same settings, handed to it.
  const quorvane::server::ReplyWriter writer(settings);
  std::u16string reply;
  try {
    writer.AppendDate(reply, day);
    Check(quorvane::ReadDate(reply, settings) == day);
  } catch (const quorvane::server::ReplyFailure&) {
  }
  return 0;
}
