#pragma once
// For benchmarks that pair each pass with a baseline's: the processor time of one call (other work
// on a shared machine inflates the wall time, not this; the programs run one thread), and the
// ratios of the pairs as counters.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <string>
#include <vector>

template <typename Call>
double ProcessorSeconds(Call call) {
  const std::clock_t start = std::clock();
  call();
  return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

// The median ratio under `name`, and the lowest and the highest.
inline void ReportRatios(benchmark::State& state, const std::string& name,
                         std::vector<double> ratios) {
  std::sort(ratios.begin(), ratios.end());
  state.counters[name] = ratios.empty() ? 0 : ratios[ratios.size() / 2];
  state.counters["lowest"] = ratios.empty() ? 0 : ratios.front();
  state.counters["highest"] = ratios.empty() ? 0 : ratios.back();
}
