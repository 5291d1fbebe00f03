#include "IsoDate.h"

#include <cmath>

#include "Digits.h"
#include "ValueToText.h"

namespace quorvane {

namespace {

// Exactly `count` ASCII digits at `at`, as a number.
std::optional<int> DigitsAt(std::string_view text, std::size_t at, std::size_t count) {
  if (at + count > text.size())
    return std::nullopt;
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9')
      return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

std::string IsoDateText(TDateTime date) {
  const CalendarDay day = DecodeDay(date);
  return AsciiDecimal(day.Year, 4) + "-" + AsciiDecimal(day.Month, 2) + "-" +
         AsciiDecimal(day.Day, 2);
}

std::string IsoTimeOfDayText(TDateTime date) {
  const double fraction = std::fabs(date - WholeDayCut(date));
  if (!std::isfinite(fraction) || fraction <= 0)
    return {};
  const long seconds = std::lround(fraction * 86400.0);
  return AsciiDecimal(seconds / 3600 % 24, 2) + ":" + AsciiDecimal(seconds / 60 % 60, 2) + ":" +
         AsciiDecimal(seconds % 60, 2);
}

std::optional<TDate> ReadIsoDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-')
    return std::nullopt;
  const std::optional<int> year = DigitsAt(text, 0, 4), month = DigitsAt(text, 5, 2),
                           day = DigitsAt(text, 8, 2);
  if (!year || !month || !day || *year < 1 || !IsCalendarDate(*year, *month, *day))
    return std::nullopt;
  return EncodeDay(*year, *month, *day);
}

std::optional<TDateTime> ReadIsoDateTime(std::string_view text) {
  const std::optional<TDate> whole = ReadIsoDate(text.substr(0, 10));
  if (!whole)
    return std::nullopt;
  if (text.size() == 10)
    return whole;
  // THH:MM, then :SS or nothing.
  if ((text.size() != 16 && text.size() != 19) || (text[10] != 'T' && text[10] != ' ') ||
      text[13] != ':' || (text.size() == 19 && text[16] != ':'))
    return std::nullopt;
  const std::optional<int> hour = DigitsAt(text, 11, 2), minute = DigitsAt(text, 14, 2),
                           second = text.size() == 19 ? DigitsAt(text, 17, 2) : 0;
  if (!hour || !minute || !second || *hour >= 24 || *minute >= 60 || *second >= 60)
    return std::nullopt;
  const double time = (*hour * 3600 + *minute * 60 + *second) / 86400.0;
  return *whole < 0 ? *whole - time : *whole + time;
}

}  // namespace quorvane
