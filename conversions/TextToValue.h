#pragma once
// Text to value: date reading, number reading and money rounding, under the locale settings.

#include <cstdint>
#include <string_view>

#include "Calendar.h"
#include "DatePattern.h"
#include "Extended.h"
#include "LocaleSettings.h"

namespace quorvane {

struct LocaleSettings;

// A money value: a signed 64-bit count of ten-thousandths (Count 10000 is 1.0000).
struct Currency {
  std::int64_t Count = 0;
  friend bool operator==(const Currency&, const Currency&) = default;
};

// Reads a date by the order and separator of the short date pattern. Raises EConvertError
// "''%s'' is not a valid date".
TDate ReadDate(std::u16string_view text);
// The same under the given settings instead of the process-wide ones (a server that writes for
// several callers at once).
TDate ReadDate(std::u16string_view text, const LocaleSettings& settings);
// Reads a number with the decimal separator. Raises EConvertError
// "'%s' is not a valid floating point value".
Extended ReadNumber(std::u16string_view text);
Extended ReadNumber(std::u16string_view text, const LocaleSettings& settings);
// Rounds to the nearest count of ten-thousandths, ties to even. Raises EOverflow when the product
// by 10000 overflows and EInvalidOp when the count lies outside the signed 64-bit range.
Currency RoundToMoney(const Extended& value);
// Number reading followed by money rounding.
Currency ReadMoney(std::u16string_view text);

// The same with the decimal separator given, for reading many numbers under one lookup of the
// settings.
Extended ReadNumber(std::u16string_view text, char16_t decimalSeparator);
Currency ReadMoney(std::u16string_view text, char16_t decimalSeparator);
// The general path alone, without the fast path for short texts: the reference of the identity
// tests and the benchmarks. Same results, errors and messages.
Extended ReadNumberGeneral(std::u16string_view text, char16_t decimalSeparator);
Currency ReadMoneyGeneral(std::u16string_view text, char16_t decimalSeparator);

// Date reading with the settings taken once, for reading many dates of one reply. The settings
// must outlive the reader and stay unchanged while it is used.
class DateReader {
 public:
  explicit DateReader(const LocaleSettings& settings);
  // As ReadDate under these settings.
  TDate Read(std::u16string_view text) const;

 private:
  const LocaleSettings& settings_;
  DateOrder order_;
  bool skipWords_;
};

}  // namespace quorvane
