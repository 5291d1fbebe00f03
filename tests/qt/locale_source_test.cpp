// The locale source: Qt's locales read into the client's locale settings.

#include "LocaleSource.h"

#include <iterator>

#include "WindowTestSupport.h"

using namespace quorvane;

namespace {

QString Q(const std::u16string& text) {
  return QString::fromStdU16String(text);
}

struct ExpectedSettings {
  char16_t DecimalSeparator, ThousandSeparator, DateSeparator;
  std::u16string_view ShortDateFormat, LongDateFormat;
  char16_t TimeSeparator;
  std::u16string_view TimeAMString, January, Sunday;
};

struct AnswerCase {
  const char* why;
  bool isC;
  std::u16string_view decimalPoint, groupSeparator, shortDateFormat, longDateFormat,
      shortTimeFormat, amText, january, sunday;
  ExpectedSettings settings;
};

const AnswerCase kAnswerCases[] = {
    {"de_DE: the common case",
     false,
     u",",
     u".",
     u"dd.MM.yy",
     u"dddd, d. MMMM yyyy",
     u"HH:mm",
     u"AM",
     u"Januar",
     u"Sonntag",
     {u',', u'.', u'.', u"dd.mm.yy", u"dddd, d. mmmm yyyy", u':', u"AM", u"Januar", u"Sonntag"}},
    {"ru_RU: a no-break space groups digits, a quoted year mark",
     false,
     u",",
     u"\u00a0",
     u"dd.MM.yyyy",
     u"dddd, d MMMM yyyy '\u0433'.",
     u"HH:mm",
     u"AM",
     u"\u044f\u043d\u0432\u0430\u0440\u044c",
     u"\u0432\u043e\u0441\u043a\u0440\u0435\u0441\u0435\u043d\u044c\u0435",
     {u',', u'\u00a0', u'.', u"dd.mm.yyyy", u"dddd, d mmmm yyyy '\u0433'.", u':', u"AM",
      u"\u044f\u043d\u0432\u0430\u0440\u044c",
      u"\u0432\u043e\u0441\u043a\u0440\u0435\u0441\u0435\u043d\u044c\u0435"}},
    {"bg_BG: the year mark in the short pattern, an hour mark in the time pattern",
     false,
     u",",
     u"\u00a0",
     u"d.MM.yy '\u0433'.",
     u"dddd, d MMMM yyyy '\u0433'.",
     u"H:mm '\u0447'.",
     u"\u043f\u0440.\u043e\u0431.",
     u"\u044f\u043d\u0443\u0430\u0440\u0438",
     u"\u043d\u0435\u0434\u0435\u043b\u044f",
     {u',', u'\u00a0', u'.', u"d.mm.yy '\u0433'.", u"dddd, d mmmm yyyy '\u0433'.", u':',
      u"\u043f\u0440.\u043e\u0431.", u"\u044f\u043d\u0443\u0430\u0440\u0438",
      u"\u043d\u0435\u0434\u0435\u043b\u044f"}},
    {"hu_HU: year first, a blank after each full stop",
     false,
     u",",
     u"\u00a0",
     u"yyyy. MM. dd.",
     u"yyyy. MMMM d., dddd",
     u"H:mm",
     u"de.",
     u"janu\u00e1r",
     u"vas\u00e1rnap",
     {u',', u'\u00a0', u'.', u"yyyy. mm. dd.", u"yyyy. mmmm d., dddd", u':', u"de.", u"janu\u00e1r",
      u"vas\u00e1rnap"}},
    {"ar_EG: right-to-left marks beside the separators, Arabic decimal marks",
     false,
     u"\u066b",
     u"\u066c",
     u"d\u200f/M\u200f/yyyy",
     u"dddd\u060c d MMMM yyyy",
     u"h:mm AP",
     u"\u0635",
     u"\u064a\u0646\u0627\u064a\u0631",
     u"\u0627\u0644\u0623\u062d\u062f",
     {u'\u066b', u'\u066c', u'/', u"d\u200f/m\u200f/yyyy", u"dddd\u060c d mmmm yyyy", u':',
      u"\u0635", u"\u064a\u0646\u0627\u064a\u0631", u"\u0627\u0644\u0623\u062d\u062f"}},
    {"ko_KR: the designator before the hours is no field",
     false,
     u".",
     u",",
     u"yy. M. d.",
     u"yyyy\ub144 M\uc6d4 d\uc77c dddd",
     u"AP h:mm",
     u"\uc624\uc804",
     u"1\uc6d4",
     u"\uc77c\uc694\uc77c",
     {u'.', u',', u'.', u"yy. m. d.", u"yyyy\ub144 m\uc6d4 d\uc77c dddd", u':', u"\uc624\uc804",
      u"1\uc6d4", u"\uc77c\uc694\uc77c"}},
    {"C: no items, every default stands",
     true,
     u".",
     u",",
     u"d MMM yyyy",
     u"dddd, d MMMM yyyy",
     u"HH:mm:ss",
     u"AM",
     u"January",
     u"Sunday",
     {u'.', u',', u'/', u"m/d/yy", u"mmmm d, yyyy", u':', u"am", u"January", u"Sunday"}},
};

}  // namespace

