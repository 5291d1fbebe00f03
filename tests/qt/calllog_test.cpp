// The call log window: opened by Ctrl+L and from the memo's menu, its rows for Create and the
// lookups with their statuses, a failing call's status and description, the rows following new
// calls, Clear, Copy, Save as CSV and JSON read back, and "Log calls" switching the log off.

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

#include "CallLogWindow.h"
#include "ConnectedForm.h"
#include "Errors.h"
#include "Memo.h"

using namespace quorvane;
using scripted::Op;

namespace {

QString Cell(const CallLogWindow& window, int row, CallLogColumn column) {
  return window.Model().index(row, static_cast<int>(column)).data().toString();
}

QStringList Operations(const CallLogWindow& window) {
  QStringList operations;
  for (int row = 0; row < window.Model().rowCount(); ++row)
    operations << Cell(window, row, CallLogColumn::Operation);
  return operations;
}

QString Last(const CallLogWindow& window, CallLogColumn column) {
  return Cell(window, window.Model().rowCount() - 1, column);
}

template <typename T>
T* Part(CallLogWindow& window, const char* name) {
  return test::Control<T>(window, name);
}

void ClickRow(QTableView* table, int row, Qt::KeyboardModifiers modifiers = {}) {
  const QRect cell = table->visualRect(table->model()->index(row, 2));
  QTest::mouseClick(table->viewport(), Qt::LeftButton, modifiers, cell.center());
}

}  // namespace

class CallLogTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    test::UseTestClockAndLocale();
    CoInitialize(nullptr);
  }
  void cleanupTestCase() { CoUninitialize(); }
  void init() {
    TheCallLog().SetEnabled(true);
    TheCallLog().Clear();
  }
  void cleanup() { TheCallLog().SetEnabled(true); }

  void openedByTheKeyWithCreateAndTheLookups() {
    test::ConnectedForm w;
    w.server->Reply(Op::GetMinimumWageList, u"1/1/09&5&9");
    w.Click("Button4");
    QApplication::setActiveWindow(&w.form);
    QVERIFY(QTest::qWaitForWindowActive(&w.form));
    QTest::keyClick(w.Get<Memo>("cxMemo1"), Qt::Key_L, Qt::ControlModifier);
    CallLogWindow* log = w.form.CallLog();
    QVERIFY(log && log->isVisible());
    QCOMPARE(log->windowTitle(), "Call Log");
    QCOMPARE(Operations(*log),
             QStringList({"Create", "GetCountryList", "GetFieldValueList", "GetFieldValueList",
                          "GetFieldValueList", "GetFieldValueList", "Get_Visible",
                          "GetMinimumWageList"}));
    for (int row = 0; row < log->Model().rowCount(); ++row)
      QCOMPARE(Cell(*log, row, CallLogColumn::Status), "0x00000000");
    QCOMPARE(Cell(*log, 2, CallLogColumn::Arguments), "LetterCode");
    QCOMPARE(Last(*log, CallLogColumn::Arguments), "Russia");
    QCOMPARE(Last(*log, CallLogColumn::ReplyLength), "10");
    QCOMPARE(log->Model().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "#");
    QVERIFY2(log->SummaryText().startsWith("8 calls, 0 failed, "), qPrintable(log->SummaryText()));
  }

  void openedFromTheMemosMenu() {
    test::ConnectedForm w;
    QMenu* menu = w.Get<Memo>("cxMemo1")->CreateContextMenu();
    QAction* entry = menu->actions().back();
    QCOMPARE(entry->text(), "Call Log...");
    QCOMPARE(entry->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
    entry->trigger();
    delete menu;
    QVERIFY(w.form.CallLog() && w.form.CallLog()->isVisible());
    QCOMPARE(Operations(*w.form.CallLog()).front(), "Create");
  }

  // Open, it follows each new call; a failure shows its status and the server's description.
  void followsNewCallsAndShowsAFailure() {
    test::ConnectedForm w;
    w.form.ShowCallLog();
    CallLogWindow& log = *w.form.CallLog();
    const int before = log.Model().rowCount();
    w.server->Fail(Op::GetMinimumWageList,
                   {static_cast<HRESULT>(0x80040201), scripted::ErrorDetails{u"Unknown country"}});
    w.Click("Button4");
    QTRY_COMPARE(log.Model().rowCount(), before + 1);
    QCOMPARE(Last(log, CallLogColumn::Operation), "GetMinimumWageList");
    QCOMPARE(Last(log, CallLogColumn::Status), "0x80040201");
    QCOMPARE(Last(log, CallLogColumn::Description), "Unknown country");
    QCOMPARE(w.errors.boxes.size(), 1u);
    QVERIFY2(log.SummaryText().contains(" calls, 1 failed, "), qPrintable(log.SummaryText()));

    w.server->Reply(Op::GetExchangeRate, u"NRUB per USD=30.5");
    w.Click("Button8");
    QTRY_COMPARE(log.Model().rowCount(), before + 2);
    QCOMPARE(Last(log, CallLogColumn::Operation), "GetExchangeRate");
    QVERIFY2(Last(log, CallLogColumn::Arguments).startsWith("RUB, USD, 2010-10-08"),
             qPrintable(Last(log, CallLogColumn::Arguments)));
  }

  void copySaveAndClear() {
    test::ConnectedForm w;
    w.form.ShowCallLog();
    CallLogWindow& log = *w.form.CallLog();
    QVERIFY(QTest::qWaitForWindowExposed(&log));
    const int rows = log.Model().rowCount();
    auto* table = Part<QTableView>(log, "CallLogTable");
    ClickRow(table, 0);
    ClickRow(table, 1, Qt::ShiftModifier);
    QTest::mouseClick(Part<QPushButton>(log, "CallLogCopy"), Qt::LeftButton);
    const QStringList copied = QApplication::clipboard()->text().split("\r\n", Qt::SkipEmptyParts);
    QCOMPARE(copied.size(), 3);
    QVERIFY(copied[0].startsWith("number,time,operation,arguments,status"));
    QVERIFY2(copied[1].contains(",Create,") && copied[2].contains(",GetCountryList,,0x00000000,"),
             qPrintable(copied.join('|')));

    QTemporaryDir dir;
    log.SaveTo(dir.filePath("calls.csv"));
    log.SaveTo(dir.filePath("calls.JSON"));
    QFile csv(dir.filePath("calls.csv")), json(dir.filePath("calls.JSON"));
    QVERIFY(csv.open(QIODevice::ReadOnly) && json.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = csv.readAll().split('\n');
    QCOMPARE(lines.size(), rows + 2);  // the header, the rows, and after the last line break
    QVERIFY(lines[1].contains(",Create,"));
    const QByteArray objects = json.readAll();
    QVERIFY(objects.startsWith("[\n {\"number\": "));
    QCOMPARE(objects.count("\"operation\": "), rows);
    QVERIFY(objects.contains("\"operation\": \"Get_Visible\""));
    bool refused = false;
    try {
      log.SaveTo(dir.filePath("no such folder/calls.csv"));
    } catch (const Exception& error) {
      refused =
          QString::fromStdU16String(error.Message()).startsWith("Cannot save the call log to ");
    }
    QVERIFY(refused);

    QTest::mouseClick(Part<QPushButton>(log, "CallLogClear"), Qt::LeftButton);
    QTRY_COMPARE(log.Model().rowCount(), 0);
    QVERIFY(TheCallLog().Calls().empty());
    QVERIFY2(log.SummaryText().startsWith("0 calls, 0 failed, "), qPrintable(log.SummaryText()));
  }

  void switchingTheLogOffStopsRows() {
    test::ConnectedForm w;
    w.server->Reply(Op::GetListOfExchangeRate, u";10/1/10=30");
    w.form.ShowCallLog();
    CallLogWindow& log = *w.form.CallLog();
    QVERIFY(QTest::qWaitForWindowExposed(&log));
    auto* on = Part<QCheckBox>(log, "CallLogSwitch");
    QCOMPARE(on->text(), "Log calls");
    QVERIFY(on->isChecked());
    const int before = log.Model().rowCount();
    QTest::mouseClick(on, Qt::LeftButton);
    QVERIFY(!on->isChecked() && !TheCallLog().Enabled());
    w.Click("Button7");
    QApplication::processEvents();
    QCOMPARE(log.Model().rowCount(), before);
    QVERIFY2(log.SummaryText().endsWith(", logging off"), qPrintable(log.SummaryText()));
    QCOMPARE(w.server->Calls().size(), 1u);  // the call still went to the server

    QTest::mouseClick(on, Qt::LeftButton);
    w.Click("Button7");
    QTRY_COMPARE(log.Model().rowCount(), before + 1);
    QCOMPARE(Last(log, CallLogColumn::Operation), "GetListOfExchangeRate");
  }
};

QTEST_MAIN(CallLogTest)
#include "calllog_test.moc"
