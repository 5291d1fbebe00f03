#include "ServerData.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <memory>
#include <set>
#include <sstream>

#include "Characters.h"
#include "EmbeddedData.h"
#include "TextMatch.h"
#include "Utf.h"

namespace quorvane::server {

const std::array<std::u16string_view, kCatalogueFieldCount> kCatalogueFields = {
    u"LetterCode",        u"Currency_International", u"CurrencyShrt_International",
    u"NumericCode",       u"CountryName_National",   u"CountryName_International",
    u"Currency_National", u"CurrencyShrt_National"};

int RateTable::ColumnOf(std::u16string_view code) const {
  for (std::size_t i = 0; i < Codes.size(); ++i)
    if (Codes[i] == code)
      return static_cast<int>(i);
  return -1;
}

namespace {

// The lines of a file, without their line ends; a last empty line is dropped.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    lines.push_back(line);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return lines;
}

std::vector<std::string_view> SplitPlain(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    std::size_t comma = line.find(',');
    fields.push_back(line.substr(0, comma));
    if (comma == std::string_view::npos)
      return fields;
    line.remove_prefix(comma + 1);
  }
}

// A line of comma-separated fields, where a field in double quotes may hold commas and doubled
// quotes.
std::optional<std::vector<std::string>> SplitQuoted(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t i = 0;
  for (;;) {
    std::string field;
    if (i < line.size() && line[i] == '"') {
      ++i;
      for (;;) {
        if (i >= line.size())
          return std::nullopt;
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            field += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        field += line[i++];
      }
      if (i < line.size() && line[i] != ',')
        return std::nullopt;
    } else {
      std::size_t comma = line.find(',', i);
      std::size_t end = comma == std::string_view::npos ? line.size() : comma;
      field.assign(line.substr(i, end - i));
      i = end;
    }
    fields.push_back(std::move(field));
    if (i >= line.size())
      return fields;
    ++i;  // the comma
  }
}

[[noreturn]] void Fail(std::string_view path, std::size_t line, const std::string& what) {
  std::ostringstream message;
  message << path;
  if (line > 0)
    message << " line " << line;
  message << ": " << what;
  throw DataError(message.str());
}

int ReadDay(std::string_view path, std::size_t line, std::string_view text) {
  std::optional<int> day = ParseIsoDate(text);
  if (!day)
    Fail(path, line, Quoted(text) + " is not a date of the form YYYY-MM-DD");
  return *day;
}

// The client holds every figure as a signed 64-bit count of ten-thousandths.
constexpr std::string_view kMoneyLimitText = "922337203685477.5807";
bool WithinMoneyRange(Figure figure) {
  if (figure.Scale >= 4)
    return true;  // at most 14 whole digits
  std::uint64_t limit = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  for (int i = figure.Scale; i < 4; ++i)
    limit /= 10;
  std::uint64_t magnitude = figure.Digits < 0 ? 0 - static_cast<std::uint64_t>(figure.Digits)
                                              : static_cast<std::uint64_t>(figure.Digits);
  return magnitude <= limit;
}

Figure ReadFigure(std::string_view path, std::size_t line, std::string_view text) {
  std::optional<Figure> figure = ParseFigure(text);
  if (!figure)
    Fail(path, line, Quoted(text) + " is not a plain decimal number");
  if (!WithinMoneyRange(*figure))
    Fail(path, line,
         Quoted(text) + " is too large: the client holds figures up to " +
             std::string(kMoneyLimitText));
  return *figure;
}

void CheckHeader(std::string_view path, const std::vector<std::string_view>& lines,
                 std::string_view header) {
  if (lines.empty() || lines[0] != header)
    Fail(path, 1, "the first line must be \"" + std::string(header) + "\"");
}

