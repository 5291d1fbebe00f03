// The subcommands of quorvane-cli, listed once. A new one is a file of its own with its factory,
// declared and listed here; the order here is the order of --help and of the manual page.
#include "Subcommand.h"

namespace quorvane::cli {

std::unique_ptr<Subcommand> MakeCountriesSubcommand();
std::unique_ptr<Subcommand> MakeValuesSubcommand();
std::unique_ptr<Subcommand> MakeSeriesSubcommand();
std::unique_ptr<Subcommand> MakeHistorySubcommand();
std::unique_ptr<Subcommand> MakeRateSubcommand();
std::unique_ptr<Subcommand> MakeChartSubcommand();
std::unique_ptr<Subcommand> MakeCodeSubcommand();
std::unique_ptr<Subcommand> MakeVisibleSubcommand();
std::unique_ptr<Subcommand> MakeCheckSubcommand();
std::unique_ptr<Subcommand> MakeRecordSubcommand();
std::unique_ptr<Subcommand> MakeDiffSubcommand();

std::vector<std::unique_ptr<Subcommand>> MakeSubcommands() {
  std::vector<std::unique_ptr<Subcommand>> subcommands;
  for (auto make :
       {MakeCountriesSubcommand, MakeValuesSubcommand, MakeSeriesSubcommand, MakeHistorySubcommand,
        MakeRateSubcommand, MakeChartSubcommand, MakeCodeSubcommand, MakeVisibleSubcommand,
        MakeCheckSubcommand, MakeRecordSubcommand, MakeDiffSubcommand})
    subcommands.push_back(make());
  return subcommands;
}

}  // namespace quorvane::cli
