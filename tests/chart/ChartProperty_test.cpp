// Properties of the chart over random tables, sizes, zooms and locale settings: ticks inside the
// range, ascending, round and distinctly labelled; labels apart and inside the canvas; steps
// drawn left to right; and, against a scan of the table as sent, the entry in force under the
// pointer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "ChartModel.h"
#include "ChartTestSupport.h"
#include "Digits.h"
#include "TextToValue.h"
#include "Utf.h"
#include "ValueToText.h"

namespace quorvane::chart {
namespace {

using namespace chart::testing;

struct Convention {
  const char16_t* pattern;
  char16_t dateSeparator, decimalSeparator;
};

const Convention kConventions[] = {
    {u"m/d/yy", u'/', u'.'},
    {u"dd/MM/yyyy", u'\u00b7', u'#'},
    {u"yyyy-MM-dd", u'-', u','},
    {u"d mmm yyyy", u'/', u'\u066b'},
};

struct RandomChart {
  ChartInput input;
  std::vector<DayValue> table;
};

RandomChart MakeRandomChart(std::mt19937_64& random) {
  auto uniform = [&random](double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
  };
  auto integer = [&random](long long low, long long high) {
    return std::uniform_int_distribution<long long>(low, high)(random);
  };
  const double spans[] = {1, 5, 60, 700, 11000, 41000};
  const double span = spans[integer(0, 5)];
  const double scales[] = {0.01, 1, 400, 2e6};
  const double scale = scales[integer(0, 3)];
  const bool negative = integer(0, 3) == 0, flat = integer(0, 7) == 0;
  const int count = static_cast<int>(integer(1, 400));
  RandomChart chart;
  for (int i = 0; i < count; ++i) {
    // Whole days, some of them twice, in any order.
    const double day = std::floor(uniform(0, span));
    double amount = flat ? scale : uniform(negative ? -scale : 0, scale);
    amount = std::round(amount * 10000) / 10000;
    chart.table.push_back({day, amount});
  }
  if (integer(0, 1) == 0)
    std::sort(chart.table.begin(), chart.table.end(),
              [](const DayValue& a, const DayValue& b) { return a.Day < b.Day; });
  chart.input = Input(chart.table, uniform(240, 2000), uniform(160, 1200));
  if (integer(0, 2) == 0) {
    const double a = std::floor(uniform(-span / 4, span * 1.25));
    const double b = std::floor(uniform(-span / 4, span * 1.25));
    chart.input.Visible = DateRange{kBaseDay + a, kBaseDay + b};
  }
  if (integer(0, 1) == 0)
    chart.input.Chosen = ChosenDay{kBaseDay + uniform(-span / 2, span * 1.5), {integer(-1, 1e6)}};
  if (integer(0, 1) == 0)
    chart.input.Title = u"Title <&> \"'";
  return chart;
}

// The entry in force on a day as the table was sent: the latest date on or before the day, and of
// equal dates the one sent last. -1 when none.
int InForce(const std::vector<DayValue>& table, double day) {
  int found = -1;
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table[i].Day <= day && (found < 0 || table[i].Day >= table[found].Day))
      found = static_cast<int>(i);
  }
  return found;
}

bool IsRoundStep(double step) {
  const double power = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
  const double mantissa = step / power;
  return std::fabs(mantissa - 1) < 1e-6 || std::fabs(mantissa - 2) < 1e-6 ||
         std::fabs(mantissa - 5) < 1e-6;
}

