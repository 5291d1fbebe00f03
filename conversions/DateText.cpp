// The whole-day cut and the short date text of date numbers.
#include <algorithm>
#include <charconv>
#include <cmath>

#include "DatePattern.h"
#include "LocaleSettings.h"
#include "ValueToText.h"

namespace quorvane {

namespace {

// The value's decimal digits, zero-filled to at least minDigits; written in place, since a date
// text is mostly numbers.
void AppendNumber(std::u16string& out, int value, std::size_t minDigits) {
  char digits[16];
  const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  const auto length = static_cast<std::size_t>(end - digits);
  if (length < minDigits)
    out.append(minDigits - length, u'0');
  out.append(static_cast<const char*>(digits), end);
}

// Appends as much of the text as the limit leaves room for, without cutting a surrogate pair.
void Append(std::u16string& out, std::u16string_view text) {
  const std::size_t room = kMaxDateTextLength - std::min(out.size(), kMaxDateTextLength);
  if (text.size() > room) {
    text = text.substr(0, room);
    if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF)
      text.remove_suffix(1);
  }
  out.append(text);
}

void AppendElement(std::u16string& out, const DateElement& element, const LocaleSettings& settings,
                   const CalendarDay& day) {
  using Kind = DateElement::Kind;
  switch (element.kind) {
    case Kind::Day:
      return AppendNumber(out, day.Day, element.run);
    case Kind::DayName:
      return Append(out, element.run == 3 ? settings.ShortDayNames[day.DayOfWeek]
                                          : settings.LongDayNames[day.DayOfWeek]);
    case Kind::Month:
      return AppendNumber(out, day.Month, element.run);
    case Kind::MonthName:
      return Append(out, element.run == 3 ? settings.ShortMonthNames[day.Month - 1]
                                          : settings.LongMonthNames[day.Month - 1]);
    case Kind::Year:
      return element.run <= 2 ? AppendNumber(out, day.Year % 100, 2)
                              : AppendNumber(out, day.Year, 4);
    case Kind::Text:
      return Append(out, element.text);
  }
}

}  // namespace

TDate WholeDayCut(TDateTime date) {
  return std::trunc(date);
}

std::u16string ShortDateText(TDateTime date) {
  const LocaleSettings& settings = CurrentLocaleSettings();
  const CalendarDay day = DecodeDay(date);
  std::u16string out;
  // Patterns that name each other many times, or long names, could multiply into texts of
  // millions of characters; the text is cut at kMaxDateTextLength, far beyond any real date.
  ShortDateElements elements(settings);
  DateElement element;
  while (out.size() < kMaxDateTextLength && elements.Next(element))
    AppendElement(out, element, settings, day);
  if (out.size() > kMaxDateTextLength)
    out.resize(kMaxDateTextLength);  // the digits of the last number (names were cut already)
  return out;
}

}  // namespace quorvane
