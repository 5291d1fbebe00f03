#pragma once
// The calendar of day numbers: days since 1899-12-30 (day 0) on the proleptic Gregorian calendar,
// by <chrono>. Every part that turns dates into day numbers and back uses this one.

#include <chrono>
#include <cstdint>

namespace quorvane {

// The day of day number 0.
inline constexpr std::chrono::sys_days kDayZero{std::chrono::year{1899} / 12 / 30};
// The date number of an empty date editor: no date at all.
inline constexpr double kNullDate = -700000.0;

// Whether year/month/day names a day of the calendar.
bool IsCalendarDate(int year, int month, int day);
// The day number of year/month/day. Months outside 1..12 carry into the year and days count on
// from the first of the month, so any input within the years of <chrono> gives a number.
std::int64_t DayNumberOf(std::int64_t year, std::int64_t month, std::int64_t day);
// The date of a day number within the years of <chrono> (-32767..32767).
std::chrono::year_month_day DateOfDayNumber(std::int64_t day);

}  // namespace quorvane
