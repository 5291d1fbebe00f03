#include "SystemLocaleItems.h"

#include "SystemLocale.h"

namespace quorvane {

LocaleItems ReadThreadLocaleItems() {
  using platform::LocaleText;
  using platform::ThreadLocaleText;
  LocaleItems items;
  items.DecimalSeparator = ThreadLocaleText(LocaleText::DecimalSeparator);
  items.ThousandSeparator = ThreadLocaleText(LocaleText::ThousandSeparator);
  items.DateSeparator = ThreadLocaleText(LocaleText::DateSeparator);
  items.ShortDateFormat = ThreadLocaleText(LocaleText::ShortDateFormat);
  items.LongDateFormat = ThreadLocaleText(LocaleText::LongDateFormat);
  items.TimeSeparator = ThreadLocaleText(LocaleText::TimeSeparator);
  items.TimeAMString = ThreadLocaleText(LocaleText::TimeAMString);
  items.TimePMString = ThreadLocaleText(LocaleText::TimePMString);
  for (int month = 0; month < 12; ++month) {
    items.ShortMonthNames[month] = ThreadLocaleText(LocaleText::ShortMonthName, month);
    items.LongMonthNames[month] = ThreadLocaleText(LocaleText::LongMonthName, month);
  }
  for (int day = 0; day < 7; ++day) {
    items.ShortDayNames[day] = ThreadLocaleText(LocaleText::ShortDayName, day);
    items.LongDayNames[day] = ThreadLocaleText(LocaleText::LongDayName, day);
  }
  return items;
}

}  // namespace quorvane
