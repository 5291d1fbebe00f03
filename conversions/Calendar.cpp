#include "Calendar.h"

#include <cmath>

namespace quorvane {

namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

bool IsCalendarDate(int year, int month, int day) {
  if (month < 1 || month > 12 || day < 1 || day > 31)
    return false;
  return std::chrono::year_month_day{std::chrono::year{year},
                                     std::chrono::month{static_cast<unsigned>(month)},
                                     std::chrono::day{static_cast<unsigned>(day)}}
      .ok();
}

std::int64_t DayNumberOf(std::int64_t year, std::int64_t month, std::int64_t day) {
  year += FloorDiv(month - 1, 12);
  month -= FloorDiv(month - 1, 12) * 12;
  const std::chrono::sys_days first{std::chrono::year{static_cast<int>(year)} /
                                    std::chrono::month{static_cast<unsigned>(month)} / 1};
  return (first - kDayZero).count() + (day - 1);
}

CalendarDay CalendarDayOf(std::int64_t dayNumber) {
  const std::chrono::sys_days days = kDayZero + std::chrono::days{dayNumber};
  const std::chrono::year_month_day date{days};
  return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
          static_cast<int>(static_cast<unsigned>(date.day())),
          static_cast<int>(std::chrono::weekday{days}.c_encoding())};
}

TDate EncodeDay(int year, int month, int day) {
  return static_cast<TDate>(DayNumberOf(year, month, day));
}

CalendarDay DecodeDay(TDateTime date) {
  std::int64_t number = 0;
  if (date <= static_cast<double>(kFirstDayNumber))
    number = kFirstDayNumber;
  else if (date >= static_cast<double>(kLastDayNumber))
    number = kLastDayNumber;
  else if (!std::isnan(date))
    number = static_cast<std::int64_t>(date);  // truncation toward zero
  return CalendarDayOf(number);
}

}  // namespace quorvane
