#include "ChartModel.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "ValueToText.h"

namespace quorvane::chart {

namespace {

const double kFirstCalendarDay = EncodeDay(1, 1, 1);
const double kLastCalendarDay = EncodeDay(9999, 12, 31);

constexpr double kPad = 6;        // between the canvas's edge and anything drawn
constexpr double kLabelGap = 3;   // between a tick mark and its label
constexpr double kMarkerGap = 4;  // between the marker's line and its label
// Value ticks stand at least this many line heights apart.
constexpr double kValueTickSpacing = 2.5;
// Date labels stand at least this many line heights apart.
constexpr double kDateLabelGap = 0.75;

double Clamped(double value, double low, double high, double fallback) {
  if (!std::isfinite(value))
    return fallback;
  return std::clamp(value, low, high);
}

bool IsCalendarDay(double date) {
  return std::isfinite(date) && date >= kFirstCalendarDay && date < kLastCalendarDay + 1;
}

// A range of whole days of the calendar, First on or before Last.
std::optional<DateRange> Sanitized(const DateRange& range) {
  if (!std::isfinite(range.First) || !std::isfinite(range.Last))
    return std::nullopt;
  double first = std::clamp(std::floor(range.First), kFirstCalendarDay, kLastCalendarDay);
  double last = std::clamp(std::floor(range.Last), kFirstCalendarDay, kLastCalendarDay);
  if (last < first)
    std::swap(first, last);
  return DateRange{first, last};
}

double Amount(Currency value) {
  return static_cast<double>(value.Count) / 10000.0;
}

}  // namespace

namespace {

template <typename Record>
std::vector<ChartEntry> EntriesOf(std::span<const Record> table, Currency Record::*value) {
  std::vector<ChartEntry> entries;
  entries.reserve(table.size());
  for (const Record& record : table)
    entries.push_back({record.Date, record.*value});
  return entries;
}

}  // namespace

std::vector<ChartEntry> ChartEntries(std::span<const DateValueRec> table) {
  return EntriesOf(table, &DateValueRec::Value);
}

std::vector<ChartEntry> ChartEntries(std::span<const MinimumWageRec> table) {
  return EntriesOf(table, &MinimumWageRec::mValue1);
}

std::u16string EntryText(TDate date, Currency value) {
  return ShortDateText(date) + u" " + FourDecimalText(value);
}

ChartModel::ChartModel(ChartInput input) {
  input.Width = Clamped(input.Width, 1, 65535, 640);
  input.Height = Clamped(input.Height, 1, 65535, 400);
  input.Measure.Height = Clamped(input.Measure.Height, 1, 1000, 13);
  sorted_.reserve(input.Entries.size());
  for (std::size_t i = 0; i < input.Entries.size(); ++i) {
    const ChartEntry& entry = input.Entries[i];
    if (IsCalendarDay(entry.Date))
      sorted_.push_back({entry.Date, entry.Value, i});
    else
      ++picture_.LeftOut;
  }
  std::stable_sort(sorted_.begin(), sorted_.end(),
                   [](const Sorted& a, const Sorted& b) { return a.Date < b.Date; });
  Layout(input);
}

void ChartModel::Layout(const ChartInput& input) {
  ChartPicture& p = picture_;
  const TextMeasure& measure = input.Measure;
  const double lineHeight = measure.Height;
  p.Width = input.Width;
  p.Height = input.Height;

  double top = kPad + lineHeight / 2;  // room for the half of the top value label above the plot
  if (!input.Title.empty()) {
    p.Title = ChartLabel{input.Title, {kPad, kPad, LabelWidth(measure, input.Title), lineHeight}};
    top = kPad + lineHeight + kPad + lineHeight / 2;
  }
  const double bottom = ChartStyle::kTickLength + kLabelGap + lineHeight + kPad;
  const double plotHeight = std::max(1.0, p.Height - top - bottom);

  if (sorted_.empty()) {
    p.Plot = {kPad, top, std::max(1.0, p.Width - 2 * kPad), plotHeight};
    p.Notice = CentredInPlot(u"No entries", measure);
    return;
  }

  const std::optional<DateRange> zoom =
      input.Visible ? Sanitized(*input.Visible) : std::optional<DateRange>();
  p.Shown = zoom.value_or(*DataRange());
  start_ = p.Shown.First;
  end_ = p.Shown.Last + 1;

  // The entries drawn: the one in force at the range's start (the last dated on or before it)
  // and every one dated before the range's end.
  auto from = std::upper_bound(sorted_.begin(), sorted_.end(), start_,
                               [](double day, const Sorted& entry) { return day < entry.Date; });
  if (from != sorted_.begin())
    --from;
  const auto to = std::lower_bound(
      from, sorted_.end(), end_, [](const Sorted& entry, double day) { return entry.Date < day; });
  // A range before the first entry shows no steps, on the whole table's value axis.
  const bool anyShown = from < to;
  PlaceValueAxis(anyShown ? from : sorted_.begin(), anyShown ? to : sorted_.end(), top, plotHeight,
                 measure);
  PlaceDateAxis(measure);
  PlaceSteps(from, to);
  if (!anyShown)
    p.Notice = CentredInPlot(u"No entries in these days", measure);
  if (input.Chosen && IsCalendarDay(input.Chosen->Day))
    PlaceMarker(*input.Chosen, measure);
}

// The value axis for the entries' values, and with its widest label the plot's left edge.
void ChartModel::PlaceValueAxis(SortedIterator from, SortedIterator to, double top,
                                double plotHeight, const TextMeasure& measure) {
  ChartPicture& p = picture_;
  std::int64_t low = from->Value.Count, high = low;
  for (auto entry = from; entry != to; ++entry) {
    low = std::min(low, entry->Value.Count);
    high = std::max(high, entry->Value.Count);
  }
  const double lineHeight = measure.Height;
  const int maxIntervals =
      static_cast<int>(std::clamp(plotHeight / (kValueTickSpacing * lineHeight), 1.0, 50.0));
  ValueAxis values = ChooseValueAxis(low, high, maxIntervals);
  double widestLabel = 0;
  for (const ValueTick& tick : values.Ticks)
    widestLabel = std::max(widestLabel, LabelWidth(measure, tick.Label));
  const double left = kPad + widestLabel + kLabelGap + ChartStyle::kTickLength;
  p.Plot = {left, top, std::max(1.0, p.Width - left - kPad), plotHeight};
  p.LowValue = values.Low;
  p.HighValue = values.High;
  p.ValueDecimals = values.Decimals;
  for (ValueTick& tick : values.Ticks) {
    const double width = LabelWidth(measure, tick.Label);
    const double at = YOfAmount(tick.Value);
    p.ValueTicks.push_back({at,
                            {std::move(tick.Label),
                             {p.Plot.Left - ChartStyle::kTickLength - kLabelGap - width,
                              at - lineHeight / 2, width, lineHeight}}});
  }
}

void ChartModel::PlaceDateAxis(const TextMeasure& measure) {
  ChartPicture& p = picture_;
  const DateAxisRoom room{start_, end_, p.Plot.Left, p.Plot.Width, kPad, p.Width - kPad};
  DateAxis dates = ChooseDateAxis(room, measure, kDateLabelGap * measure.Height);
  p.DateTickStep = dates.Step;
  const double labelTop = p.Plot.Bottom() + ChartStyle::kTickLength + kLabelGap;
  for (DateTick& tick : dates.Ticks) {
    p.DateTicks.push_back(
        {tick.X,
         {std::move(tick.Label), {tick.LabelLeft, labelTop, tick.LabelWidth, measure.Height}}});
  }
}

// Each entry's value from its day (or the range's start) to the next entry's day (or the range's
// end). A value equal to the one before continues the same horizontal piece.
void ChartModel::PlaceSteps(SortedIterator from, SortedIterator to) {
  std::vector<ChartPoint>& steps = picture_.Steps;
  auto add = [&steps](ChartPoint point) {
    if (steps.empty() || !(steps.back() == point))
      steps.push_back(point);
  };
  for (auto entry = from; entry < to; ++entry) {
    const double x0 = XOf(std::max(entry->Date, start_));
    const double x1 = entry + 1 < to ? XOf((entry + 1)->Date) : XOf(end_);
    const double y = YOf(entry->Value);
    segments_.push_back({x0, x1, y, static_cast<std::size_t>(entry - sorted_.begin())});
    if (steps.empty()) {
      add({x0, y});
    } else if (steps.back().Y != y) {
      add({x0, steps.back().Y});
      add({x0, y});
    }
  }
  if (!steps.empty())
    steps.push_back({XOf(end_), steps.back().Y});
}

void ChartModel::PlaceMarker(const ChosenDay& chosen, const TextMeasure& measure) {
  ChartPicture& p = picture_;
  const TDate day = WholeDayCut(chosen.Day);
  DayMarker marker;
  std::u16string text = EntryText(day, chosen.Value);
  double labelLeft;
  if (day < start_) {
    marker.Place = MarkerPlace::BeforeRange;
    text = u"\u00AB " + text;
    labelLeft = p.Plot.Left + kMarkerGap;
  } else if (day >= end_) {
    marker.Place = MarkerPlace::AfterRange;
    text += u" \u00BB";
    labelLeft = p.Plot.Right() - kMarkerGap - LabelWidth(measure, text);
  } else {
    marker.X = XOf(day);
    const double amount = Amount(chosen.Value);
    if (amount >= p.LowValue && amount <= p.HighValue)
      marker.Dot = ChartPoint{marker.X, YOf(chosen.Value)};
    labelLeft = marker.X + kMarkerGap;
    if (labelLeft + LabelWidth(measure, text) > p.Plot.Right() - kMarkerGap)
      labelLeft = marker.X - kMarkerGap - LabelWidth(measure, text);  // left of the line
  }
  const double width = LabelWidth(measure, text);
  labelLeft = std::clamp(labelLeft, kPad, std::max(kPad, p.Width - kPad - width));
  marker.Label = ChartLabel{std::move(text), {labelLeft, p.Plot.Top + 2, width, measure.Height}};
  p.Marker = std::move(marker);
}

ChartLabel ChartModel::CentredInPlot(std::u16string text, const TextMeasure& measure) const {
  const ChartRect& plot = picture_.Plot;
  const double width = LabelWidth(measure, text);
  return ChartLabel{std::move(text),
                    {plot.Left + (plot.Width - width) / 2,
                     plot.Top + (plot.Height - measure.Height) / 2, width, measure.Height}};
}

double ChartModel::XOf(double day) const {
  const ChartRect& plot = picture_.Plot;
  return plot.Left + (day - start_) / (end_ - start_) * plot.Width;
}

double ChartModel::YOf(Currency value) const {
  return YOfAmount(Amount(value));
}

double ChartModel::YOfAmount(double amount) const {
  const ChartPicture& p = picture_;
  const double span = p.HighValue - p.LowValue;
  // Values too large for a double to tell the axis's ends apart sit in the middle.
  if (!(span > 0))
    return p.Plot.Top + p.Plot.Height / 2;
  return p.Plot.Bottom() - (amount - p.LowValue) / span * p.Plot.Height;
}

std::optional<DateRange> ChartModel::DataRange() const {
  if (sorted_.empty())
    return std::nullopt;
  return DateRange{std::floor(sorted_.front().Date), std::floor(sorted_.back().Date)};
}

std::optional<TDate> ChartModel::DayAt(double x) const {
  if (sorted_.empty() || !std::isfinite(x))
    return std::nullopt;
  const ChartRect& plot = picture_.Plot;
  const double day = std::floor(start_ + (x - plot.Left) / plot.Width * (end_ - start_));
  return std::clamp(day, start_, end_ - 1);
}

std::optional<DateRange> ChartModel::ZoomRange(double x1, double x2) const {
  const std::optional<TDate> a = DayAt(x1), b = DayAt(x2);
  if (!a || !b)
    return std::nullopt;
  return DateRange{std::min(*a, *b), std::max(*a, *b)};
}

std::optional<PointReadout> ChartModel::NearestPoint(ChartPoint position) const {
  if (segments_.empty() || !std::isfinite(position.X) || !std::isfinite(position.Y))
    return std::nullopt;
  const Segment* best = nullptr;
  double bestDistance = std::numeric_limits<double>::infinity();
  for (const Segment& segment : segments_) {
    const double dx = std::max({0.0, segment.X0 - position.X, position.X - segment.X1});
    const double dy = position.Y - segment.Y;
    const double distance = dx * dx + dy * dy;
    if (distance <= bestDistance) {
      bestDistance = distance;
      best = &segment;
    }
  }
  const Sorted& entry = sorted_[best->Sorted];
  return PointReadout{entry.Entry,
                      entry.Date,
                      entry.Value,
                      {best->X0, best->Y},
                      EntryText(entry.Date, entry.Value)};
}

}  // namespace quorvane::chart
