#pragma once
// What a subcommand gives back: a table of cells, each with the text the window would show under
// the locale settings and the plain form for machines (ISO dates, numbers with a point), and the
// three ways to write it: an aligned table, CSV and JSON.

#include <ostream>
#include <string>
#include <vector>

#include "TextToValue.h"

namespace quorvane::cli {

enum class Format { Table, Csv, Json };

struct Cell {
  enum class Kind { Text, Number, Date, Truth };
  Kind kind = Kind::Text;
  std::string display;  // UTF-8, as the window shows it
  std::string plain;    // UTF-8, for CSV and JSON
};

Cell TextCell(std::u16string_view text);
// A money value: four decimals by the locale settings; plainly the exact decimal with a point.
Cell MoneyCell(Currency value);
// A rate as the window's rate box shows it (general number text); plainly as MoneyCell.
Cell RateCell(Currency value);
// A day by the short date pattern; plainly YYYY-MM-DD.
Cell DateCell(TDateTime day);
// A day with its time of day when it has one; plainly YYYY-MM-DDTHH:MM:SS then.
Cell DateTimeCell(TDateTime day);
Cell TruthCell(bool value);

struct Table {
  std::vector<std::string> columns;
  std::vector<std::vector<Cell>> rows;
  // What the table form writes when there are no rows ("list is clear"); nothing when empty.
  std::string emptyNote;
};

// The exact decimal of a money value with a point, no trailing zeros: 216.687, -0.0005, 1.
std::string PlainMoney(Currency value);

void Write(std::ostream& out, const Table& table, Format format);
// A reply as the server sent it: the text and a line end, or a JSON object with the operation.
void WriteRaw(std::ostream& out, const std::string& operation, std::u16string_view reply,
              Format format);

// Writes a file made whole beforehand, so that a failure leaves it as it was; "-" writes to
// `out`. The name is UTF-8 on every system. Raises std::runtime_error naming the file.
void WriteWholeFile(const std::string& path, const std::string& document, std::ostream& out);

}  // namespace quorvane::cli
