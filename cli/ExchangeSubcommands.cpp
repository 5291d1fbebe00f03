// The exchange-rate subcommands: a pair's history, and its rate on a day.
#include <CLI/CLI.hpp>

#include "DateArgument.h"
#include "Subcommand.h"
#include "Utf.h"

namespace quorvane::cli {

namespace {

void AddPair(CLI::App& command, std::string& from, std::string& to) {
  command.add_option("from", from, "The first currency's letter code")->required();
  command.add_option("to", to, "The second currency's letter code")->required();
}

class HistorySubcommand final : public Subcommand {
 public:
  HistorySubcommand()
      : Subcommand("history",
                   "List the exchange-rate history of a currency pair (GetListOfExchangeRate)") {}

  void AddOptions(CLI::App& command) override { AddPair(command, from_, to_); }

  int Run(const Invocation& run) override {
    const std::u16string from = FromUtf8(from_), to = FromUtf8(to_);
    run.raw ? run.Show(RawExchangeHistory(from, to)) : run.Show(ExchangeHistory(from, to));
    return kSuccess;
  }

 private:
  std::string from_, to_;
};

class RateSubcommand final : public Subcommand {
 public:
  RateSubcommand()
      : Subcommand("rate",
                   "The exchange rate of a pair on a day: units of TO per unit of FROM "
                   "(GetExchangeRate)") {}

  void AddOptions(CLI::App& command) override {
    AddPair(command, from_, to_);
    command.add_option("date", dayText_, "The day")->required();
  }

  void Prepare() override { day_ = DayOf("date", dayText_); }

  int Run(const Invocation& run) override {
    const std::u16string from = FromUtf8(from_), to = FromUtf8(to_);
    run.raw ? run.Show(RawRateOnDate(from, to, day_)) : run.Show(RateOnDate(from, to, day_));
    return kSuccess;
  }

 private:
  std::string from_, to_, dayText_;
  TDateTime day_ = 0;
};

}  // namespace

std::unique_ptr<Subcommand> MakeHistorySubcommand() {
  return std::make_unique<HistorySubcommand>();
}

std::unique_ptr<Subcommand> MakeRateSubcommand() {
  return std::make_unique<RateSubcommand>();
}

}  // namespace quorvane::cli
