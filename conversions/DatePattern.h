#pragma once
// The date-pattern vocabulary, once for every part: a pattern such as dd.MM.yyyy read piece by
// piece, the elements of the short date pattern as the short date text writes them and the date
// editors read them, the order of a date's numbers, and the separator of a pattern.

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvane {

struct LocaleSettings;

// The letters of the fields of a date pattern, and of a time pattern as Qt writes them and the C
// library's time formats are turned into.
inline constexpr std::u16string_view kDateFieldLetters = u"dmy";
inline constexpr std::u16string_view kTimeFieldLetters = u"hms";

// One piece of a pattern as it is written: a field (a run of one of the field letters in either
// case; a mixed-case run is one field) or literal text (text between ' and ' or between " and ",
// without the quotes, an unclosed quote running to the end; or any other single character).
struct DatePatternToken {
  char16_t letter = 0;  // the field's letter in lower case (u'd', u'm', u'y'); 0 for literal text
  std::size_t run = 0;  // the letters of the field
  std::u16string_view text;
  bool quoted = false;
};

// The pieces of a pattern from left to right. The pattern must outlive the reader.
class DatePatternTokens {
 public:
  explicit DatePatternTokens(std::u16string_view pattern,
                             std::u16string_view fieldLetters = kDateFieldLetters)
      : pattern_(pattern), fieldLetters_(fieldLetters) {}
  // The next piece; false at the end of the pattern.
  bool Next(DatePatternToken& token);

 private:
  std::u16string_view pattern_;
  std::u16string_view fieldLetters_;
  std::size_t at_ = 0;
};

// One element of the short date pattern as the short date text writes it.
struct DateElement {
  enum class Kind { Day, DayName, Month, MonthName, Year, Text };
  Kind kind = Kind::Text;
  // Day, Month: 1 (no leading zero) or 2 (two digits). DayName, MonthName: 3 (the short name) or
  // more (the long one). Year: 1 or 2 (two digits), or more (at least four).
  std::size_t run = 0;
  std::u16string_view text;  // Text: as it goes out ('/' and ':' already the separators)
};

// The elements of the short date pattern from left to right: d and dd the day, ddd and dddd its
// name, ddddd the short pattern and six or more d the long pattern, each expanded in place unless
// it is being expanded already (so patterns that name each other cannot recurse); m and mm the
// month, three or more m its name; y the year; '/' the date separator, ':' the time separator,
// quoted text and every other character literal text. The settings must outlive the reader, and
// the element texts point into them.
class ShortDateElements {
 public:
  explicit ShortDateElements(const LocaleSettings& settings);
  // The next element; false at the end of the pattern.
  bool Next(DateElement& element);

 private:
  const LocaleSettings& settings_;
  // The short pattern, and the long one while an element of the short one expands it.
  DatePatternTokens frames_[2];
  int depth_ = 1;
};

// The order of a date's numbers: by the first of the letters d, m, y or e (either case) in the
// pattern, quotes not looked at (e is a year counted in an era); month-day-year without any.
enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };
DateOrder DateOrderOf(std::u16string_view pattern);

// The separator of a pattern: the first character that stands between its first two fields,
// outside quoted text, marks that only steer the direction of text passed over (some patterns put
// a right-to-left mark beside each '/'); empty when a field follows a field directly (yyyyMMdd),
// or the pattern has fewer than two fields. The date separator of a locale is that of its short
// date pattern, the time separator that of its time pattern (fields kTimeFieldLetters).
std::u16string SeparatorOf(std::u16string_view pattern,
                           std::u16string_view fieldLetters = kDateFieldLetters);

}  // namespace quorvane
