// Writes the table of the built-in data's vintage (first and last observation of every series and
// rate column, and the catalogue's source) as Markdown, for docs/server.md.
//
//   data_vintage               writes the table to standard output
//   data_vintage --check FILE  exits with 1 when FILE's table differs from it
//   data_vintage --update FILE writes it into FILE, between the two marker lines
//
// The table stands in FILE between kBegin and kEnd.

#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "DataVintage.h"
#include "IsoDate.h"
#include "Utf.h"

namespace {

using namespace quorvane::server;

const std::string kBegin =
    "<!-- data vintage: written by server/tools/data_vintage from the data; do not edit -->\n";
const std::string kEnd = "<!-- end of data vintage -->\n";

std::string Day(std::size_t count, int day) {
  return count == 0 ? "—" : quorvane::IsoDateText(day);
}

std::string VintageTable(const DataVintage& vintage) {
  std::ostringstream out;
  out << "| country | series | file | first | last | observations |\n"
      << "| --- | --- | --- | --- | --- | --- |\n";
  for (const SeriesVintage& series : vintage.Series)
    out << "| " << quorvane::ToUtf8(series.Country) << " | "
        << quorvane::ToUtf8(SeriesKindName(series.Kind)) << " | `" << series.File << "` | "
        << Day(series.Count, series.FirstDay) << " | " << Day(series.Count, series.LastDay) << " | "
        << series.Count << " |\n";
  // Columns with the same span share a row, in the order of their first column.
  out << "\n| table | currencies | first | last |\n| --- | --- | --- | --- |\n";
  struct Row {
    std::string File, Codes;
    std::size_t Count;
    int First, Last;
  };
  std::vector<Row> rows;
  for (const RateColumnVintage& column : vintage.RateColumns) {
    std::string code = quorvane::ToUtf8(column.Code);
    bool joined = false;
    for (Row& row : rows) {
      if (row.File == column.File && (row.Count > 0) == (column.Count > 0) &&
          row.First == column.FirstDay && row.Last == column.LastDay) {
        row.Codes += ", " + code;
        joined = true;
        break;
      }
    }
    if (!joined)
      rows.push_back({column.File, code, column.Count, column.FirstDay, column.LastDay});
  }
  for (const Row& row : rows)
    out << "| `" << row.File << "` | " << row.Codes << " | " << Day(row.Count, row.First) << " | "
        << Day(row.Count, row.Last) << " |\n";
  out << "\nCatalogue: " << quorvane::ToUtf8(vintage.CatalogueSource) << ".\n";
  return out.str();
}

bool ReadFile(const std::string& path, std::string& text) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  text = content.str();
  return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    std::string table = VintageTable(BuiltInDataVintage());
    std::string mode = argc > 1 ? argv[1] : "";
    if (argc == 1) {
      std::cout << table;
      return 0;
    }
    if (argc != 3 || (mode != "--check" && mode != "--update")) {
      std::cerr << "usage: data_vintage [--check FILE | --update FILE]\n";
      return 2;
    }
    std::string text;
    if (!ReadFile(argv[2], text)) {
      std::cerr << argv[2] << ": cannot be read\n";
      return 1;
    }
    std::size_t begin = text.find(kBegin), end = text.find(kEnd);
    if (begin == std::string::npos || end == std::string::npos || end < begin) {
      std::cerr << argv[2] << ": the marker lines of the data vintage table are missing\n";
      return 1;
    }
    begin += kBegin.size();
    if (text.compare(begin, end - begin, table) == 0)
      return 0;
    if (mode == "--check") {
      std::cerr << argv[2] << ": the data vintage table differs from the data; run the "
                << "update_data_docs target and review the change\n";
      return 1;
    }
    text.replace(begin, end - begin, table);
    std::ofstream file(argv[2], std::ios::binary);
    file << text;
    return file ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << "data_vintage: " << e.what() << "\n";
    return 1;
  }
}
