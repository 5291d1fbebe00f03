#include "SystemLocale.h"

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

}  // namespace

quorvane::LocaleItems ReadThreadLocaleItems() {
  const LCID locale = GetThreadLocale();
  quorvane::LocaleItems items;
  items.DecimalSeparator = Item(locale, LOCALE_SDECIMAL);
  items.ThousandSeparator = Item(locale, LOCALE_STHOUSAND);
  items.DateSeparator = Item(locale, LOCALE_SDATE);
  items.ShortDateFormat = Item(locale, LOCALE_SSHORTDATE);
  items.LongDateFormat = Item(locale, LOCALE_SLONGDATE);
  items.TimeSeparator = Item(locale, LOCALE_STIME);
  items.TimeAMString = Item(locale, LOCALE_S1159);
  items.TimePMString = Item(locale, LOCALE_S2359);
  for (int month = 0; month < 12; ++month) {
    items.ShortMonthNames[month] = Item(locale, LOCALE_SABBREVMONTHNAME1 + month);
    items.LongMonthNames[month] = Item(locale, LOCALE_SMONTHNAME1 + month);
  }
  // The settings count from Sunday; the system's day names from Monday (DAYNAME1) to Sunday (7).
  for (int day = 0; day < 7; ++day) {
    const int fromMonday = (day + 6) % 7;
    items.ShortDayNames[day] = Item(locale, LOCALE_SABBREVDAYNAME1 + fromMonday);
    items.LongDayNames[day] = Item(locale, LOCALE_SDAYNAME1 + fromMonday);
  }
  return items;
}

}  // namespace platform