TEST(ChartPropertyTest, RandomTablesSizesZoomsAndSettings) {
  std::mt19937_64 random(20101008);
  for (int round = 0; round < 400; ++round) {
    const Convention& convention = kConventions[round % std::size(kConventions)];
    LocaleSettings settings;
    settings.ShortDateFormat = convention.pattern;
    settings.DateSeparator = convention.dateSeparator;
    settings.DecimalSeparator = convention.decimalSeparator;
    ScopedLocaleSettings scoped(settings);
    const RandomChart chart = MakeRandomChart(random);
    const ChartModel model(chart.input);
    const ChartPicture& p = model.Picture();
    SCOPED_TRACE(::testing::Message() << "round " << round << ", " << chart.table.size()
                                      << " entries, " << p.Width << "x" << p.Height);
    const ChartRect canvas{0, 0, p.Width, p.Height};

    // Date ticks: inside the range, ascending, on round calendar days, labels distinct and apart.
    std::set<std::u16string> dateLabels;
    for (std::size_t i = 0; i < p.DateTicks.size(); ++i) {
      const ChartTick& tick = p.DateTicks[i];
      const double day = DayOfX(p, tick.Position);
      ASSERT_NEAR(day, std::round(day), 1e-6);
      const CalendarDay calendar = DecodeDay(kBaseDay + std::round(day));
      ASSERT_GE(kBaseDay + std::round(day), p.Shown.First);
      ASSERT_LE(kBaseDay + std::round(day), p.Shown.Last + 1);
      switch (p.DateTickStep.Unit) {
        case DateUnit::Year:
          ASSERT_EQ(calendar.Month * 100 + calendar.Day, 101);
          ASSERT_EQ(calendar.Year % p.DateTickStep.Count, 0);
          ASSERT_EQ(tick.Label.Text, DecimalText(calendar.Year));
          break;
        case DateUnit::Month:
          ASSERT_EQ(calendar.Day, 1);
          ASSERT_EQ((calendar.Month - 1) % p.DateTickStep.Count, 0);
          break;
        case DateUnit::Day:
          ASSERT_EQ((calendar.Day - 1) % p.DateTickStep.Count, 0);
          break;
      }
      if (p.DateTickStep.Unit != DateUnit::Year) {
        ASSERT_EQ(tick.Label.Text, ShortDateText(kBaseDay + std::round(day)));
      }
      ASSERT_TRUE(dateLabels.insert(tick.Label.Text).second);
      ASSERT_TRUE(Inside(tick.Label.Box, canvas));
      if (i > 0) {
        ASSERT_LT(p.DateTicks[i - 1].Position, tick.Position);
        ASSERT_FALSE(Overlap(p.DateTicks[i - 1].Label.Box, tick.Label.Box));
      }
    }

    // Value ticks: ascending upward, one round step apart, each label reading back its value.
    ASSERT_GE(p.ValueTicks.size(), 2u);
    std::vector<double> values;
    for (const ChartTick& tick : p.ValueTicks) {
      const double value = ReadNumber(tick.Label.Text).ToDouble();
      ASSERT_NEAR(AmountOfY(p, tick.Position), value, 1e-6 * std::max(1.0, std::fabs(value)));
      ASSERT_GE(tick.Position, p.Plot.Top - 1e-6);
      ASSERT_LE(tick.Position, p.Plot.Bottom() + 1e-6);
      ASSERT_TRUE(Inside(tick.Label.Box, canvas));
      values.push_back(value);
    }
    const double step = values[1] - values[0];
    ASSERT_TRUE(IsRoundStep(step)) << step;
    for (std::size_t i = 1; i < values.size(); ++i) {
      ASSERT_NEAR(values[i] - values[i - 1], step, 1e-9 * std::max(1.0, std::fabs(values[i])));
      ASSERT_LT(p.ValueTicks[i].Position, p.ValueTicks[i - 1].Position);
      ASSERT_FALSE(Overlap(p.ValueTicks[i - 1].Label.Box, p.ValueTicks[i].Label.Box));
    }

    // Steps: left to right, horizontal and vertical pieces only, inside the plot.
    for (std::size_t i = 0; i < p.Steps.size(); ++i) {
      const ChartPoint& point = p.Steps[i];
      ASSERT_TRUE(Inside({point.X, point.Y, 0, 0}, p.Plot, 1e-6));
      if (i > 0) {
        ASSERT_LE(p.Steps[i - 1].X, point.X);
        ASSERT_TRUE(p.Steps[i - 1].X == point.X || p.Steps[i - 1].Y == point.Y);
      }
    }

    // The entry under the pointer, on the line in the middle of a day, is the one in force.
    for (int probe = 0; probe < 5; ++probe) {
      const double day = p.Shown.First - kBaseDay +
                         std::floor(std::uniform_real_distribution<double>(0, 1)(random) *
                                    (p.Shown.Last + 1 - p.Shown.First));
      const int expected = InForce(chart.table, day);
      if (expected < 0)
        continue;
      const double y = YOfAmount(p, chart.table[expected].Amount);
      const std::optional<PointReadout> readout = model.NearestPoint({XOfDay(p, day + 0.5), y});
      ASSERT_TRUE(readout);
      if (readout->Entry != static_cast<std::size_t>(expected)) {
        // Only another entry drawn at the same height, to a millionth of a pixel, may stand in.
        ASSERT_NEAR(YOfAmount(p, chart.table[readout->Entry].Amount), y, 1e-6) << day;
      }
    }

    if (p.Marker) {
      ASSERT_TRUE(Inside(p.Marker->Label.Box, canvas));
    }
  }
}

}  // namespace
}  // namespace quorvane::chart