// A series file: "date,value" rows in ascending order of unique dates.
std::optional<Series> ReadSeries(const FileSource& source, const std::string& path) {
  std::optional<std::string> text = source(path);
  if (!text)
    return std::nullopt;
  std::vector<std::string_view> lines = Lines(*text);
  CheckHeader(path, lines, "date,value");
  Series series;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::vector<std::string_view> fields = SplitPlain(lines[i]);
    if (fields.size() != 2)
      Fail(path, i + 1, "a row must hold a date and a value");
    Observation row{ReadDay(path, i + 1, fields[0]), ReadFigure(path, i + 1, fields[1])};
    if (!series.empty() && row.Day <= series.back().Day)
      Fail(path, i + 1, "the dates must rise from row to row");
    series.push_back(row);
  }
  return series;
}

std::optional<std::vector<MinimumWage>> ReadMinimumWages(const FileSource& source,
                                                         const std::string& folder) {
  std::string monthlyPath = folder + "/min_wage.csv", hourlyPath = folder + "/min_wage_hourly.csv";
  std::optional<Series> monthly = ReadSeries(source, monthlyPath);
  std::optional<Series> hourly = ReadSeries(source, hourlyPath);
  if (!monthly) {
    if (hourly)
      Fail(hourlyPath, 0, "comes without its monthly equivalent " + monthlyPath);
    return std::nullopt;
  }
  const Series& statutory = hourly ? *hourly : *monthly;
  if (statutory.size() != monthly->size())
    Fail(hourlyPath, 0, "must have the same dates as " + monthlyPath);
  std::vector<MinimumWage> wages;
  for (std::size_t i = 0; i < monthly->size(); ++i) {
    if (statutory[i].Day != (*monthly)[i].Day)
      Fail(hourlyPath, i + 2, "must have the same dates as " + monthlyPath);
    wages.push_back({statutory[i].Day, statutory[i].Value, (*monthly)[i].Value});
  }
  return wages;
}

std::vector<Country> ReadCountries(const FileSource& source) {
  const std::string path = "series/countries.csv";
  std::optional<std::string> text = source(path);
  if (!text)
    return {};
  std::vector<std::string_view> lines = Lines(*text);
  CheckHeader(path, lines, "code,name");
  std::vector<Country> countries;
  std::set<std::u16string> keys;  // the names without regard to case
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::vector<std::string_view> fields = SplitPlain(lines[i]);
    if (fields.size() != 2 || fields[0].empty() || fields[1].empty())
      Fail(path, i + 1, "a row must hold a folder name and a country name");
    std::u16string name = FromUtf8(fields[1]);
    for (char16_t c : name)
      if (c < 32 || c == u'_' || c == u'|')
        Fail(path, i + 1, "a country name cannot hold \"_\", \"|\" or control characters");
    // The client's list splitting would take a leading quote as quoting the name.
    if (name.front() == u'"')
      Fail(path, i + 1, "a country name cannot begin with a double quote");
    // Operations find a country by its name without regard to case: a second one of the same
    // name could never be reached.
    if (!keys.insert(FoldCase(name)).second)
      Fail(path, i + 1, "the country name " + Quoted(fields[1]) + " is listed twice");
    Country country{std::string(fields[0]), name, std::nullopt, std::nullopt, std::nullopt};
    std::string folder = "series/" + country.Code;
    country.MinimumWages = ReadMinimumWages(source, folder);
    country.PriceIndex = ReadSeries(source, folder + "/cpi.csv");
    country.FundsRate = ReadSeries(source, folder + "/funds_rate.csv");
    countries.push_back(std::move(country));
  }
  return countries;
}

std::optional<RateTable> ReadRateTable(const FileSource& source, const std::string& path,
                                       std::u16string base) {
  std::optional<std::string> text = source(path);
  if (!text)
    return std::nullopt;
  std::vector<std::string_view> lines = Lines(*text);
  if (lines.empty())
    Fail(path, 1, "the file is empty");
  std::vector<std::string_view> header = SplitPlain(lines[0]);
  if (header.size() < 2 || header[0] != "date")
    Fail(path, 1, "the first line must be \"date\" followed by currency codes");
  RateTable table{path, std::move(base), {}, {}};
  for (std::size_t c = 1; c < header.size(); ++c) {
    std::string_view code = header[c];
    if (code.size() != 3 ||
        !std::all_of(code.begin(), code.end(), [](char l) { return l >= 'A' && l <= 'Z'; }))
      Fail(path, 1, Quoted(code) + " is not a letter code");
    table.Codes.push_back(FromUtf8(header[c]));
  }
  table.Columns.resize(table.Codes.size());
  int lastDay = 0;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::vector<std::string_view> fields = SplitPlain(lines[i]);
    if (fields.size() != header.size())
      Fail(path, i + 1, "a row must hold a date and one cell per currency");
    int day = ReadDay(path, i + 1, fields[0]);
    if (i > 1 && day <= lastDay)
      Fail(path, i + 1, "the dates must rise from row to row");
    lastDay = day;
    for (std::size_t c = 1; c < fields.size(); ++c) {
      if (fields[c].empty())
        continue;
      Figure value = ReadFigure(path, i + 1, fields[c]);
      if (value.Digits <= 0)
        Fail(path, i + 1, "a rate must be above zero");
      table.Columns[c - 1].push_back({day, value});
    }
  }
  return table;
}

