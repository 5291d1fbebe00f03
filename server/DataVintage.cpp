#include "DataVintage.h"

#include "Utf.h"

namespace quorvane::server {

namespace {

template <typename Rows>
void SetSpan(std::size_t& count, int& first, int& last, const Rows& rows) {
  count = rows.size();
  if (!rows.empty()) {
    first = rows.front().Day;
    last = rows.back().Day;
  }
}

}  // namespace

DataVintage VintageOf(const ServerData& data) {
  DataVintage vintage;
  for (const Country& country : data.Countries) {
    const std::string folder = "series/" + country.Code + "/";
    auto add = [&](SeriesKind kind, const std::string& file, const auto& rows) {
      SeriesVintage entry{country.Name, kind, folder + file};
      SetSpan(entry.Count, entry.FirstDay, entry.LastDay, rows);
      vintage.Series.push_back(std::move(entry));
    };
    if (country.MinimumWages)
      add(SeriesKind::MinimumWage, "min_wage.csv", *country.MinimumWages);
    if (country.PriceIndex)
      add(SeriesKind::PriceIndex, "cpi.csv", *country.PriceIndex);
    if (country.FundsRate)
      add(SeriesKind::FundsRate, "funds_rate.csv", *country.FundsRate);
  }
  for (const RateTable& table : data.RateTables) {
    for (std::size_t c = 0; c < table.Codes.size(); ++c) {
      RateColumnVintage entry{table.Base, table.Codes[c], table.File};
      SetSpan(entry.Count, entry.FirstDay, entry.LastDay, table.Columns[c]);
      vintage.RateColumns.push_back(std::move(entry));
    }
  }
  return vintage;
}

const DataVintage& BuiltInDataVintage() {
  static const DataVintage vintage = [] {
    DataVintage result = VintageOf(LoadServerData(EmbeddedFiles()));
    result.CatalogueSource = CatalogueSourceText();
    return result;
  }();
  return vintage;
}

std::u16string CatalogueSourceText() {
  return u"Unicode CLDR " + FromUtf8(kCatalogueCldrVersion) + u" via ICU " +
         FromUtf8(kCatalogueIcuVersion);
}

}  // namespace quorvane::server
