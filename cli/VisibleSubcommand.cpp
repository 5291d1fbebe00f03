// visible: the server's visibility, set first when a state is given.
#include <CLI/CLI.hpp>

#include "Subcommand.h"

namespace quorvane::cli {

namespace {

class VisibleSubcommand final : public Subcommand {
 public:
  VisibleSubcommand()
      : Subcommand("visible",
                   "Show the server's visibility, or set it first (Get_Visible, Set_Visible)") {}

  void AddOptions(CLI::App& command) override {
    command.add_option("state", state_, "true or false (also on/off, yes/no, 1/0)")
        ->check(CLI::IsMember({"true", "false", "on", "off", "yes", "no", "1", "0"}));
  }

  int Run(const Invocation& run) override {
    if (state_.empty()) {
      run.raw ? run.Show(RawVisibility()) : run.Show(Visibility());
    } else {
      const bool visible = state_ == "true" || state_ == "on" || state_ == "yes" || state_ == "1";
      run.raw ? run.Show(RawSetVisibility(visible)) : run.Show(SetVisibility(visible));
    }
    return kSuccess;
  }

 private:
  std::string state_;
};

}  // namespace

std::unique_ptr<Subcommand> MakeVisibleSubcommand() {
  return std::make_unique<VisibleSubcommand>();
}

}  // namespace quorvane::cli
