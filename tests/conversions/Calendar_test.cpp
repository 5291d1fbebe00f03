// The one calendar: civil dates, day numbers and date numbers.
#include "Calendar.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

namespace quorvane {
namespace {

TEST(DayNumberTest, KnownDays) {
  EXPECT_EQ(EncodeDay(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDay(1899, 12, 29), -1);
  EXPECT_EQ(EncodeDay(1900, 1, 1), 2);
  EXPECT_EQ(EncodeDay(2010, 10, 8), 40459);
  EXPECT_EQ(EncodeDay(1, 1, 1), -693593);
  EXPECT_EQ(EncodeDay(9999, 12, 31), 2958465);

  struct DecodeCase {
    double date;
    int year, month, day, dayOfWeek;
  };
  const DecodeCase cases[] = {
      {40459.75, 2010, 10, 8, 5},  // the time of day is dropped
      {0, 1899, 12, 30, 6},
      {-0.5, 1899, 12, 30, 6},  // toward zero: still day 0
      {-1.5, 1899, 12, 29, 5},  // toward zero: day -1
      {2.0, 1900, 1, 1, 1},
      {kNullDate, 1, 1, 1, 1},  // before year 1: the first day
      {-1e300, 1, 1, 1, 1},
      {-std::numeric_limits<double>::infinity(), 1, 1, 1, 1},
      {3e6, 9999, 12, 31, 5},  // after year 9999: the last day
      {std::numeric_limits<double>::infinity(), 9999, 12, 31, 5},
      {std::numeric_limits<double>::quiet_NaN(), 1899, 12, 30, 6},  // NaN: day 0
  };
  for (const DecodeCase& c : cases) {
    const CalendarDay d = DecodeDay(c.date);
    EXPECT_EQ(d.Year, c.year) << c.date;
    EXPECT_EQ(d.Month, c.month) << c.date;
    EXPECT_EQ(d.Day, c.day) << c.date;
    EXPECT_EQ(d.DayOfWeek, c.dayOfWeek) << c.date;
  }
}

// Walks the calendar day by day from 0001-01-01 to 9999-12-31 with its own month lengths and
// compares every day with both directions of the day arithmetic.
TEST(DayNumberTest, EveryDayOfTheCalendarRoundTrips) {
  int year = 1, month = 1, day = 1, dayOfWeek = 1;  // 0001-01-01 was a Monday
  auto monthLength = [](int y, int m) {
    if (m == 2)
      return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0 ? 29 : 28;
    return m == 4 || m == 6 || m == 9 || m == 11 ? 30 : 31;
  };
  for (int number = -693593; number <= 2958465; ++number) {
    const CalendarDay d = DecodeDay(number);
    if (d.Year != year || d.Month != month || d.Day != day || d.DayOfWeek != dayOfWeek ||
        EncodeDay(year, month, day) != number) {
      FAIL() << "day " << number << " expected " << year << "-" << month << "-" << day;
    }
    dayOfWeek = (dayOfWeek + 1) % 7;
    if (++day > monthLength(year, month)) {
      day = 1;
      if (++month > 12)
        month = 1, ++year;
    }
  }
  EXPECT_EQ(year, 10000);
}

// Random days of the whole range of years, by the day numbers and back.
TEST(DayNumberTest, DayNumbersAndCalendarDaysRoundTrip) {
  std::mt19937 random(3);
  for (int i = 0; i < 100000; ++i) {
    const int year = static_cast<int>(random() % 9999) + 1;
    const int month = static_cast<int>(random() % 12) + 1;
    const int day = static_cast<int>(random() % 28) + 1;
    const std::int64_t number = DayNumberOf(year, month, day);
    ASSERT_EQ(static_cast<double>(number), EncodeDay(year, month, day))
        << year << "-" << month << "-" << day;
    const CalendarDay back = CalendarDayOf(number);
    ASSERT_EQ(back.Year, year);
    ASSERT_EQ(back.Month, month);
    ASSERT_EQ(back.Day, day);
  }
  EXPECT_EQ(DayNumberOf(1899, 12, 30), 0);
  EXPECT_EQ(DayNumberOf(2010, 10, 8), 40459);
  EXPECT_EQ(DayNumberOf(1, 1, 1), kFirstDayNumber);
  EXPECT_EQ(DayNumberOf(9999, 12, 31), kLastDayNumber);
}

}  // namespace
}  // namespace quorvane