std::vector<CatalogueRow> ReadCatalogue(const FileSource& source) {
  const std::string path = "catalogue.csv";
  std::optional<std::string> text = source(path);
  if (!text)
    return {};
  std::vector<std::string_view> lines = Lines(*text);
  std::string header;
  for (std::u16string_view field : kCatalogueFields) {
    if (!header.empty())
      header += ',';
    header += ToUtf8(field);
  }
  CheckHeader(path, lines, header);
  std::vector<CatalogueRow> rows;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::optional<std::vector<std::string>> fields = SplitQuoted(lines[i]);
    if (!fields || fields->size() != kCatalogueFieldCount)
      Fail(path, i + 1, "a row must hold the eight fields of the header");
    CatalogueRow row;
    for (std::size_t f = 0; f < kCatalogueFieldCount; ++f) {
      row[f] = FromUtf8((*fields)[f]);
      if (row[f].empty())
        Fail(path, i + 1, "the field " + ToUtf8(kCatalogueFields[f]) + " is empty");
      // The client's list splitting drops blank entries and stops at a NUL.
      if (std::all_of(row[f].begin(), row[f].end(), [](char16_t c) { return c >= 1 && c <= 32; }))
        Fail(path, i + 1, "the field " + ToUtf8(kCatalogueFields[f]) + " is blank");
      if (row[f].find(u'\0') != std::u16string::npos)
        Fail(path, i + 1, "the field " + ToUtf8(kCatalogueFields[f]) + " holds a NUL character");
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace

ServerData LoadServerData(const FileSource& source) {
  ServerData data;
  data.Countries = ReadCountries(source);
  for (auto [path, base] :
       {std::pair{"rates/usd_daily.csv", u"USD"}, std::pair{"rates/eur_daily.csv", u"EUR"}}) {
    if (std::optional<RateTable> table = ReadRateTable(source, path, base))
      data.RateTables.push_back(std::move(*table));
  }
  data.Catalogue = ReadCatalogue(source);
  return data;
}

FileSource EmbeddedFiles() {
  return [](std::string_view path) { return EmbeddedFileText(path); };
}

FileSource DirectoryFiles(std::string directory) {
  return [directory](std::string_view path) -> std::optional<std::string> {
    std::ifstream file(directory + "/" + std::string(path), std::ios::binary);
    if (!file)
      return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  };
}

const ServerData& ReferenceData() {
  struct Loaded {
    std::unique_ptr<ServerData> Data;
    std::string Error;
  };
  static const Loaded loaded = [] {
    Loaded result;
    const char* directory = std::getenv(kDataDirectoryVariable);
    bool fromDirectory = directory && *directory;
    try {
      result.Data = std::make_unique<ServerData>(
          LoadServerData(fromDirectory ? DirectoryFiles(directory) : EmbeddedFiles()));
    } catch (const DataError& e) {
      result.Error = fromDirectory
                         ? std::string("The data directory ") + directory + " (named by " +
                               kDataDirectoryVariable + ") has a fault: " + e.what()
                         : std::string("The built-in data has a fault: ") + e.what();
    }
    return result;
  }();
  if (!loaded.Data)
    throw DataError(loaded.Error);
  return *loaded.Data;
}

}  // namespace quorvane::server
