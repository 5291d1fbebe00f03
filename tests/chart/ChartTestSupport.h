#pragma once
// What the chart tests share: settings with odd separators, tables written in days from a base
// day, and the picture's pixels read back as days and amounts.

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "ChartModel.h"
#include "ChartSvg.h"
#include "LocaleSettings.h"

namespace quorvane::chart::testing {

// Odd separators, so that a label made without the settings shows at once.
inline LocaleSettings OddSettings() {
  LocaleSettings s;
  s.ShortDateFormat = u"dd/MM/yyyy";
  s.DateSeparator = u'\u00b7';
  s.DecimalSeparator = u'#';
  s.ThousandSeparator = u'_';
  return s;
}

// Day 0 of the tables below: 2010-10-01.
inline const TDate kBaseDay = EncodeDay(2010, 10, 1);

struct DayValue {
  double Day;  // days after kBaseDay
  double Amount;
};

inline std::vector<ChartEntry> Entries(const std::vector<DayValue>& table) {
  std::vector<ChartEntry> entries;
  for (const DayValue& e : table)
    entries.push_back({kBaseDay + e.Day, Currency{std::llround(e.Amount * 10000)}});
  return entries;
}

inline ChartInput Input(const std::vector<DayValue>& table, double width = 800,
                        double height = 450) {
  ChartInput input;
  input.Entries = Entries(table);
  input.Width = width;
  input.Height = height;
  input.Measure = SvgTextMeasure();
  return input;
}

// The day (after kBaseDay) at a picture's x, and the amount at its y.
inline double DayOfX(const ChartPicture& p, double x) {
  const double span = p.Shown.Last + 1 - p.Shown.First;
  return p.Shown.First - kBaseDay + (x - p.Plot.Left) / p.Plot.Width * span;
}
inline double AmountOfY(const ChartPicture& p, double y) {
  return p.LowValue + (p.Plot.Bottom() - y) / p.Plot.Height * (p.HighValue - p.LowValue);
}
inline double XOfDay(const ChartPicture& p, double day) {
  const double span = p.Shown.Last + 1 - p.Shown.First;
  return p.Plot.Left + (kBaseDay + day - p.Shown.First) / span * p.Plot.Width;
}
inline double YOfAmount(const ChartPicture& p, double amount) {
  return p.Plot.Bottom() - (amount - p.LowValue) / (p.HighValue - p.LowValue) * p.Plot.Height;
}

// The steps as (day, amount) corners, rounded to a millionth of a day and a ten-thousandth.
inline std::vector<std::pair<double, double>> StepCorners(const ChartPicture& p) {
  std::vector<std::pair<double, double>> corners;
  for (const ChartPoint& point : p.Steps)
    corners.emplace_back(std::round(DayOfX(p, point.X) * 1e6) / 1e6,
                         std::round(AmountOfY(p, point.Y) * 1e4) / 1e4);
  return corners;
}

inline bool Inside(const ChartRect& inner, const ChartRect& outer, double slack = 1e-6) {
  return inner.Left >= outer.Left - slack && inner.Top >= outer.Top - slack &&
         inner.Right() <= outer.Right() + slack && inner.Bottom() <= outer.Bottom() + slack;
}

inline bool Overlap(const ChartRect& a, const ChartRect& b) {
  return a.Left < b.Right() && b.Left < a.Right() && a.Top < b.Bottom() && b.Top < a.Bottom();
}

}  // namespace quorvane::chart::testing
