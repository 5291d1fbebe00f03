#pragma once
// The calendar: civil dates, day numbers (days since 1899-12-30, day 0, on the proleptic Gregorian
// calendar, by <chrono>) and the date numbers of the client (TDate). Every part that turns dates
// into numbers and back uses this one set.

#include <chrono>
#include <cstdint>

namespace quorvane {

// Days since 1899-12-30; the fraction is the time of day. TDate holds whole days.
using TDate = double;
using TDateTime = double;

// The day of day number 0.
inline constexpr std::chrono::sys_days kDayZero{std::chrono::year{1899} / 12 / 30};
// The date number of an empty date editor: no date at all.
inline constexpr double kNullDate = -700000.0;
// The day numbers of 0001-01-01 and 9999-12-31: the calendar that dates are read and written in.
inline constexpr std::int64_t kFirstDayNumber = -693593;
inline constexpr std::int64_t kLastDayNumber = 2958465;

// A day of the calendar.
struct CalendarDay {
  int Year, Month, Day;
  int DayOfWeek;  // 0 = Sunday
};

// Whether year/month/day names a day of the calendar.
bool IsCalendarDate(int year, int month, int day);
// The day number of year/month/day. Months outside 1..12 carry into the year and days count on
// from the first of the month, so any input within the years of <chrono> gives a number.
std::int64_t DayNumberOf(std::int64_t year, std::int64_t month, std::int64_t day);
// The day of a day number within the years of <chrono> (-32767..32767).
CalendarDay CalendarDayOf(std::int64_t dayNumber);

// The date number of a calendar date; no range check.
TDate EncodeDay(int year, int month, int day);
// The calendar day of a date number (its whole-day part, truncated toward zero). Days before
// 0001-01-01 (such as kNullDate) give 0001-01-01, days after 9999-12-31 give 9999-12-31, and NaN
// gives day 0, so that no date number can fail to decode.
CalendarDay DecodeDay(TDateTime date);

}  // namespace quorvane
