#pragma once
// What the window can draw as a chart: the series that a lookup group or the exchange-rate listing
// has just loaded, as the server sent it, with a title and, for a lookup, the day asked and the
// value the lookup showed.

#include <optional>
#include <string>
#include <vector>

#include "ChartModel.h"
#include "FormView.h"

namespace quorvane {

struct LoadedSeries {
  ControlId group = ControlId::cxGroupBox2;  // the group box whose button loaded it
  std::u16string title;
  std::vector<chart::ChartEntry> entries;
  std::optional<chart::ChosenDay> chosen;
};

// The title of a chart when nothing has been loaded yet.
inline constexpr std::u16string_view kNothingLoaded = u"No series loaded yet";

// The group boxes whose loads can be drawn: the three lookups and the exchange-rate listing.
bool IsChartGroup(ControlId group);

// The chart group that holds the control, or is it; none for a control outside them.
std::optional<ControlId> ChartGroupOf(ControlId control);

}  // namespace quorvane
