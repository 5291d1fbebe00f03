// Bench program (not a test): the two long jobs of the window against a scripted server, each
// timed beside the client's own share of it, with figures printed. Goal: under one second each.
//   - Button7Click listing a 100,000-entry exchange-rate history into the memo;
//   - a GetValueByDate (price index) over a 100,000-entry series, the chosen day after every entry;
//   - Create with 4,000 countries, and with 4,000 blank field values before each list of codes;
//   - the error box with a 1,000,000-character message, until it shows;
//   - a 1,000,000-character reply line appended to the memo by the raw history, until painted;
//   - the listing and 1,000 rates with the call log on (its window open and following) and off,
//     in pairs of the same run.
// Run offscreen: QT_QPA_PLATFORM=offscreen window_bench

#include <QAbstractButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include <QMessageBox>
#include <QTimer>

#include "CallLogWindow.h"
#include "ConnectedForm.h"
#include "DateEdit.h"
#include "Errors.h"
#include "Memo.h"
#include "ValueToText.h"

using namespace quorvane;
using scripted::Op;

namespace {

constexpr int kEntries = 100000;

// Consecutive days written by the short date text of the default settings.
std::u16string Series(char16_t delimiter, char16_t separator, bool leadingDelimiter) {
  std::u16string reply;
  if (leadingDelimiter)
    reply += delimiter;
  for (int i = 0; i < kEntries; ++i) {
    if (i > 0)
      reply += delimiter;
    reply += ShortDateText(2 + i);
    reply += separator;
    reply += u"12.3456";
  }
  return reply;
}

struct Timing {
  double wallMs = 1e30;
  double cpuMs = 0;
};

// The best of a few runs by wall time, with the processor time of that run (the machine may be
// shared, so the processor time tells the cost when the wall time is inflated by others' work).
Timing BestOf(int runs, const std::function<void()>& job) {
  Timing best;
  for (int r = 0; r < runs; ++r) {
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    job();
    const std::clock_t cpuStop = std::clock();
    const auto stop = std::chrono::steady_clock::now();
    const double wall = std::chrono::duration<double, std::milli>(stop - start).count();
    if (wall < best.wallMs)
      best = {wall, 1000.0 * static_cast<double>(cpuStop - cpuStart) / CLOCKS_PER_SEC};
  }
  return best;
}

// The job with the call log off and on, in pairs whose order alternates, so that a change of the
// machine's load meets both sides alike: the median time of each side and of the pairs' ratios.
void ReportLogCost(const char* what, int pairs, const std::function<void()>& job) {
  std::vector<double> off, on, ratios;
  for (int pair = 0; pair < pairs; ++pair) {
    double wall[2] = {};
    for (int side : {pair % 2, 1 - pair % 2}) {
      TheCallLog().SetEnabled(side == 1);
      const auto start = std::chrono::steady_clock::now();
      job();
      QApplication::processEvents();  // the window takes the new calls
      wall[side] =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count();
    }
    off.push_back(wall[0]);
    on.push_back(wall[1]);
    ratios.push_back(wall[1] / wall[0]);
  }
  TheCallLog().SetEnabled(true);
  const auto median = [](std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
  };
  std::printf("%-56s %8.1f ms off %8.1f ms on   on/off %.3f (%.3f..%.3f, %d pairs)\n", what,
              median(off), median(on), median(ratios),
              *std::min_element(ratios.begin(), ratios.end()),
              *std::max_element(ratios.begin(), ratios.end()), pairs);
}

void Report(const char* what, Timing t) {
  std::printf("%-56s %8.1f ms wall %8.1f ms cpu%s\n", what, t.wallMs, t.cpuMs,
              t.wallMs < 1000 ? "" : "   (over the goal of 1 s)");
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  SetCurrentYearSource([] { return 2010; });
  CoInitialize(nullptr);
  {
    test::ConnectedForm w;
    const std::u16string history = Series(u';', u'=', true);
    const std::u16string index = Series(u'|', u'&', false);
    w.server->Reply(Op::GetListOfExchangeRate, history);
    w.server->Reply(Op::GetPriceIndexList, index);
    auto* memo = w.Get<Memo>("cxMemo1");

    std::printf("%d entries per series, best of 3 runs\n", kEntries);
    Report("client only: LoadExchangeList (call, split, decode)",
           BestOf(3, [] { LoadExchangeList(u"RUB", u"USD"); }));
    Report("Button7Click: load and list into an empty memo", BestOf(3, [&] {
             memo->clear();
             w.Click("Button7");
             QApplication::processEvents();  // the memo's layout and paint count too
           }));
    const int lines = memo->blockCount();
    Report("Button7Click: a second listing below the first", BestOf(1, [&] {
             w.Click("Button7");
             QApplication::processEvents();
           }));
    std::printf("  memo lines after one listing: %d\n", lines - 1);

    w.Get<DateEdit>("cxDateEdit3")->SetValue(2e6);
    Report("client only: LoadPriceIndex (call, split, decode)",
           BestOf(3, [] { LoadPriceIndex(u"Russia"); }));
    Report("Button5Click: load and scan to the last entry", BestOf(3, [&] {
             w.Click("Button5");
             QApplication::processEvents();
           }));
    std::printf("  errors shown: %d\n", static_cast<int>(w.errors.boxes.size()));

    // The call log's cost, its window open and following every call.
    w.form.ShowCallLog();
    ReportLogCost("call log: Button7Click, 100,000 entries into the memo", 7, [&] {
      memo->clear();
      w.Click("Button7");
    });
    w.server->Reply(Op::GetExchangeRate, u"NRUB per USD=30.5");
    ReportLogCost("call log: Button8Click 1,000 times (a rate each)", 7, [&] {
      for (int i = 0; i < 1000; ++i)
        w.Click("Button8");
    });
    std::printf("  call log rows: %d\n", w.form.CallLog()->Model().rowCount());
    w.form.CallLog()->close();

    // A raw history of one line of a million characters.
    w.server->Reply(Op::GetListOfExchangeRate, std::u16string(1000000, u'7'));
    Report("CountryClick: a 1,000,000-character line into the memo", BestOf(1, [&] {
             w.Click("Country");
             QApplication::processEvents();
             memo->repaint();
           }));
  }
  {
    // Create against catalogues of 4,000 entries: the countries, whose names are all mended, and
    // the codes, each after a blank entry that is removed.
    std::u16string countries, codes;
    for (int i = 0; i < 4000; ++i) {
      countries += u";Country_" + QString::number(i).toStdU16String();
      codes += u", ,C" + QString::number(i).toStdU16String();
    }
    Report("Button1Click: Create with 4,000 countries and codes", BestOf(1, [&] {
             scripted::ScopedScriptedServer server;
             server->Reply(Op::GetCountryList, countries);
             server->Reply(Op::GetFieldValueList, u"RUB");
             Tform1 form;
             form.show();
             QTest::mouseClick(test::Control<QAbstractButton>(form, "Button1"), Qt::LeftButton);
             QApplication::processEvents();
             FinalizeQuorvaneFunc();
           }));
    Report("Button1Click: Create with 4,000 blank field values", BestOf(1, [&] {
             scripted::ScopedScriptedServer server;
             server->Reply(Op::GetCountryList, u";Russia");
             server->Reply(Op::GetFieldValueList, codes);
             Tform1 form;
             form.show();
             QTest::mouseClick(test::Control<QAbstractButton>(form, "Button1"), Qt::LeftButton);
             QApplication::processEvents();
             FinalizeQuorvaneFunc();
           }));
  }
  {
    // The real error box, closed as soon as it shows.
    const std::u16string message(1000000, u'x');
    Report("error box with a 1,000,000-character message, to shown", BestOf(1, [&] {
             QTimer::singleShot(0, [] {
               if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                 box->done(0);
             });
             Guarded([&] { throw Exception(message); });
           }));
  }
  CoUninitialize();
  return 0;
}
