// The chart window: opened from a lookup group's context menu and by Ctrl+G, on what that group
// loaded; it follows the next load; the pointer's readout, the zoom by a drag and back, and the
// picture copied and saved.

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QGroupBox>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>

#include "ChartWindow.h"
#include "ConnectedForm.h"
#include "DateEdit.h"
#include "Errors.h"

using namespace quorvane;
using scripted::Op;

namespace {

const TDateTime kDay = 40179;  // 2010-01-01

QWidget* Canvas(ChartWindow& chart) {
  return chart.findChild<QWidget*>("ChartCanvas");
}

// A pointer move without a button, as the window system sends it (offscreen, QTest's move
// sends none to a widget that no button holds).
void MovePointer(QWidget* widget, QPoint at) {
  QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(widget->mapToGlobal(at)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &move);
}

}  // namespace

class ChartTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    test::UseTestClockAndLocale();
    CoInitialize(nullptr);
  }
  void cleanupTestCase() { CoUninitialize(); }

  void openedByTheKeyOnTheGroupsLoadAndFollowsTheNext() {
    test::ConnectedForm w;
    QApplication::setActiveWindow(&w.form);
    QVERIFY(QTest::qWaitForWindowActive(&w.form));
    w.server->Reply(Op::GetPriceIndexList, u"1/1/09&100|1/1/10&200|1/1/11&150");
    w.Get<DateEdit>("cxDateEdit3")->SetValue(kDay);
    w.Click("Button5");
    w.server->Reply(Op::GetMinimumWageList, u"1/1/09&5&9");
    w.Click("Button4");

    // The focus in the price index's group: its chart, not the last load's.
    w.Get<DateEdit>("cxDateEdit3")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_G, Qt::ControlModifier);
    ChartWindow* chart = w.form.Chart();
    QVERIFY(chart && chart->isVisible());
    QCOMPARE(chart->windowTitle(), "Chart: Consumer price index, Russia");
    QCOMPARE(chart->Series().entries.size(), 3u);
    QVERIFY(chart->Series().chosen && chart->Series().chosen->Day == kDay);

    // Open, it follows the next load of any group.
    w.server->Reply(Op::GetListOfExchangeRate, u";10/1/10=30;10/2/10=31");
    w.Click("Button7");
    QCOMPARE(chart->windowTitle(), "Chart: ExchangeRate RUB->USD");
    QCOMPARE(chart->Series().entries.size(), 2u);
    QVERIFY(w.errors.boxes.empty());
  }

  void openedFromTheGroupsMenu() {
    test::ConnectedForm w;
    w.server->Reply(Op::GetFundsRateList, u"1/1/10&2|1/1/09&1");
    w.Click("Button3");
    auto* group = w.Get<QGroupBox>("cxGroupBox3");
    QString item;
    QTimer::singleShot(0, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu || menu->actions().isEmpty())
        return;
      item = menu->actions().front()->text();
      menu->actions().front()->trigger();
      menu->close();
    });
    emit group->customContextMenuRequested(QPoint(4, 4));
    QCOMPARE(item, "Chart...");
    QVERIFY(w.form.Chart() && w.form.Chart()->isVisible());
    QCOMPARE(w.form.Chart()->windowTitle(), "Chart: Federal funds rate, Russia");
  }

  void readoutZoomAndPictures() {
    test::ConnectedForm w;
    w.server->Reply(Op::GetPriceIndexList, u"1/1/09&100|1/1/10&200|1/1/11&150");
    w.Click("Button5");
    w.form.ShowChart(ControlId::cxGroupBox4);
    ChartWindow& chart = *w.form.Chart();
    chart.resize(640, 400);
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    QWidget* canvas = Canvas(chart);
    const QPoint middle(canvas->width() / 2, canvas->height() / 2);

    MovePointer(canvas, middle);
    QVERIFY2(chart.Readout().contains("1/1/10") || chart.Readout().contains("1/1/09") ||
                 chart.Readout().contains("1/1/11"),
             qPrintable(chart.Readout()));

    // A drag across the plot zooms to its days; Escape shows them all again.
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(middle.x() - 80, middle.y()));
    QTest::mouseMove(canvas, QPoint(middle.x() + 80, middle.y()));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(middle.x() + 80, middle.y()));
    QVERIFY(chart.Zoom().has_value());
    QVERIFY(chart.Zoom()->First < chart.Zoom()->Last);
    QTest::keyClick(&chart, Qt::Key_Escape);
    QVERIFY(!chart.Zoom().has_value());

    chart.CopyPicture();
    QCOMPARE(QApplication::clipboard()->image().size(), canvas->size());

    QTemporaryDir dir;
    chart.SavePng(dir.filePath("chart.png"));
    chart.SaveSvg(dir.filePath("chart.svg"));
    QFile png(dir.filePath("chart.png")), svg(dir.filePath("chart.svg"));
    QVERIFY(png.open(QIODevice::ReadOnly) && svg.open(QIODevice::ReadOnly));
    QVERIFY(png.read(8) == QByteArray("\x89PNG\r\n\x1a\n", 8));
    QVERIFY(svg.readAll().contains("Consumer price index, Russia"));
    bool refused = false;
    try {
      chart.SavePng(dir.filePath("no such folder/chart.png"));
    } catch (const Exception& error) {
      refused = QString::fromStdU16String(error.Message()).startsWith("Cannot save the chart to ");
    }
    QVERIFY(refused);
  }

  // Before any load the window opens with nothing to draw and says so.
  void nothingLoadedYet() {
    test::ConnectedForm w;
    w.form.ShowChart(std::nullopt);
    QCOMPARE(w.form.Chart()->windowTitle(),
             "Chart: " + QString::fromStdU16String(std::u16string(kNothingLoaded)));
    QVERIFY(w.form.Chart()->Series().entries.empty());
    QVERIFY(!w.form.Chart()->Picture().isNull());
  }
};

QTEST_MAIN(ChartTest)
#include "chart_test.moc"
