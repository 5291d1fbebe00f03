// chart: an SVG chart of a country's series or of a pair's history, drawn by chart/ under the
// locale settings, with the day of --on marked by the value in force on it.
#include <CLI/CLI.hpp>

#include <charconv>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "Calendar.h"
#include "ChartSvg.h"
#include "DateArgument.h"
#include "SeriesNames.h"
#include "Subcommand.h"
#include "Utf.h"
#include "ValueToText.h"

namespace quorvane::cli {

namespace {

constexpr const char* kHistory = "history";

// A side of the canvas: whole pixels within what the chart model draws.
bool ReadSide(std::string_view digits, double& side) {
  int value = 0;
  const char* end = digits.data() + digits.size();
  const auto [at, error] = std::from_chars(digits.data(), end, value);
  if (error != std::errc() || at != end || value < 1 || value > 65535)
    return false;
  side = value;
  return true;
}

bool EndsWithPng(const std::string& path) {
  if (path.size() < 4)
    return false;
  std::string end = path.substr(path.size() - 4);
  for (char& c : end)
    c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return end == ".png";
}

class ChartSubcommand final : public Subcommand {
 public:
  ChartSubcommand()
      : Subcommand(
            "chart",
            "Write an SVG chart of a country's minimum wage, price index or funds rate (chart "
            "min-wage|cpi|funds-rate COUNTRY) or of a pair's exchange-rate history (chart "
            "history FROM TO), labelled under the locale settings; --on marks a day with the "
            "value in force on it, as the window's lookup picks it (for a history the rate of "
            "the latest entry on or before the day)") {}

  void AddOptions(CLI::App& command) override {
    std::vector<std::string> kinds = CountrySeriesNames();
    kinds.push_back(kHistory);
    command.add_option("kind", kind_, "min-wage, cpi, funds-rate or history")
        ->required()
        ->check(CLI::IsMember(kinds));
    command
        .add_option("names", names_,
                    "COUNTRY for a series, as the country list names it; FROM TO for a history, "
                    "the two currencies' letter codes")
        ->required()
        ->expected(1, 2);
    command
        .add_option(
            "-o,--output", output_,
            "Write the SVG to FILE (SVG only, not PNG); - (the default) for standard output")
        ->type_name("FILE");
    command.add_option("--on", on_, "Mark this day with the value in force on it")
        ->type_name("DATE");
    CLI::Option* from =
        command.add_option("--from", from_, "Show the days from this one")->type_name("DATE");
    CLI::Option* to =
        command.add_option("--to", to_, "Show the days up to this one")->type_name("DATE");
    from->needs(to);
    to->needs(from);
    command.add_option("--size", size_, "The canvas in pixels, each side 1 to 65535 (800x450)")
        ->type_name("WIDTHxHEIGHT");
    command
        .add_option("--title", title_,
                    "The caption (the series and the country, or FROM->TO; empty for none)")
        ->type_name("TEXT");
  }

  void Prepare() override {
    const std::size_t wanted = kind_ == kHistory ? 2 : 1;
    if (names_.size() != wanted)
      throw UsageProblem{kind_ == kHistory
                             ? "history takes two letter codes, FROM TO"
                             : kind_ + " takes one COUNTRY (quote a name with spaces)"};
    if (output_.empty())
      throw UsageProblem{"--output: give a file name, or - for standard output"};
    if (EndsWithPng(output_))
      throw UsageProblem{"--output: \"" + output_ + "\": only SVG is written, not PNG"};
    const std::size_t x = size_.find('x');
    if (x == std::string::npos || !ReadSide(std::string_view(size_).substr(0, x), width_) ||
        !ReadSide(std::string_view(size_).substr(x + 1), height_))
      throw UsageProblem{"--size: \"" + size_ +
                         "\" is not WIDTHxHEIGHT in pixels, each from 1 to 65535"};
    if (!on_.empty())
      day_ = DayOf("--on", on_);
    if (!from_.empty()) {
      const TDate first = ZoomEnd("--from", from_), last = ZoomEnd("--to", to_);
      if (first > last)
        throw UsageProblem{"--from " + from_ + " is after --to " + to_};
      visible_ = chart::DateRange{first, last};
    }
  }

  int Run(const Invocation& run) override {
    const std::optional<TDateTime> day = on_.empty() ? std::nullopt : std::optional(day_);
    ChartSeries series;
    std::u16string title;
    if (kind_ == kHistory) {
      const std::u16string from = FromUtf8(names_[0]), to = FromUtf8(names_[1]);
      series = HistoryChart(from, to, day);
      title = from + u"->" + to;
    } else {
      const SeriesKind kind = CountrySeriesNamed(kind_);
      const std::u16string country = FromUtf8(names_[0]);
      series = SeriesChart(kind, country, day);
      title = CountrySeriesCaption(kind) + u", " + country;
    }
    chart::ChartInput input;
    input.Entries = std::move(series.entries);
    input.Width = width_;
    input.Height = height_;
    input.Measure = chart::SvgTextMeasure();
    input.Visible = visible_;
    input.Chosen = series.chosen;
    input.Title = title_ ? FromUtf8(*title_) : title;
    WriteWholeFile(output_, chart::ChartSvg(chart::ChartModel(std::move(input)).Picture()),
                   run.console.out);
    return kSuccess;
  }

 private:
  // A zoom's end is a whole day of the calendar; the null date is none.
  static TDate ZoomEnd(const std::string& option, const std::string& text) {
    const TDateTime day = DayOf(option, text);
    if (day == kNullDate)
      throw UsageProblem{option + ": the null date is no day to show"};
    return WholeDayCut(day);
  }

  std::string kind_;
  std::vector<std::string> names_;
  std::string output_ = "-", on_, from_, to_, size_ = "800x450";
  std::optional<std::string> title_;
  TDateTime day_ = 0;
  double width_ = 0, height_ = 0;
  std::optional<chart::DateRange> visible_;
};

}  // namespace

std::unique_ptr<Subcommand> MakeChartSubcommand() {
  return std::make_unique<ChartSubcommand>();
}

}  // namespace quorvane::cli
