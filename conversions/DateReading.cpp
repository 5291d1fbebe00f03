// Date reading by the order and separator of the short date pattern.
#include <cstdint>

#include "Calendar.h"
#include "Characters.h"
#include "DatePattern.h"
#include "Errors.h"
#include "LocaleSettings.h"
#include "TextToValue.h"

namespace quorvane {

namespace {

bool StartsWithCaseFree(std::u16string_view text, std::u16string_view prefix) {
  if (prefix.size() > text.size())
    return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (FoldCase(text[i]) != FoldCase(prefix[i]))
      return false;
  }
  return true;
}

class DateScanner {
 public:
  explicit DateScanner(std::u16string_view text) : text_(text) {}

  void SkipSpaces() {
    while (pos_ < text_.size() && text_[pos_] == u' ')
      ++pos_;
  }
  bool Take(char16_t c) {
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  // Digits while the value is below 1000: at most four significant digits, leading zeros count.
  bool Number(int& value, int& digits) {
    SkipSpaces();
    value = 0;
    digits = 0;
    while (pos_ < text_.size() && text_[pos_] >= u'0' && text_[pos_] <= u'9' && value < 1000) {
      value = value * 10 + (text_[pos_] - u'0');
      ++digits;
      ++pos_;
    }
    return digits > 0;
  }
  // Skips words up to the end or up to a morning or afternoon designator.
  void SkipWords(std::u16string_view am, std::u16string_view pm) {
    do {
      while (pos_ < text_.size() && text_[pos_] != u' ')
        ++pos_;
      SkipSpaces();
    } while (pos_ < text_.size() && !StartsWithCaseFree(text_.substr(pos_), am) &&
             !StartsWithCaseFree(text_.substr(pos_), pm));
  }
  bool AtEnd() const { return pos_ == text_.size(); }

 private:
  std::u16string_view text_;
  std::size_t pos_ = 0;
};

bool TryReadDate(std::u16string_view text, const LocaleSettings& settings, DateOrder order,
                 bool skipWords, std::int64_t& result) {
  const char16_t separator = settings.DateSeparator;
  DateScanner scan(text);

  int n1, n2, n3, digits1, digits2, digits3;
  if (!scan.Number(n1, digits1))
    return false;
  scan.SkipSpaces();
  if (!scan.Take(separator) || !scan.Number(n2, digits2))
    return false;
  scan.SkipSpaces();

  int year, month, day;
  if (scan.Take(separator)) {
    if (!scan.Number(n3, digits3))
      return false;
    int yearDigits;
    switch (order) {
      case DateOrder::DayMonthYear:
        day = n1, month = n2, year = n3, yearDigits = digits3;
        break;
      case DateOrder::MonthDayYear:
        month = n1, day = n2, year = n3, yearDigits = digits3;
        break;
      default:
        year = n1, month = n2, day = n3, yearDigits = digits1;
        break;
    }
    if (yearDigits <= 2) {
      const int base = CurrentYear() - settings.TwoDigitYearCenturyWindow;
      year += base / 100 * 100;
      if (year < base)
        year += 100;
    }
  } else {
    year = CurrentYear();
    if (order == DateOrder::DayMonthYear)
      day = n1, month = n2;
    else
      month = n1, day = n2;
  }

  scan.SkipSpaces();
  scan.Take(separator);
  scan.SkipSpaces();
  if (skipWords)
    scan.SkipWords(settings.TimeAMString, settings.TimePMString);

  if (year < 1 || year > 9999 || !IsCalendarDate(year, month, day))
    return false;
  if (!scan.AtEnd())
    return false;
  result = DayNumberOf(year, month, day);
  return true;
}

}  // namespace

DateReader::DateReader(const LocaleSettings& settings)
    : settings_(settings),
      order_(DateOrderOf(settings.ShortDateFormat)),
      skipWords_(settings.ShortDateFormat.find(u"ddd") != std::u16string::npos) {}

TDate DateReader::Read(std::u16string_view text) const {
  std::int64_t day = 0;
  if (!TryReadDate(text, settings_, order_, skipWords_, day))
    throw EConvertError(FillTemplate(u"''%s'' is not a valid date", {text}));
  return static_cast<TDate>(day);
}

TDate ReadDate(std::u16string_view text) {
  return DateReader(CurrentLocaleSettings()).Read(text);
}

TDate ReadDate(std::u16string_view text, const LocaleSettings& settings) {
  return DateReader(settings).Read(text);
}

}  // namespace quorvane
