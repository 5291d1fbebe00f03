#pragma once
// The chart of one decoded series, toolkit-free: what a renderer draws, placed in pixels. The
// series is drawn as steps (a value is in force from its entry's date until the next entry's date,
// the last one until the end of the plotted range), over a date axis and a value axis whose ticks
// are chosen for the data and the plot's size, labelled in the locale settings. A renderer gives
// the canvas size and its font's measure, and draws what the picture says; nothing is decided in a
// renderer.
//
// The entries come in the order the server sent them, which may be out of order and may repeat a
// date. The chart sorts a copy by date, stably, for drawing: entries with the same date keep
// their order, so the one sent later is the one in force after that day, and the one sent first
// shows as a riser only. The tables themselves are never reordered.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ChartTicks.h"
#include "uQuorvaneFunc.h"

namespace quorvane::chart {

struct ChartEntry {
  TDate Date = 0;
  Currency Value;
};

// A table as the chart takes it, in the table's order (a minimum wage by its mValue1).
std::vector<ChartEntry> ChartEntries(std::span<const DateValueRec> table);
std::vector<ChartEntry> ChartEntries(std::span<const MinimumWageRec> table);

// Whole days from First to Last, both shown.
struct DateRange {
  TDate First = 0, Last = 0;
  friend bool operator==(const DateRange&, const DateRange&) = default;
};

// The day chosen in the window and the value its lookup showed; the chart marks them as told and
// does not look the value up itself.
struct ChosenDay {
  TDateTime Day = 0;
  Currency Value;
};

struct ChartInput {
  std::vector<ChartEntry> Entries;
  double Width = 640, Height = 400;  // the canvas, in pixels
  TextMeasure Measure;
  std::optional<DateRange> Visible;  // zoom; none shows every entry
  std::optional<ChosenDay> Chosen;   // none, or the null date, marks nothing
  std::u16string Title;
};

struct ChartPoint {
  double X = 0, Y = 0;
  friend bool operator==(const ChartPoint&, const ChartPoint&) = default;
};
struct ChartRect {
  double Left = 0, Top = 0, Width = 0, Height = 0;
  double Right() const { return Left + Width; }
  double Bottom() const { return Top + Height; }
};

// A text placed by the model: its box is the measured width and the font's line height, its top
// left corner where the text starts.
struct ChartLabel {
  std::u16string Text;
  ChartRect Box;
};

// Position is the x of a date tick, the y of a value tick. A tick is a short mark outside the
// plot's frame and a grid line across the plot.
struct ChartTick {
  double Position = 0;
  ChartLabel Label;
};

enum class MarkerPlace { Inside, BeforeRange, AfterRange };

// The chosen day: inside the range, a dashed vertical line at X across the plot, a dot at the
// value when it lies within the value axis, and the label beside the line; outside, the label
// alone, at the plot's edge on that side. The label is drawn on a box of the background colour, so
// that the series does not run through it.
struct DayMarker {
  MarkerPlace Place = MarkerPlace::Inside;
  double X = 0;
  std::optional<ChartPoint> Dot;
  ChartLabel Label;
};

// The colours (0xRRGGBB) and line widths that every renderer uses.
struct ChartStyle {
  static constexpr std::uint32_t kBackground = 0xFFFFFF;
  static constexpr std::uint32_t kFrame = 0x404040;
  static constexpr std::uint32_t kGrid = 0xE4E4E4;
  static constexpr std::uint32_t kText = 0x000000;
  static constexpr std::uint32_t kSeries = 0x1F5FA8;
  static constexpr std::uint32_t kMarker = 0xC0392B;
  static constexpr double kSeriesWidth = 1.5;
  static constexpr double kMarkerWidth = 1;
  static constexpr double kDotRadius = 3;
  static constexpr double kTickLength = 4;
};

// Drawn in this order: the background, the grid lines at the ticks across the plot, the steps,
// the frame with the tick marks outside it, the labels, the marker.
struct ChartPicture {
  double Width = 0, Height = 0;
  ChartRect Plot;  // the frame; the series, the grid and the marker's line stay inside it
  // The series as one polyline of horizontal and vertical pieces, x never decreasing.
  std::vector<ChartPoint> Steps;
  std::vector<ChartTick> DateTicks, ValueTicks;
  DateStep DateTickStep;
  int ValueDecimals = 0;
  std::optional<ChartLabel> Title;
  std::optional<DayMarker> Marker;
  std::optional<ChartLabel> Notice;    // "No entries" for an empty table
  DateRange Shown;                     // the days the date axis spans
  double LowValue = 0, HighValue = 0;  // the value axis's ends
  std::size_t LeftOut = 0;             // entries without a day of the calendar, not drawn
};

// The entry under a position: the one whose drawn step is nearest to it.
struct PointReadout {
  std::size_t Entry = 0;  // index in the table's own order
  TDate Date = 0;
  Currency Value;
  ChartPoint At;        // where its step starts, or the visible range's start
  std::u16string Text;  // the date by the short date pattern, a space, the value with 4 decimals
};

class ChartModel {
 public:
  explicit ChartModel(ChartInput input);

  const ChartPicture& Picture() const { return picture_; }

  // Every entry's days from the first to the last; none for an empty table.
  std::optional<DateRange> DataRange() const;
  // The day under an x position, within the range shown.
  std::optional<TDate> DayAt(double x) const;
  // The range between two x positions (a drag), in either order, for the next model's Visible.
  std::optional<DateRange> ZoomRange(double x1, double x2) const;
  // The entry whose step is nearest to the position; among equally near ones the later one.
  std::optional<PointReadout> NearestPoint(ChartPoint position) const;

 private:
  struct Sorted {
    TDate Date;
    Currency Value;
    std::size_t Entry;
  };
  struct Segment {
    double X0, X1, Y;
    std::size_t Sorted;
  };

  using SortedIterator = std::vector<Sorted>::const_iterator;

  void Layout(const ChartInput& input);
  void PlaceValueAxis(SortedIterator from, SortedIterator to, double top, double plotHeight,
                      const TextMeasure& measure);
  void PlaceDateAxis(const TextMeasure& measure);
  void PlaceSteps(SortedIterator from, SortedIterator to);
  void PlaceMarker(const ChosenDay& chosen, const TextMeasure& measure);
  ChartLabel CentredInPlot(std::u16string text, const TextMeasure& measure) const;
  double XOf(double day) const;
  double YOf(Currency value) const;
  double YOfAmount(double amount) const;

  std::vector<Sorted> sorted_;
  std::vector<Segment> segments_;
  double start_ = 0, end_ = 1;  // day numbers across the plot; end_ is the day after the last
  ChartPicture picture_;
};

// The text of one entry or of the chosen day: "08.10.2010 31,5678".
std::u16string EntryText(TDate date, Currency value);

}  // namespace quorvane::chart
