// The chart model: the steps drawn from a table in any order, zoom, the chosen day's marker, the
// entry under the pointer, and a layout that keeps every label inside the canvas and apart.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "ChartModel.h"
#include "ChartTestSupport.h"
#include "Utf.h"

namespace quorvane::chart {
namespace {

using namespace chart::testing;
using Corners = std::vector<std::pair<double, double>>;

struct StepsCase {
  const char* why;
  std::vector<DayValue> table;  // in the order the server sent it
  Corners corners;
};

const StepsCase kStepsCases[] = {
    {"ascending: each value until the next entry, the last for its own day",
     {{0, 1}, {2, 2}, {5, 3}},
     {{0, 1}, {2, 1}, {2, 2}, {5, 2}, {5, 3}, {6, 3}}},
    {"newest first, as the funds rate comes: drawn by date",
     {{5, 3}, {2, 2}, {0, 1}},
     {{0, 1}, {2, 1}, {2, 2}, {5, 2}, {5, 3}, {6, 3}}},
    {"one entry out of order in the middle",
     {{0, 1}, {5, 3}, {2, 2}},
     {{0, 1}, {2, 1}, {2, 2}, {5, 2}, {5, 3}, {6, 3}}},
    {"one date twice: the one sent later is in force, the other a riser only",
     {{0, 1}, {2, 2}, {2, 5}, {4, 3}},
     {{0, 1}, {2, 1}, {2, 2}, {2, 5}, {4, 5}, {4, 3}, {5, 3}}},
    {"the same date twice the other way round",
     {{0, 1}, {2, 5}, {2, 2}, {4, 3}},
     {{0, 1}, {2, 1}, {2, 5}, {2, 2}, {4, 2}, {4, 3}, {5, 3}}},
    {"a value repeated continues one piece",
     {{0, 1}, {1, 1}, {3, 2}},
     {{0, 1}, {3, 1}, {3, 2}, {4, 2}}},
    {"a single entry spans its day", {{0, 7}}, {{0, 7}, {1, 7}}},
    {"negative values",
     {{0, -2}, {1, 3}, {3, -0.5}},
     {{0, -2}, {1, -2}, {1, 3}, {3, 3}, {3, -0.5}, {4, -0.5}}},
    {"all values equal", {{0, 4}, {10, 4}, {20, 4}}, {{0, 4}, {21, 4}}},
};

TEST(ChartStepsTest, EachValueIsInForceFromItsDateUntilTheNextOne) {
  for (const StepsCase& c : kStepsCases) {
    const ChartModel model(Input(c.table));
    EXPECT_EQ(StepCorners(model.Picture()), c.corners) << c.why;
  }
}

TEST(ChartStepsTest, TheValueAxisHoldsEveryValueAndIsNeverEmpty) {
  for (const StepsCase& c : kStepsCases) {
    const ChartModel model(Input(c.table));
    const ChartPicture& p = model.Picture();
    EXPECT_LT(p.LowValue, p.HighValue) << c.why;
    for (const DayValue& e : c.table) {
      EXPECT_LE(p.LowValue, e.Amount) << c.why;
      EXPECT_GE(p.HighValue, e.Amount) << c.why;
    }
    // A flat line is drawn inside the plot, not on its frame.
    if (c.table.size() == 1 || c.corners.size() == 2) {
      EXPECT_GT(p.Steps.front().Y, p.Plot.Top) << c.why;
      EXPECT_LT(p.Steps.front().Y, p.Plot.Bottom()) << c.why;
    }
  }
}

TEST(ChartStepsTest, ATableOfRecordsAsTheLoaderLeftIt) {
  const std::vector<DateValueRec> table = {{kBaseDay + 5, {30000}}, {kBaseDay, {10000}}};
  ChartInput input = Input({});
  input.Entries = ChartEntries(table);
  const ChartModel model(std::move(input));
  EXPECT_EQ(StepCorners(model.Picture()), (Corners{{0, 1}, {5, 1}, {5, 3}, {6, 3}}));
}

TEST(ChartStepsTest, AMinimumWageIsDrawnByItsFirstValue) {
  const std::vector<MinimumWageRec> table = {{kBaseDay, {1000000}, {99990000}},
                                             {kBaseDay + 3, {1200000}, {1}}};
  const std::vector<ChartEntry> entries = ChartEntries(table);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].Value.Count, 1000000);
  EXPECT_EQ(entries[1].Value.Count, 1200000);
}

