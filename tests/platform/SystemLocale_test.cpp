// The locale source of the portable runtime: the window reads its toolkit's locale, so the thread
// gives no items; a user locale opened by name gives the C library's items, none for the C and
// POSIX locales (the defaults stand), and a locale the system lacks is not opened.
#include "SystemLocale.h"

#include <gtest/gtest.h>

namespace {

using platform::LocaleText;

constexpr LocaleText kItems[] = {
    LocaleText::DecimalSeparator, LocaleText::ThousandSeparator, LocaleText::DateSeparator,
    LocaleText::ShortDateFormat,  LocaleText::LongDateFormat,    LocaleText::TimeSeparator,
    LocaleText::TimeAMString,     LocaleText::TimePMString,      LocaleText::ShortMonthName,
    LocaleText::LongMonthName,    LocaleText::ShortDayName,      LocaleText::LongDayName};

TEST(SystemLocale, TheThreadGivesNoItems) {
  for (LocaleText item : kItems)
    EXPECT_FALSE(platform::ThreadLocaleText(item, 0)) << static_cast<int>(item);
}

TEST(SystemLocale, TheCAndPosixLocalesGiveNoItems) {
  for (const char* name : {"C", "POSIX"}) {
    const std::unique_ptr<platform::UserLocale> locale = platform::UserLocale::Open(name);
    ASSERT_TRUE(locale) << name;
    for (LocaleText item : kItems)
      for (int index : {0, 6})
        EXPECT_FALSE(locale->Text(item, index)) << name << " item " << static_cast<int>(item);
  }
}

TEST(SystemLocale, ALocaleTheSystemLacksIsNotOpened) {
  EXPECT_FALSE(platform::UserLocale::Open("xx_NOWHERE"));
  EXPECT_FALSE(platform::UserLocale::Open("de_DE.no-such-charset"));
}

}  // namespace
