// The locale source: Qt's locales read into the client's locale settings.

#include "LocaleSource.h"
#include "WindowTestSupport.h"

using namespace quorvane;

namespace {

QString Q(const std::u16string& text) {
  return QString::fromStdU16String(text);
}

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

  void casefreePatterns() {
    QFETCH(QString, pattern);
    QFETCH(QString, caseFree);
    QFETCH(QString, separator);
    QCOMPARE(Q(CaseFreeDatePattern(pattern)), caseFree);
    QCOMPARE(Q(FieldSeparatorOf(pattern)), separator);
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
