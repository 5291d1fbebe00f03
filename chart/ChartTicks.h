#pragma once
// The ticks of the two axes: round values (1, 2 or 5 times a power of ten) and calendar dates
// (days, months, years, decades and beyond), each chosen for the room the plot gives them, with
// their labels in the locale settings.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "TextToValue.h"

namespace quorvane::chart {

// How a renderer's font measures a text: its width in pixels, and the height of a line.
struct TextMeasure {
  std::function<double(std::u16string_view)> Width;
  double Height = 13;
};

// A value axis from Low to High (amounts, not counts of ten-thousandths), with a tick at every
// step. The step is Mantissa (1, 2 or 5) times 10^Exponent counts, so Exponent 4 is one whole
// unit and Exponent 0 the smallest money step, 0.0001.
struct ValueTick {
  double Value;
  std::u16string Label;
};
struct ValueAxis {
  double Low = 0, High = 1;
  int Mantissa = 1, Exponent = 4;
  int Decimals = 0;
  std::vector<ValueTick> Ticks;
};

// The axis for values from lowCount to highCount (counts of ten-thousandths), with at most
// maxIntervals steps between its ends where a round step allows it. Equal ends get a range around
// them. Labels carry the locale's decimal separator and as many decimals as the step needs.
ValueAxis ChooseValueAxis(std::int64_t lowCount, std::int64_t highCount, int maxIntervals);

enum class DateUnit { Day, Month, Year };
struct DateStep {
  DateUnit Unit = DateUnit::Day;
  int Count = 1;
  friend bool operator==(const DateStep&, const DateStep&) = default;
};

// Where the date axis lies: days from Start to End (day numbers, End the day after the last one
// shown) across the plot's pixels from PlotLeft, with labels kept between LabelsLeft and
// LabelsRight.
struct DateAxisRoom {
  double Start = 0, End = 1;
  double PlotLeft = 0, PlotWidth = 1;
  double LabelsLeft = 0, LabelsRight = 1;
  double X(double day) const { return PlotLeft + (day - Start) / (End - Start) * PlotWidth; }
};

struct DateTick {
  TDate Day;
  double X;
  std::u16string Label;
  double LabelLeft, LabelWidth;
};
struct DateAxis {
  DateStep Step;
  std::vector<DateTick> Ticks;
};

// The finest step of the ladder (1, 2, 5, 10, 15 days; 1, 2, 3, 6 months; 1, 2, 5, 10, 20, 50...
// years) whose labels, centred under their ticks and moved inside their room, stand apart by at
// least the gap. Days and months are labelled by the short date pattern, years by the year alone.
DateAxis ChooseDateAxis(const DateAxisRoom& room, const TextMeasure& measure, double gap);

// The days of one step's ticks from start to end (both included); nothing when there would be
// more than `limit` of them.
std::vector<TDate> DateTickDays(DateStep step, double start, double end, std::size_t limit);

// A label's width by the measure, never negative, NaN or beyond a million pixels.
double LabelWidth(const TextMeasure& measure, std::u16string_view text);

}  // namespace quorvane::chart
