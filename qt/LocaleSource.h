#pragma once
// The locale source on the window's side: Qt's system locale read into the client's locale
// settings at start and on every locale change. What Qt answers is asked in one place; the items
// are a pure function of those answers.

#include <QLocale>
#include <array>
#include <string>

#include "LocaleSettings.h"

namespace quorvane {

// What a Qt locale answers for the settings, in Qt's own terms (its patterns, the standalone
// names of months and days).
struct QtLocaleAnswers {
  bool isC = false;  // the C locale, whose answers are not the user's
  std::u16string decimalPoint, groupSeparator;
  std::u16string shortDateFormat, longDateFormat, shortTimeFormat;
  std::u16string amText, pmText;
  std::array<std::u16string, 12> shortMonthNames, longMonthNames;
  std::array<std::u16string, 7> shortDayNames, longDayNames;  // Sunday first
};
QtLocaleAnswers AnswersOf(const QLocale& locale);

// The items of a locale as the settings expect them: the patterns with their day, month and year
// letters in lower case, the separators those between their fields. The C locale gives no items,
// so the settings keep their defaults.
LocaleItems LocaleItemsOf(const QtLocaleAnswers& answers);
inline LocaleItems LocaleItemsOf(const QLocale& locale) {
  return LocaleItemsOf(AnswersOf(locale));
}
// A Qt date pattern with its day, month and year letters written in lower case, quoted text kept.
std::u16string CaseFreeDatePattern(std::u16string_view pattern);

// Reads the user's locale into the process-wide settings: Qt's system locale, or on Windows the
// thread's locale as the system gives it (the build picks the source file).
void ReadLocaleSettings();

}  // namespace quorvane
