#pragma once
// The locale source of the system: the texts of a locale, item by item.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

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

// A user's locale, opened to read its items: on Windows the user's default locale, or the named
// one (such as "de-DE"), which also becomes the thread's locale, so that an in-process server
// follows it; elsewhere the POSIX locale that LC_ALL, LC_NUMERIC, LC_TIME and LANG name, or the
// named one (such as "de_DE.UTF-8"), whose items are all nullopt when it is the C or POSIX locale.
class UserLocale {
 public:
  // Nothing when the system has no such locale.
  static std::unique_ptr<UserLocale> Open(std::string_view name = {});
  virtual ~UserLocale() = default;
  virtual std::optional<std::u16string> Text(LocaleText item, int index = 0) const = 0;
};

}  // namespace platform
