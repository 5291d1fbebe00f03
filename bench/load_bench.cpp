// A one-million-entry price-index reply end to end: the BSTR from the scripted server, split into
// entries, decoded into the table. Reports entries per second and the peak memory that one load
// adds to the process, against the reply's size (its UTF-16 bytes).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "LocaleSettings.h"
#include "uQuorvaneFunc.h"

#include "ScriptedServer.h"

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
  LoadPriceIndex(u"Chile");
  const long peak = StatusKb("VmHWM") - before;
  if (PriceIndexTable.size() != static_cast<std::size_t>(entries))
    state.SkipWithError("wrong table length");

  for (auto _ : state) {
    state.PauseTiming();
    PriceIndexTable = {};
    state.ResumeTiming();
    LoadPriceIndex(u"Chile");
    benchmark::DoNotOptimize(PriceIndexTable.data());
  }
  state.SetItemsProcessed(state.iterations() * entries);
  state.counters["reply_MB"] = replyBytes / 1e6;
  state.counters["peak_added_MB"] = static_cast<double>(peak) * 1024 / 1e6;
  state.counters["peak_per_reply"] = static_cast<double>(peak) * 1024 / replyBytes;
  state.counters["peak_reset"] = resetWorked ? 1 : 0;
  FinalizeQuorvaneFunc();
}
BENCHMARK(LoadPriceIndexReply)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