TEST(ChartStepsTest, AnEmptyTableSaysSoAndDrawsNothing) {
  ScopedLocaleSettings settings(OddSettings());
  ChartInput input = Input({});
  input.Chosen = ChosenDay{kBaseDay, {}};
  const ChartModel model(std::move(input));
  const ChartPicture& p = model.Picture();
  ASSERT_TRUE(p.Notice);
  EXPECT_EQ(p.Notice->Text, u"No entries");
  EXPECT_TRUE(Inside(p.Notice->Box, p.Plot));
  EXPECT_TRUE(p.Steps.empty());
  EXPECT_TRUE(p.DateTicks.empty());
  EXPECT_TRUE(p.ValueTicks.empty());
  EXPECT_FALSE(p.Marker);
  EXPECT_FALSE(model.DataRange());
  EXPECT_FALSE(model.DayAt(400));
  EXPECT_FALSE(model.NearestPoint({400, 200}));
}

TEST(ChartStepsTest, DatesOutsideTheCalendarAreLeftOutAndCounted) {
  ChartInput input = Input({{0, 1}, {3, 2}});
  input.Entries.push_back({std::numeric_limits<double>::quiet_NaN(), {50000}});
  input.Entries.push_back({std::numeric_limits<double>::infinity(), {50000}});
  input.Entries.push_back({kNullDate, {50000}});
  input.Entries.push_back({EncodeDay(9999, 12, 31) + 1, {50000}});
  const ChartModel model(std::move(input));
  EXPECT_EQ(model.Picture().LeftOut, 4u);
  EXPECT_EQ(StepCorners(model.Picture()), (Corners{{0, 1}, {3, 1}, {3, 2}, {4, 2}}));
}

// d0:1, d2:2, d5:3, d8:4 for the zoom cases.
const std::vector<DayValue> kFour = {{0, 1}, {2, 2}, {5, 3}, {8, 4}};

struct ZoomCase {
  const char* why;
  double first, last;  // days after kBaseDay
  Corners corners;
  double shownFirst, shownLast;
};

const ZoomCase kZoomCases[] = {
    {"inside: the value in force at the start, to the day after the last",
     3,
     6,
     {{3, 2}, {5, 2}, {5, 3}, {7, 3}},
     3,
     6},
    {"the ends given the other way round", 6, 3, {{3, 2}, {5, 2}, {5, 3}, {7, 3}}, 3, 6},
    {"beyond the last entry: its value runs on", 7, 20, {{7, 3}, {8, 3}, {8, 4}, {21, 4}}, 7, 20},
    {"starting on an entry's day", 2, 2, {{2, 2}, {3, 2}}, 2, 2},
    {"fractions of days are cut to whole days", 3.9, 6.2, {{3, 2}, {5, 2}, {5, 3}, {7, 3}}, 3, 6},
    {"before the first entry: no steps", -10, -5, {}, -10, -5},
    {"across the first entry: the line starts there", -3, 1, {{0, 1}, {2, 1}}, -3, 1},
};

TEST(ChartZoomTest, AVisibleRangeDrawsTheStepsInIt) {
  for (const ZoomCase& c : kZoomCases) {
    ChartInput input = Input(kFour);
    input.Visible = DateRange{kBaseDay + c.first, kBaseDay + c.last};
    const ChartModel model(std::move(input));
    const ChartPicture& p = model.Picture();
    EXPECT_EQ(StepCorners(p), c.corners) << c.why;
    EXPECT_EQ(p.Shown, (DateRange{kBaseDay + c.shownFirst, kBaseDay + c.shownLast})) << c.why;
    EXPECT_EQ(p.Notice.has_value(), c.corners.empty()) << c.why;
    // The zoom never changes what the whole table spans.
    EXPECT_EQ(model.DataRange(), (DateRange{kBaseDay, kBaseDay + 8})) << c.why;
  }
}

