// series: a country's minimum wage, price index or funds rate, or with --on the value in force on
// a day.
#include <CLI/CLI.hpp>

#include "DateArgument.h"
#include "SeriesNames.h"
#include "Subcommand.h"
#include "Utf.h"

namespace quorvane::cli {

namespace {

class SeriesSubcommand final : public Subcommand {
 public:
  SeriesSubcommand()
      : Subcommand(
            "series",
            "List the minimum wage, price index or funds rate of a country "
            "(GetMinimumWageList, GetPriceIndexList, GetFundsRateList); --on gives the value "
            "in force on a day, as the window's lookup picks it") {}

  void AddOptions(CLI::App& command) override {
    command.add_option("kind", kind_, "min-wage, cpi or funds-rate")
        ->required()
        ->check(CLI::IsMember(CountrySeriesNames()));
    command.add_option("country", country_, "The country, as the country list names it")
        ->required();
    command.add_option("--on", on_, "The day whose value is wanted")->type_name("DATE");
  }

  void Prepare() override {
    if (!on_.empty())
      day_ = DayOf("--on", on_);
  }

  int Run(const Invocation& run) override {
    const SeriesKind kind = CountrySeriesNamed(kind_);
    const std::u16string country = FromUtf8(country_);
    if (run.raw)
      run.Show(RawSeries(kind, country));
    else if (!on_.empty())
      run.Show(SeriesOnDay(kind, country, day_));
    else
      run.Show(Series(kind, country));
    return kSuccess;
  }

 private:
  std::string kind_, country_, on_;
  TDateTime day_ = 0;
};

}  // namespace

std::unique_ptr<Subcommand> MakeSeriesSubcommand() {
  return std::make_unique<SeriesSubcommand>();
}

}  // namespace quorvane::cli
