// Number reading with money rounding against strtod, and the money texts against std::to_chars,
// each over the same one million values in the same run.

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "LocaleSettings.h"
#include "TextToValue.h"
#include "ValueToText.h"

namespace {

using namespace quorvane;

constexpr int kCount = 1000000;

// Money-like numbers: up to 11 integer digits and up to 6 decimals, some negative.
struct Inputs {
  std::vector<std::string> narrow;
  std::vector<std::u16string> wide;
  std::vector<std::int64_t> counts;
  std::vector<double> reals;
  Inputs() {
    std::mt19937_64 random(42);
    for (int i = 0; i < kCount; ++i) {
      std::string text = random() % 4 == 0 ? "-" : "";
      text += std::to_string(random() % 100000000000u >> (random() % 36));
      const int decimals = static_cast<int>(random() % 7);
      if (decimals > 0) {
        text += '.';
        for (int k = 0; k < decimals; ++k)
          text += static_cast<char>('0' + random() % 10);
      }
      narrow.push_back(text);
      wide.emplace_back(text.begin(), text.end());
      const std::int64_t count = static_cast<std::int64_t>(random() >> (14 + random() % 40));
      counts.push_back(random() & 1 ? count : -count);
      reals.push_back(static_cast<double>(counts.back()) / 10000.0);
    }
  }
};

const Inputs& TheInputs() {
  static const Inputs inputs;
  return inputs;
}

void BM_ReadMoney(benchmark::State& state) {
  const Inputs& in = TheInputs();
  for (auto _ : state) {
    std::int64_t sum = 0;
    for (const std::u16string& text : in.wide)
      sum += ReadMoney(text).Count;
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_ReadMoney)->Unit(benchmark::kMillisecond);

void BM_Strtod(benchmark::State& state) {
  const Inputs& in = TheInputs();
  for (auto _ : state) {
    double sum = 0;
    for (const std::string& text : in.narrow)
      sum += std::strtod(text.c_str(), nullptr);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_Strtod)->Unit(benchmark::kMillisecond);

void BM_FourDecimalText(benchmark::State& state) {
  const Inputs& in = TheInputs();
  for (auto _ : state) {
    std::size_t length = 0;
    for (std::int64_t count : in.counts)
      length += FourDecimalText(Currency{count}).size();
    benchmark::DoNotOptimize(length);
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_FourDecimalText)->Unit(benchmark::kMillisecond);

void BM_DisplayPatternText(benchmark::State& state) {
  const Inputs& in = TheInputs();
  for (auto _ : state) {
    std::size_t length = 0;
    for (double value : in.reals)
      length += DisplayPatternText(kCurrencyDisplayPattern, value).size();
    benchmark::DoNotOptimize(length);
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_DisplayPatternText)->Unit(benchmark::kMillisecond);

void BM_ToCharsFixed(benchmark::State& state) {
  const Inputs& in = TheInputs();
  const int decimals = static_cast<int>(state.range(0));
  for (auto _ : state) {
    std::size_t length = 0;
    char buffer[64];
    for (double value : in.reals) {
      const auto result =
          std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
      length += static_cast<std::size_t>(result.ptr - buffer);
    }
    benchmark::DoNotOptimize(length);
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_ToCharsFixed)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