TEST(ChartZoomTest, TheValueAxisFollowsTheValuesShown) {
  ChartInput input = Input({{0, 100}, {2, 2}, {5, 3}, {8, 400}});
  input.Visible = DateRange{kBaseDay + 3, kBaseDay + 6};
  const ChartModel model(std::move(input));
  const ChartPicture& p = model.Picture();
  EXPECT_LE(p.LowValue, 2);
  EXPECT_GE(p.HighValue, 3);
  EXPECT_LT(p.HighValue, 100);
}

TEST(ChartZoomTest, ADragGivesTheRangeAndNoZoomGivesEveryEntryBack) {
  const ChartModel whole(Input(kFour));
  const ChartPicture& p = whole.Picture();
  EXPECT_EQ(p.Shown, (DateRange{kBaseDay, kBaseDay + 8}));
  // The plot's ends are the first day and the last.
  EXPECT_EQ(whole.ZoomRange(p.Plot.Right(), p.Plot.Left), p.Shown);
  // Beyond the plot: clamped to the range shown.
  EXPECT_EQ(whole.ZoomRange(-1000, 1e6), p.Shown);
  const double third = XOfDay(p, 3.5), sixth = XOfDay(p, 6.5);
  const std::optional<DateRange> range = whole.ZoomRange(sixth, third);
  ASSERT_TRUE(range);
  EXPECT_EQ(*range, (DateRange{kBaseDay + 3, kBaseDay + 6}));
  EXPECT_FALSE(whole.ZoomRange(std::numeric_limits<double>::quiet_NaN(), 3));

  ChartInput zoomed = Input(kFour);
  zoomed.Visible = range;
  const ChartModel in(std::move(zoomed));
  EXPECT_EQ(in.Picture().Shown, *range);
  // Back: the next model without a range.
  EXPECT_EQ(ChartModel(Input(kFour)).Picture().Shown, p.Shown);
}

struct MarkerCase {
  const char* why;
  double day;  // after kBaseDay
  double value;
  MarkerPlace place;
  bool dot;
  std::u16string_view text;
};

const MarkerCase kMarkerCases[] = {
    {"a day inside, the value its lookup showed", 2, 2, MarkerPlace::Inside, true,
     u"03\u00b710\u00b72010 2#0000"},
    {"a time of day is the day itself", 2.75, 2, MarkerPlace::Inside, true,
     u"03\u00b710\u00b72010 2#0000"},
    {"the value as told, not looked up again", 6, 1.5, MarkerPlace::Inside, true,
     u"07\u00b710\u00b72010 1#5000"},
    {"a lookup's zero below the axis: the line and label, no dot", 3, 0, MarkerPlace::Inside, false,
     u"04\u00b710\u00b72010 0#0000"},
    {"the last day shown", 8, 4, MarkerPlace::Inside, true, u"09\u00b710\u00b72010 4#0000"},
    {"before the range: the label at the left edge", -3, 0, MarkerPlace::BeforeRange, false,
     u"\u00ab 28\u00b709\u00b72010 0#0000"},
    {"after the range: at the right edge", 30, 4, MarkerPlace::AfterRange, false,
     u"31\u00b710\u00b72010 4#0000 \u00bb"},
};

TEST(ChartMarkerTest, TheChosenDayWithTheValueShown) {
  ScopedLocaleSettings settings(OddSettings());
  for (const MarkerCase& c : kMarkerCases) {
    ChartInput input = Input(kFour);
    input.Chosen = ChosenDay{kBaseDay + c.day, Currency{std::llround(c.value * 10000)}};
    const ChartModel model(std::move(input));
    const ChartPicture& p = model.Picture();
    ASSERT_TRUE(p.Marker) << c.why;
    const DayMarker& m = *p.Marker;
    EXPECT_EQ(m.Place, c.place) << c.why;
    EXPECT_EQ(m.Label.Text, c.text) << c.why;
    EXPECT_EQ(m.Dot.has_value(), c.dot) << c.why;
    EXPECT_TRUE(Inside(m.Label.Box, p.Plot)) << c.why;
    if (c.place == MarkerPlace::Inside) {
      EXPECT_DOUBLE_EQ(DayOfX(p, m.X), std::floor(c.day)) << c.why;
    }
    if (m.Dot) {
      EXPECT_DOUBLE_EQ(m.Dot->X, m.X) << c.why;
      EXPECT_NEAR(AmountOfY(p, m.Dot->Y), c.value, 1e-9) << c.why;
    }
    // The label stands beside the line, not across it.
    if (c.place == MarkerPlace::Inside) {
      EXPECT_TRUE(m.Label.Box.Left > m.X || m.Label.Box.Right() < m.X) << c.why;
    }
  }
}

