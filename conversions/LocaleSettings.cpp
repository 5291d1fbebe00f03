#include "LocaleSettings.h"

#include <chrono>
#include <ctime>
#include <utility>

namespace quorvane {

namespace {

LocaleSettings& Settings() {
  static LocaleSettings settings;
  return settings;
}

std::function<int()>& YearSource() {
  static std::function<int()> source;
  return source;
}

void TakeSeparator(char16_t& target, const std::optional<std::u16string>& value) {
  if (value && value->size() == 1)
    target = (*value)[0];
}

void TakeText(std::u16string& target, const std::optional<std::u16string>& value) {
  if (value)
    target = *value;
}

template <std::size_t N>
void TakeNames(std::array<std::u16string, N>& target,
               const std::array<std::optional<std::u16string>, N>& names) {
  for (std::size_t i = 0; i < N; ++i) {
    if (names[i] && !names[i]->empty())
      target[i] = *names[i];
  }
}

}  // namespace

LocaleSettings MakeLocaleSettings(const LocaleItems& items) {
  LocaleSettings s;
  TakeSeparator(s.DecimalSeparator, items.DecimalSeparator);
  TakeSeparator(s.ThousandSeparator, items.ThousandSeparator);
  TakeSeparator(s.DateSeparator, items.DateSeparator);
  TakeSeparator(s.TimeSeparator, items.TimeSeparator);
  TakeText(s.ShortDateFormat, items.ShortDateFormat);
  TakeText(s.LongDateFormat, items.LongDateFormat);
  TakeText(s.TimeAMString, items.TimeAMString);
  TakeText(s.TimePMString, items.TimePMString);
  TakeNames(s.ShortMonthNames, items.ShortMonthNames);
  TakeNames(s.LongMonthNames, items.LongMonthNames);
  TakeNames(s.ShortDayNames, items.ShortDayNames);
  TakeNames(s.LongDayNames, items.LongDayNames);
  return s;
}

const LocaleSettings& CurrentLocaleSettings() {
  return Settings();
}

void SetLocaleSettings(LocaleSettings settings) {
  Settings() = std::move(settings);
}

ScopedLocaleSettings::ScopedLocaleSettings(LocaleSettings settings) : saved_(Settings()) {
  Settings() = std::move(settings);
}

ScopedLocaleSettings::~ScopedLocaleSettings() {
  Settings() = std::move(saved_);
}

int CurrentYear() {
  if (YearSource())
    return YearSource()();
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  // One thread uses the clock, so the shared buffer of std::localtime is safe here.
  const std::tm* local = std::localtime(&now);
  return local ? local->tm_year + 1900 : 1970;
}

void SetCurrentYearSource(std::function<int()> source) {
  YearSource() = std::move(source);
}

}  // namespace quorvane
