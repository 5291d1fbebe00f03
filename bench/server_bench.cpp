// Building the reference server's largest replies: the longest quoted exchange history, the
// longest computed one, the longest country series, and one rate on a day; beside them, reading
// the built-in data, and the client's split of the same history as a baseline.
#include <benchmark/benchmark.h>

#include "LocaleSettings.h"
#include "Replies.h"
#include "ServerData.h"
#include "StringList.h"

namespace {

using quorvane::server::ReferenceData;

quorvane::LocaleSettings Russian() {
  quorvane::LocaleSettings settings;
  settings.ShortDateFormat = u"dd.MM.yyyy";
  settings.DateSeparator = u'.';
  settings.DecimalSeparator = u',';
  return settings;
}

void BM_QuotedHistory_USD_GBP(benchmark::State& state) {
  quorvane::ScopedLocaleSettings settings(Russian());
  std::size_t length = 0;
  for (auto _ : state) {
    auto reply = ExchangeHistoryReply(ReferenceData(), u"USD", u"GBP");
    length = reply.Text.size();
    benchmark::DoNotOptimize(reply);
  }
  state.counters["chars"] = static_cast<double>(length);
}
BENCHMARK(BM_QuotedHistory_USD_GBP)->Unit(benchmark::kMillisecond);

void BM_ComputedHistory_RUB_GBP(benchmark::State& state) {
  quorvane::ScopedLocaleSettings settings(Russian());
  std::size_t length = 0;
  for (auto _ : state) {
    auto reply = ExchangeHistoryReply(ReferenceData(), u"RUB", u"GBP");
    length = reply.Text.size();
    benchmark::DoNotOptimize(reply);
  }
  state.counters["chars"] = static_cast<double>(length);
}
BENCHMARK(BM_ComputedHistory_RUB_GBP)->Unit(benchmark::kMillisecond);

void BM_PriceIndex_UnitedStates(benchmark::State& state) {
  quorvane::ScopedLocaleSettings settings(Russian());
  for (auto _ : state)
    benchmark::DoNotOptimize(PriceIndexReply(ReferenceData(), u"United States"));
}
BENCHMARK(BM_PriceIndex_UnitedStates)->Unit(benchmark::kMillisecond);

void BM_RateOnDay_RUB_GBP(benchmark::State& state) {
  quorvane::ScopedLocaleSettings settings(Russian());
  for (auto _ : state)
    benchmark::DoNotOptimize(ExchangeRateReply(ReferenceData(), u"RUB", u"GBP", 40459));
}
BENCHMARK(BM_RateOnDay_RUB_GBP)->Unit(benchmark::kMicrosecond);

void BM_LoadBuiltInData(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(quorvane::server::LoadServerData(quorvane::server::EmbeddedFiles()));
}
BENCHMARK(BM_LoadBuiltInData)->Unit(benchmark::kMillisecond);

// Baseline: the client's split of the quoted history reply into its entries.
void BM_Baseline_ClientSplit_USD_GBP(benchmark::State& state) {
  quorvane::ScopedLocaleSettings settings(Russian());
  std::u16string text = ExchangeHistoryReply(ReferenceData(), u"USD", u"GBP").Text;
  quorvane::StringList list;
  list.SetDelimiter(text[0]);
  for (auto _ : state) {
    list.SetDelimitedText(std::u16string_view(text).substr(1));
    benchmark::DoNotOptimize(list.Count());
  }
}
BENCHMARK(BM_Baseline_ClientSplit_USD_GBP)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
