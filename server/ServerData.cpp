#include "ServerData.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <set>
#include <sstream>
#include <system_error>

#include "Characters.h"
#include "EmbeddedData.h"
#include "IsoDate.h"
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

[[noreturn]] void Fail(std::string_view path, std::size_t line, const std::string& what);

// No line of the layout comes near this; a longer one is a fault of the file, refused before it is
// split, so that neither the split cells nor a description quoting one can grow with it.
constexpr std::size_t kMaxLineLength = 64 * 1024;

// The lines of a file one after the other, without their line ends; a last empty line is
// dropped. Lines are taken as they are read, so that a file of many short lines costs no more
// than its text.
class LineReader {
 public:
  LineReader(std::string_view path, std::string_view text) : path_(path), rest_(text) {}

  // The next line, or false at the end of the file.
  bool Next(std::string_view& line) {
    if (rest_.empty())
      return false;
    const std::size_t end = rest_.find('\n');
    line = rest_.substr(0, end);
    rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    ++number_;
    if (line.size() > kMaxLineLength)
      Fail(path_, number_,
           "the line is longer than " + std::to_string(kMaxLineLength) +
               " bytes, more than any line of the data can need");
    return true;
  }
  // The number of the line that Next gave last, counting from 1.
  std::size_t Number() const { return number_; }

 private:
  std::string_view path_;
  std::string_view rest_;
  std::size_t number_ = 0;
};

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

// A cell as a description quotes it: cut after 40 bytes (at the start of a UTF-8 sequence), so a
// description stays short whatever the cell holds.
std::string QuotedText(std::string_view text) {
  constexpr std::size_t kShown = 40;
  if (text.size() <= kShown)
    return Quoted(text);
  std::size_t cut = kShown;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
    --cut;
  return Quoted(std::string(text.substr(0, cut)) + "...") + " (" + std::to_string(text.size()) +
         " bytes)";
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
  const std::optional<TDate> day = ReadIsoDate(text);
  if (!day)
    Fail(path, line, QuotedText(text) + " is not a date of the form YYYY-MM-DD");
  return static_cast<int>(*day);
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
    Fail(path, line, QuotedText(text) + " is not a plain decimal number");
  if (!WithinMoneyRange(*figure))
    Fail(path, line,
         QuotedText(text) + " is too large: the client holds figures up to " +
             std::string(kMoneyLimitText));
  return *figure;
}

void CheckHeader(std::string_view path, LineReader& lines, std::string_view header) {
  std::string_view first;
  if (!lines.Next(first) || first != header)
    Fail(path, 1, "the first line must be \"" + std::string(header) + "\"");
}

