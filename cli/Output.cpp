#include "Output.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "IsoDate.h"
#include "Utf.h"
#include "ValueToText.h"

namespace quorvane::cli {

std::string PlainMoney(Currency value) {
  const bool negative = value.Count < 0;
  // Through unsigned, so that the smallest count has a magnitude too.
  const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value.Count)
                                           : static_cast<std::uint64_t>(value.Count);
  // Appended, not "literal + string": GCC 12 at -O3 misreads that as overlapping copies.
  std::string text = negative ? "-" : "";
  text += std::to_string(magnitude / 10000);
  std::string decimals = std::to_string(magnitude % 10000);
  decimals.insert(0, 4 - decimals.size(), '0');
  while (!decimals.empty() && decimals.back() == '0')
    decimals.pop_back();
  if (!decimals.empty())
    text += "." + decimals;
  return text;
}

Cell TextCell(std::u16string_view text) {
  const std::string utf8 = ToUtf8(text);
  return {Cell::Kind::Text, utf8, utf8};
}

Cell MoneyCell(Currency value) {
  return {Cell::Kind::Number, ToUtf8(FourDecimalText(value)), PlainMoney(value)};
}

Cell RateCell(Currency value) {
  return {Cell::Kind::Number, ToUtf8(GeneralNumberText(MoneyToReal(value))), PlainMoney(value)};
}

Cell DateCell(TDateTime day) {
  return {Cell::Kind::Date, ToUtf8(ShortDateText(day)), IsoDateText(day)};
}

Cell DateTimeCell(TDateTime day) {
  Cell cell = DateCell(day);
  if (const std::string time = IsoTimeOfDayText(day); !time.empty()) {
    cell.display += " " + time;
    cell.plain += "T" + time;
  }
  return cell;
}

Cell TruthCell(bool value) {
  const char* text = value ? "true" : "false";
  return {Cell::Kind::Truth, text, text};
}

namespace {

// Characters on the screen: code points, not bytes.
std::size_t Width(const std::string& text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

void WriteAligned(std::ostream& out, const Table& table) {
  if (table.rows.empty()) {
    if (!table.emptyNote.empty())
      out << table.emptyNote << '\n';
    return;
  }
  std::vector<std::size_t> widths;
  for (const std::string& column : table.columns)
    widths.push_back(Width(column));
  for (const auto& row : table.rows)
    for (std::size_t i = 0; i < row.size(); ++i)
      widths[i] = std::max(widths[i], Width(row[i].display));
  // Numbers stand right-aligned under their heading, everything else left-aligned; the last
  // column gets no trailing blanks.
  const auto writeRow = [&](const auto& textOf, const auto& rightAligned) {
    std::string line;
    for (std::size_t i = 0; i < widths.size(); ++i) {
      const std::string text = textOf(i);
      const std::string pad(widths[i] - Width(text), ' ');
      line += rightAligned(i) ? pad + text : text + (i + 1 < widths.size() ? pad : "");
      if (i + 1 < widths.size())
        line += "  ";
    }
    out << line << '\n';
  };
  const auto numeric = [&](std::size_t i) { return table.rows[0][i].kind == Cell::Kind::Number; };
  writeRow([&](std::size_t i) { return table.columns[i]; }, numeric);
  for (const auto& row : table.rows)
    writeRow([&](std::size_t i) { return row[i].display; }, numeric);
}

std::string CsvField(const std::string& text) {
  const bool quoted = text.find_first_of(",\"\r\n") != std::string::npos ||
                      (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quoted)
    return text;
  std::string field = "\"";
  for (char c : text) {
    field += c;
    if (c == '"')
      field += '"';
  }
  return field + "\"";
}

void WriteCsv(std::ostream& out, const Table& table) {
  const auto writeLine = [&out](const auto& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i)
      out << (i ? "," : "") << CsvField(fields[i]);
    out << "\n";
  };
  writeLine(table.columns);
  for (const auto& row : table.rows) {
    std::vector<std::string> fields;
    for (const Cell& cell : row)
      fields.push_back(cell.plain);
    writeLine(fields);
  }
}

std::string JsonString(const std::string& text) {
  // Replies may hold bytes that are no UTF-8 after all; they become U+FFFD rather than an error.
  return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// Numbers go out as their exact decimal text: a money value has up to 19 digits, more than a
// double holds.
std::string JsonValue(const Cell& cell) {
  switch (cell.kind) {
    case Cell::Kind::Number:
    case Cell::Kind::Truth:
      return cell.plain;
    default:
      return JsonString(cell.plain);
  }
}

void WriteJson(std::ostream& out, const Table& table) {
  out << "[";
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    out << (r ? ",\n " : "\n ") << "{";
    for (std::size_t i = 0; i < table.columns.size(); ++i)
      out << (i ? ", " : "") << JsonString(table.columns[i]) << ": " << JsonValue(table.rows[r][i]);
    out << "}";
  }
  out << (table.rows.empty() ? "]\n" : "\n]\n");
}

}  // namespace

void Write(std::ostream& out, const Table& table, Format format) {
  switch (format) {
    case Format::Table:
      WriteAligned(out, table);
      break;
    case Format::Csv:
      WriteCsv(out, table);
      break;
    case Format::Json:
      WriteJson(out, table);
      break;
  }
}

void WriteRaw(std::ostream& out, const std::string& operation, std::u16string_view reply,
              Format format) {
  if (format == Format::Json)
    out << "{\"operation\": " << JsonString(operation)
        << ", \"reply\": " << JsonString(ToUtf8(reply)) << "}\n";
  else
    out << ToUtf8(reply) << '\n';
}

// The file is opened only once the document is whole, so that a failure before leaves it as it
// was. The name is UTF-8 on every system.
void WriteWholeFile(const std::string& path, const std::string& document, std::ostream& out) {
  if (path == "-") {
    out << document;
    return;
  }
  errno = 0;
  std::ofstream file(std::filesystem::path(std::u8string(path.begin(), path.end())),
                     std::ios::binary);
  file << document;
  file.close();
  if (!file) {
    const std::string reason = errno != 0 ? std::generic_category().message(errno) : "write failed";
    throw std::runtime_error("cannot write \"" + path + "\": " + reason);
  }
}

}  // namespace quorvane::cli
