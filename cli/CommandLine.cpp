#include "CommandLine.h"

#include <CLI/CLI.hpp>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>

#include "CallLog.h"
#include "Digits.h"
#include "Errors.h"
#include "GuidText.h"
#include "LocaleSettings.h"
#include "QuorvaneVersion.h"
#include "Quorvane_TLB.h"
#include "ReplayServer.h"
#include "ServerCall.h"
#include "ServerChoice.h"
#include "Subcommand.h"
#include "SystemLocaleItems.h"
#include "Utf.h"

namespace quorvane::cli {

namespace {

// What the program's own options say; each subcommand keeps its own arguments.
struct ProgramOptions {
  std::string format;
  bool raw = false;
  std::string locale;
  std::string decimalSeparator, thousandSeparator, dateSeparator, shortDate;
  ServerOptions server;
  bool trace = false;
  std::string recording;
  bool man = false;
};

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
    "Exit status: 0 success; 1 the server failed, a reply did not decode, a check failed, or a "
    "file could not be written; 2 a usage error; 3 no server object could be made.";

void BuildApp(CLI::App& app, ProgramOptions& options,
              const std::vector<std::unique_ptr<Subcommand>>& subcommands) {
  app.description(kDescription);
  app.footer(std::string(kFooter) + "\n" + kServerHelp);
  app.require_subcommand(1);
  app.fallthrough();
  app.set_version_flag("--version", std::string(kProgram) + " " + kQuorvaneVersion);
  app.set_help_all_flag("--help-all", "Print this help and that of every subcommand");
  app.add_option("--format", options.format, "Output as table, csv or json (diff: also junit)")
      ->type_name("FORMAT")
      ->check(CLI::IsMember({"table", "csv", "json", "junit"}));
  app.add_flag("--raw", options.raw, "Print the reply exactly as the server sent it");
  app.add_option("--locale", options.locale,
                 "Read the settings from this locale (de_DE.UTF-8 on Linux, de-DE on Windows)")
      ->type_name("NAME");
  app.add_option("--decimal-separator", options.decimalSeparator, "The decimal separator")
      ->type_name("CHAR");
  app.add_option("--thousand-separator", options.thousandSeparator, "The thousand separator")
      ->type_name("CHAR");
  app.add_option("--date-separator", options.dateSeparator, "The date separator")
      ->type_name("CHAR");
  app.add_option("--short-date", options.shortDate,
                 "The short date pattern, such as dd.MM.yyyy (the order of d, m and y decides "
                 "how dates read)")
      ->type_name("PATTERN");
  AddServerOptions(app, options.server);
  app.add_option("--recording", options.recording,
                 "Answer from the recording FILE (made by record) instead of the server")
      ->type_name("FILE");
  app.add_flag("--trace", options.trace,
               "Write every server call, the creation included, as one line on standard error");
  app.add_flag("--man", options.man, "Print the manual page")->group("");

  for (const std::unique_ptr<Subcommand>& subcommand : subcommands)
    subcommand->AddOptions(*app.add_subcommand(subcommand->Name(), subcommand->Help()));
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

LocaleSettings SettingsOf(const ProgramOptions& options) {
  const std::optional<LocaleItems> items = ReadUserLocaleItems(options.locale);
  if (!items) {
    if (!options.locale.empty())
      throw UsageProblem{"--locale: this system has no locale \"" + options.locale + "\""};
  }
  // A locale of the environment that the system lacks leaves the defaults.
  LocaleSettings settings = items ? MakeLocaleSettings(*items) : LocaleSettings{};
  if (!options.decimalSeparator.empty())
    settings.DecimalSeparator = OneCharacter("--decimal-separator", options.decimalSeparator);
  if (!options.thousandSeparator.empty())
    settings.ThousandSeparator = OneCharacter("--thousand-separator", options.thousandSeparator);
  if (!options.dateSeparator.empty())
    settings.DateSeparator = OneCharacter("--date-separator", options.dateSeparator);
  if (!options.shortDate.empty())
    settings.ShortDateFormat = FromUtf8(options.shortDate);
  return settings;
}

std::string SettingsText() {
  const LocaleSettings& s = CurrentLocaleSettings();
  return "short date pattern \"" + ToUtf8(s.ShortDateFormat) + "\", date separator \"" +
         ToUtf8(std::u16string(1, s.DateSeparator)) + "\", decimal separator \"" +
         ToUtf8(std::u16string(1, s.DecimalSeparator)) + "\"";
}

// --trace: each call of the log as a line on standard error, as it is made.
class TraceListener final : public CallLogListener {
 public:
  explicit TraceListener(std::ostream& err) : err_(err) { TheCallLog().Subscribe(this); }
  ~TraceListener() { TheCallLog().Unsubscribe(this); }
  TraceListener(const TraceListener&) = delete;
  TraceListener& operator=(const TraceListener&) = delete;

  void CallAdded(const LoggedCall& call) override {
    err_ << kProgram << ": " << CallLogLine(call) << '\n' << std::flush;
  }
  void CallsCleared() override {}

 private:
  std::ostream& err_;
};

// The replay of --recording, registered for the class id in place of any other server.
std::unique_ptr<server::ReplayServerRegistration> RegisterReplay(const std::string& file) {
  std::shared_ptr<const server::Recording> recording;
  try {
    recording = std::make_shared<const server::Recording>(
        server::ReadRecordingFile(std::filesystem::path(std::u8string(file.begin(), file.end()))));
  } catch (const server::RecordingError& e) {
    throw NoServer(FromUtf8("the recording \"" + file + "\" does not read: " + e.what()));
  }
  auto replay = std::make_unique<server::ReplayServerRegistration>(recording);
  if (FAILED(replay->Status()))
    throw NoServer(u"the replay of \"" + FromUtf8(file) + u"\" could not be registered",
                   replay->Status());
  return replay;
}

// Makes the connection, logging the creation as the window's CreateServer does.
std::shared_ptr<void> ConnectLogged(const ServerOptions& options) {
  const auto startedAt = std::chrono::system_clock::now();
  const auto started = std::chrono::steady_clock::now();
  const auto log = [&](HRESULT status, std::u16string_view description) {
    TheCallLog().AddCreation(platform::GuidToString(CLASS_CoQuorvaneAutomation), status,
                             description, startedAt, std::chrono::steady_clock::now() - started);
  };
  try {
    std::shared_ptr<void> connection = ConnectServer(options);
    log(S_OK, {});
    return connection;
  } catch (const NoServer& e) {
    log(e.Status(), e.Message());
    throw;
  }
}

}  // namespace

int RunCli(const std::vector<std::string>& arguments, Console& console) {
  ProgramOptions options;
  const std::vector<std::unique_ptr<Subcommand>> subcommands = MakeSubcommands();
  CLI::App app{"", kProgram};
  BuildApp(app, options, subcommands);
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

  // Exactly one was given: the parse requires it.
  Subcommand* given = nullptr;
  for (const std::unique_ptr<Subcommand>& subcommand : subcommands)
    if (app.got_subcommand(subcommand->Name()))
      given = subcommand.get();
  const Format format = options.format == "json"                             ? Format::Json
                        : options.format == "csv"                            ? Format::Csv
                        : options.format == "table" || console.outIsTerminal ? Format::Table
                                                                             : Format::Csv;
  try {
    std::optional<TraceListener> trace;
    if (options.trace)
      trace.emplace(console.err);
    if (options.format == "junit" && !given->WritesJUnit())
      throw UsageProblem{"--format junit is for diff only"};
    if (!options.recording.empty() && !given->AllowsRecording())
      throw UsageProblem{"--recording: " + given->Name() +
                         " takes its recordings as arguments (live for the server)"};
    SetLocaleSettings(SettingsOf(options));
    given->Prepare();
    if (!given->NeedsServer())
      return given->Run({console, format, options.raw, options.format == "junit"});
    const std::unique_ptr<server::ReplayServerRegistration> replay =
        options.recording.empty() ? nullptr : RegisterReplay(options.recording);
    const std::shared_ptr<void> connection = ConnectLogged(options.server);
    return given->Run({console, format, options.raw, options.format == "junit"});
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

// Roff text: a backslash doubled, a leading dot or apostrophe kept from being a options.
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
  ProgramOptions options;
  CLI::App app{"", kProgram};
  BuildApp(app, options, MakeSubcommands());
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
