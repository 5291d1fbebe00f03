#include "LocaleSource.h"

namespace quorvane {

namespace {

std::u16string Text(const QString& text) {
  return text.toStdU16String();
}

bool IsFieldLetter(QChar c) {
  return c.isLetter();
}

// Marks that only steer the direction of text (the right-to-left mark that some patterns put
// beside their separators) are no separator.
bool IsDirectionMark(QChar c) {
  return c.category() == QChar::Other_Format;
}

}  // namespace

std::u16string CaseFreeDatePattern(const QString& pattern) {
  QString out;
  bool quoted = false;
  for (QChar c : pattern) {
    if (c == QLatin1Char('\''))
      quoted = !quoted;
    else if (!quoted && (c == QLatin1Char('M') || c == QLatin1Char('D') || c == QLatin1Char('Y')))
      c = c.toLower();
    out += c;
  }
  return Text(out);
}

std::u16string FieldSeparatorOf(const QString& pattern) {
  bool quoted = false;
  bool afterField = false;
  for (QChar c : pattern) {
    if (c == QLatin1Char('\'')) {
      quoted = !quoted;
      continue;
    }
    if (quoted || IsDirectionMark(c))
      continue;
    if (IsFieldLetter(c))
      afterField = true;
    else if (afterField)
      return Text(QString(c));
  }
  return {};
}

LocaleItems LocaleItemsOf(const QLocale& locale) {
  LocaleItems items;
  if (locale.language() == QLocale::C)
    return items;
  items.DecimalSeparator = Text(locale.decimalPoint());
  items.ThousandSeparator = Text(locale.groupSeparator());
  const QString shortDate = locale.dateFormat(QLocale::ShortFormat);
  items.DateSeparator = FieldSeparatorOf(shortDate);
  items.ShortDateFormat = CaseFreeDatePattern(shortDate);
  items.LongDateFormat = CaseFreeDatePattern(locale.dateFormat(QLocale::LongFormat));
  items.TimeSeparator = FieldSeparatorOf(locale.timeFormat(QLocale::ShortFormat));
  items.TimeAMString = Text(locale.amText());
  items.TimePMString = Text(locale.pmText());
  for (int month = 1; month <= 12; ++month) {
    items.ShortMonthNames[month - 1] =
        Text(locale.standaloneMonthName(month, QLocale::ShortFormat));
    items.LongMonthNames[month - 1] = Text(locale.standaloneMonthName(month, QLocale::LongFormat));
  }
  // Qt counts the days from Monday (1) to Sunday (7); the settings start on Sunday.
  for (int day = 0; day < 7; ++day) {
    const int qtDay = day == 0 ? 7 : day;
    items.ShortDayNames[day] = Text(locale.standaloneDayName(qtDay, QLocale::ShortFormat));
    items.LongDayNames[day] = Text(locale.standaloneDayName(qtDay, QLocale::LongFormat));
  }
  return items;
}

}  // namespace quorvane
