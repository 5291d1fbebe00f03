// Arbitrary tables, canvas sizes, text measures, zooms, chosen days and locale settings into the
// chart model and its SVG: every coordinate finite, the steps and the ticks in order, every
// lookup of a position answered within the table, and the SVG well-formed.
//
// The input's head picks the settings and the options; the rest is the table, 16 bytes an entry
// (a date number, any double or a day near 2010, and a count of ten-thousandths).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ChartModel.h"
#include "ChartSvg.h"
#include "FuzzInput.h"
#include "LocaleSettings.h"
#include "XmlCheck.h"

namespace {

using namespace quorvane;
using fuzzinput::Check;

const char16_t* const kPatterns[] = {u"m/d/yy",           u"dd.MM.yyyy", u"yyyy-MM-dd",
                                     u"dddd d mmmm yyyy", u"'y' dd",     u""};

double Size(FuzzedDataProvider& input) {
  return input.ConsumeBool() ? fuzzinput::ConsumeAnyDouble(input)
                             : input.ConsumeIntegralInRange<int>(0, 4000);
}

chart::TextMeasure Measure(FuzzedDataProvider& input) {
  chart::TextMeasure measure = chart::SvgTextMeasure();
  switch (input.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
      break;
    case 1: {
      const double perCharacter = fuzzinput::ConsumeAnyDouble(input);
      measure.Width = [perCharacter](std::u16string_view text) {
        return perCharacter * static_cast<double>(text.size());
      };
      break;
    }
    case 2:
      measure.Width = nullptr;  // the estimate by the line height
      break;
    case 3:
      measure.Width = [](std::u16string_view) { return 0.0; };
      break;
  }
  if (input.ConsumeBool())
    measure.Height = fuzzinput::ConsumeAnyDouble(input);
  return measure;
}

bool Finite(const chart::ChartRect& box) {
  return std::isfinite(box.Left) && std::isfinite(box.Top) && std::isfinite(box.Width) &&
         std::isfinite(box.Height);
}

void CheckPicture(const chart::ChartPicture& p) {
  Check(Finite(p.Plot) && p.Plot.Width >= 1 && p.Plot.Height >= 1);
  for (std::size_t i = 0; i < p.Steps.size(); ++i) {
    Check(std::isfinite(p.Steps[i].X) && std::isfinite(p.Steps[i].Y));
    if (i > 0)
      Check(p.Steps[i - 1].X <= p.Steps[i].X);
  }
  for (std::size_t i = 0; i < p.DateTicks.size(); ++i) {
    Check(Finite(p.DateTicks[i].Label.Box));
    if (i > 0)
      Check(p.DateTicks[i - 1].Position < p.DateTicks[i].Position);
  }
  for (std::size_t i = 0; i < p.ValueTicks.size(); ++i) {
    Check(Finite(p.ValueTicks[i].Label.Box));
    if (i > 0)
      Check(p.ValueTicks[i - 1].Position >= p.ValueTicks[i].Position);
  }
  if (p.Marker)
    Check(Finite(p.Marker->Label.Box) && std::isfinite(p.Marker->X));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  LocaleSettings settings;
  settings.ShortDateFormat = input.ConsumeBool() ? std::u16string(input.PickValueInArray(kPatterns))
                                                 : fuzzinput::ConsumeUtf16(input, 12);
  settings.DateSeparator = input.ConsumeIntegral<char16_t>();
  settings.DecimalSeparator = input.ConsumeIntegral<char16_t>();
  ScopedLocaleSettings scoped(settings);

  chart::ChartInput in;
  in.Width = Size(input);
  in.Height = Size(input);
  in.Measure = Measure(input);
  if (input.ConsumeBool()) {
    in.Visible = chart::DateRange{input.ConsumeIntegralInRange<int>(30000, 50000) + 0.0,
                                  input.ConsumeIntegralInRange<int>(30000, 50000) + 0.0};
    if (input.ConsumeBool())
      in.Visible->First = fuzzinput::ConsumeAnyDouble(input);
  }
  if (input.ConsumeBool())
    in.Chosen =
        chart::ChosenDay{input.ConsumeBool() ? fuzzinput::ConsumeAnyDouble(input)
                                             : input.ConsumeIntegralInRange<int>(30000, 50000),
                         {input.ConsumeIntegral<std::int64_t>()}};
  in.Title = fuzzinput::ConsumeUtf16(input, input.ConsumeIntegralInRange<int>(0, 40));
  const bool anyDates = input.ConsumeBool();
  while (input.remaining_bytes() >= 16 && in.Entries.size() < 4096) {
    const double date = anyDates ? fuzzinput::ConsumeAnyDouble(input)
                                 : 40000 + input.ConsumeIntegralInRange<int>(-40000, 40000);
    in.Entries.push_back({date, {input.ConsumeIntegral<std::int64_t>()}});
  }
  const std::size_t entries = in.Entries.size();

  const chart::ChartModel model(std::move(in));
  const chart::ChartPicture& picture = model.Picture();
  CheckPicture(picture);
  const std::string svg = chart::ChartSvg(picture);
  Check(quorvane::chart::testing::ReadXml(svg).Error.empty());

  for (const double x : {picture.Plot.Left, picture.Plot.Right(), -1e300, 1e300, 0.5}) {
    if (const auto readout = model.NearestPoint({x, picture.Plot.Top + picture.Plot.Height / 2}))
      Check(readout->Entry < entries);
    if (const auto day = model.DayAt(x))
      Check(*day >= picture.Shown.First && *day <= picture.Shown.Last);
    if (const auto range = model.ZoomRange(x, picture.Plot.Left))
      Check(range->First <= range->Last);
  }
  return 0;
}
