#include "ChartTicks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "Digits.h"
#include "LocaleSettings.h"
#include "ValueToText.h"

namespace quorvane::chart {

namespace {

constexpr std::int64_t kMaxCount = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMinCount = std::numeric_limits<std::int64_t>::min();

// b > 0 in both.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}
std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && a > 0) ? q + 1 : q;
}

std::int64_t SaturatedAdd(std::int64_t a, std::int64_t b) {
  if (b > 0 && a > kMaxCount - b)
    return kMaxCount;
  if (b < 0 && a < kMinCount - b)
    return kMinCount;
  return a + b;
}

std::uint64_t Magnitude(std::int64_t value) {
  return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

// k steps of mantissa * 10^exponent counts, written exactly: no floating point between the tick
// and its text, so 0.3 never comes out as 0.30000000000000004.
std::u16string ValueLabel(std::int64_t k, int mantissa, int exponent, char16_t decimalSeparator) {
  const std::uint64_t digitsValue = Magnitude(k) * static_cast<std::uint64_t>(mantissa);
  std::string digits = AsciiDecimal(digitsValue);
  std::u16string text;
  if (k < 0)
    text += u'-';
  if (exponent >= 4) {
    if (digitsValue != 0)
      digits.append(static_cast<std::size_t>(exponent - 4), '0');
    text.append(digits.begin(), digits.end());
    return text;
  }
  const std::size_t decimals = static_cast<std::size_t>(4 - exponent);
  if (digits.size() <= decimals)
    digits.insert(0, decimals + 1 - digits.size(), '0');
  const std::size_t point = digits.size() - decimals;
  text.append(digits.begin(), digits.begin() + static_cast<std::ptrdiff_t>(point));
  text += decimalSeparator;
  text.append(digits.begin() + static_cast<std::ptrdiff_t>(point), digits.end());
  return text;
}

constexpr std::array<DateStep, 21> kDateLadder = {{
    {DateUnit::Day, 1},     {DateUnit::Day, 2},    {DateUnit::Day, 5},     {DateUnit::Day, 10},
    {DateUnit::Day, 15},    {DateUnit::Month, 1},  {DateUnit::Month, 2},   {DateUnit::Month, 3},
    {DateUnit::Month, 6},   {DateUnit::Year, 1},   {DateUnit::Year, 2},    {DateUnit::Year, 5},
    {DateUnit::Year, 10},   {DateUnit::Year, 20},  {DateUnit::Year, 50},   {DateUnit::Year, 100},
    {DateUnit::Year, 200},  {DateUnit::Year, 500}, {DateUnit::Year, 1000}, {DateUnit::Year, 2000},
    {DateUnit::Year, 5000},
}};

double ApproximateDays(DateStep step) {
  switch (step.Unit) {
    case DateUnit::Day:
      return step.Count;
    case DateUnit::Month:
      return 30.44 * step.Count;
    case DateUnit::Year:
      break;
  }
  return 365.25 * step.Count;
}

const double kFirstCalendarDay = EncodeDay(1, 1, 1);
const double kLastCalendarDay = EncodeDay(9999, 12, 31);

int DaysInMonth(int year, int month) {
  return static_cast<int>(EncodeDay(year, month + 1, 1) - EncodeDay(year, month, 1));
}

std::u16string DateLabel(DateStep step, TDate day) {
  if (step.Unit == DateUnit::Year)
    return DecimalText(DecodeDay(day).Year);
  return ShortDateText(day);
}

}  // namespace

double LabelWidth(const TextMeasure& measure, std::u16string_view text) {
  const double width = measure.Width ? measure.Width(text) : 0.6 * measure.Height * text.size();
  if (!(width > 0))  // NaN too
    return 0;
  return std::min(width, 1e6);
}

