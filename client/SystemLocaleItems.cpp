#include "SystemLocaleItems.h"

#include "SystemLocale.h"

namespace quorvane {

namespace {

// Every item, each asked of `text`.
template <typename Text>
LocaleItems ItemsOf(const Text& text) {
  using platform::LocaleText;
  LocaleItems items;
  items.DecimalSeparator = text(LocaleText::DecimalSeparator, 0);
  items.ThousandSeparator = text(LocaleText::ThousandSeparator, 0);
  items.DateSeparator = text(LocaleText::DateSeparator, 0);
  items.ShortDateFormat = text(LocaleText::ShortDateFormat, 0);
  items.LongDateFormat = text(LocaleText::LongDateFormat, 0);
  items.TimeSeparator = text(LocaleText::TimeSeparator, 0);
  items.TimeAMString = text(LocaleText::TimeAMString, 0);
  items.TimePMString = text(LocaleText::TimePMString, 0);
  for (int month = 0; month < 12; ++month) {
    items.ShortMonthNames[month] = text(LocaleText::ShortMonthName, month);
    items.LongMonthNames[month] = text(LocaleText::LongMonthName, month);
  }
  for (int day = 0; day < 7; ++day) {
    items.ShortDayNames[day] = text(LocaleText::ShortDayName, day);
    items.LongDayNames[day] = text(LocaleText::LongDayName, day);
  }
  return items;
}

}  // namespace

LocaleItems ReadThreadLocaleItems() {
  return ItemsOf(platform::ThreadLocaleText);
}

std::optional<LocaleItems> ReadUserLocaleItems(std::string_view name) {
  const std::unique_ptr<platform::UserLocale> locale = platform::UserLocale::Open(name);
  if (!locale)
    return std::nullopt;
  return ItemsOf([&](platform::LocaleText item, int index) { return locale->Text(item, index); });
}

}  // namespace quorvane
