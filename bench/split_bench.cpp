// Splitting a one-million-entry history reply, beside a plain find-the-delimiter loop that copies
// the same entries, over the same text in the same run.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "StringList.h"

namespace {

constexpr int kEntries = 1'000'000;

const std::u16string& Reply() {
  static const std::u16string reply = [] {
    std::u16string text;
    text.reserve(kEntries * 24);
    for (int i = 0; i < kEntries; ++i) {
      const int day = 1 + i % 28, month = 1 + i / 28 % 12, value = i % 100000;
      std::u16string entry = u"dd.MM.2010&vvvvv,25&7";
      entry[0] = static_cast<char16_t>(u'0' + day / 10);
      entry[1] = static_cast<char16_t>(u'0' + day % 10);
      entry[3] = static_cast<char16_t>(u'0' + month / 10);
      entry[4] = static_cast<char16_t>(u'0' + month % 10);
      for (int d = 0, v = value; d < 5; ++d, v /= 10)
        entry[15 - d] = static_cast<char16_t>(u'0' + v % 10);
      text += entry;
      text += u'|';
    }
    text.pop_back();
    return text;
  }();
  return reply;
}

void SetCounters(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * kEntries);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Reply().size() * 2));
}

// A fresh list per reply, as the loaders use.
void BM_SplitIntoFreshList(benchmark::State& state) {
  const std::u16string& reply = Reply();
  for (auto _ : state) {
    quorvane::StringList list;
    list.SetDelimiter(u'|');
    list.SetDelimitedText(reply);
    benchmark::DoNotOptimize(list.Count());
  }
  SetCounters(state);
}
BENCHMARK(BM_SplitIntoFreshList)->Unit(benchmark::kMillisecond);

// The same list split again, as a combo box's items are.
void BM_SplitIntoReusedList(benchmark::State& state) {
  const std::u16string& reply = Reply();
  quorvane::StringList list;
  list.SetDelimiter(u'|');
  for (auto _ : state) {
    list.SetDelimitedText(reply);
    benchmark::DoNotOptimize(list.Count());
  }
  SetCounters(state);
}
BENCHMARK(BM_SplitIntoReusedList)->Unit(benchmark::kMillisecond);

// The baseline: find each delimiter and copy the entry, no blanks, quotes or NUL.
void BM_PlainFindLoop(benchmark::State& state) {
  const std::u16string_view reply = Reply();
  for (auto _ : state) {
    std::vector<std::u16string> entries;
    entries.reserve(kEntries);
    std::size_t start = 0;
    for (;;) {
      const std::size_t bar = reply.find(u'|', start);
      entries.emplace_back(reply.substr(start, bar - start));
      if (bar == std::u16string_view::npos)
        break;
      start = bar + 1;
    }
    benchmark::DoNotOptimize(entries.size());
  }
  SetCounters(state);
}
BENCHMARK(BM_PlainFindLoop)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
