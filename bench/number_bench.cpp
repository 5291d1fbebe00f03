// Number reading with money rounding against strtod, and the money texts against std::to_chars,
// each over the same one million values in the same run. Arguments of the reading benchmarks pick
// the texts: 0 money-like numbers, 1 ties of the fourth decimal, 2 numbers in general.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "LocaleSettings.h"
#include "PairedTimes.h"
#include "TextToValue.h"
#include "ValueToText.h"

namespace {

using namespace quorvane;

constexpr int kCount = 1000000;

// Texts kept one behind the other in one buffer, so that both readers see the same memory layout
// (no heap string per text): the narrow ones end with a NUL for strtod.
struct TextPool {
  std::string narrowBuffer;
  std::u16string wideBuffer;
  std::vector<std::size_t> narrowStart, wideStart;
  std::vector<std::size_t> lengths;

  void Add(const std::string& text) {
    narrowStart.push_back(narrowBuffer.size());
    narrowBuffer += text;
    narrowBuffer += '\0';
    wideStart.push_back(wideBuffer.size());
    wideBuffer.append(text.begin(), text.end());
    lengths.push_back(text.size());
  }
  std::size_t Size() const { return lengths.size(); }
  const char* Narrow(std::size_t i) const { return narrowBuffer.data() + narrowStart[i]; }
  std::u16string_view Wide(std::size_t i) const {
    return std::u16string_view(wideBuffer).substr(wideStart[i], lengths[i]);
  }
};

std::string RandomDigits(std::mt19937_64& random, int count) {
  std::string digits;
  for (int k = 0; k < count; ++k)
    digits += static_cast<char>('0' + random() % 10);
  return digits;
}

// Money-like numbers: up to 11 integer digits and up to 6 decimals, some negative.
struct Inputs {
  TextPool money;
  // Every text a tie of the fourth decimal: four decimals, then a 5.
  TextPool ties;
  // Numbers in general: up to 17 significant digits, with and without exponents.
  TextPool numbers;
  std::vector<std::int64_t> counts;
  std::vector<double> reals;
  Inputs() {
    std::mt19937_64 random(42);
    for (int i = 0; i < kCount; ++i) {
      std::string text = random() % 4 == 0 ? "-" : "";
      text += std::to_string(random() % 100000000000u >> (random() % 36));
      const int decimals = static_cast<int>(random() % 7);
      if (decimals > 0)
        text += '.' + RandomDigits(random, decimals);
      money.Add(text);

      std::string tie = random() % 4 == 0 ? "-" : "";
      tie += std::to_string(random() % 100000000u >> (random() % 27));
      ties.Add(tie + '.' + RandomDigits(random, 4) + '5');

      std::string number = random() % 4 == 0 ? "-" : "";
      const int digits = 1 + static_cast<int>(random() % 17);
      const std::string all = RandomDigits(random, digits);
      const int point = static_cast<int>(random() % (digits + 1));
      number += all.substr(0, point) + '.' + all.substr(point);
      if (random() % 3 == 0)
        number += 'e' + std::to_string(static_cast<int>(random() % 41) - 20);
      numbers.Add(number);

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

// Which texts a benchmark reads: 0 money, 1 ties, 2 numbers.
const TextPool& Pool(const benchmark::State& state) {
  const Inputs& in = TheInputs();
  return state.range(0) == 0 ? in.money : state.range(0) == 1 ? in.ties : in.numbers;
}

// The separator is looked up once for all texts, as the loaders do for one reply.
void BM_ReadMoney(benchmark::State& state) {
  const TextPool& pool = Pool(state);
  for (auto _ : state) {
    const char16_t separator = CurrentLocaleSettings().DecimalSeparator;
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < pool.Size(); ++i)
      sum += ReadMoney(pool.Wide(i), separator).Count;
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(pool.Size()));
}
BENCHMARK(BM_ReadMoney)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// With the settings looked up for every text, as a single ReadMoney call does.
void BM_ReadMoneyOneByOne(benchmark::State& state) {
  const TextPool& pool = Pool(state);
  for (auto _ : state) {
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < pool.Size(); ++i)
      sum += ReadMoney(pool.Wide(i)).Count;
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(pool.Size()));
}
BENCHMARK(BM_ReadMoneyOneByOne)->Arg(0)->Unit(benchmark::kMillisecond);

// The general path alone, for the gain of the fast one.
void BM_ReadMoneyGeneral(benchmark::State& state) {
  const TextPool& pool = Pool(state);
  for (auto _ : state) {
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < pool.Size(); ++i)
      sum += ReadMoneyGeneral(pool.Wide(i), u'.').Count;
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(pool.Size()));
}
BENCHMARK(BM_ReadMoneyGeneral)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ReadNumber(benchmark::State& state) {
  const TextPool& pool = Pool(state);
  for (auto _ : state) {
    const char16_t separator = CurrentLocaleSettings().DecimalSeparator;
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < pool.Size(); ++i)
      sum += ReadNumber(pool.Wide(i), separator).Significand();
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(pool.Size()));
}
BENCHMARK(BM_ReadNumber)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

// The in-run baseline: the C library's reading of the same texts.
void BM_Strtod(benchmark::State& state) {
  const TextPool& pool = Pool(state);
  for (auto _ : state) {
    double sum = 0;
    for (std::size_t i = 0; i < pool.Size(); ++i)
      sum += std::strtod(pool.Narrow(i), nullptr);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(pool.Size()));
}
BENCHMARK(BM_Strtod)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Our reading against strtod in pairs of passes over the same texts, one right after the other,
// so that both see the same load; reports the median of the ratios (strtod's time over ours):
// on a busy machine steadier than two benchmarks run one after the other. The second argument
// picks the reader: 0 ReadMoney, 1 ReadNumber.
void BM_PairedAgainstStrtod(benchmark::State& state) {
  const TextPool& pool = Pool(state);
  const bool money = state.range(1) == 0;
  const char16_t separator = CurrentLocaleSettings().DecimalSeparator;
  std::vector<double> ratios;
  for (auto _ : state) {
    const double baseline = ProcessorSeconds([&pool] {
      double sum = 0;
      for (std::size_t i = 0; i < pool.Size(); ++i)
        sum += std::strtod(pool.Narrow(i), nullptr);
      benchmark::DoNotOptimize(sum);
    });
    const double ours = ProcessorSeconds([&pool, money, separator] {
      std::uint64_t sum = 0;
      for (std::size_t i = 0; i < pool.Size(); ++i)
        sum += money ? static_cast<std::uint64_t>(ReadMoney(pool.Wide(i), separator).Count)
                     : ReadNumber(pool.Wide(i), separator).Significand();
      benchmark::DoNotOptimize(sum);
    });
    if (ours > 0)
      ratios.push_back(baseline / ours);
  }
  ReportRatios(state, "times_strtod", std::move(ratios));
}
BENCHMARK(BM_PairedAgainstStrtod)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({2, 1})
    ->Args({0, 1})
    ->Iterations(21)
    ->Unit(benchmark::kMillisecond);

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