TEST(ChartMarkerTest, NoDateMarksNothing) {
  for (const double day : {kNullDate, std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::infinity(), 1e300}) {
    ChartInput input = Input(kFour);
    input.Chosen = ChosenDay{day, {}};
    EXPECT_FALSE(ChartModel(std::move(input)).Picture().Marker) << day;
  }
}

TEST(ChartMarkerTest, AZoomPutsTheDayOutsideOrInside) {
  ChartInput input = Input(kFour);
  input.Chosen = ChosenDay{kBaseDay + 2, {20000}};
  input.Visible = DateRange{kBaseDay + 4, kBaseDay + 8};
  EXPECT_EQ(ChartModel(input).Picture().Marker->Place, MarkerPlace::BeforeRange);
  input.Visible = DateRange{kBaseDay, kBaseDay + 1};
  EXPECT_EQ(ChartModel(input).Picture().Marker->Place, MarkerPlace::AfterRange);
  input.Visible = DateRange{kBaseDay + 2, kBaseDay + 2};
  EXPECT_EQ(ChartModel(input).Picture().Marker->Place, MarkerPlace::Inside);
}

struct NearestCase {
  const char* why;
  double day, amount;  // the pointer, in the chart's terms
  std::size_t entry;   // index in the table as sent
};

// Sent newest first, with one date twice: indexes 0: d8:4, 1: d5:3, 2: d2:5, 3: d2:2, 4: d0:1.
const std::vector<DayValue> kSent = {{8, 4}, {5, 3}, {2, 5}, {2, 2}, {0, 1}};

const NearestCase kNearestCases[] = {
    {"on the line of the first entry", 1, 1, 4},
    {"on the line of the later of two equal dates", 3.5, 2, 3},
    {"on the riser of the earlier one: its own point", 2, 5, 2},
    {"just left of a riser, level with the next value", 4.9, 3, 1},
    {"the last entry's day", 8.5, 4, 0},
    {"far above the plot: the highest step, though not under it", 8.5, 1000, 2},
    {"far left of the plot: the first step", -100, 1, 4},
};

TEST(ChartNearestTest, TheEntryWhoseStepIsNearest) {
  ScopedLocaleSettings settings(OddSettings());
  const ChartModel model(Input(kSent));
  const ChartPicture& p = model.Picture();
  for (const NearestCase& c : kNearestCases) {
    const std::optional<PointReadout> readout =
        model.NearestPoint({XOfDay(p, c.day), YOfAmount(p, c.amount)});
    ASSERT_TRUE(readout) << c.why;
    EXPECT_EQ(readout->Entry, c.entry) << c.why;
    const ChartEntry sent = Entries(kSent)[c.entry];
    EXPECT_EQ(readout->Date, sent.Date) << c.why;
    EXPECT_EQ(readout->Value, sent.Value) << c.why;
    EXPECT_EQ(readout->Text, EntryText(sent.Date, sent.Value)) << c.why;
  }
  EXPECT_EQ(model.NearestPoint({XOfDay(p, 1), YOfAmount(p, 1)})->Text,
            u"01\u00b710\u00b72010 1#0000");
  EXPECT_FALSE(model.NearestPoint({std::numeric_limits<double>::quiet_NaN(), 0}));
}

