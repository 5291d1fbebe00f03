// Arbitrary items from a locale source (any item missing, empty, long, or holding any code unit)
// made into locale settings, and every conversion run under them. The settings keep their rules
// (single-character separators, names never empty); the conversions give a value, a text, or
// their documented error; the server's reply writer writes a date and a number that read back, or
// fails with a description.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "Errors.h"
#include "LocaleSettings.h"
#include "Reply.h"
#include "ReplyText.h"
#include "TextToValue.h"
#include "ValueToText.h"

namespace {

void Check(bool ok) {
  if (!ok)
    std::abort();
}

// Takes items from the input: a byte that says whether the item is there and how long it is,
// then that many UTF-16 code units.
class ItemReader {
 public:
  ItemReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::optional<std::u16string> Item() {
    if (at_ >= size_)
      return std::nullopt;
    const std::uint8_t head = data_[at_++];
    if (head & 0x80)
      return std::nullopt;  // the source cannot give it
    std::u16string text;
    for (std::size_t i = 0; i < head && at_ + 1 < size_; ++i, at_ += 2)
      text += static_cast<char16_t>(data_[at_] | (data_[at_ + 1] << 8));
    return text;
  }
  std::u16string Rest() {
    std::u16string text;
    for (; at_ + 1 < size_; at_ += 2)
      text += static_cast<char16_t>(data_[at_] | (data_[at_ + 1] << 8));
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

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
  if (size < 8)
    return 0;
  quorvane::SetCurrentYearSource([] { return 2010; });
  double number;
  std::memcpy(&number, data, sizeof number);
  ItemReader reader(data + 8, size - 8);
  quorvane::LocaleItems items;
  items.DecimalSeparator = reader.Item();
  items.ThousandSeparator = reader.Item();
  items.DateSeparator = reader.Item();
  items.ShortDateFormat = reader.Item();
  items.LongDateFormat = reader.Item();
  items.TimeSeparator = reader.Item();
  items.TimeAMString = reader.Item();
  items.TimePMString = reader.Item();
  for (auto& name : items.ShortMonthNames)
    name = reader.Item();
  for (auto& name : items.LongMonthNames)
    name = reader.Item();
  for (auto& name : items.ShortDayNames)
    name = reader.Item();
  for (auto& name : items.LongDayNames)
    name = reader.Item();
  const std::u16string text = reader.Rest();

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
    const int day = static_cast<int>(static_cast<std::uint32_t>(data[0] | data[1] << 8) % 3000000) -
                    693593;  // 0001-01-01 onwards
    writer.AppendDate(reply, day);
    Check(quorvane::ReadDate(reply, settings) == day);
  } catch (const quorvane::server::ReplyFailure&) {
  }
  return 0;
}
