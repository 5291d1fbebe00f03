// A one-million-entry price-index reply end to end: the BSTR from the scripted server, split into
// entries, decoded into the table. Reports entries per second, the heap allocations of one load
// per entry, and the peak memory that one load adds to the process against the reply's size (its
// UTF-16 bytes): by the operator new of this program (heap bytes alive at once) and by the resident
// size. Besides, the hostile shapes: ten million empty entries, and the blank-entry sweep of the
// field values.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include "Errors.h"
#include "LocaleSettings.h"
#include "PairedTimes.h"
#include "ServerCall.h"
#include "uQuorvaneFunc.h"

#include "ScriptedServer.h"

// Every heap allocation of the program, counted, with the bytes alive and their peak. The size
// is kept in front of each block so that the delete knows it.
namespace heap {
std::atomic<long long> allocations{0};
std::atomic<long long> alive{0};
std::atomic<long long> peak{0};

void* Allocate(std::size_t size) {
  constexpr std::size_t kHeader = alignof(std::max_align_t);
  auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (!block)
    throw std::bad_alloc();
  *reinterpret_cast<std::size_t*>(block) = size;
  ++allocations;
  const long long now = alive += static_cast<long long>(size);
  long long seen = peak.load();
  while (now > seen && !peak.compare_exchange_weak(seen, now)) {
  }
  return block + kHeader;
}

void Free(void* p) {
  if (!p)
    return;
  constexpr std::size_t kHeader = alignof(std::max_align_t);
  auto* block = static_cast<unsigned char*>(p) - kHeader;
  alive -= static_cast<long long>(*reinterpret_cast<std::size_t*>(block));
  std::free(block);
}

// Starts a new peak at the bytes alive now; returns them.
long long Mark() {
  const long long now = alive.load();
  peak = now;
  return now;
}
}  // namespace heap

void* operator new(std::size_t size) {
  return heap::Allocate(size);
}
void* operator new[](std::size_t size) {
  return heap::Allocate(size);
}
void operator delete(void* p) noexcept {
  heap::Free(p);
}
void operator delete[](void* p) noexcept {
  heap::Free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  heap::Free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  heap::Free(p);
}

namespace {

using namespace quorvane;

LocaleSettings ExampleLocale() {
  LocaleSettings settings;
  settings.ShortDateFormat = u"dd.MM.yyyy";
  settings.DateSeparator = u'.';
  settings.DecimalSeparator = u',';
  return settings;
}

// Entries like "07.03.1996&12345,6", a new day for each.
std::u16string PriceIndexReply(int entries) {
  std::string reply;
  reply.reserve(static_cast<std::size_t>(entries) * 19);
  char entry[40];
  for (int i = 0; i < entries; ++i) {
    const CalendarDay day = DecodeDay(EncodeDay(1990, 1, 1) + i % 3000000);
    std::snprintf(entry, sizeof entry, "%s%02d.%02d.%04d&%d,%d", i == 0 ? "" : "|", day.Day,
                  day.Month, day.Year, 100 + i % 100000, i % 10);
    reply += entry;
  }
  return std::u16string(reply.begin(), reply.end());
}

// A field of /proc/self/status in kB, or -1.
long StatusKb(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field + ":", 0) == 0)
      return std::stol(line.substr(field.size() + 1));
  }
  return -1;
}

// Starts a new peak at the present resident size; false where the system cannot.
bool ResetPeak() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return static_cast<bool>(clear);
}

