// End to end against the real reference server, registered under the class id as at start-up:
// Create, each lookup for Russia on a day checked against the server's data files, the
// letter-code lookup with the start texts, a listing, and a rate.

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>

#include "CurrencyEdit.h"
#include "DateEdit.h"
#include "Memo.h"
#include "ReferenceServer.h"
#include "StringListComboBox.h"
#include "WindowTestSupport.h"
#include "uQuorvaneFunc.h"

using namespace quorvane;
using quorvane::test::Control;

namespace {

struct Row {
  QDate date;
  double value;
};

// A "date,value" file of the server's data, in its (ascending) order.
std::vector<Row> ReadSeries(const QString& relative) {
  QFile file(QStringLiteral(QV_SERVER_DATA) + "/" + relative);
  if (!file.open(QIODevice::ReadOnly))
    qFatal("cannot read %s", qPrintable(file.fileName()));
  std::vector<Row> rows;
  file.readLine();  // header
  while (!file.atEnd()) {
    const QList<QByteArray> cells = file.readLine().trimmed().split(',');
    if (cells.size() >= 2)
      rows.push_back(
          {QDate::fromString(QString::fromLatin1(cells[0]), Qt::ISODate), cells[1].toDouble()});
  }
  return rows;
}

// The value in force: of the latest row dated before the day (or on it, when onTheDay).
double InForce(const std::vector<Row>& rows, QDate day, bool onTheDay) {
  double value = 0;
  for (const Row& row : rows)
    if (row.date < day || (onTheDay && row.date == day))
      value = row.value;
  return value;
}

double RoundedToMoney(double value) {
  return std::nearbyint(value * 10000) / 10000;
}

// A cell of the US dollar table: units of the currency per one dollar on the day.
double DollarTableCell(const QString& code, QDate day) {
  QFile file(QStringLiteral(QV_SERVER_DATA) + "/rates/usd_daily.csv");
  if (!file.open(QIODevice::ReadOnly))
    qFatal("cannot read %s", qPrintable(file.fileName()));
  const QList<QByteArray> header = file.readLine().trimmed().split(',');
  const int column = header.indexOf(code.toLatin1());
  const QByteArray wanted = day.toString(Qt::ISODate).toLatin1();
  while (!file.atEnd()) {
    const QList<QByteArray> cells = file.readLine().trimmed().split(',');
    if (cells[0] == wanted)
      return cells.value(column).toDouble();
  }
  return 0;
}

}  // namespace

class EndToEndTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    test::UseTestClockAndLocale();
    CoInitialize(nullptr);
    registration_ = server::RegisterReferenceServer();
    QVERIFY(registration_.Registered());
  }
  void cleanupTestCase() {
    FinalizeQuorvaneFunc();
    registration_.Revoke();
    CoUninitialize();
  }

  void createAndEveryTool() {
    test::ErrorBoxCatcher errors;
    Tform1 form;
    form.show();
    const auto click = [&form](const char* name) {
      QTest::mouseClick(Control<QAbstractButton>(form, name), Qt::LeftButton);
    };
    click("Button1");
    QCOMPARE(errors.Texts(), QStringList());
    QVERIFY(!Control<QWidget>(form, "Button1")->isEnabled());
    auto* countries = Control<StringListComboBox>(form, "cxComboBox1");
    QCOMPARE(countries->Text(), QString("Russia"));
    QVERIFY(countries->findText("Russia") >= 0);
    QVERIFY(countries->findText("United Kingdom") >= 0);
    QVERIFY(Control<StringListComboBox>(form, "cxComboBox3")->findText("RUB") >= 0);
    QVERIFY(Control<StringListComboBox>(form, "cxComboBox6")->findText("USD") >= 0);

    // The three lookups for Russia, checked against the data files: days on which a series
    // changes (an entry dated on the chosen day counts for the price index only), and a day
    // before the funds-rate series begins.
    const QDate day(2010, 10, 8);
    const struct {
      const char* button;
      const char* date;
      const char* result;
      const char* file;
      bool onTheDay;
    } lookups[] = {{"Button4", "cxDateEdit1", "cxCurrencyEdit1", "series/RU/min_wage.csv", false},
                   {"Button3", "cxDateEdit2", "cxCurrencyEdit2", "series/RU/funds_rate.csv", false},
                   {"Button5", "cxDateEdit3", "cxCurrencyEdit3", "series/RU/cpi.csv", true}};
    int nonZero = 0;
    for (const QDate chosen : {day, QDate(2015, 6, 1), QDate(2015, 6, 16), QDate(2015, 6, 17)}) {
      for (const auto& l : lookups) {
        Control<DateEdit>(form, l.date)->SetDate(chosen);
        click(l.button);
        QCOMPARE(errors.Texts(), QStringList());
        const double expected = RoundedToMoney(InForce(ReadSeries(l.file), chosen, l.onTheDay));
        const std::optional<double> shown = Control<CurrencyEdit>(form, l.result)->Value();
        QVERIFY2(shown && std::fabs(*shown - expected) < 1e-9,
                 qPrintable(QString("%1 on %2: %3, expected %4")
                                .arg(l.button, chosen.toString(Qt::ISODate))
                                .arg(*shown)
                                .arg(expected)));
        nonZero += expected != 0 ? 1 : 0;
      }
    }
    QVERIFY(nonZero >= 10);

    // The letter code of the start texts: "Currency_National" "рубль".
    click("Button6");
    QCOMPARE(Control<QLineEdit>(form, "cxTextEdit2")->text(), QString("RUB"));

    // The listing RUB->USD: the header, then one line per entry with four decimals.
    auto* memo = Control<Memo>(form, "cxMemo1");
    const int linesBefore = memo->blockCount();
    click("Button7");
    QCOMPARE(errors.Texts(), QStringList());
    const QStringList added = memo->Text().split("\r\n").mid(linesBefore - 1);
    QCOMPARE(added.first(), QString("List of ExchangeRate RUB->USD"));
    QVERIFY(added.size() > 1000);
    const QRegularExpression line("^\\d{1,2}/\\d{1,2}/\\d\\d \\d+\\.\\d{4}$");
    for (int i = 1; i < added.size() - 1; ++i)
      QVERIFY2(line.match(added[i]).hasMatch(), qPrintable(added[i]));
    QCOMPARE(added.last(), QString());

    // The rate USD->RUB on the day: the dollar table's own figure.
    Control<StringListComboBox>(form, "cxComboBox5")->SetText("USD");
    Control<StringListComboBox>(form, "cxComboBox6")->SetText("RUB");
    click("Button8");
    QCOMPARE(errors.Texts(), QStringList());
    const double cell = DollarTableCell("RUB", day);
    QVERIFY(cell > 0);
    QCOMPARE(Control<QLineEdit>(form, "cxTextEdit3")->text().toDouble(), RoundedToMoney(cell));

    // An unknown country: the server's message in the error box, the value kept.
    countries->SetText("Atlantis");
    click("Button4");
    QCOMPARE(errors.boxes.size(), size_t{1});
    QVERIFY(errors.boxes[0].second.contains("Atlantis"));

    click("Button2");
    QVERIFY(!ServerIntf);
  }

  // Recent figures as a user meets them: the euro area's policy rate in mid-2025, and a rate
  // whose direct column has ended (the euro table's roubles end on 2022-03-01), which goes on
  // through the dollar. The figures were worked out from the data files.
  void recentFiguresAndARateWhoseDirectColumnEnded() {
    test::ErrorBoxCatcher errors;
    Tform1 form;
    form.show();
    const auto click = [&form](const char* name) {
      QTest::mouseClick(Control<QAbstractButton>(form, name), Qt::LeftButton);
    };
    click("Button1");
    QCOMPARE(errors.Texts(), QStringList());
    Control<StringListComboBox>(form, "cxComboBox1")->SetText("Euro area");
    Control<DateEdit>(form, "cxDateEdit2")->SetDate(QDate(2025, 7, 1));
    click("Button3");
    QCOMPARE(errors.Texts(), QStringList());
    QCOMPARE(Control<CurrencyEdit>(form, "cxCurrencyEdit2")->Value(), std::optional<double>(2.15));

    const struct {
      const char *from, *to;
      QDate day;
      const char* shown;
    } rates[] = {{"EUR", "RUB", QDate(2023, 1, 10), "75.4813"},
                 {"RUB", "EUR", QDate(2023, 1, 10), "0.0132"},
                 {"RUB", "EUR", QDate(2024, 12, 15), "0.0092"}};
    for (const auto& r : rates) {
      Control<StringListComboBox>(form, "cxComboBox5")->SetText(r.from);
      Control<StringListComboBox>(form, "cxComboBox6")->SetText(r.to);
      Control<DateEdit>(form, "cxDateEdit4")->SetDate(r.day);
      click("Button8");
      QCOMPARE(errors.Texts(), QStringList());
      QCOMPARE(Control<QLineEdit>(form, "cxTextEdit3")->text(), QString(r.shown));
    }
    click("Button2");
  }

 private:
  server::ReferenceServerRegistration registration_;
};

QTEST_MAIN(EndToEndTest)
#include "e2e_test.moc"