class LocaleSourceTest : public QObject {
  Q_OBJECT

 private slots:
  void settingsOfALocale_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<QString>("thousand");
    QTest::addColumn<QString>("dateSeparator");
    QTest::addColumn<QString>("shortDate");
    QTest::addColumn<QString>("timeSeparator");
    QTest::addColumn<QString>("january");
    QTest::addColumn<QString>("sunday");
    // The C locale leaves every default of the settings.
    QTest::newRow("C") << "C"
                       << "."
                       << ","
                       << "/"
                       << "m/d/yy"
                       << ":"
                       << "January"
                       << "Sunday";
    QTest::newRow("en_US") << "en_US"
                           << "."
                           << ","
                           << "/"
                           << "m/d/yy"
                           << ":"
                           << "January"
                           << "Sunday";
    QTest::newRow("de_DE") << "de_DE"
                           << ","
                           << "."
                           << "."
                           << "dd.mm.yy"
                           << ":"
                           << "Januar"
                           << "Sonntag";
    QTest::newRow("ru_RU: a non-breaking space groups digits")
        << "ru_RU"
        << "," << QString(QChar(0xA0)) << "."
        << "dd.mm.yyyy"
        << ":" << QString("январь") << QString("воскресенье");
  }

  void settingsOfALocale() {
    QFETCH(QString, locale);
    QFETCH(QString, decimal);
    QFETCH(QString, thousand);
    QFETCH(QString, dateSeparator);
    QFETCH(QString, shortDate);
    QFETCH(QString, timeSeparator);
    QFETCH(QString, january);
    QFETCH(QString, sunday);
    const LocaleSettings s = MakeLocaleSettings(LocaleItemsOf(QLocale(locale)));
    QCOMPARE(QString(QChar(s.DecimalSeparator)), decimal);
    QCOMPARE(QString(QChar(s.ThousandSeparator)), thousand);
    QCOMPARE(QString(QChar(s.DateSeparator)), dateSeparator);
    QCOMPARE(Q(s.ShortDateFormat), shortDate);
    QCOMPARE(QString(QChar(s.TimeSeparator)), timeSeparator);
    QCOMPARE(Q(s.LongMonthNames[0]), january);
    QCOMPARE(Q(s.LongDayNames[0]), sunday);
  }

  void casefreePatterns_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("caseFree");
    QTest::addColumn<QString>("separator");
    QTest::newRow("month letters lowered") << "dd.MM.yyyy"
                                           << "dd.mm.yyyy"
                                           << ".";
    QTest::newRow("quoted text kept") << "d MMMM yyyy 'Y.M.D'"
                                      << "d mmmm yyyy 'Y.M.D'"
                                      << " ";
    QTest::newRow("year first") << "yyyy-MM-dd"
                                << "yyyy-mm-dd"
                                << "-";
    // The right-to-left marks beside the separators of some patterns are no separator.
    QTest::newRow("direction marks")
        << QString("d\u200f/M\u200f/yyyy") << QString("d\u200f/m\u200f/yyyy") << "/";
    QTest::newRow("no separator") << "yyyyMMdd"
                                  << "yyyymmdd"
                                  << "";
  }

  // The short date pattern as the items give it, and the date separator taken from it.
  void casefreePatterns() {
    QFETCH(QString, pattern);
    QFETCH(QString, caseFree);
    QFETCH(QString, separator);
    QtLocaleAnswers answers;
    answers.shortDateFormat = pattern.toStdU16String();
    const LocaleItems items = LocaleItemsOf(answers);
    QCOMPARE(Q(CaseFreeDatePattern(pattern.toStdU16String())), caseFree);
    QCOMPARE(Q(*items.ShortDateFormat), caseFree);
    QCOMPARE(Q(*items.DateSeparator), separator);
  }

  // What Qt 6.4 answers for a few locales, and the settings made of it: the pure half of the
  // locale source, without Qt's data.
  void settingsOfTheAnswers_data() {
    QTest::addColumn<int>("row");
    for (int row = 0; row < static_cast<int>(std::size(kAnswerCases)); ++row)
      QTest::newRow(kAnswerCases[row].why) << row;
  }

  void settingsOfTheAnswers() {
    QFETCH(int, row);
    const AnswerCase& c = kAnswerCases[row];
    QtLocaleAnswers answers;
    answers.isC = c.isC;
    answers.decimalPoint = c.decimalPoint;
    answers.groupSeparator = c.groupSeparator;
    answers.shortDateFormat = c.shortDateFormat;
    answers.longDateFormat = c.longDateFormat;
    answers.shortTimeFormat = c.shortTimeFormat;
    answers.amText = c.amText;
    answers.pmText = u"PM";
    answers.longMonthNames[0] = c.january;
    answers.longDayNames[0] = c.sunday;
    const LocaleSettings s = MakeLocaleSettings(LocaleItemsOf(answers));
    QCOMPARE(s.DecimalSeparator, c.settings.DecimalSeparator);
    QCOMPARE(s.ThousandSeparator, c.settings.ThousandSeparator);
    QCOMPARE(s.DateSeparator, c.settings.DateSeparator);
    QCOMPARE(Q(s.ShortDateFormat), Q(std::u16string(c.settings.ShortDateFormat)));
    QCOMPARE(Q(s.LongDateFormat), Q(std::u16string(c.settings.LongDateFormat)));
    QCOMPARE(s.TimeSeparator, c.settings.TimeSeparator);
    QCOMPARE(Q(s.TimeAMString), Q(std::u16string(c.settings.TimeAMString)));
    QCOMPARE(Q(s.LongMonthNames[0]), Q(std::u16string(c.settings.January)));
    QCOMPARE(Q(s.LongDayNames[0]), Q(std::u16string(c.settings.Sunday)));
    // A name the locale leaves empty keeps the English one.
    QCOMPARE(Q(s.ShortMonthNames[1]), QString("Feb"));
  }

  // Reading the system's locale replaces the process-wide settings.
  void readingTheSystemLocale() {
    SetLocaleSettings(MakeLocaleSettings(LocaleItemsOf(QLocale("de_DE"))));
    ReadLocaleSettings();  // the tests run in the C locale
    QCOMPARE(CurrentLocaleSettings().DecimalSeparator, u'.');
    QCOMPARE(Q(CurrentLocaleSettings().ShortDateFormat), QString("m/d/yy"));
  }
};

QTEST_MAIN(LocaleSourceTest)
#include "locale_source_test.moc"
