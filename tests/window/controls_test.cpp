// The editor controls: the combo box over a client string list, the date editor that can hold no
// date, the currency editor with its display pattern, and the memo's append rule.

#include <QCalendarWidget>
#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QToolButton>

#include "CurrencyEdit.h"
#include "DateEdit.h"
#include "Memo.h"
#include "StringListComboBox.h"
#include "TextToValue.h"
#include "WindowTestSupport.h"

using namespace quorvane;

namespace {

QStringList QtItems(const QComboBox& box) {
  QStringList items;
  for (int i = 0; i < box.count(); ++i)
    items.append(box.itemText(i));
  return items;
}

}  // namespace

class ControlsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { test::UseTestClockAndLocale(); }

  // Filling the string list in place (as the loaders do) refreshes the drop-down, keeps the text,
  // keeps duplicates and the reply's order.
  void comboBoxFollowsItsStringList() {
    StringListComboBox box;
    box.SetText("typed");
    box.Items().SetDelimitedText(u"Zeta,Alpha,Alpha,\"New Zealand\"");
    QCOMPARE(QtItems(box), QStringList({"Zeta", "Alpha", "Alpha", "New Zealand"}));
    QCOMPARE(box.Text(), QString("typed"));
    box.Items().SetDelimitedText(u"");
    QCOMPARE(QtItems(box), QStringList());
    QCOMPARE(box.Text(), QString("typed"));
  }

  // Text typed and confirmed with Enter is taken as typed and never added as an item; choosing an
  // item sets the text.
  void comboBoxTypingAndChoosing_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("not an item") << "EUR";
    QTest::newRow("the start of an item is not completed") << "US";
    QTest::newRow("an item in another case keeps its case") << "usd";
  }

  void comboBoxTypingAndChoosing() {
    QFETCH(QString, typed);
    StringListComboBox box;
    box.Items().SetDelimitedText(u"RUB,USD");
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.lineEdit()->clear();
    QTest::keyClicks(box.lineEdit(), typed);
    QCOMPARE(box.Text(), typed);
    QTest::keyClick(box.lineEdit(), Qt::Key_Return);
    QCOMPARE(box.Text(), typed);
    QCOMPARE(box.Items().Count(), 2);
    QCOMPARE(box.count(), 2);
    box.setCurrentIndex(1);
    QCOMPARE(box.Text(), QString("USD"));
    QCOMPARE(box.maxVisibleItems(), 8);
  }

  void dateEditHoldsNoDateOrADateTime() {
    DateEdit edit;
    QVERIFY(!edit.HasDate());
    QCOMPARE(edit.Value(), kNullDate);
    QCOMPARE(edit.Editor()->text(), QString());
    edit.SetValue(40459.75);  // 2010-10-08 18:00: the time of day is kept
    QCOMPARE(edit.Value(), 40459.75);
    QCOMPARE(edit.Date(), QDate(2010, 10, 8));
    QCOMPARE(edit.Editor()->text(), QString("10/8/10"));
    edit.Clear();
    QCOMPARE(edit.Value(), kNullDate);
    edit.SetDate(QDate(1899, 12, 30));
    QCOMPARE(edit.Value(), 0.0);
    edit.SetDate(QDate(1899, 12, 29));
    QCOMPARE(edit.Value(), -1.0);
  }

  // The user types a date, empties the text, or types something that is no date.
  void dateEditTyping_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("value");
    QTest::newRow("a date by the short pattern") << "3/1/2009" << 39873.0;
    QTest::newRow("emptied: no date") << "" << kNullDate;
    QTest::newRow("no date at all: the held date stays") << "tomorrow" << 40459.0;
  }

  void dateEditTyping() {
    QFETCH(QString, typed);
    QFETCH(double, value);
    DateEdit edit;
    edit.SetValue(40459.0);
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    edit.Editor()->setFocus();
    edit.Editor()->selectAll();
    if (typed.isEmpty())
      QTest::keyClick(edit.Editor(), Qt::Key_Delete);
    QTest::keyClicks(edit.Editor(), typed);
    QTest::keyClick(edit.Editor(), Qt::Key_Return);
    QCOMPARE(edit.Value(), value);
  }

  // The clear button of the editor leaves it without a date.
  void dateEditClearButton() {
    DateEdit edit;
    edit.SetValue(40459.0);
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    QToolButton* clear = nullptr;
    for (auto* button : edit.Editor()->findChildren<QToolButton*>())
      clear = button;
    QVERIFY(clear);
    QTest::mouseClick(clear, Qt::LeftButton);
    QCOMPARE(edit.Value(), kNullDate);
  }

  // The calendar opens on the held date, or on today when there is none; a picked day is held.
  void dateEditCalendar() {
    DateEdit edit;
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    edit.ShowCalendar();
    QCOMPARE(edit.Calendar()->selectedDate(), QDate::currentDate());
    edit.Calendar()->window()->hide();
    edit.SetDate(QDate(2010, 10, 8));
    // The drop-down button beside the text opens it.
    auto* dropDown = edit.findChild<QToolButton*>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(dropDown);
    QTest::mouseClick(dropDown, Qt::LeftButton);
    QVERIFY(edit.Calendar()->isVisible());
    QCOMPARE(edit.Calendar()->selectedDate(), QDate(2010, 10, 8));
    QCOMPARE(edit.Calendar()->monthShown(), 10);
    edit.Calendar()->setSelectedDate(QDate(2010, 10, 20));
    QTest::keyClick(edit.Calendar()->findChild<QAbstractItemView*>(), Qt::Key_Return);
    QCOMPARE(edit.Date(), QDate(2010, 10, 20));
    QVERIFY(!edit.Calendar()->isVisible());
  }

  void currencyEditShowsItsPatternWithoutFocus_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("grouping and two decimals") << 1234567.891 << "1,234,567.89";
    QTest::newRow("negative") << -4330.0 << "-4,330.00";
    QTest::newRow("zero") << 0.0 << "0.00";
  }

  void currencyEditShowsItsPatternWithoutFocus() {
    QFETCH(double, value);
    QFETCH(QString, shown);
    CurrencyEdit edit;
    QCOMPARE(edit.text(), QString());
    edit.SetValue(value);
    QCOMPARE(edit.text(), shown);
    QCOMPARE(*edit.Value(), value);
    edit.Clear();
    QCOMPARE(edit.text(), QString());
  }

  void memoAppendRule_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("appended");
    QTest::addColumn<QString>("after");
    QTest::newRow("empty memo") << "" << QStringList{"a"} << "a\r\n";
    QTest::newRow("ends with a line break") << "x\r\n"
                                            << QStringList{"a", "b"} << "x\r\na\r\nb\r\n";
    // Each append starts a new line, and the text keeps ending without a line break.
    QTest::newRow("user left no final line break") << "x" << QStringList{"a", "b"} << "x\r\na\r\nb";
    QTest::newRow("a line break inside the text gives two lines")
        << "x\r\n"
        << QStringList{"one\r\ntwo", "c"} << "x\r\none\r\ntwo\r\nc\r\n";
    QTest::newRow("an empty text adds an empty line") << "x\r\n" << QStringList{""} << "x\r\n\r\n";
    QTest::newRow("text ending with a line break")
        << "" << QStringList{"a\r\n", "b"} << "a\r\n\r\nb\r\n";
  }

  void memoAppendRule() {
    QFETCH(QString, before);
    QFETCH(QStringList, appended);
    QFETCH(QString, after);
    Memo memo;
    memo.setPlainText(QString(before).replace("\r\n", "\n"));
    for (const QString& line : appended)
      memo.AppendLine(line);
    QCOMPARE(memo.Text(), after);
    // The same through one appender for a whole listing.
    memo.setPlainText(QString(before).replace("\r\n", "\n"));
    {
      Memo::Appender appender(memo);
      for (const QString& line : appended)
        appender.AppendLine(line);
    }
    QCOMPARE(memo.Text(), after);
  }

  // A listing is one edit: one undo step takes it back.
  void memoListingIsOneEdit() {
    Memo memo;
    memo.setPlainText("x\n");
    {
      Memo::Appender appender(memo);
      for (int i = 0; i < 100; ++i)
        appender.AppendLine(QString::number(i));
    }
    QCOMPARE(memo.blockCount(), 102);
    memo.undo();
    QCOMPARE(memo.Text(), QString("x\r\n"));
  }
};

QTEST_MAIN(ControlsTest)
#include "controls_test.moc"
