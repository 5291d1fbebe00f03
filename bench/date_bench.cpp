// Reading one million dates of a reply, and writing them back by the short date pattern.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "LocaleSettings.h"
#include "TextToValue.h"
#include "ValueToText.h"

namespace {

constexpr int kDates = 1'000'000;

quorvane::LocaleSettings Settings() {
  quorvane::LocaleSettings s;
  s.ShortDateFormat = u"dd.MM.yyyy";
  s.DateSeparator = u'.';
  return s;
}

const std::vector<double>& Days() {
  static const std::vector<double> days = [] {
    std::mt19937 rng(2010);
    std::uniform_int_distribution<int> day(0, 73000);  // 1899 to 2099
    std::vector<double> out(kDates);
    for (double& d : out)
      d = day(rng);
    return out;
  }();
  return days;
}

void BM_ReadDate(benchmark::State& state) {
  quorvane::ScopedLocaleSettings scoped(Settings());
  std::vector<std::u16string> texts;
  texts.reserve(kDates);
  for (double d : Days())
    texts.push_back(quorvane::ShortDateText(d));
  for (auto _ : state) {
    double sum = 0;
    for (const std::u16string& text : texts)
      sum += quorvane::ReadDate(text);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kDates);
}
BENCHMARK(BM_ReadDate)->Unit(benchmark::kMillisecond);

void BM_ShortDateText(benchmark::State& state) {
  quorvane::ScopedLocaleSettings scoped(Settings());
  for (auto _ : state) {
    std::size_t length = 0;
    for (double d : Days())
      length += quorvane::ShortDateText(d).size();
    benchmark::DoNotOptimize(length);
  }
  state.SetItemsProcessed(state.iterations() * kDates);
}
BENCHMARK(BM_ShortDateText)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
