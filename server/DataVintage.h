#pragma once
// How recent the server's data are: the first and last observation of every series and every
// exchange-rate column, and the locale data release the currency catalogue was made from.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "SeriesKind.h"
#include "ServerData.h"

namespace quorvane::server {

// The release of the locale data that tools/make_catalogue read to write data/catalogue.csv.
// CMake reads these two lines too: the catalogue check runs only against this ICU.
inline constexpr std::string_view kCatalogueCldrVersion = "42";
inline constexpr std::string_view kCatalogueIcuVersion = "72.1";

// Days count from 1899-12-30, as everywhere in the server; IsoDateText writes them.
struct SeriesVintage {
  std::u16string Country;  // as the country list shows it
  SeriesKind Kind = SeriesKind::MinimumWage;
  std::string File;  // relative to the data directory, e.g. "series/EU/funds_rate.csv"
  std::size_t Count = 0;
  int FirstDay = 0, LastDay = 0;  // both 0 when Count is 0
};

struct RateColumnVintage {
  std::u16string Base, Code;  // units of Code per one Base
  std::string File;           // e.g. "rates/usd_daily.csv"
  std::size_t Count = 0;
  int FirstDay = 0, LastDay = 0;  // both 0 when Count is 0
};

struct DataVintage {
  std::vector<SeriesVintage> Series;           // by country in list order, then by kind
  std::vector<RateColumnVintage> RateColumns;  // by table, then by column
  std::u16string CatalogueSource;  // e.g. "Unicode CLDR 42 via ICU 72.1"; empty when unknown
};

// The spans of whatever data are given; the catalogue's source is not known from them.
DataVintage VintageOf(const ServerData& data);

// The data built into the program, with the catalogue's source. Read once; raises DataError when
// the built-in files do not read.
const DataVintage& BuiltInDataVintage();

// "Unicode CLDR 42 via ICU 72.1".
std::u16string CatalogueSourceText();

}  // namespace quorvane::server
