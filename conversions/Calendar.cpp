#include "Calendar.h"

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

std::chrono::year_month_day DateOfDayNumber(std::int64_t day) {
  return std::chrono::year_month_day{kDayZero + std::chrono::days{day}};
}

}  // namespace quorvane