TEST(ChartNearestTest, OnlyTheStepsShownAreFound) {
  ChartInput input = Input(kSent);
  input.Visible = DateRange{kBaseDay + 3, kBaseDay + 6};
  const ChartModel model(std::move(input));
  const ChartPicture& p = model.Picture();
  // The value in force at the range's start reads from where the line starts.
  const std::optional<PointReadout> start = model.NearestPoint({p.Plot.Left, YOfAmount(p, 2)});
  ASSERT_TRUE(start);
  EXPECT_EQ(start->Entry, 3u);
  EXPECT_DOUBLE_EQ(start->At.X, p.Plot.Left);
  // The last entry lies after the range: a pointer at the right end finds the entry before it.
  EXPECT_EQ(model.NearestPoint({p.Plot.Right(), YOfAmount(p, 4)})->Entry, 1u);
}

// 7,000 daily entries as 27 years of exchange rates, with a few sent out of order.
std::vector<DayValue> DailyRates() {
  std::vector<DayValue> table;
  for (int i = 0; i < 7000; ++i)
    table.push_back({static_cast<double>(i), 0.03 + 0.02 * std::sin(i / 300.0)});
  std::swap(table[100], table[101]);
  std::swap(table[5000], table[4000]);
  return table;
}

TEST(ChartLayoutTest, SevenThousandDailyEntries) {
  ScopedLocaleSettings settings(OddSettings());
  ChartInput input = Input(DailyRates());
  input.Chosen = ChosenDay{kBaseDay + 3000, {300}};
  const ChartModel model(std::move(input));
  const ChartPicture& p = model.Picture();
  EXPECT_EQ(p.DateTickStep.Unit, DateUnit::Year);
  EXPECT_LE(p.Steps.size(), 2u * 7000 + 1);
  for (std::size_t i = 1; i < p.Steps.size(); ++i)
    ASSERT_LE(p.Steps[i - 1].X, p.Steps[i].X) << i;
  EXPECT_EQ(p.ValueDecimals, 3);
  // Every day of the plot reads back the entry of that day.
  for (int day = 0; day < 7000; day += 97) {
    const std::optional<PointReadout> readout = model.NearestPoint(
        {XOfDay(p, day + 0.5), YOfAmount(p, 0.03 + 0.02 * std::sin(day / 300.0))});
    ASSERT_TRUE(readout);
    EXPECT_EQ(readout->Date, kBaseDay + day);
  }
}

struct SizeCase {
  double width, height;
};

TEST(ChartLayoutTest, EveryLabelInsideTheCanvasAndApart) {
  ScopedLocaleSettings settings(OddSettings());
  const std::vector<std::vector<DayValue>> tables = {
      DailyRates(), {{0, 7}}, {{0, -1234.5}, {40000, 98765.4321}}, {{0, 0}, {1, 0}}};
  for (const SizeCase size : {SizeCase{320, 200}, SizeCase{800, 450}, SizeCase{1920, 1080}}) {
    for (const std::vector<DayValue>& table : tables) {
      ChartInput input = Input(table, size.width, size.height);
      input.Title = u"Consumer price index, United States";
      input.Chosen = ChosenDay{kBaseDay + 1, {10000}};
      const ChartModel model(std::move(input));
      const ChartPicture& p = model.Picture();
      const ChartRect canvas{0, 0, p.Width, p.Height};
      std::vector<ChartRect> boxes;
      for (const ChartTick& tick : p.ValueTicks)
        boxes.push_back(tick.Label.Box);
      for (const ChartTick& tick : p.DateTicks)
        boxes.push_back(tick.Label.Box);
      boxes.push_back(p.Title->Box);
      for (std::size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_TRUE(Inside(boxes[i], canvas)) << size.width << " " << table.size() << " " << i;
        for (std::size_t j = 0; j < i; ++j)
          EXPECT_FALSE(Overlap(boxes[i], boxes[j])) << size.width << " " << table.size();
      }
      EXPECT_TRUE(Inside(p.Marker->Label.Box, p.Plot));
      EXPECT_GE(p.ValueTicks.size(), 2u);
      EXPECT_GE(p.DateTicks.size(), 1u) << size.width << " " << table.size();
      for (const ChartPoint& point : p.Steps)
        EXPECT_TRUE(Inside({point.X, point.Y, 0, 0}, p.Plot, 1e-9));
    }
  }
}

}  // namespace
}  // namespace quorvane::chart
