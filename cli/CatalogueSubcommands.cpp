// The catalogue's subcommands: the country list, a field's values, and the letter code of a
// currency by one of its fields.
#include <CLI/CLI.hpp>

#include "Subcommand.h"
#include "Utf.h"

namespace quorvane::cli {

namespace {

class CountriesSubcommand final : public Subcommand {
 public:
  CountriesSubcommand() : Subcommand("countries", "List the countries (GetCountryList)") {}

  void AddOptions(CLI::App&) override {}

  int Run(const Invocation& run) override {
    run.raw ? run.Show(RawCountries()) : run.Show(Countries());
    return kSuccess;
  }
};

class ValuesSubcommand final : public Subcommand {
 public:
  ValuesSubcommand()
      : Subcommand("values",
                   "List the values of a catalogue field, such as LetterCode (GetFieldValueList)") {
  }

  void AddOptions(CLI::App& command) override {
    command.add_option("field", field_, "The catalogue field")->required();
  }

  int Run(const Invocation& run) override {
    const std::u16string field = FromUtf8(field_);
    run.raw ? run.Show(RawFieldValues(field)) : run.Show(FieldValues(field));
    return kSuccess;
  }

 private:
  std::string field_;
};

class CodeSubcommand final : public Subcommand {
 public:
  CodeSubcommand()
      : Subcommand("code",
                   "The letter code of the currency whose FIELD has VALUE (GetLIDCurrency)") {}

  void AddOptions(CLI::App& command) override {
    command.add_option("field", field_, "The catalogue field, such as Currency_National")
        ->required();
    command.add_option("value", value_, "The value, such as рубль")->required();
  }

  int Run(const Invocation& run) override {
    const std::u16string field = FromUtf8(field_), value = FromUtf8(value_);
    run.raw ? run.Show(RawLetterCode(field, value)) : run.Show(LetterCode(field, value));
    return kSuccess;
  }

 private:
  std::string field_, value_;
};

}  // namespace

std::unique_ptr<Subcommand> MakeCountriesSubcommand() {
  return std::make_unique<CountriesSubcommand>();
}

std::unique_ptr<Subcommand> MakeValuesSubcommand() {
  return std::make_unique<ValuesSubcommand>();
}

std::unique_ptr<Subcommand> MakeCodeSubcommand() {
  return std::make_unique<CodeSubcommand>();
}

}  // namespace quorvane::cli