double Median(std::vector<double> values) {
  if (values.empty())
    return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void LoadPriceIndexReply(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  ScopedLocaleSettings locale(ExampleLocale());
  scripted::ScopedScriptedServer server;
  std::u16string reply = PriceIndexReply(entries);
  const double replyBytes = static_cast<double>(reply.size() * sizeof(char16_t));
  server->Reply(scripted::Op::GetPriceIndexList, std::move(reply));
  if (!CreateServer()) {
    state.SkipWithError("no server");
    return;
  }

  // One load from an empty table, measured alone.
  PriceIndexTable = {};
  const bool resetWorked = ResetPeak();
  const long before = resetWorked ? StatusKb("VmRSS") : StatusKb("VmHWM");
  const long long heapBefore = heap::Mark();
  const long long allocationsBefore = heap::allocations.load();
  LoadPriceIndex(u"Chile");
  const long long allocations = heap::allocations.load() - allocationsBefore;
  const long long heapPeak = heap::peak.load() - heapBefore;
  const long peak = StatusKb("VmHWM") - before;
  if (PriceIndexTable.size() != static_cast<std::size_t>(entries))
    state.SkipWithError("wrong table length");

  // Each load paired with the server's part alone (the same call, its reply freed undecoded),
  // both in processor time, which other work on a shared machine does not inflate as it does
  // the wall time: their difference is the client's part.
  std::vector<double> loadSeconds, serverSeconds;
  const BStrArg country(u"Chile");
  for (auto _ : state) {
    state.PauseTiming();
    PriceIndexTable = {};
    BSTR alone = nullptr;
    serverSeconds.push_back(ProcessorSeconds([&] {
      Server().GetPriceIndexList(country.Get(), &alone);
      SysFreeString(alone);
    }));
    state.ResumeTiming();
    loadSeconds.push_back(ProcessorSeconds([] { LoadPriceIndex(u"Chile"); }));
    benchmark::DoNotOptimize(PriceIndexTable.data());
  }
  const double load = Median(loadSeconds), serverPart = Median(serverSeconds);
  state.counters["cpu_entries_per_s"] = entries / load;
  state.counters["server_cpu_share"] = serverPart / load;
  state.counters["client_cpu_entries_per_s"] =
      load > serverPart ? entries / (load - serverPart) : 0;
  state.SetItemsProcessed(state.iterations() * entries);
  state.counters["reply_MB"] = replyBytes / 1e6;
  state.counters["peak_added_MB"] = static_cast<double>(peak) * 1024 / 1e6;
  state.counters["peak_per_reply"] = static_cast<double>(peak) * 1024 / replyBytes;
  state.counters["peak_reset"] = resetWorked ? 1 : 0;
  state.counters["allocations_per_entry"] = static_cast<double>(allocations) / entries;
  state.counters["allocations"] = static_cast<double>(allocations);
  state.counters["heap_peak_per_reply"] = static_cast<double>(heapPeak) / replyBytes;
  FinalizeQuorvaneFunc();
}
BENCHMARK(LoadPriceIndexReply)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(9)
    ->UseRealTime();

// A reply of nothing but delimiters: ten million empty entries. The load fails at the first
// entry's date, after the table has taken the length of the reply's entries. Reports the heap
// peak of one load against the reply, and the part of it that is not the table.
void LoadEmptyEntries(benchmark::State& state) {
  const auto entries = static_cast<std::size_t>(state.range(0));
  ScopedLocaleSettings locale(ExampleLocale());
  scripted::ScopedScriptedServer server;
  server->Reply(scripted::Op::GetPriceIndexList, std::u16string(entries - 1, u'|'));
  const double replyBytes = static_cast<double>((entries - 1) * sizeof(char16_t));
  if (!CreateServer()) {
    state.SkipWithError("no server");
    return;
  }
  long long heapPeak = 0;
  for (auto _ : state) {
    PriceIndexTable = {};
    const long long heapBefore = heap::Mark();
    try {
      LoadPriceIndex(u"Chile");
    } catch (const EConvertError&) {
    }
    heapPeak = heap::peak.load() - heapBefore;
  }
  const double tableBytes = static_cast<double>(PriceIndexTable.size() * sizeof(DateValueRec));
  state.counters["heap_peak_per_reply"] = static_cast<double>(heapPeak) / replyBytes;
  state.counters["beyond_table_per_reply"] =
      (static_cast<double>(heapPeak) - tableBytes) / replyBytes;
  FinalizeQuorvaneFunc();
}
BENCHMARK(LoadEmptyEntries)->Arg(10000000)->Unit(benchmark::kMillisecond)->Iterations(1);

// Field values with many blank entries between two values: the sweep must stay linear.
void LoadBlankFieldValues(benchmark::State& state) {
  const auto blanks = static_cast<int>(state.range(0));
  scripted::ScopedScriptedServer server;
  std::u16string reply = u"RUB";
  for (int i = 0; i < blanks; ++i)
    reply += u",";
  reply += u",USD";
  const double replyBytes = static_cast<double>(reply.size() * sizeof(char16_t));
  server->Reply(scripted::Op::GetFieldValueList, std::move(reply));
  if (!CreateServer()) {
    state.SkipWithError("no server");
    return;
  }
  long long heapPeak = 0;
  for (auto _ : state) {
    StringList target;
    const long long heapBefore = heap::Mark();
    LoadFieldValues(u"LetterCode", target);
    heapPeak = heap::peak.load() - heapBefore;
    if (target.Count() != 2)
      state.SkipWithError("wrong entries");
  }
  state.counters["heap_peak_per_reply"] = static_cast<double>(heapPeak) / replyBytes;
  FinalizeQuorvaneFunc();
}
BENCHMARK(LoadBlankFieldValues)
    ->Arg(200000)
    ->Arg(10000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
