// The three value-by-date lookups: scan direction and comparison of each, the day cut to a whole
// day, the empty date editor, what is sent, and what a failure leaves.

#include "ConnectedForm.h"
#include "CurrencyEdit.h"
#include "DateEdit.h"
#include "DesignedForm.h"
#include "StringListComboBox.h"
#include "TextToValue.h"

using namespace quorvane;
using scripted::Op;
namespace designed = quorvane::designed;

namespace {

// A lookup's controls as designed, with the operation its button calls.
struct Lookup {
  const char* button;
  const char* dateEdit;
  const char* result;
  Op op;
  const char* operation;
};

Lookup Designed(const designed::Lookup& controls, Op op, const char* operation) {
  return {controls.button, controls.dateEdit, controls.resultEdit, op, operation};
}

const Lookup kMinimumWage =
    Designed(designed::kLookups[0], Op::GetMinimumWageList, "GetMinimumWageList");
const Lookup kFundsRate = Designed(designed::kLookups[1], Op::GetFundsRateList, "GetFundsRateList");
const Lookup kPriceIndex =
    Designed(designed::kLookups[2], Op::GetPriceIndexList, "GetPriceIndexList");

const Lookup& LookupOf(const QString& name) {
  if (name == "minimum wage")
    return kMinimumWage;
  return name == "funds rate" ? kFundsRate : kPriceIndex;
}

// The days of the entries (the clock year is 2010, so "yy" years fall in 1961..2060).
constexpr double d1 = 39814;  // 2009-01-01
constexpr double d2 = 40179;  // 2010-01-01
constexpr double d3 = 40544;  // 2011-01-01

// Entries "date&value" joined by the vertical bar; a minimum-wage entry gets a second value that
// no lookup shows.
QString Reply(const QString& lookup, const QStringList& entries) {
  QStringList out;
  for (const QString& entry : entries)
    out << (lookup == "minimum wage" ? entry + "&999" : entry);
  return out.join('|');
}

const QString A = "1/1/09&100";
const QString B = "1/1/10&200";
const QString C = "1/1/11&300";
const QString B2 = "1/1/09&200";  // B on A's day

}  // namespace

class LookupTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    test::UseTestClockAndLocale();
    CoInitialize(nullptr);
  }
  void cleanupTestCase() { CoUninitialize(); }

  void scan_data() {
    QTest::addColumn<QString>("lookup");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<double>("day");
    QTest::addColumn<double>("shown");
    const auto row = [](const char* name, const char* lookup, QStringList entries, double day,
                        double shown) {
      QTest::newRow(name) << QString(lookup) << entries << day << shown;
    };
    // Minimum wage: first to last, an entry counts when the day lies strictly after it.
    row("wage: before d1", "minimum wage", {A, B}, d1 - 1, 0);
    row("wage: on d1 does not count", "minimum wage", {A, B}, d1, 0);
    row("wage: after d1", "minimum wage", {A, B}, d1 + 1, 100);
    row("wage: on d2", "minimum wage", {A, B}, d2, 100);
    row("wage: after d2", "minimum wage", {A, B}, d2 + 1, 200);
    row("wage: time of day on d1 is d1", "minimum wage", {A, B}, d1 + 0.99, 0);
    row("wage: time of day on d2 + 1", "minimum wage", {A, B}, d2 + 1.5, 200);
    row("wage, newest first: after all gives the oldest", "minimum wage", {B, A}, d2 + 1, 100);
    row("wage, newest first: on the newest gives zero", "minimum wage", {B, A}, d2, 0);
    row("wage: same date twice, later wins", "minimum wage", {A, B2}, d1 + 1, 200);
    row("wage: out of order stops the scan", "minimum wage", {A, C, B}, d2 + 1, 100);
    row("wage: empty reply", "minimum wage", {}, d2 + 1, 0);
    row("wage: empty date editor", "minimum wage", {A, B}, kNullDate, 0);
    // Funds rate: last to first, strictly after.
    row("funds, newest first: on d1", "funds rate", {B, A}, d1, 0);
    row("funds, newest first: after d1", "funds rate", {B, A}, d1 + 1, 100);
    row("funds, newest first: on d2", "funds rate", {B, A}, d2, 100);
    row("funds, newest first: after d2", "funds rate", {B, A}, d2 + 1, 200);
    row("funds, oldest first: on d2 gives zero", "funds rate", {A, B}, d2, 0);
    row("funds, oldest first: after d2 gives the oldest", "funds rate", {A, B}, d2 + 1, 100);
    row("funds: same date twice, the one visited later (first) wins", "funds rate", {A, B2}, d1 + 1,
        100);
    row("funds: out of order stops the scan", "funds rate", {A, C, B}, d2 + 1, 200);
    row("funds: time of day", "funds rate", {B, A}, d2 + 0.5, 100);
    row("funds: empty reply", "funds rate", {}, d2 + 1, 0);
    row("funds: empty date editor", "funds rate", {B, A}, kNullDate, 0);
    // Price index: first to last, on or after.
    row("index: before d1", "price index", {A, B}, d1 - 1, 0);
    row("index: on d1 counts", "price index", {A, B}, d1, 100);
    row("index: between", "price index", {A, B}, d2 - 1, 100);
    row("index: on d2", "price index", {A, B}, d2, 200);
    row("index: after d2", "price index", {A, B}, d2 + 1, 200);
    row("index, newest first: on or after all gives the oldest", "price index", {B, A}, d2, 100);
    row("index, newest first: before the newest gives zero", "price index", {B, A}, d2 - 1, 0);
    row("index: same date twice, later wins", "price index", {A, B2}, d1, 200);
    row("index: out of order stops the scan", "price index", {A, C, B}, d2, 100);
    row("index: time of day just before d1 is the day before", "price index", {A, B}, d1 - 0.01, 0);
    row("index: empty reply", "price index", {}, d2, 0);
    row("index: empty date editor", "price index", {A, B}, kNullDate, 0);
  }

  void scan() {
    QFETCH(QString, lookup);
    QFETCH(QStringList, entries);
    QFETCH(double, day);
    QFETCH(double, shown);
    const Lookup& l = LookupOf(lookup);
    test::ConnectedForm w;
    w.server->Reply(l.op, Reply(lookup, entries).toStdU16String());
    auto* date = w.Get<DateEdit>(l.dateEdit);
    if (day == kNullDate)
      date->Clear();
    else
      date->SetValue(day);
    // A value from before shows that the click always writes its result.
    w.Get<CurrencyEdit>(l.result)->SetValue(-1);
    w.Click(l.button);
    QVERIFY(w.errors.boxes.empty());
    QCOMPARE(*w.Get<CurrencyEdit>(l.result)->Value(), shown);
    QCOMPARE(w.server->CallCount(l.op), 1);
  }

  // The country text goes to the server unchanged, on every click; the result shows by the
  // display pattern.
  void sendsTheCountryAndShowsByThePattern_data() {
    QTest::addColumn<QString>("lookup");
    QTest::newRow("minimum wage") << "minimum wage";
    QTest::newRow("funds rate") << "funds rate";
    QTest::newRow("price index") << "price index";
  }

  void sendsTheCountryAndShowsByThePattern() {
    QFETCH(QString, lookup);
    const Lookup& l = LookupOf(lookup);
    test::ConnectedForm w;
    w.server->Reply(l.op, Reply(lookup, {"1/1/09&1234567.891"}).toStdU16String());
    w.Get<StringListComboBox>("cxComboBox1")->SetText(" United Kingdom ");
    w.Get<DateEdit>(l.dateEdit)->SetValue(d3);
    w.Click(l.button);
    w.Click(l.button);
    const std::string call = std::string(l.operation) + "(\" United Kingdom \")";
    QCOMPARE(w.server->Log(), (std::vector<std::string>{call, call}));
    QCOMPARE(w.Get<CurrencyEdit>(l.result)->text(), QString("1,234,567.89"));
  }

  // A failed call or an entry that does not read: the error box, and the former value stays.
  void failureKeepsTheFormerValue_data() {
    QTest::addColumn<QString>("lookup");
    QTest::addColumn<bool>("callFails");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("message");
    for (const char* lookup : {"minimum wage", "funds rate", "price index"}) {
      QTest::addRow("%s: server call fails", lookup) << lookup << true << ""
                                                     << "No data for the country.";
      QTest::addRow("%s: a date that does not read", lookup)
          << lookup << false << Reply(lookup, {"1/1/09&100", ""}) << "'''' is not a valid date.";
      QTest::addRow("%s: a number that does not read", lookup)
          << lookup << false << (QString(lookup) == "minimum wage" ? "1/1/09&1,5&2" : "1/1/09&1,5")
          << "'1,5' is not a valid floating point value.";
    }
  }

  void failureKeepsTheFormerValue() {
    QFETCH(QString, lookup);
    QFETCH(bool, callFails);
    QFETCH(QString, reply);
    QFETCH(QString, message);
    const Lookup& l = LookupOf(lookup);
    test::ConnectedForm w;
    w.server->Reply(l.op, Reply(lookup, {"1/1/09&7"}).toStdU16String());
    w.Get<DateEdit>(l.dateEdit)->SetValue(d3);
    w.Click(l.button);
    QCOMPARE(*w.Get<CurrencyEdit>(l.result)->Value(), 7.0);
    if (callFails)
      w.server->Fail(l.op,
                     {E_FAIL, scripted::ErrorDetails{u"No data for the country", u"", u"", 0}});
    else
      w.server->Reply(l.op, reply.toStdU16String());
    w.Click(l.button);
    QCOMPARE(w.errors.Texts(), QStringList({message}));
    QCOMPARE(*w.Get<CurrencyEdit>(l.result)->Value(), 7.0);
    QVERIFY(w.Get<QWidget>("Button2")->isEnabled());
  }
};

QTEST_MAIN(LookupTest)
#include "lookup_test.moc"
