#include "SeriesNames.h"

#include <algorithm>
#include <stdexcept>

namespace quorvane::cli {

namespace {

struct NamedSeries {
  SeriesKind kind;
  const char* name;
  const char16_t* caption;
};

constexpr NamedSeries kSeries[] = {{SeriesKind::MinimumWage, "min-wage", u"Minimum wage"},
                                   {SeriesKind::PriceIndex, "cpi", u"Consumer price index"},
                                   {SeriesKind::FundsRate, "funds-rate", u"Federal funds rate"}};

const NamedSeries& Find(auto matches) {
  const auto found = std::find_if(std::begin(kSeries), std::end(kSeries), matches);
  // The option's check admits only the names above, and the exchange rates are no country's.
  if (found == std::end(kSeries))
    throw std::invalid_argument("not a series of a country");
  return *found;
}

}  // namespace

std::vector<std::string> CountrySeriesNames() {
  std::vector<std::string> names;
  for (const NamedSeries& series : kSeries)
    names.push_back(series.name);
  return names;
}

SeriesKind CountrySeriesNamed(const std::string& name) {
  return Find([&](const NamedSeries& series) { return series.name == name; }).kind;
}

std::u16string CountrySeriesCaption(SeriesKind kind) {
  return Find([&](const NamedSeries& series) { return series.kind == kind; }).caption;
}

}  // namespace quorvane::cli
