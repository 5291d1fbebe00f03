#include "LoadedSeries.h"

#include "FormDescription.h"

namespace quorvane {

bool IsChartGroup(ControlId group) {
  return group == ControlId::cxGroupBox2 || group == ControlId::cxGroupBox3 ||
         group == ControlId::cxGroupBox4 || group == ControlId::cxGroupBox7;
}

std::optional<ControlId> ChartGroupOf(ControlId control) {
  for (std::optional<ControlId> at = control; at; at = Describe(*at).parent)
    if (IsChartGroup(*at))
      return at;
  return std::nullopt;
}

}  // namespace quorvane
