#pragma once
// The server's data: the dated series of each country, the daily exchange-rate tables and the
// currency catalogue, read from the built-in files or from a data directory of the same layout.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "Figure.h"

namespace quorvane::server {

struct Observation {
  std::int32_t Day = 0;  // days since 1899-12-30
  Figure Value;
};
using Series = std::vector<Observation>;  // ascending, unique days

struct MinimumWage {
  int Day;
  Figure Statutory;        // in the unit the law sets (per hour or per month)
  Figure MonthlyFullTime;  // the monthly full-time equivalent
};

struct Country {
  std::string Code;     // the folder name under series/
  std::u16string Name;  // with spaces, as the window shows it
  std::optional<std::vector<MinimumWage>> MinimumWages;
  std::optional<Series> PriceIndex;
  std::optional<Series> FundsRate;
};

// Units of each column's currency per one unit of the base currency, one series per column.
struct RateTable {
  std::string File;  // e.g. "rates/usd_daily.csv"
  std::u16string Base;
  std::vector<std::u16string> Codes;
  std::vector<Series> Columns;
  int ColumnOf(std::u16string_view code) const;  // -1 when the table has no such column
};

inline constexpr std::size_t kCatalogueFieldCount = 8;
extern const std::array<std::u16string_view, kCatalogueFieldCount> kCatalogueFields;
using CatalogueRow = std::array<std::u16string, kCatalogueFieldCount>;

struct ServerData {
  std::vector<Country> Countries;     // in the order of series/countries.csv
  std::vector<RateTable> RateTables;  // US dollar table first
  std::vector<CatalogueRow> Catalogue;
};

// A data file that is missing or does not read; the message names the file and the line.
class DataError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Gives the text of a data file by its path relative to the data directory, or nothing.
using FileSource = std::function<std::optional<std::string>(std::string_view path)>;

// Reads every file of the layout; raises DataError for a file that does not read.
ServerData LoadServerData(const FileSource& source);
FileSource EmbeddedFiles();
// The files under a directory. A file that is not there gives nothing; one that is there but does
// not read (a dangling link, a folder) and a path that would lead out raise DataError.
FileSource DirectoryFiles(std::string directory);
// The data of a directory; raises DataError when it is not a directory or a file does not read.
ServerData LoadDirectoryData(const std::string& directory);

// The environment variable that names an operator's data directory.
inline constexpr const char* kDataDirectoryVariable = "QUORVANE_DATA_DIR";

// The data the server answers from: read once, from the directory that QUORVANE_DATA_DIR names
// when it is set and not empty, else from the built-in files. Raises DataError (every time)
// when that data does not read.
const ServerData& ReferenceData();

}  // namespace quorvane::server
