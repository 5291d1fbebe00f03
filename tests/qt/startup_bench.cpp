// Bench program (not a test): start to first paint of the main window, on the display the
// program finds (run it under Xvfb for the figures of a real X display; offscreen skips the
// platform theme's look-ups). Each run is a fresh process, since the look-ups and caches that
// cost time at start are made once per process. Prints the median of the runs per phase.
// Usage: startup_bench [runs]     (default 7 runs)

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string_view>
#include <vector>

#include "DateEdit.h"
#include "LocaleSource.h"
#include "uMain.h"

namespace {

// Stops the clock at the form's first paint.
class FirstPaint : public QObject {
 public:
  explicit FirstPaint(QElapsedTimer& clock) : clock_(clock) {}
  qint64 at = -1;
  std::clock_t cpuAt = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && at < 0) {
      at = clock_.nsecsElapsed();
      cpuAt = std::clock();
      QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QElapsedTimer& clock_;
};

double Ms(qint64 ns) {
  return static_cast<double>(ns) / 1e6;
}

// One start in this process: prints the wall time of each phase and the processor time to the
// first paint, in milliseconds.
int RunOnce(int argc, char** argv) {
  QElapsedTimer clock;
  clock.start();
  QApplication application(argc, argv);
  const qint64 applicationMade = clock.nsecsElapsed();
  quorvane::ReadLocaleSettings();
  const qint64 formStart = clock.nsecsElapsed();
  quorvane::Tform1 form1;
  const qint64 formMade = clock.nsecsElapsed();
  qint64 dateEditMade = 0;
  {
    // One more date editor after the form, the cost of each of the form's four.
    const qint64 before = clock.nsecsElapsed();
    quorvane::DateEdit probe(&form1);
    dateEditMade = clock.nsecsElapsed() - before;
  }
  FirstPaint paint(clock);
  form1.installEventFilter(&paint);
  form1.show();
  QApplication::exec();
  std::printf("%.2f %.2f %.2f %.2f %.2f\n", Ms(applicationMade), Ms(formMade - formStart),
              Ms(dateEditMade), Ms(paint.at),
              1000.0 * static_cast<double>(paint.cpuAt) / CLOCKS_PER_SEC);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string_view(argv[1]) == "--once")
    return RunOnce(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  std::vector<std::vector<double>> phases(5);
  QCoreApplication application(argc, argv);
  for (int run = 0; run < runs; ++run) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--once")});
    if (!child.waitForFinished(60000)) {
      std::fprintf(stderr, "run %d did not finish\n", run);
      return 1;
    }
    const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
    if (figures.size() != 5) {
      std::fprintf(stderr, "run %d printed no figures\n", run);
      return 1;
    }
    for (int i = 0; i < 5; ++i)
      phases[i].push_back(figures[i].toDouble());
  }
  const char* names[] = {"QApplication made", "form1 made", "one date editor made",
                         "start to first paint of form1", "processor time to first paint"};
  std::printf("median of %d runs (QT_QPA_PLATFORM=%s)\n", runs,
              qgetenv("QT_QPA_PLATFORM").constData());
  for (int i = 0; i < 5; ++i) {
    std::sort(phases[i].begin(), phases[i].end());
    std::printf("  %-32s %8.1f ms\n", names[i], phases[i][phases[i].size() / 2]);
  }
  return 0;
}
