#pragma once
// The processor time of one call, for benchmarks that pair their passes with a baseline's: other
// work on a shared machine inflates the wall time, not this (the programs run one thread).
#include <ctime>

template <typename Call>
double ProcessorSeconds(Call call) {
  const std::clock_t start = std::clock();
  call();
  return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}
