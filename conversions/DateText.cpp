// The whole-day cut and the short date text of date numbers.
#include <algorithm>
#include <cmath>

#include "Characters.h"
#include "Digits.h"
#include "LocaleSettings.h"
#include "ValueToText.h"

namespace quorvane {

namespace {

// The value's decimal digits, zero-filled to at least minDigits.
void AppendNumber(std::u16string& out, int value, std::size_t minDigits) {
  out += DecimalText(value, minDigits);
}

// Writes a date pattern. A pattern may name the short or the long pattern as an element; a pattern
// already being written gives nothing there, so patterns that name each other cannot recurse.
// Patterns that name each other many times, or long names, could still multiply into texts of
// millions of characters; the text is cut at kMaxDateTextLength, far beyond any real date.
class DatePatternWriter {
 public:
  DatePatternWriter(const LocaleSettings& settings, const CalendarDay& day)
      : settings_(settings), day_(day) {}

  void WriteShort(std::u16string& out) {
    if (inShort_)
      return;
    inShort_ = true;
    Write(out, settings_.ShortDateFormat);
    inShort_ = false;
  }
  void WriteLong(std::u16string& out) {
    if (inLong_)
      return;
    inLong_ = true;
    Write(out, settings_.LongDateFormat);
    inLong_ = false;
  }

 private:
  void Write(std::u16string& out, std::u16string_view pattern) {
    std::size_t i = 0;
    while (i < pattern.size() && out.size() < kMaxDateTextLength) {
      const char16_t c = pattern[i];
      const char16_t letter = AsciiLower(c);
      if (letter == u'd' || letter == u'm' || letter == u'y') {
        std::size_t run = 1;
        while (i + run < pattern.size() && AsciiLower(pattern[i + run]) == letter)
          ++run;
        i += run;
        WriteElement(out, letter, run);
      } else if (c == u'\'' || c == u'"') {
        // Quoted text goes out without its quotes; an unclosed quote runs to the end.
        const std::size_t close = pattern.find(c, i + 1);
        const std::size_t stop = close == std::u16string_view::npos ? pattern.size() : close;
        Append(out, pattern.substr(i + 1, stop - i - 1));
        i = stop == pattern.size() ? stop : stop + 1;
      } else {
        const char16_t written = c == u'/'   ? settings_.DateSeparator
                                 : c == u':' ? settings_.TimeSeparator
                                             : c;
        Append(out, std::u16string_view(&written, 1));
        ++i;
      }
    }
  }

  // Appends as much of the text as the limit leaves room for, without cutting a surrogate pair.
  static void Append(std::u16string& out, std::u16string_view text) {
    const std::size_t room = kMaxDateTextLength - std::min(out.size(), kMaxDateTextLength);
    if (text.size() > room) {
      text = text.substr(0, room);
      if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF)
        text.remove_suffix(1);
    }
    out.append(text);
  }

  void WriteElement(std::u16string& out, char16_t letter, std::size_t run) {
    if (letter == u'd') {
      switch (run) {
        case 1:
        case 2:
          AppendNumber(out, day_.Day, run);
          return;
        case 3:
          Append(out, settings_.ShortDayNames[day_.DayOfWeek]);
          return;
        case 4:
          Append(out, settings_.LongDayNames[day_.DayOfWeek]);
          return;
        case 5:
          WriteShort(out);
          return;
        default:
          WriteLong(out);
          return;
      }
    }
    if (letter == u'm') {
      if (run <= 2)
        AppendNumber(out, day_.Month, run);
      else if (run == 3)
        Append(out, settings_.ShortMonthNames[day_.Month - 1]);
      else
        Append(out, settings_.LongMonthNames[day_.Month - 1]);
      return;
    }
    if (run <= 2)
      AppendNumber(out, day_.Year % 100, 2);
    else
      AppendNumber(out, day_.Year, 4);
  }

  const LocaleSettings& settings_;
  const CalendarDay& day_;
  bool inShort_ = false;
  bool inLong_ = false;
};

}  // namespace

TDate WholeDayCut(TDateTime date) {
  return std::trunc(date);
}

std::u16string ShortDateText(TDateTime date) {
  const LocaleSettings& settings = CurrentLocaleSettings();
  const CalendarDay day = DecodeDay(date);
  std::u16string out;
  DatePatternWriter(settings, day).WriteShort(out);
  if (out.size() > kMaxDateTextLength)
    out.resize(kMaxDateTextLength);  // the digits of the last number (names were cut already)
  return out;
}

}  // namespace quorvane
