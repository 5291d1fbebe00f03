#include "CommandLine.h"

#include <CLI/CLI.hpp>

#include <fstream>
#include <optional>

#include "Calendar.h"
#include "Check.h"
#include "Commands.h"
#include "Console.h"
#include "Digits.h"
#include "Errors.h"
#include "IsoDate.h"
#include "LocaleSettings.h"
#include "Output.h"
#include "QuorvaneVersion.h"
#include "ServerCall.h"
#include "ServerChoice.h"
#include "SystemLocaleItems.h"
#include "Utf.h"
#include "ValueToText.h"

namespace quorvane::cli {

namespace {

constexpr const char* kProgram = "quorvane-cli";

// Everything the command line says.
struct Request {
  std::string format;
  bool raw = false;
  std::string locale;
  std::string decimalSeparator, thousandSeparator, dateSeparator, shortDate;
  ServerOptions server;
  std::string field, value, kind, country, from, to, day, on, visible, junit;
  bool man = false;
};

// A command-line text that is not what its option needs.
struct UsageProblem {
  std::string message;
};

const std::map<std::string, SeriesKind> kSeriesKinds = {{"min-wage", SeriesKind::MinimumWage},
                                                        {"cpi", SeriesKind::PriceIndex},
                                                        {"funds-rate", SeriesKind::FundsRate}};

const char* const kDescription =
    "Calls the reference-data server's operations from the command line and decodes every reply "
    "exactly as the test window does: through the client's loaders, under the user's locale "
    "settings or the settings named here. Output is an aligned table on a terminal and CSV "
    "elsewhere; --format chooses. CSV and JSON write dates as YYYY-MM-DD and numbers exactly, "
    "with a point.";

const char* const kFooter =
    "Dates: YYYY-MM-DD, optionally with a time (YYYY-MM-DDTHH:MM[:SS]), a date in the short date "
    "pattern of the settings in force, or null for the null date of an empty date editor.\n"
    "Locale: on Linux the POSIX locale that LC_ALL, LC_NUMERIC, LC_TIME and LANG name (C and POSIX "
    "give the client's defaults: m/d/yy, \"/\", \".\"); on Windows the user's locale.\n"
    "Errors go to standard error: the server's message, then the status in hexadecimal and the "
    "error source.\n"
    "Exit status: 0 success; 1 the server failed, a reply did not decode, or a check failed; 2 a "
    "usage error; 3 no server object could be made.";

struct Subcommand {
  const char* name;
  const char* description;
};

void BuildApp(CLI::App& app, Request& request) {
  app.description(kDescription);
  app.footer(std::string(kFooter) + "\n" + kServerHelp);
  app.require_subcommand(1);
  app.fallthrough();
  app.set_version_flag("--version", std::string(kProgram) + " " + kQuorvaneVersion);
  app.set_help_all_flag("--help-all", "Print this help and that of every subcommand");
  app.add_option("--format", request.format, "Output as table, csv or json")
      ->type_name("FORMAT")
      ->check(CLI::IsMember({"table", "csv", "json"}));
  app.add_flag("--raw", request.raw, "Print the reply exactly as the server sent it");
  app.add_option("--locale", request.locale,
                 "Read the settings from this locale (de_DE.UTF-8 on Linux, de-DE on Windows)")
      ->type_name("NAME");
  app.add_option("--decimal-separator", request.decimalSeparator, "The decimal separator")
      ->type_name("CHAR");
  app.add_option("--thousand-separator", request.thousandSeparator, "The thousand separator")
      ->type_name("CHAR");
  app.add_option("--date-separator", request.dateSeparator, "The date separator")
      ->type_name("CHAR");
  app.add_option("--short-date", request.shortDate,
                 "The short date pattern, such as dd.MM.yyyy (the order of d, m and y decides "
                 "how dates read)")
      ->type_name("PATTERN");
  AddServerOptions(app, request.server);
  app.add_flag("--man", request.man, "Print the manual page")->group("");

  app.add_subcommand("countries", "List the countries (GetCountryList)");
  auto* values = app.add_subcommand(
      "values", "List the values of a catalogue field, such as LetterCode (GetFieldValueList)");
  values->add_option("field", request.field, "The catalogue field")->required();
  auto* series = app.add_subcommand(
      "series",
      "List the minimum wage, price index or funds rate of a country (GetMinimumWageList, "
      "GetPriceIndexList, GetFundsRateList); --on gives the value in force on a day, as the "
      "window's lookup picks it");
  series->add_option("kind", request.kind, "min-wage, cpi or funds-rate")
      ->required()
      ->check(CLI::IsMember({"min-wage", "cpi", "funds-rate"}));
  series->add_option("country", request.country, "The country, as the country list names it")
      ->required();
  series->add_option("--on", request.on, "The day whose value is wanted")->type_name("DATE");
  auto* history = app.add_subcommand(
      "history", "List the exchange-rate history of a currency pair (GetListOfExchangeRate)");
  history->add_option("from", request.from, "The first currency's letter code")->required();
  history->add_option("to", request.to, "The second currency's letter code")->required();
  auto* rate = app.add_subcommand(
      "rate",
      "The exchange rate of a pair on a day: units of TO per unit of FROM (GetExchangeRate)");
  rate->add_option("from", request.from, "The first currency's letter code")->required();
  rate->add_option("to", request.to, "The second currency's letter code")->required();
  rate->add_option("date", request.day, "The day")->required();
  auto* code = app.add_subcommand(
      "code", "The letter code of the currency whose FIELD has VALUE (GetLIDCurrency)");
  code->add_option("field", request.field, "The catalogue field, such as Currency_National")
      ->required();
  code->add_option("value", request.value, "The value, such as рубль")->required();
  auto* visible = app.add_subcommand(
      "visible", "Show the server's visibility, or set it first (Get_Visible, Set_Visible)");
  visible->add_option("state", request.visible, "true or false (also on/off, yes/no, 1/0)")
      ->check(CLI::IsMember({"true", "false", "on", "off", "yes", "no", "1", "0"}));
  auto* check = app.add_subcommand(
      "check",
      "Check that the server answers what this client can read: every operation with "
      "representative and hostile arguments, replies decoded under several locale settings, "
      "failures with error information, successes without, no strings or references left behind; "
      "one line per check with the server's time, then the line \"N passed, M failed\"");
  check->add_option("--junit", request.junit, "Also write the results as JUnit XML to FILE")
      ->type_name("FILE");
  // Options of the program may stand after the subcommand too.
  for (CLI::App* sub : app.get_subcommands({}))
    sub->fallthrough();
}

// One UTF-16 code unit, or a usage problem that names the option.
char16_t OneCharacter(const std::string& option, const std::string& text) {
  const std::u16string value = FromUtf8(text);
  if (value.size() != 1)
    throw UsageProblem{option + " takes one character, not \"" + text + "\""};
  return value.front();
}

LocaleSettings SettingsOf(const Request& request) {
  const std::optional<LocaleItems> items = ReadUserLocaleItems(request.locale);
  if (!items) {
    if (!request.locale.empty())
      throw UsageProblem{"--locale: this system has no locale \"" + request.locale + "\""};
  }
  // A locale of the environment that the system lacks leaves the defaults.
  LocaleSettings settings = items ? MakeLocaleSettings(*items) : LocaleSettings{};
  if (!request.decimalSeparator.empty())
    settings.DecimalSeparator = OneCharacter("--decimal-separator", request.decimalSeparator);
  if (!request.thousandSeparator.empty())
    settings.ThousandSeparator = OneCharacter("--thousand-separator", request.thousandSeparator);
  if (!request.dateSeparator.empty())
    settings.DateSeparator = OneCharacter("--date-separator", request.dateSeparator);
  if (!request.shortDate.empty())
    settings.ShortDateFormat = FromUtf8(request.shortDate);
  return settings;
}

// A date of the command line: ISO, the short date pattern, or null.
TDateTime DayOf(const std::string& option, const std::string& text) {
  if (text == "null")
    return kNullDate;
  if (const std::optional<TDateTime> iso = ReadIsoDateTime(text))
    return *iso;
  try {
    return ReadDate(FromUtf8(text));
  } catch (const EConvertError&) {
  }
  throw UsageProblem{option + ": \"" + text +
                     "\" is not a date; give YYYY-MM-DD, a date in the "
                     "short date pattern \"" +
                     ToUtf8(CurrentLocaleSettings().ShortDateFormat) + "\", or null"};
}

bool TruthOf(const std::string& text) {
  return text == "true" || text == "on" || text == "yes" || text == "1";
}

std::string SettingsText() {
  const LocaleSettings& s = CurrentLocaleSettings();
  return "short date pattern \"" + ToUtf8(s.ShortDateFormat) + "\", date separator \"" +
         ToUtf8(std::u16string(1, s.DateSeparator)) + "\", decimal separator \"" +
         ToUtf8(std::u16string(1, s.DecimalSeparator)) + "\"";
}

// Runs the subcommand that was given, on the connected server.
int Execute(const CLI::App& app, const Request& request, Console& console, Format format) {
  std::ostream& out = console.out;
  const auto subcommand = [&](const char* name) { return app.got_subcommand(name); };
  const std::u16string field = FromUtf8(request.field), value = FromUtf8(request.value);
  const std::u16string country = FromUtf8(request.country);
  const std::u16string from = FromUtf8(request.from), to = FromUtf8(request.to);
  const auto show = [&](const Table& table) { Write(out, table, format); };
  const auto showRaw = [&](const RawReply& reply) {
    WriteRaw(out, reply.operation, reply.reply, format);
  };
  if (subcommand("countries")) {
    request.raw ? showRaw(RawCountries()) : show(Countries());
  } else if (subcommand("values")) {
    request.raw ? showRaw(RawFieldValues(field)) : show(FieldValues(field));
  } else if (subcommand("series")) {
    const SeriesKind kind = kSeriesKinds.at(request.kind);
    if (request.raw)
      showRaw(RawSeries(kind, country));
    else if (!request.on.empty())
      show(SeriesOnDay(kind, country, DayOf("--on", request.on)));
    else
      show(Series(kind, country));
  } else if (subcommand("history")) {
    request.raw ? showRaw(RawExchangeHistory(from, to)) : show(ExchangeHistory(from, to));
  } else if (subcommand("rate")) {
    const TDateTime day = DayOf("date", request.day);
    request.raw ? showRaw(RawRateOnDate(from, to, day)) : show(RateOnDate(from, to, day));
  } else if (subcommand("code")) {
    request.raw ? showRaw(RawLetterCode(field, value)) : show(LetterCode(field, value));
  } else if (subcommand("visible")) {
    if (request.visible.empty())
      request.raw ? showRaw(RawVisibility()) : show(Visibility());
    else
      request.raw ? showRaw(RawSetVisibility(TruthOf(request.visible)))
                  : show(SetVisibility(TruthOf(request.visible)));
  } else if (subcommand("check")) {
    const CheckReport report =
        RunCheck(out, console.errIsTerminal ? &console.err : nullptr, ApplyLocaleVariantHere);
    if (!request.junit.empty()) {
      std::ofstream junit(request.junit, std::ios::binary);
      WriteJUnit(junit, report);
      if (!junit) {
        console.err << kProgram << ": cannot write " << request.junit << '\n';
        return kServerFailure;
      }
    }
    return report.failed == 0 && report.passed > 0 ? kSuccess : kServerFailure;
  }
  return kSuccess;
}

}  // namespace

int RunCli(const std::vector<std::string>& arguments, Console& console) {
  Request request;
  CLI::App app{"", kProgram};
  BuildApp(app, request);
  try {
    // CLI11 takes the arguments without the program name, last first.
    std::vector<std::string> rest(arguments.rbegin(), arguments.rend());
    if (!rest.empty())
      rest.pop_back();
    if (std::find(rest.begin(), rest.end(), "--man") != rest.end()) {
      console.out << ManPage();
      return kSuccess;
    }
    app.parse(rest);
  } catch (const CLI::ParseError& e) {
    // A word where the subcommand belongs is named, with the subcommands there are.
    const std::vector<std::string> left = app.remaining();
    if (app.get_subcommands().empty() && !left.empty() && e.get_exit_code() != 0) {
      std::string names;
      for (const CLI::App* sub : app.get_subcommands({}))
        names += (names.empty() ? "" : ", ") + sub->get_name();
      console.err << kProgram << ": unknown subcommand \"" << left.front()
                  << "\"; the subcommands are " << names
                  << "\nRun with --help for more information.\n";
      return kUsageError;
    }
    const int status = app.exit(e, console.out, console.err);
    return status == 0 ? kSuccess : kUsageError;
  }

  const Format format = request.format == "json"                             ? Format::Json
                        : request.format == "csv"                            ? Format::Csv
                        : request.format == "table" || console.outIsTerminal ? Format::Table
                                                                             : Format::Csv;
  try {
    SetLocaleSettings(SettingsOf(request));
    // Dates are read before the server is asked anything, so a bad one costs no call.
    if (!request.on.empty())
      DayOf("--on", request.on);
    if (!request.day.empty())
      DayOf("date", request.day);
    const std::shared_ptr<void> connection = ConnectServer(request.server);
    return Execute(app, request, console, format);
  } catch (const UsageProblem& problem) {
    console.err << kProgram << ": " << problem.message
                << "\nRun with --help for more information.\n";
    return kUsageError;
  } catch (const NoServer& e) {
    console.err << kProgram << ": no server: " << e.what() << '\n';
    return kNoServer;
  } catch (const EServerCallError& e) {
    console.err << kProgram << ": " << e.what() << '\n'
                << kProgram << ": status " << StatusHex(static_cast<std::uint32_t>(e.ErrorCode()))
                << ", source " << (e.Source().empty() ? std::string("(none)") : ToUtf8(e.Source()))
                << '\n';
    return kServerFailure;
  } catch (const Exception& e) {
    // A reply that does not decode under the settings in force.
    console.err << kProgram << ": " << e.what() << '\n'
                << kProgram << ": the reply does not decode under the " << SettingsText() << '\n';
    return kServerFailure;
  } catch (const std::exception& e) {
    console.err << kProgram << ": " << e.what() << '\n';
    return kServerFailure;
  }
}

namespace {

// Roff text: a backslash doubled, a leading dot or apostrophe kept from being a request.
std::string Roff(const std::string& text) {
  std::string escaped;
  bool lineStart = true;
  for (char c : text) {
    if (lineStart && (c == '.' || c == '\''))
      escaped += "\\&";
    if (c == '\\')
      escaped += "\\e";
    else if (c == '-')
      escaped += "\\-";
    else
      escaped += c;
    lineStart = c == '\n';
  }
  return escaped;
}

std::string OptionsOf(const CLI::App& app) {
  std::string text;
  for (const CLI::Option* option : app.get_options()) {
    if (option->get_group().empty() || option->get_positional())
      continue;
    std::string name = option->get_name(false, true);
    if (!option->get_type_name().empty() && option->get_type_size() != 0)
      name += " " + option->get_type_name();
    text += ".TP\n.B " + Roff(name) + "\n" + Roff(option->get_description()) + "\n";
  }
  return text;
}

}  // namespace

std::string ManPage() {
  Request request;
  CLI::App app{"", kProgram};
  BuildApp(app, request);
  std::string page = std::string(".TH QUORVANE-CLI 1 \"\" \"") + kProgram + " " + kQuorvaneVersion +
                     "\" \"User Commands\"\n.SH NAME\n" + kProgram +
                     " \\- every operation of the reference-data server from the command line\n"
                     ".SH SYNOPSIS\n.B " +
                     kProgram +
                     "\n[\\fIOPTIONS\\fR] \\fISUBCOMMAND\\fR "
                     "[\\fIARGUMENTS\\fR]\n.SH DESCRIPTION\n" +
                     Roff(app.get_description()) + "\n.SH OPTIONS\n" + OptionsOf(app) +
                     ".SH SUBCOMMANDS\n";
  for (const CLI::App* sub : app.get_subcommands({})) {
    std::string usage = sub->get_name();
    for (const CLI::Option* option : sub->get_options())
      if (option->get_positional())
        usage +=
            option->get_required() ? " " + option->get_name() : " [" + option->get_name() + "]";
    page += ".TP\n.B " + Roff(usage) + "\n" + Roff(sub->get_description()) + "\n";
    const std::string options = OptionsOf(*sub);
    if (!options.empty())
      page += ".RS\n" + options + ".RE\n";
  }
  std::string footer = app.get_footer();
  page += ".SH NOTES\n";
  std::size_t start = 0;
  while (start <= footer.size()) {
    const std::size_t end = std::min(footer.find('\n', start), footer.size());
    page += ".PP\n" + Roff(footer.substr(start, end - start)) + "\n";
    start = end + 1;
  }
  return page;
}

}  // namespace quorvane::cli
