#pragma once
// The locale source on the window's side: Qt's system locale read into the client's locale
// settings at start and on every locale change.

#include <QLocale>

#include "LocaleSettings.h"

namespace quorvane {

// The items of a locale as the settings expect them. The C locale gives no items, so the
// settings keep their defaults.
LocaleItems LocaleItemsOf(const QLocale& locale);
// A Qt date pattern with its day, month and year letters written in lower case, quoted text kept.
std::u16string CaseFreeDatePattern(const QString& pattern);
// The first character between two fields of a pattern, outside quotes; empty when there is none.
std::u16string FieldSeparatorOf(const QString& pattern);

// Reads the user's locale into the process-wide settings: Qt's system locale, or on Windows the
// thread's locale as the system gives it (the build picks the source file).
void ReadLocaleSettings();

}  // namespace quorvane