ValueAxis ChooseValueAxis(std::int64_t lowCount, std::int64_t highCount, int maxIntervals) {
  if (lowCount > highCount)
    std::swap(lowCount, highCount);
  if (lowCount == highCount) {
    // A tenth of the value each way (a whole unit around zero) keeps a flat line in the middle
    // with round ticks about it.
    const std::int64_t value = lowCount;
    const std::int64_t spread =
        value == 0 ? 10000
                   : std::max<std::int64_t>(static_cast<std::int64_t>(Magnitude(value / 10)), 1);
    lowCount = SaturatedAdd(value, -spread);
    highCount = SaturatedAdd(value, spread);
  }
  maxIntervals = std::max(maxIntervals, 1);

  ValueAxis axis;
  std::int64_t lowK = 0, highK = 0, step = 0;
  auto fits = [&](int mantissa, int exponent, std::int64_t power) {
    step = mantissa * power;
    lowK = FloorDiv(lowCount, step);
    highK = CeilDiv(highCount, step);
    axis.Mantissa = mantissa;
    axis.Exponent = exponent;
    // The difference of two quotients of 64-bit values fits 64 unsigned bits.
    const std::uint64_t intervals =
        static_cast<std::uint64_t>(highK) - static_cast<std::uint64_t>(lowK);
    return intervals <= static_cast<std::uint64_t>(maxIntervals);
  };
  [&] {
    std::int64_t power = 1;  // 10^exponent; 5 * 10^18 is the largest step that 64 bits hold
    for (int exponent = 0;; ++exponent, power *= 10) {
      for (const int mantissa : {1, 2, 5}) {
        if (fits(mantissa, exponent, power) || (exponent == 18 && mantissa == 5))
          return;
      }
    }
  }();
  // Beyond every step the ladder holds (a plot too short for even four intervals), the largest
  // step stands.
  axis.Decimals = std::max(0, 4 - axis.Exponent);
  // One rounding from the exact count (below 2^53) to the amount, as a label's text reads.
  auto amount = [step](std::int64_t k) {
    return static_cast<double>(k) * static_cast<double>(step) / 10000.0;
  };
  axis.Low = amount(lowK);
  axis.High = amount(highK);
  const char16_t separator = CurrentLocaleSettings().DecimalSeparator;
  for (std::int64_t k = lowK;; ++k) {
    axis.Ticks.push_back({amount(k), ValueLabel(k, axis.Mantissa, axis.Exponent, separator)});
    if (k == highK)
      break;
  }
  return axis;
}

std::vector<TDate> DateTickDays(DateStep step, double start, double end, std::size_t limit) {
  std::vector<TDate> days;
  const double first = std::max(std::ceil(start), kFirstCalendarDay);
  const double last = std::min(std::floor(end), kLastCalendarDay);
  if (!(first <= last) || step.Count < 1)
    return days;
  const CalendarDay from = DecodeDay(first);
  const CalendarDay to = DecodeDay(last);
  auto add = [&](TDate day) {
    if (day >= first && day <= last)
      days.push_back(day);
    return days.size() <= limit;
  };

  switch (step.Unit) {
    case DateUnit::Day: {
      // Within each month from its first day; a tick too close to the next month's first day
      // is left out, so that no two labels crowd at a month's end.
      const int minimumGap = (2 * step.Count + 2) / 3;
      for (int month = from.Year * 12 + from.Month - 1; month <= to.Year * 12 + to.Month - 1;
           ++month) {
        const int year = month / 12, monthOfYear = month % 12 + 1;
        const int length = DaysInMonth(year, monthOfYear);
        const TDate firstOfMonth = EncodeDay(year, monthOfYear, 1);
        for (int day = 1; day <= length && length + 1 - day >= minimumGap; day += step.Count) {
          if (!add(firstOfMonth + day - 1))
            return {};
        }
      }
      break;
    }
    case DateUnit::Month: {
      int month = from.Year * 12 + from.Month - 1;
      month += (step.Count - month % 12 % step.Count) % step.Count;
      for (; month <= to.Year * 12 + to.Month - 1; month += step.Count) {
        if (!add(EncodeDay(month / 12, month % 12 + 1, 1)))
          return {};
      }
      break;
    }
    case DateUnit::Year: {
      int year = from.Year + (step.Count - from.Year % step.Count) % step.Count;
      for (; year <= to.Year; year += step.Count) {
        if (!add(EncodeDay(year, 1, 1)))
          return {};
      }
      break;
    }
  }
  return days;
}

DateAxis ChooseDateAxis(const DateAxisRoom& room, const TextMeasure& measure, double gap) {
  DateAxis axis;
  const double span = room.End - room.Start;
  if (!(span > 0) || !(room.PlotWidth > 0))
    return axis;
  // No two ticks closer than a few pixels, whatever the measure says, which also bounds their
  // number.
  const double closest = std::max(gap, 4.0);
  const std::size_t limit = static_cast<std::size_t>(room.PlotWidth / closest) + 2;
  for (const DateStep step : kDateLadder) {
    axis.Step = step;
    if (span / ApproximateDays(step) > static_cast<double>(limit))
      continue;
    const std::vector<TDate> days = DateTickDays(step, room.Start, room.End, limit);
    axis.Ticks.clear();
    double previousRight = -std::numeric_limits<double>::infinity();
    bool apart = true;
    for (const TDate day : days) {
      DateTick tick{day, room.X(day), DateLabel(step, day), 0, 0};
      tick.LabelWidth = LabelWidth(measure, tick.Label);
      tick.LabelLeft = std::clamp(tick.X - tick.LabelWidth / 2, room.LabelsLeft,
                                  std::max(room.LabelsLeft, room.LabelsRight - tick.LabelWidth));
      if (tick.LabelLeft < previousRight + gap) {
        apart = false;
        break;
      }
      previousRight = tick.LabelLeft + tick.LabelWidth;
      axis.Ticks.push_back(std::move(tick));
    }
    if (apart && !days.empty())
      return axis;
  }
  // Not even one tick of any step: nothing to label (a span shorter than one day's tick).
  axis.Ticks.clear();
  return axis;
}

}  // namespace quorvane::chart
