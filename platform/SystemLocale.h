#pragma once
// The locale source of the system: the texts of the calling thread's locale, item by item.

#include <optional>
#include <string>

namespace platform {

enum class LocaleText {
  DecimalSeparator,
  ThousandSeparator,
  DateSeparator,
  ShortDateFormat,
  LongDateFormat,
  TimeSeparator,
  TimeAMString,
  TimePMString,
  ShortMonthName,  // index: month 0..11
  LongMonthName,
  ShortDayName,  // index: day 0..6, Sunday first
  LongDayName,
};

// The item of the calling thread's locale; nullopt where the system cannot give it (always where
// the system has no locale items of this kind: there the window reads its toolkit's locale).
std::optional<std::u16string> ThreadLocaleText(LocaleText item, int index = 0);

}  // namespace platform
