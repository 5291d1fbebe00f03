// The chart of the longest built-in history: its model and its SVG, against the load of the same
// table from the embedded server (the call, the split and the decoding that come before any
// chart). Besides, a zoomed model and the entry under a moving pointer.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "ChartSvg.h"
#include "Com.h"
#include "LocaleSettings.h"
#include "PairedTimes.h"
#include "ReferenceServer.h"
#include "uQuorvaneFunc.h"

namespace {

using namespace quorvane;

struct Pair {
  const char16_t* from;
  const char16_t* to;
};

// The server connected once for the whole run, and the longest of the daily histories.
struct History {
  Pair pair{u"", u""};
  std::vector<DateValueRec> table;

  History() {
    CoInitialize(nullptr);
    registration = server::RegisterReferenceServer();
    CreateServer();
    for (const Pair candidate : {Pair{u"RUB", u"USD"}, Pair{u"USD", u"GBP"}, Pair{u"USD", u"JPY"},
                                 Pair{u"USD", u"CHF"}, Pair{u"USD", u"CAD"}}) {
      LoadExchangeList(candidate.from, candidate.to);
      if (ExchangeTable.size() > table.size()) {
        table = ExchangeTable;
        pair = candidate;
      }
    }
  }
  server::ReferenceServerRegistration registration;
};

const History& TheHistory() {
  static const History history;
  return history;
}

chart::ChartInput Input(const History& history) {
  chart::ChartInput input;
  input.Entries = chart::ChartEntries(history.table);
  input.Width = 1000;
  input.Height = 500;
  input.Measure = chart::SvgTextMeasure();
  input.Chosen =
      chart::ChosenDay{EncodeDay(2010, 10, 8), history.table[history.table.size() / 2].Value};
  input.Title = u"Exchange rate";
  return input;
}

void Entries(benchmark::State& state, const History& history) {
  state.counters["entries"] = static_cast<double>(history.table.size());
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(history.table.size()));
}

// The baseline: the table's load, as the window makes it before opening a chart.
void BM_Baseline_Load(benchmark::State& state) {
  const History& history = TheHistory();
  for (auto _ : state) {
    LoadExchangeList(history.pair.from, history.pair.to);
    benchmark::DoNotOptimize(ExchangeTable.data());
  }
  Entries(state, history);
}
BENCHMARK(BM_Baseline_Load)->Unit(benchmark::kMillisecond);

void BM_Model(benchmark::State& state) {
  const History& history = TheHistory();
  const chart::ChartInput input = Input(history);
  for (auto _ : state)
    benchmark::DoNotOptimize(chart::ChartModel(input).Picture().Steps.data());
  Entries(state, history);
}
BENCHMARK(BM_Model)->Unit(benchmark::kMillisecond);

void BM_Svg(benchmark::State& state) {
  const History& history = TheHistory();
  const chart::ChartModel model(Input(history));
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string svg = chart::ChartSvg(model.Picture());
    bytes = svg.size();
    benchmark::DoNotOptimize(svg.data());
  }
  Entries(state, history);
  state.counters["svg_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_Svg)->Unit(benchmark::kMillisecond);

// One year of the history, as a zoom shows it.
void BM_ZoomedModel(benchmark::State& state) {
  const History& history = TheHistory();
  chart::ChartInput input = Input(history);
  input.Visible = chart::DateRange{EncodeDay(2008, 1, 1), EncodeDay(2008, 12, 31)};
  for (auto _ : state)
    benchmark::DoNotOptimize(chart::ChartModel(input).Picture().Steps.data());
  Entries(state, history);
}
BENCHMARK(BM_ZoomedModel)->Unit(benchmark::kMillisecond);

// The entry under the pointer, at every x of the plot in turn: one pointer move each.
void BM_NearestPoint(benchmark::State& state) {
  const chart::ChartModel model(Input(TheHistory()));
  const chart::ChartRect& plot = model.Picture().Plot;
  double x = plot.Left;
  for (auto _ : state) {
    benchmark::DoNotOptimize(model.NearestPoint({x, plot.Top + plot.Height / 2}));
    x = x + 1 > plot.Right() ? plot.Left : x + 1;
  }
}
BENCHMARK(BM_NearestPoint)->Unit(benchmark::kMicrosecond);

// The model and the SVG against the load in pairs of passes, one right after the other, so that
// both see the same load of the machine; reports the median of the ratios (the chart's time over
// the load's).
void BM_PairedAgainstLoad(benchmark::State& state) {
  const History& history = TheHistory();
  std::vector<double> ratios;
  for (auto _ : state) {
    const double load = ProcessorSeconds([&history] {
      LoadExchangeList(history.pair.from, history.pair.to);
      benchmark::DoNotOptimize(ExchangeTable.data());
    });
    const double chart = ProcessorSeconds([&history] {
      const chart::ChartModel model(Input(history));
      benchmark::DoNotOptimize(chart::ChartSvg(model.Picture()).data());
    });
    if (load > 0)
      ratios.push_back(chart / load);
  }
  ReportRatios(state, "times_load", std::move(ratios));
  state.counters["entries"] = static_cast<double>(history.table.size());
}
BENCHMARK(BM_PairedAgainstLoad)->Iterations(21)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
