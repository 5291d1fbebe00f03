#pragma once
// The pure half of the locale source on POSIX systems: the items of a locale from what the C
// library answers for it (nl_langinfo), already in UTF-16. Asking the C library is the other half
// (portable/SystemLocale.cpp).

#include <array>
#include <optional>
#include <string>

#include "SystemLocale.h"

namespace platform {

struct PosixLocaleAnswers {
  std::u16string radixChar, thousandsSeparator;              // RADIXCHAR, THOUSEP
  std::u16string dateFormat, timeFormat;                     // D_FMT, T_FMT: strftime formats
  std::u16string amString, pmString;                         // AM_STR, PM_STR
  std::array<std::u16string, 12> abbreviatedMonths, months;  // ABMON_1.., MON_1..
  std::array<std::u16string, 7> abbreviatedDays, days;       // ABDAY_1.., DAY_1..: Sunday first
};

// The item of a locale that answered so. The C and POSIX locales give no items, so the defaults
// stand; nor does any locale give a long date pattern (the C library has none).
std::optional<std::u16string> PosixLocaleText(const PosixLocaleAnswers& answers, LocaleText item,
                                              int index = 0);

// A strftime date format as a date pattern: %d.%m.%Y gives dd.mm.yyyy. Conversions without a
// pattern letter are dropped; other characters stand as they are, letters quoted.
std::u16string DatePatternOf(std::u16string_view format);
// A strftime time format as a time pattern (hours h, minutes m, seconds s): %T gives hh:mm:ss.
std::u16string TimePatternOf(std::u16string_view format);

}  // namespace platform
