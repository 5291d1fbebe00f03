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

// What a strftime conversion becomes in a pattern.
struct Conversion {
  char16_t letter;
  std::u16string_view pattern;
};

constexpr Conversion kDateConversions[] = {
    {u'd', u"dd"},   {u'e', u"d"},    {u'm', u"mm"},       {u'y', u"yy"},
    {u'Y', u"yyyy"}, {u'b', u"mmm"},  {u'h', u"mmm"},      {u'B', u"mmmm"},
    {u'a', u"ddd"},  {u'A', u"dddd"}, {u'D', u"mm/dd/yy"}, {u'F', u"yyyy-mm-dd"},
};

// Hours by any clock; %r has a designator too, which is no field.
constexpr Conversion kTimeConversions[] = {
    {u'H', u"hh"}, {u'I', u"hh"},    {u'k', u"hh"},       {u'l', u"hh"},       {u'M', u"mm"},
    {u'S', u"ss"}, {u'R', u"hh:mm"}, {u'T', u"hh:mm:ss"}, {u'r', u"hh:mm:ss"},
};

template <std::size_t N>
std::u16string_view PatternPart(const Conversion (&conversions)[N], char16_t letter) {
  for (const Conversion& conversion : conversions)
    if (conversion.letter == letter)
      return conversion.pattern;
  return {};
}

// A strftime format turned into a pattern by the conversions (any other is dropped). Literal
// letters are quoted, so that none is taken for a field ("kl. %H.%M" gives 'kl'. hh.mm).
template <std::size_t N>
std::u16string PatternOf(std::u16string_view format, const Conversion (&conversions)[N]) {
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
      const std::u16string_view written = PatternPart(conversions, conversion);
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
  return PatternOf(format, kDateConversions);
}

std::u16string TimePatternOf(std::u16string_view format) {
  return PatternOf(format, kTimeConversions);
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
