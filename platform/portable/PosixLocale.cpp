#include "PosixLocale.h"

#include "DatePattern.h"

namespace platform {

namespace {

// The conversion after a '%' at format[i], flags and widths of the GNU extensions (%-d, %Ey)
// passed over, since they carry no meaning here; i is left on it.
char16_t ConversionAt(std::u16string_view format, std::size_t& i) {
  char16_t conversion = format[++i];
  while ((conversion == u'-' || conversion == u'_' || conversion == u'0' || conversion == u'E' ||
          conversion == u'O') &&
         i + 1 < format.size())
    conversion = format[++i];
  return conversion;
}

// A strftime format turned into a pattern, each conversion by `part` (empty: dropped). Literal
// letters are quoted, so that none is taken for a field ("kl. %H.%M" gives 'kl'. hh.mm).
template <typename Part>
std::u16string PatternOf(std::u16string_view format, const Part& part) {
  std::u16string pattern;
  bool quoted = false;
  const auto literal = [&](char16_t c) {
    const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    if (letter != quoted)
      pattern += u'\'';
    quoted = letter;
    pattern += c == u'\'' ? std::u16string_view(u"\"'\"") : std::u16string_view(&c, 1);
  };
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != u'%' || i + 1 == format.size()) {
      literal(format[i]);
    } else if (const char16_t conversion = ConversionAt(format, i); conversion == u'%') {
      literal(u'%');
    } else {
      const std::u16string_view written = part(conversion);
      if (quoted && !written.empty()) {
        pattern += u'\'';
        quoted = false;
      }
      pattern += written;
    }
  }
  if (quoted)
    pattern += u'\'';
  return pattern;
}

// The locale's answers of the C and POSIX locales.
bool IsPosixLocale(const PosixLocaleAnswers& answers) {
  return answers.radixChar == u"." && answers.dateFormat == u"%m/%d/%y" &&
         answers.thousandsSeparator.empty();
}

}  // namespace

std::u16string DatePatternOf(std::u16string_view format) {
  return PatternOf(format, [](char16_t conversion) -> std::u16string_view {
    switch (conversion) {
      case u'd':
        return u"dd";
      case u'e':
        return u"d";
      case u'm':
        return u"mm";
      case u'y':
        return u"yy";
      case u'Y':
        return u"yyyy";
      case u'b':
      case u'h':
        return u"mmm";
      case u'B':
        return u"mmmm";
      case u'a':
        return u"ddd";
      case u'A':
        return u"dddd";
      case u'D':
        return u"mm/dd/yy";
      case u'F':
        return u"yyyy-mm-dd";
      default:
        return u"";
    }
  });
}

std::u16string TimePatternOf(std::u16string_view format) {
  return PatternOf(format, [](char16_t conversion) -> std::u16string_view {
    switch (conversion) {
      case u'H':
      case u'I':
      case u'k':
      case u'l':
        return u"hh";
      case u'M':
        return u"mm";
      case u'S':
        return u"ss";
      case u'R':
        return u"hh:mm";
      case u'T':
      case u'r':  // with the designator, which is no field
        return u"hh:mm:ss";
      default:
        return u"";
    }
  });
}

std::optional<std::u16string> PosixLocaleText(const PosixLocaleAnswers& answers, LocaleText item,
                                              int index) {
  if (IsPosixLocale(answers))
    return std::nullopt;
  const auto at = static_cast<std::size_t>(index);
  switch (item) {
    case LocaleText::DecimalSeparator:
      return answers.radixChar;
    case LocaleText::ThousandSeparator:
      return answers.thousandsSeparator;
    case LocaleText::ShortDateFormat:
      return DatePatternOf(answers.dateFormat);
    case LocaleText::DateSeparator:
      return quorvane::SeparatorOf(DatePatternOf(answers.dateFormat));
    case LocaleText::LongDateFormat:
      return std::nullopt;
    case LocaleText::TimeSeparator:
      return quorvane::SeparatorOf(TimePatternOf(answers.timeFormat), quorvane::kTimeFieldLetters);
    case LocaleText::TimeAMString:
      return answers.amString;
    case LocaleText::TimePMString:
      return answers.pmString;
    case LocaleText::ShortMonthName:
      return at < 12 ? std::optional(answers.abbreviatedMonths[at]) : std::nullopt;
    case LocaleText::LongMonthName:
      return at < 12 ? std::optional(answers.months[at]) : std::nullopt;
    case LocaleText::ShortDayName:
      return at < 7 ? std::optional(answers.abbreviatedDays[at]) : std::nullopt;
    case LocaleText::LongDayName:
      return at < 7 ? std::optional(answers.days[at]) : std::nullopt;
  }
  return std::nullopt;
}

}  // namespace platform
