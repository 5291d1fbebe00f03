#include "SystemLocale.h"

#include <algorithm>

#include "Com.h"

namespace platform {

namespace {

std::optional<std::u16string> Item(LCID locale, LCTYPE type) {
  // The first call asks for the room the text needs, terminator included; 0 means no such item.
  const int room = GetLocaleInfoW(locale, type, nullptr, 0);
  if (room <= 0)
    return std::nullopt;
  std::wstring text(static_cast<std::size_t>(room), L'\0');
  const int written = GetLocaleInfoW(locale, type, text.data(), room);
  if (written <= 0)
    return std::nullopt;
  return std::u16string(text.begin(), text.begin() + (written - 1));
}

LCTYPE TypeOf(LocaleText item, int index) {
  // The settings count days from Sunday; the system's day names from Monday (DAYNAME1) to Sunday.
  const int fromMonday = (index + 6) % 7;
  switch (item) {
    case LocaleText::DecimalSeparator:
      return LOCALE_SDECIMAL;
    case LocaleText::ThousandSeparator:
      return LOCALE_STHOUSAND;
    case LocaleText::DateSeparator:
      return LOCALE_SDATE;
    case LocaleText::ShortDateFormat:
      return LOCALE_SSHORTDATE;
    case LocaleText::LongDateFormat:
      return LOCALE_SLONGDATE;
    case LocaleText::TimeSeparator:
      return LOCALE_STIME;
    case LocaleText::TimeAMString:
      return LOCALE_S1159;
    case LocaleText::TimePMString:
      return LOCALE_S2359;
    case LocaleText::ShortMonthName:
      return LOCALE_SABBREVMONTHNAME1 + index;
    case LocaleText::LongMonthName:
      return LOCALE_SMONTHNAME1 + index;
    case LocaleText::ShortDayName:
      return LOCALE_SABBREVDAYNAME1 + fromMonday;
    case LocaleText::LongDayName:
      return LOCALE_SDAYNAME1 + fromMonday;
  }
  return 0;
}

}  // namespace

std::optional<std::u16string> ThreadLocaleText(LocaleText item, int index) {
  const LCTYPE type = TypeOf(item, index);
  if (type == 0)
    return std::nullopt;
  return Item(GetThreadLocale(), type);
}

namespace {

// The opened locale is the thread's: its items are the thread locale's.
class ThreadUserLocale final : public UserLocale {
 public:
  std::optional<std::u16string> Text(LocaleText item, int index) const override {
    return ThreadLocaleText(item, index);
  }
};

}  // namespace

std::unique_ptr<UserLocale> UserLocale::Open(std::string_view name) {
  LCID locale = LOCALE_USER_DEFAULT;
  if (!name.empty()) {
    // Locale names are ASCII ("de-DE"); anything else names no locale.
    if (std::any_of(name.begin(), name.end(), [](char c) { return (c & 0x80) != 0; }))
      return nullptr;
    locale = LocaleNameToLCID(std::wstring(name.begin(), name.end()).c_str(), 0);
    if (locale == 0)
      return nullptr;
  }
  if (!SetThreadLocale(locale))
    return nullptr;
  return std::make_unique<ThreadUserLocale>();
}

}  // namespace platform