// A series file: "date,value" rows in ascending order of unique dates.
std::optional<Series> ReadSeries(const FileSource& source, const std::string& path) {
  std::optional<std::string> text = source(path);
  if (!text)
    return std::nullopt;
  LineReader lines(path, *text);
  CheckHeader(path, lines, "date,value");
  Series series;
  for (std::string_view line; lines.Next(line);) {
    const std::size_t n = lines.Number();
    std::vector<std::string_view> fields = SplitPlain(line);
    if (fields.size() != 2)
      Fail(path, n, "a row must hold a date and a value");
    Observation row{ReadDay(path, n, fields[0]), ReadFigure(path, n, fields[1])};
    if (!series.empty() && row.Day <= series.back().Day)
      Fail(path, n, "the dates must rise from row to row");
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
  LineReader lines(path, *text);
  CheckHeader(path, lines, "code,name");
  std::vector<Country> countries;
  std::set<std::u16string> keys;  // the names without regard to case
  for (std::string_view line; lines.Next(line);) {
    const std::size_t n = lines.Number();
    std::vector<std::string_view> fields = SplitPlain(line);
    if (fields.size() != 2 || fields[0].empty() || fields[1].empty())
      Fail(path, n, "a row must hold a folder name and a country name");
    // The code names a folder under series/: letters, digits, "-" and "_" only, so that no code
    // leads out of the data directory or names a folder in another way.
    if (!std::all_of(fields[0].begin(), fields[0].end(), [](char c) {
          return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                 c == '-' || c == '_';
        }))
      Fail(path, n,
           "the folder name " + QuotedText(fields[0]) +
               " may hold only letters, digits, \"-\" and \"_\"");
    std::u16string name = FromUtf8(fields[1]);
    for (char16_t c : name)
      if (c < 32 || c == u'_' || c == u'|')
        Fail(path, n, "a country name cannot hold \"_\", \"|\" or control characters");
    // The client's list splitting would take a leading quote as quoting the name.
    if (name.front() == u'"')
      Fail(path, n, "a country name cannot begin with a double quote");
    // Operations find a country by its name without regard to case: a second one of the same
    // name could never be reached.
    if (!keys.insert(FoldCase(name)).second)
      Fail(path, n, "the country name " + QuotedText(fields[1]) + " is listed twice");
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
  LineReader lines(path, *text);
  std::string_view first;
  if (!lines.Next(first))
    Fail(path, 1, "the file is empty");
  std::vector<std::string_view> header = SplitPlain(first);
  if (header.size() < 2 || header[0] != "date")
    Fail(path, 1, "the first line must be \"date\" followed by currency codes");
  RateTable table{path, std::move(base), {}, {}};
  for (std::size_t c = 1; c < header.size(); ++c) {
    std::string_view code = header[c];
    if (code.size() != 3 ||
        !std::all_of(code.begin(), code.end(), [](char l) { return l >= 'A' && l <= 'Z'; }))
      Fail(path, 1, QuotedText(code) + " is not a letter code");
    // Rates are found by the first column of a code: a second one could never be reached.
    if (table.ColumnOf(FromUtf8(code)) >= 0)
      Fail(path, 1, "the currency " + std::string(code) + " has two columns");
    table.Codes.push_back(FromUtf8(code));
  }
  table.Columns.resize(table.Codes.size());
  int lastDay = 0;
  for (std::string_view line; lines.Next(line);) {
    const std::size_t n = lines.Number();
    std::vector<std::string_view> fields = SplitPlain(line);
    if (fields.size() != header.size())
      Fail(path, n, "a row must hold a date and one cell per currency");
    int day = ReadDay(path, n, fields[0]);
    if (n > 2 && day <= lastDay)
      Fail(path, n, "the dates must rise from row to row");
    lastDay = day;
    for (std::size_t c = 1; c < fields.size(); ++c) {
      if (fields[c].empty())
        continue;
      Figure value = ReadFigure(path, n, fields[c]);
      if (value.Digits <= 0)
        Fail(path, n, "a rate must be above zero");
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
  LineReader lines(path, *text);
  std::string header;
  for (std::u16string_view field : kCatalogueFields) {
    if (!header.empty())
      header += ',';
    header += ToUtf8(field);
  }
  CheckHeader(path, lines, header);
  std::vector<CatalogueRow> rows;
  for (std::string_view line; lines.Next(line);) {
    const std::size_t n = lines.Number();
    std::optional<std::vector<std::string>> fields = SplitQuoted(line);
    if (!fields || fields->size() != kCatalogueFieldCount)
      Fail(path, n, "a row must hold the eight fields of the header");
    CatalogueRow row;
    for (std::size_t f = 0; f < kCatalogueFieldCount; ++f) {
      row[f] = FromUtf8((*fields)[f]);
      if (row[f].empty())
        Fail(path, n, "the field " + ToUtf8(kCatalogueFields[f]) + " is empty");
      // The client's list splitting drops blank entries and stops at a NUL.
      if (std::all_of(row[f].begin(), row[f].end(), [](char16_t c) { return c >= 1 && c <= 32; }))
        Fail(path, n, "the field " + ToUtf8(kCatalogueFields[f]) + " is blank");
      if (row[f].find(u'\0') != std::u16string::npos)
        Fail(path, n, "the field " + ToUtf8(kCatalogueFields[f]) + " holds a NUL character");
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
    // The layout's paths are relative and go down only; a name from the data never leads out.
    const std::filesystem::path relative(path);
    if (relative.empty() || relative.is_absolute() || relative.has_root_name() ||
        std::any_of(relative.begin(), relative.end(),
                    [](const std::filesystem::path& part) { return part == ".."; }))
      Fail(path, 0, "the path leads out of the data directory");
    const std::filesystem::path full = std::filesystem::path(directory) / relative;
    // A file that is not there is one the data leave out; one that is there (a dangling link, a
    // folder, a file without read permission) but does not open is a fault.
    std::error_code error;
    if (std::filesystem::symlink_status(full, error).type() ==
        std::filesystem::file_type::not_found)
      return std::nullopt;
    std::ifstream file(full, std::ios::binary);
    if (!file || std::filesystem::is_directory(full, error))
      Fail(path, 0, "the file is there but cannot be read");
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    file.seekg(0, std::ios::beg);
    std::string text;
    if (size > 0) {
      text.resize(static_cast<std::size_t>(size));
      file.read(text.data(), size);
    }
    if (!file)
      Fail(path, 0, "the file cannot be read to its end");
    return text;
  };
}

ServerData LoadDirectoryData(const std::string& directory) {
  std::error_code error;
  if (!std::filesystem::is_directory(directory, error))
    throw DataError("there is no such directory");
  return LoadServerData(DirectoryFiles(directory));
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
      result.Data = std::make_unique<ServerData>(fromDirectory ? LoadDirectoryData(directory)
                                                               : LoadServerData(EmbeddedFiles()));
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
