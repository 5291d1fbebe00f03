// The ticks of both axes: round value steps with exact labels, and calendar ticks from days to
// centuries, chosen by the room their labels need.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "ChartSvg.h"
#include "ChartTestSupport.h"
#include "ChartTicks.h"
#include "LocaleSettings.h"
#include "Utf.h"

namespace quorvane::chart {
namespace {

using testing::OddSettings;

std::vector<std::string> Labels(const ValueAxis& axis) {
  std::vector<std::string> labels;
  for (const ValueTick& tick : axis.Ticks)
    labels.push_back(ToUtf8(tick.Label));
  return labels;
}

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

struct ValueCase {
  const char* why;
  std::int64_t low, high;  // counts of ten-thousandths
  int maxIntervals;
  double axisLow, axisHigh;
  std::vector<std::string> labels;
};

const ValueCase kValueCases[] = {
    {"the US price index: 50s from zero",
     98000,
     3351230,
     10,
     0,
     350,
     {"0", "50", "100", "150", "200", "250", "300", "350"}},
    {"the same with room for twice as many",
     98000,
     3351230,
     20,
     0,
     340,
     {"0", "20", "40", "60", "80", "100", "120", "140", "160", "180", "200", "220", "240", "260",
      "280", "300", "320", "340"}},
    {"a rate below one: decimals as the step needs",
     82,
     500,
     10,
     0.005,
     0.05,
     {"0#005", "0#010", "0#015", "0#020", "0#025", "0#030", "0#035", "0#040", "0#045", "0#050"}},
    {"negatives and positives about zero",
     -52000,
     31000,
     10,
     -6,
     4,
     {"-6", "-5", "-4", "-3", "-2", "-1", "0", "1", "2", "3", "4"}},
    {"only negatives",
     -1234500,
     -1000000,
     5,
     -125,
     -100,
     {"-125", "-120", "-115", "-110", "-105", "-100"}},
    {"one value: a tenth of it either way, to round steps",
     50000,
     50000,
     8,
     4.4,
     5.6,
     {"4#4", "4#6", "4#8", "5#0", "5#2", "5#4", "5#6"}},
    {"zero alone: a whole unit either way", 0, 0, 4, -1, 1, {"-1#0", "-0#5", "0#0", "0#5", "1#0"}},
    {"the smallest money step", 1, 3, 5, 0.0001, 0.0003, {"0#0001", "0#0002", "0#0003"}},
    {"the largest amounts: whole digits, no exponent",
     0,
     90000000000000000,
     5,
     0,
     1e13,
     {"0", "2000000000000", "4000000000000", "6000000000000", "8000000000000", "10000000000000"}},
    {"the whole range of money values in one interval",
     kMin,
     kMax,
     1,
     -1e15,
     1e15,
     {"-1000000000000000", "-500000000000000", "0", "500000000000000", "1000000000000000"}},
    {"the largest count alone: the range above it stops at the largest",
     kMax,
     kMax,
     10,
     830000000000000,
     930000000000000,
     {"830000000000000", "840000000000000", "850000000000000", "860000000000000", "870000000000000",
      "880000000000000", "890000000000000", "900000000000000", "910000000000000", "920000000000000",
      "930000000000000"}},
    {"ends given in the other order",
     31000,
     -52000,
     10,
     -6,
     4,
     {"-6", "-5", "-4", "-3", "-2", "-1", "0", "1", "2", "3", "4"}},
};

TEST(ValueAxisTest, RoundStepsAndExactLabels) {
  ScopedLocaleSettings settings(OddSettings());
  for (const ValueCase& c : kValueCases) {
    const ValueAxis axis = ChooseValueAxis(c.low, c.high, c.maxIntervals);
    EXPECT_DOUBLE_EQ(axis.Low, c.axisLow) << c.why;
    EXPECT_DOUBLE_EQ(axis.High, c.axisHigh) << c.why;
    EXPECT_EQ(Labels(axis), c.labels) << c.why;
  }
}

TEST(ValueAxisTest, TheRangeHoldsTheValuesInAtMostTheIntervalsAsked) {
  // Every width of range against every room, on both sides of zero.
  for (const std::int64_t low : {-987654321LL, -1LL, 0LL, 7LL, 123456LL}) {
    for (const std::int64_t width : {0LL, 1LL, 9LL, 10LL, 11LL, 99999LL, 3000000LL}) {
      for (int maxIntervals = 1; maxIntervals <= 30; ++maxIntervals) {
        const ValueAxis axis = ChooseValueAxis(low, low + width, maxIntervals);
        EXPECT_LE(axis.Low, low / 10000.0);
        EXPECT_GE(axis.High, (low + width) / 10000.0);
        EXPECT_LT(axis.Low, axis.High);
        EXPECT_GE(axis.Ticks.size(), 2u);
        // The ladder's largest steps fit four intervals whatever the values.
        if (maxIntervals >= 4) {
          EXPECT_LE(axis.Ticks.size(), static_cast<std::size_t>(maxIntervals) + 1)
              << low << " " << width << " " << maxIntervals;
        }
        EXPECT_TRUE(axis.Mantissa == 1 || axis.Mantissa == 2 || axis.Mantissa == 5);
      }
    }
  }
}

// Day numbers of ISO dates, and back, for readable cases.
TDate Day(int y, int m, int d) {
  return EncodeDay(y, m, d);
}
std::string Iso(TDate day) {
  const CalendarDay d = DecodeDay(day);
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.Year, d.Month, d.Day);
  return text;
}
std::vector<std::string> IsoDays(const std::vector<TDate>& days) {
  std::vector<std::string> texts;
  for (const TDate day : days)
    texts.push_back(Iso(day));
  return texts;
}

struct TickDaysCase {
  const char* why;
  DateStep step;
  TDate start, end;
  std::vector<std::string> days;
};

const TickDaysCase kTickDaysCases[] = {
    {"every day, ends included",
     {DateUnit::Day, 1},
     Day(2010, 10, 8),
     Day(2010, 10, 11),
     {"2010-10-08", "2010-10-09", "2010-10-10", "2010-10-11"}},
    {"a fractional start begins on the next whole day",
     {DateUnit::Day, 1},
     Day(2010, 10, 8) + 0.5,
     Day(2010, 10, 10) + 0.5,
     {"2010-10-09", "2010-10-10"}},
    {"every second day from each month's first; the 31st gives way to the 1st",
     {DateUnit::Day, 2},
     Day(2010, 1, 26),
     Day(2010, 2, 4),
     {"2010-01-27", "2010-01-29", "2010-02-01", "2010-02-03"}},
    {"fives in February: the 26th is too near March",
     {DateUnit::Day, 5},
     Day(2011, 2, 14),
     Day(2011, 3, 7),
     {"2011-02-16", "2011-02-21", "2011-03-01", "2011-03-06"}},
    {"in a leap year the 26th stands, four days before March",
     {DateUnit::Day, 5},
     Day(2012, 2, 24),
     Day(2012, 3, 2),
     {"2012-02-26", "2012-03-01"}},
    {"tens: the 21st of February stands",
     {DateUnit::Day, 10},
     Day(2011, 2, 1),
     Day(2011, 3, 31),
     {"2011-02-01", "2011-02-11", "2011-02-21", "2011-03-01", "2011-03-11", "2011-03-21"}},
    {"months on the first",
     {DateUnit::Month, 1},
     Day(2010, 11, 2),
     Day(2011, 2, 1),
     {"2010-12-01", "2011-01-01", "2011-02-01"}},
    {"quarters from January",
     {DateUnit::Month, 3},
     Day(2010, 2, 1),
     Day(2011, 1, 1),
     {"2010-04-01", "2010-07-01", "2010-10-01", "2011-01-01"}},
    {"years",
     {DateUnit::Year, 1},
     Day(1999, 1, 2),
     Day(2002, 1, 1),
     {"2000-01-01", "2001-01-01", "2002-01-01"}},
    {"decades",
     {DateUnit::Year, 10},
     Day(1913, 1, 1),
     Day(1951, 6, 1),
     {"1920-01-01", "1930-01-01", "1940-01-01", "1950-01-01"}},
    {"the calendar's first and last days",
     {DateUnit::Year, 5000},
     Day(1, 1, 1),
     Day(9999, 12, 31),
     {"5000-01-01"}},
    {"beyond the calendar nothing",
     {DateUnit::Day, 1},
     Day(9999, 12, 31),
     Day(9999, 12, 31) + 5,
     {"9999-12-31"}},
    {"a range inside one day has no tick",
     {DateUnit::Day, 1},
     Day(2010, 1, 1) + 0.2,
     Day(2010, 1, 1) + 0.8,
     {}},
};

TEST(DateTickDaysTest, CalendarTicksOfEachUnit) {
  for (const TickDaysCase& c : kTickDaysCases)
    EXPECT_EQ(IsoDays(DateTickDays(c.step, c.start, c.end, 1000)), c.days) << c.why;
}

TEST(DateTickDaysTest, NothingBeyondTheLimit) {
  EXPECT_TRUE(DateTickDays({DateUnit::Day, 1}, Day(1900, 1, 1), Day(2000, 1, 1), 100).empty());
  EXPECT_EQ(DateTickDays({DateUnit::Year, 1}, Day(1900, 1, 1), Day(2000, 1, 1), 101).size(), 101u);
}

struct SpanCase {
  const char* why;
  TDate start, end;  // end: the day after the last
  double plotWidth;
  DateStep step;
  std::vector<std::string> someLabels;  // the first labels
};

const SpanCase kSpanCases[] = {
    {"three days: every day",
     Day(2010, 10, 8),
     Day(2010, 10, 11),
     600,
     {DateUnit::Day, 1},
     {"08\u00b710\u00b72010", "09\u00b710\u00b72010", "10\u00b710\u00b72010"}},
    {"a month in a narrow plot",
     Day(2010, 10, 1),
     Day(2010, 11, 1),
     300,
     {DateUnit::Day, 10},
     {"01\u00b710\u00b72010", "11\u00b710\u00b72010"}},
    {"half a year",
     Day(2010, 1, 1),
     Day(2010, 7, 1),
     600,
     {DateUnit::Month, 1},
     {"01\u00b701\u00b72010", "01\u00b702\u00b72010"}},
    {"two years",
     Day(2009, 1, 1),
     Day(2011, 1, 1),
     600,
     {DateUnit::Month, 3},
     {"01\u00b701\u00b72009", "01\u00b704\u00b72009"}},
    {"27 years of daily rates: years alone",
     Day(1999, 1, 1),
     Day(2026, 8, 1),
     750,
     {DateUnit::Year, 2},
     {"2000", "2002", "2004"}},
    {"the price index from 1913: decades",
     Day(1913, 1, 1),
     Day(2026, 5, 2),
     760,
     {DateUnit::Year, 10},
     {"1920", "1930"}},
    {"a century in a small window",
     Day(1913, 1, 1),
     Day(2026, 5, 2),
     200,
     {DateUnit::Year, 50},
     {"1950", "2000"}},
    {"the whole calendar",
     Day(1, 1, 1),
     Day(9999, 12, 31),
     800,
     {DateUnit::Year, 500},
     {"500", "1000"}},
};

TEST(DateAxisTest, TheFinestStepWhoseLabelsStandApart) {
  ScopedLocaleSettings settings(OddSettings());
  const TextMeasure measure = SvgTextMeasure();
  for (const SpanCase& c : kSpanCases) {
    const DateAxisRoom room{c.start, c.end, 50, c.plotWidth, 0, c.plotWidth + 100};
    const DateAxis axis = ChooseDateAxis(room, measure, 10);
    EXPECT_EQ(axis.Step, c.step) << c.why;
    ASSERT_GE(axis.Ticks.size(), c.someLabels.size()) << c.why;
    for (std::size_t i = 0; i < c.someLabels.size(); ++i)
      EXPECT_EQ(ToUtf8(axis.Ticks[i].Label), c.someLabels[i]) << c.why;
    for (std::size_t i = 1; i < axis.Ticks.size(); ++i) {
      const DateTick& left = axis.Ticks[i - 1];
      EXPECT_GE(axis.Ticks[i].LabelLeft, left.LabelLeft + left.LabelWidth + 10) << c.why;
    }
  }
}

TEST(DateAxisTest, EdgeLabelsStayInTheirRoom) {
  // Ticks at the plot's very ends: their labels are moved inward, never cut.
  const TextMeasure measure = SvgTextMeasure();
  const DateAxisRoom room{Day(2010, 10, 8), Day(2010, 10, 10), 10, 400, 6, 404};
  const DateAxis axis = ChooseDateAxis(room, measure, 10);
  ASSERT_EQ(axis.Ticks.size(), 3u);
  EXPECT_EQ(axis.Ticks.front().X, 10);
  EXPECT_EQ(axis.Ticks.front().LabelLeft, 6);
  EXPECT_EQ(axis.Ticks.back().X, 410);
  EXPECT_DOUBLE_EQ(axis.Ticks.back().LabelLeft + axis.Ticks.back().LabelWidth, 404);
}

TEST(DateAxisTest, LabelsThatFitNowhereGiveNoTicks) {
  TextMeasure huge;
  huge.Width = [](std::u16string_view) { return 5000.0; };
  const DateAxisRoom room{Day(2010, 1, 1), Day(2011, 1, 1), 0, 400, 0, 400};
  const DateAxis axis = ChooseDateAxis(room, huge, 10);
  EXPECT_LE(axis.Ticks.size(), 1u);
}

TEST(LabelWidthTest, AMeasureThatMisbehavesGivesZero) {
  TextMeasure nan;
  nan.Width = [](std::u16string_view) { return std::numeric_limits<double>::quiet_NaN(); };
  EXPECT_EQ(LabelWidth(nan, u"2010"), 0);
  TextMeasure negative;
  negative.Width = [](std::u16string_view) { return -3.0; };
  EXPECT_EQ(LabelWidth(negative, u"2010"), 0);
  TextMeasure none;  // no function: an estimate by the line height
  none.Height = 10;
  EXPECT_EQ(LabelWidth(none, u"2010"), 24);
}

}  // namespace
}  // namespace quorvane::chart
