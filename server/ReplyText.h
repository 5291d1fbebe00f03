#pragma once
// Dates and numbers in the client's conventions: dates in the order and with the separator of
// its short date pattern, always as numbers with a four-digit year; numbers with its decimal
// separator and no grouping. Every text written is read back with the client's own date and
// number reading, so a reply that the client's settings cannot carry fails with a description
// instead of decoding to something else.

#include <string>
#include <string_view>

#include "DatePattern.h"
#include "Figure.h"
#include "LocaleSettings.h"
#include "Reply.h"

namespace quorvane::server {

// How dates are written: the order of the first of the letters d, m, y or e in the short date
// pattern (month-day-year when it has none), two digits for the day or month unless the pattern
// writes it with a single letter.
struct DateStyle {
  DateOrder Order = DateOrder::MonthDayYear;
  bool TwoDigitDay = true;
  bool TwoDigitMonth = true;
  char16_t Separator = u'/';
};
DateStyle DateStyleOf(const LocaleSettings& settings);

class ReplyWriter {
 public:
  // Writes by the given settings, those of the call the reply answers.
  explicit ReplyWriter(const LocaleSettings& settings);
  const LocaleSettings& Settings() const { return settings_; }

  // Appends the day (days since 1899-12-30) and checks that it reads back as that day.
  void AppendDate(std::u16string& out, int day) const;
  // Appends the figure and checks that it reads back as that figure.
  void AppendNumber(std::u16string& out, Figure figure) const;
  // Raises ReplyFailure when the text just written (from `from` to the end of out) holds a blank,
  // or one of the characters of `reserved`, which the reply uses to separate entries or fields.
  void CheckField(const std::u16string& out, std::size_t from, std::u16string_view reserved,
                  std::u16string_view role) const;

 private:
  LocaleSettings settings_;
  DateStyle style_;
};

// A character as a description shows it: "x", or its code when it is not printable.
std::u16string ShowCharacter(char16_t c);

}  // namespace quorvane::server
