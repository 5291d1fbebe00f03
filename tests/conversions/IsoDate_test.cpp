// ISO dates: YYYY-MM-DD written and read, and read with a time of day.
#include "IsoDate.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

namespace quorvane {
namespace {

TEST(IsoDateTest, WritesTheCalendarDayOfADateNumber) {
  struct Case {
    double date;
    const char* text;
  };
  const Case cases[] = {
      {40459, "2010-10-08"},
      {40459.75, "2010-10-08"},  // the time of day is dropped
      {-1.25, "1899-12-29"},     // toward zero: day -1
      {0, "1899-12-30"},
      {EncodeDay(5, 3, 1), "0005-03-01"},  // zero-filled to four digits
      {kNullDate, "0001-01-01"},           // before the calendar: its first day
      {1e20, "9999-12-31"},                // after it: its last day
      {std::numeric_limits<double>::quiet_NaN(), "1899-12-30"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsoDateText(c.date), c.text) << c.date;
}

// Both readings: the day alone, and the day with an optional time of day.
TEST(IsoDateTest, ReadsOnlyValidDaysAndTimesWrittenWithFixedWidths) {
  struct Case {
    const char* text;
    std::optional<double> date, dateTime;
  };
  constexpr std::nullopt_t no = std::nullopt;
  const Case cases[] = {
      {"2010-10-08", 40459, 40459},
      {"2000-02-29", EncodeDay(2000, 2, 29), EncodeDay(2000, 2, 29)},  // divisible by 400
      {"0001-01-01", -693593, -693593},                                // both ends of the calendar
      {"9999-12-31", 2958465, 2958465},
      {"2100-02-29", no, no},  // divisible by 100 only: no leap year
      {"2010-13-01", no, no},
      {"2010-00-10", no, no},
      {"2010-10-32", no, no},
      {"0000-01-01", no, no},  // no year 0
      {"2010-1-08", no, no},   // the widths are fixed
      {"2010/10/08", no, no},
      {"20101008", no, no},
      {"+010-10-08", no, no},  // digits only
      {"", no, no},
      {"2010-10-08 ", no, no},  // nothing after the day but a time
      {"2010-10-08T18:00", no, 40459.75},
      {"2010-10-08 18:00", no, 40459.75},  // a space for the T
      {"2010-10-08T06:00:36", no, 40459.2504166666666},
      {"1899-12-29T06:00", no, -1.25},  // before day 0 the time counts away from zero
      {"2010-10-08T24:00", no, no},
      {"2010-10-08T12:60", no, no},
      {"2010-10-08T12:00:60", no, no},
      {"2010-10-08T12", no, no},  // minutes are not optional
      {"2010-10-08T1:00", no, no},
      {"2010-10-08T12:00:", no, no},
      {"2010-10-08x12:00", no, no},
      {"2010-02-30T12:00", no, no},  // the day must exist
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadIsoDate(c.text), c.date) << c.text;
    const std::optional<double> read = ReadIsoDateTime(c.text);
    ASSERT_EQ(read.has_value(), c.dateTime.has_value()) << c.text;
    if (read) {
      EXPECT_DOUBLE_EQ(*read, *c.dateTime) << c.text;
    }
  }
}

}  // namespace
}  // namespace quorvane
