#include "LocaleSource.h"

#include "DatePattern.h"

namespace quorvane {

namespace {

std::u16string Text(const QString& text) {
  return text.toStdU16String();
}

}  // namespace

QtLocaleAnswers AnswersOf(const QLocale& locale) {
  QtLocaleAnswers answers;
  answers.isC = locale.language() == QLocale::C;
  answers.decimalPoint = Text(locale.decimalPoint());
  answers.groupSeparator = Text(locale.groupSeparator());
  answers.shortDateFormat = Text(locale.dateFormat(QLocale::ShortFormat));
  answers.longDateFormat = Text(locale.dateFormat(QLocale::LongFormat));
  answers.shortTimeFormat = Text(locale.timeFormat(QLocale::ShortFormat));
  answers.amText = Text(locale.amText());
  answers.pmText = Text(locale.pmText());
  for (int month = 1; month <= 12; ++month) {
    answers.shortMonthNames[month - 1] =
        Text(locale.standaloneMonthName(month, QLocale::ShortFormat));
    answers.longMonthNames[month - 1] =
        Text(locale.standaloneMonthName(month, QLocale::LongFormat));
  }
  // Qt counts the days from Monday (1) to Sunday (7); the answers start on Sunday.
  for (int day = 0; day < 7; ++day) {
    const int qtDay = day == 0 ? 7 : day;
    answers.shortDayNames[day] = Text(locale.standaloneDayName(qtDay, QLocale::ShortFormat));
    answers.longDayNames[day] = Text(locale.standaloneDayName(qtDay, QLocale::LongFormat));
  }
  return answers;
}

std::u16string CaseFreeDatePattern(std::u16string_view pattern) {
  std::u16string out(pattern);
  bool quoted = false;
  for (char16_t& c : out) {
    if (c == u'\'')
      quoted = !quoted;
    else if (!quoted && (c == u'M' || c == u'D' || c == u'Y'))
      c = static_cast<char16_t>(c + 32);
  }
  return out;
}

LocaleItems LocaleItemsOf(const QtLocaleAnswers& answers) {
  LocaleItems items;
  if (answers.isC)
    return items;
  items.DecimalSeparator = answers.decimalPoint;
  items.ThousandSeparator = answers.groupSeparator;
  items.ShortDateFormat = CaseFreeDatePattern(answers.shortDateFormat);
  items.DateSeparator = SeparatorOf(*items.ShortDateFormat);
  items.LongDateFormat = CaseFreeDatePattern(answers.longDateFormat);
  items.TimeSeparator = SeparatorOf(answers.shortTimeFormat, kTimeFieldLetters);
  items.TimeAMString = answers.amText;
  items.TimePMString = answers.pmText;
  for (std::size_t month = 0; month < 12; ++month) {
    items.ShortMonthNames[month] = answers.shortMonthNames[month];
    items.LongMonthNames[month] = answers.longMonthNames[month];
  }
  for (std::size_t day = 0; day < 7; ++day) {
    items.ShortDayNames[day] = answers.shortDayNames[day];
    items.LongDayNames[day] = answers.longDayNames[day];
  }
  return items;
}

}  // namespace quorvane
