#pragma once
// The process-wide locale settings that every conversion reads at the moment it runs, the rules
// that turn the items a locale source reads into them, and the clock that gives the current year.

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace quorvane {

struct LocaleSettings {
  char16_t DecimalSeparator = u'.';
  char16_t ThousandSeparator = u',';
  char16_t DateSeparator = u'/';
  std::u16string ShortDateFormat = u"m/d/yy";
  std::u16string LongDateFormat = u"mmmm d, yyyy";
  char16_t TimeSeparator = u':';
  std::u16string TimeAMString = u"am";
  std::u16string TimePMString = u"pm";
  std::array<std::u16string, 12> ShortMonthNames = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                                    u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
  std::array<std::u16string, 12> LongMonthNames = {
      u"January", u"February", u"March",     u"April",   u"May",      u"June",
      u"July",    u"August",   u"September", u"October", u"November", u"December"};
  // Sunday first.
  std::array<std::u16string, 7> ShortDayNames = {u"Sun", u"Mon", u"Tue", u"Wed",
                                                 u"Thu", u"Fri", u"Sat"};
  std::array<std::u16string, 7> LongDayNames = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                                u"Thursday", u"Friday", u"Saturday"};
  int TwoDigitYearCenturyWindow = 50;
};

// What a locale source could read; an item it cannot give at all stays empty (nullopt).
struct LocaleItems {
  std::optional<std::u16string> DecimalSeparator, ThousandSeparator, DateSeparator;
  std::optional<std::u16string> ShortDateFormat, LongDateFormat;
  std::optional<std::u16string> TimeSeparator, TimeAMString, TimePMString;
  std::array<std::optional<std::u16string>, 12> ShortMonthNames, LongMonthNames;
  std::array<std::optional<std::u16string>, 7> ShortDayNames, LongDayNames;
};

// Separators: the locale's value when it is exactly one character, else the default. Patterns and
// designators: the locale's value, even empty, else the default. Names: the locale's when not
// empty.
LocaleSettings MakeLocaleSettings(const LocaleItems& items);

const LocaleSettings& CurrentLocaleSettings();
// Replaces the settings as a whole (start-up, a settings change, tests).
void SetLocaleSettings(LocaleSettings settings);

// Sets settings for the life of the object and restores the former ones after it (tests).
class ScopedLocaleSettings {
 public:
  explicit ScopedLocaleSettings(LocaleSettings settings);
  ~ScopedLocaleSettings();
  ScopedLocaleSettings(const ScopedLocaleSettings&) = delete;
  ScopedLocaleSettings& operator=(const ScopedLocaleSettings&) = delete;

 private:
  LocaleSettings saved_;
};

// The current year of the local clock, for dates written without a full year.
int CurrentYear();
// Replaces the clock; an empty function restores the local clock.
void SetCurrentYearSource(std::function<int()> source);

}  // namespace quorvane
