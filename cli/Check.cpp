#include "Check.h"

#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <sstream>
#include <thread>

#include "CallObserver.h"
#include "Digits.h"
#include "Errors.h"
#include "Output.h"
#include "RuntimeTrace.h"
#include "ServerCall.h"
#include "StringList.h"
#include "Utf.h"
#include "uQuorvaneFunc.h"

namespace quorvane::cli {

std::vector<LocaleVariant> StandardLocaleVariants() {
  std::vector<LocaleVariant> variants;
  // The defaults of a system that gives no locale: m/d/yy, "/", ".".
  variants.push_back({"m/d/yy .", "en-US", LocaleSettings{}});
  LocaleSettings german;
  german.ShortDateFormat = u"dd.MM.yyyy";
  german.DateSeparator = u'.';
  german.DecimalSeparator = u',';
  german.ThousandSeparator = u'.';
  variants.push_back({"dd.MM.yyyy ,", "de-DE", german});
  LocaleSettings russian = german;
  russian.ThousandSeparator = u'\u00A0';
  variants.push_back({"dd.MM.yyyy , no-break space", "ru-RU", russian});
  LocaleSettings swedish;
  swedish.ShortDateFormat = u"yyyy-MM-dd";
  swedish.DateSeparator = u'-';
  swedish.DecimalSeparator = u',';
  swedish.ThousandSeparator = u'\u00A0';
  variants.push_back({"yyyy-MM-dd ,", "sv-SE", swedish});
  return variants;
}

namespace {

// A problem that a check finds in a reply that did decode.
struct Unexpected {
  std::string what;
};

std::string Hex(HRESULT status) {
  return StatusHex(static_cast<std::uint32_t>(status));
}

// A text for a check's line: in double quotes, cut after 40 characters, with quotes, backslashes
// and control characters escaped so that the line stays one line.
std::string Quoted(std::u16string_view text) {
  std::u16string shown;
  for (char16_t c : text.substr(0, 40)) {
    if (c == u'"' || c == u'\\') {
      shown += u'\\';
      shown += c;
    } else if (c < 32 || c == 127) {
      shown += u"\\x" + UpperHexText(c, 2);
    } else {
      shown += c;
    }
  }
  std::string result = "\"" + ToUtf8(shown) + "\"";
  if (text.size() > 40)
    result += "...(" + std::to_string(text.size()) + " characters)";
  return result;
}

std::string Excerpt(std::u16string_view reply) {
  return reply.size() <= 60 ? Quoted(reply) : Quoted(reply.substr(0, 60));
}

enum class Expect {
  Success,  // representative arguments: the server must answer
  Either,   // hostile or optional: a failure is fine when it is a proper one
};

// Watches the call in progress from a thread of its own; when one outlasts the bound, the check
// fails it and gives up (the blocked thread cannot be woken: a synchronous call waits for its
// server, however long).
class CallWatch {
 public:
  using Expired = std::function<void(const std::string& name)>;
  CallWatch(std::chrono::milliseconds timeout, Expired expired)
      : timeout_(timeout), expired_(std::move(expired)) {
    if (timeout_.count() > 0)
      thread_ = std::thread([this] { Watch(); });
  }
  ~CallWatch() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
      thread_.join();
  }
  void Begin(const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    current_ = name;
    deadline_ = std::chrono::steady_clock::now() + timeout_;
    changed_.notify_all();
  }
  void End() {
    std::lock_guard<std::mutex> lock(mutex_);
    current_.reset();
  }

 private:
  void Watch() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_) {
      if (!current_) {
        changed_.wait(lock);
      } else if (changed_.wait_until(lock, deadline_) == std::cv_status::timeout && current_ &&
                 std::chrono::steady_clock::now() >= deadline_) {
        // Held locked: the call that returns now waits for the process to end.
        expired_(*current_);
        return;
      }
    }
  }

  std::chrono::milliseconds timeout_;
  Expired expired_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::optional<std::string> current_;
  std::chrono::steady_clock::time_point deadline_;
  bool stop_ = false;
  std::thread thread_;
};

class Checker {
 public:
  Checker(report::CheckReport& report, std::ostream* progress, const CheckOptions& bound)
      : report_(report),
        progress_(progress),
        errorInfoLost_(bound.errorInfoLost),
        watch_(bound.timeout, [this, bound](const std::string& name) {
          report::CheckResult outcome;
          outcome.name = name;
          outcome.group = name.substr(0, name.find_first_of("( "));
          std::ostringstream seconds;
          seconds << bound.timeout.count() / 1000.0;
          outcome.detail = "no answer within " + seconds.str() + " s: the server did not answer";
          report_.Add(std::move(outcome));
          if (progress_ != nullptr)
            *progress_ << "\r\033[K" << std::flush;
          if (bound.gaveUp)
            bound.gaveUp();
        }) {}

  // Runs one call through the client and judges it. Returns whether the server answered with
  // success and the reply decoded.
  bool Probe(const std::string& name, Expect expect, const std::function<std::string()>& action) {
    if (progress_ != nullptr)
      *progress_ << "\r\033[K[" << report_.Results().size() + 1 << "] " << name << std::flush;
    last_ = {};
    const long stringsBefore = platform::LiveBstrCount();
    const ULONG referencesBefore = References();
    std::optional<std::string> decodeError;
    std::optional<std::string> unexpected;
    std::u16string clientMessage;
    std::string summary;
    watch_.Begin(name);
    try {
      summary = action();
    } catch (const EServerCallError& e) {
      // Judged from what the observer saw.
      clientMessage = e.Message();
    } catch (const Unexpected& e) {
      unexpected = e.what;
    } catch (const std::exception& e) {
      decodeError = e.what();
    }
    watch_.End();
    const long stringsAfter = platform::LiveBstrCount();
    const ULONG referencesAfter = References();

    report::CheckResult outcome;
    outcome.name = name;
    outcome.group = last_.operation.empty() ? "check" : last_.operation;
    outcome.milliseconds = std::chrono::duration<double, std::milli>(last_.elapsed).count();
    std::vector<std::string> faults;
    bool answered = false;
    const std::u16string description = TrimMessage(last_.errorDescription);
    if (last_.operation.empty()) {
      faults.push_back("no server call was made" + (decodeError  ? ": " + *decodeError
                                                    : unexpected ? ": " + *unexpected
                                                                 : ""));
    } else if (FAILED(last_.status)) {
      if (errorInfoLost_ && !last_.errorInfoLeft && expect == Expect::Either) {
        if (clientMessage != StatusMessage(last_.status))
          faults.push_back("failed with " + Hex(last_.status) + " and the client said \"" +
                           ToUtf8(clientMessage) + "\", not the system's text for the status");
        else
          summary = "fails with " + Hex(last_.status) + ": " + ToUtf8(clientMessage) +
                    " (the system's text: the runtime leaves the server's error information in "
                    "its process)";
      } else if (!last_.errorInfoLeft || description.empty())
        faults.push_back("failed with " + Hex(last_.status) + " and no error information");
      else if (expect == Expect::Success)
        faults.push_back("failed with " + Hex(last_.status) + ": " + ToUtf8(description));
      else
        summary = "fails with " + Hex(last_.status) + ": " + ToUtf8(description);
    } else {
      if (last_.errorInfoLeft)
        faults.push_back("succeeded with " + Hex(last_.status) + " but left error information" +
                         (description.empty() ? "" : ": " + ToUtf8(description)));
      if (decodeError)
        faults.push_back("the reply does not decode: " + *decodeError + "; reply " +
                         Excerpt(last_.reply));
      if (unexpected)
        faults.push_back(*unexpected);
      answered = faults.empty();
    }
    if (stringsBefore >= 0 && stringsAfter != stringsBefore)
      faults.push_back(std::to_string(stringsAfter - stringsBefore) + " string(s) left allocated");
    if (referencesAfter != referencesBefore)
      faults.push_back("the server object's references went from " +
                       std::to_string(referencesBefore) + " to " + std::to_string(referencesAfter));

    outcome.passed = faults.empty();
    outcome.detail = faults.empty() ? summary : "";
    for (const std::string& fault : faults)
      outcome.detail += (outcome.detail.empty() ? "" : "; ") + fault;
    const bool passed = outcome.passed;
    // A server's description may hold line ends; the report keeps each check on one line.
    report_.Add(std::move(outcome));
    return answered && passed;
  }

  // A check that cannot run here: said, and counted neither way.
  void Skip(const std::string& name, const std::string& why) { report_.Skip(name, why); }

  int Finish() {
    if (progress_ != nullptr)
      *progress_ << "\r\033[K" << std::flush;
    return report_.Finish();
  }

  // Keeps the last call the observer saw, its reply copied.
  CallSink LastCallSink() {
    return [this](const ObservedCall& call) {
      last_ = call;
      lastReply_ = call.reply;
      last_.reply = lastReply_;
    };
  }
  void SetReal(IQuorvaneAutomation* real) { real_ = real; }

 private:
  // The server object's count of references, read by a balanced AddRef and Release.
  ULONG References() const {
    real_->AddRef();
    return real_->Release();
  }

  report::CheckReport& report_;
  std::ostream* progress_;
  ObservedCall last_;
  std::u16string lastReply_;
  IQuorvaneAutomation* real_ = nullptr;
  bool errorInfoLost_;
  CallWatch watch_;
};

std::string Call(const char* operation, std::initializer_list<std::u16string_view> texts,
                 std::optional<double> day = std::nullopt) {
  std::string name = std::string(operation) + "(";
  const char* separator = "";
  for (std::u16string_view text : texts) {
    name += separator + Quoted(text);
    separator = ", ";
  }
  if (day) {
    std::ostringstream number;
    number.precision(17);
    number << *day;
    name += separator + number.str();
  }
  return name + ")";
}

std::string Count(std::size_t n, const char* what) {
  return std::to_string(n) + " " + what;
}

// The window's series loaders by operation name.
struct SeriesLoader {
  const char* operation;
  void (*load)(std::u16string_view);
  std::size_t (*count)();
};
const SeriesLoader kSeriesLoaders[] = {
    {"GetMinimumWageList", LoadMinimumWage, [] { return MinimumWageTable.size(); }},
    {"GetPriceIndexList", LoadPriceIndex, [] { return PriceIndexTable.size(); }},
    {"GetFundsRateList", LoadFundsRate, [] { return FundsRateTable.size(); }},
};

const std::u16string_view kFields[] = {
    u"LetterCode",        u"Currency_International", u"CurrencyShrt_International",
    u"NumericCode",       u"CountryName_National",   u"CountryName_International",
    u"Currency_National", u"CurrencyShrt_National"};

// Texts that no server is expected to know, and texts that stress how arguments travel.
std::vector<std::u16string> HostileTexts() {
  return {u"", u"Atlantis", u"Россия", u"\"|;,&=:_ \t", std::u16string(5000, u'W')};
}

class CheckPlan {
 public:
  CheckPlan(Checker& checker) : checker_(checker) {}

  void Run(const ApplyLocaleVariant& apply) {
    Visibility();
    Catalogue();
    SeriesChecks();
    ExchangeChecks();
    LetterCodeChecks();
    LocaleVariants(apply);
  }

 private:
  void Visibility() {
    bool original = false;
    checker_.Probe("Get_Visible()", Expect::Success, [&] {
      original = ServerGetVisible();
      return std::string(original ? "true" : "false");
    });
    for (bool wanted : {!original, original}) {
      const std::string value = wanted ? "true" : "false";
      checker_.Probe("Set_Visible(" + value + ")", Expect::Success, [&] {
        ServerSetVisible(wanted);
        return std::string();
      });
      checker_.Probe("Get_Visible() after Set_Visible(" + value + ")", Expect::Success, [&] {
        if (ServerGetVisible() != wanted)
          throw Unexpected{"reads " + std::string(wanted ? "false" : "true")};
        return value;
      });
    }
  }

  void Catalogue() {
    checker_.Probe("GetCountryList()", Expect::Success, [&] {
      StringList list;
      LoadCountryList(list);
      for (int i = 0; i < list.Count(); ++i)
        countries_.push_back(list.Get(i));
      if (countries_.empty())
        throw Unexpected{"lists no country"};
      return Count(countries_.size(), "countries");
    });
    for (std::u16string_view field : kFields) {
      const bool letterCode = field == u"LetterCode";
      checker_.Probe(Call("GetFieldValueList", {field}),
                     letterCode ? Expect::Success : Expect::Either, [&] {
                       StringList list;
                       LoadFieldValues(field, list);
                       if (letterCode)
                         for (int i = 0; i < list.Count(); ++i)
                           codes_.push_back(list.Get(i));
                       return Count(static_cast<std::size_t>(list.Count()), "values");
                     });
    }
    for (const std::u16string& field : HostileTexts())
      checker_.Probe(Call("GetFieldValueList", {field}), Expect::Either, [&] {
        StringList list;
        LoadFieldValues(field, list);
        return Count(static_cast<std::size_t>(list.Count()), "values");
      });
    // The pair of the window's start texts when the server has both, else its first two codes.
    const auto has = [&](std::u16string_view code) {
      return std::find(codes_.begin(), codes_.end(), code) != codes_.end();
    };
    if (has(u"RUB") && has(u"USD")) {
      from_ = u"RUB";
      to_ = u"USD";
    } else if (codes_.size() >= 2) {
      from_ = codes_[0];
      to_ = codes_[1];
    }
  }

  bool SeriesProbe(const SeriesLoader& loader, std::u16string_view country, Expect expect,
                   const std::string& suffix = {}) {
    return checker_.Probe(Call(loader.operation, {country}) + suffix, expect, [&] {
      loader.load(country);
      return Count(loader.count(), "entries");
    });
  }

  void SeriesChecks() {
    for (const std::u16string& country : countries_)
      for (const SeriesLoader& loader : kSeriesLoaders)
        if (SeriesProbe(loader, country, Expect::Either))
          answered_.insert(Call(loader.operation, {country}));
    for (const std::u16string& country : HostileTexts())
      for (const SeriesLoader& loader : kSeriesLoaders)
        SeriesProbe(loader, country, Expect::Either);
  }

  bool HistoryProbe(std::u16string_view from, std::u16string_view to, Expect expect,
                    const std::string& suffix = {}) {
    return checker_.Probe(Call("GetListOfExchangeRate", {from, to}) + suffix, expect, [&] {
      LoadExchangeList(from, to);
      return Count(ExchangeTable.size(), "entries");
    });
  }

  bool RateProbe(std::u16string_view from, std::u16string_view to, double day, Expect expect,
                 const std::string& suffix = {}) {
    return checker_.Probe(Call("GetExchangeRate", {from, to}, day) + suffix, expect,
                          [&] { return "rate " + PlainMoney(GetRateOnDate(from, to, day)); });
  }

  void ExchangeChecks() {
    if (from_.empty()) {
      checker_.Probe("GetListOfExchangeRate: no two letter codes to ask for", Expect::Success,
                     []() -> std::string {
                       throw Unexpected{"the LetterCode list gave fewer than two codes"};
                     });
      return;
    }
    if (HistoryProbe(from_, to_, Expect::Either) && !ExchangeTable.empty()) {
      answered_.insert(Call("GetListOfExchangeRate", {from_, to_}));
      // A day inside the history, at six in the evening: the time of day goes to the server.
      day_ = ExchangeTable[ExchangeTable.size() / 2].Date + 0.75;
      rateExpected_ = true;
    }
    if (RateProbe(from_, to_, day_, rateExpected_ ? Expect::Success : Expect::Either))
      answered_.insert(Call("GetExchangeRate", {from_, to_}, day_));
    for (const std::u16string& code : HostileTexts()) {
      HistoryProbe(code, to_, Expect::Either);
      HistoryProbe(from_, code, Expect::Either);
      RateProbe(code, to_, day_, Expect::Either);
    }
    HistoryProbe(from_, from_, Expect::Either);
    RateProbe(from_, from_, day_, Expect::Either);
    // The null date of an empty date editor, the first day of the calendar, the last day of the
    // years a date can have, and days outside them.
    for (double day : {-700000.0, 0.0, 1.0, -657434.0, 2958465.5, 1e9, -1e9})
      RateProbe(from_, to_, day, Expect::Either);
  }

  void LetterCodeChecks() {
    const auto probe = [&](std::u16string_view field, std::u16string_view value) {
      checker_.Probe(Call("GetLIDCurrency", {field, value}), Expect::Either,
                     [&] { return "code " + ToUtf8(ServerGetLIDCurrency(field, value)); });
    };
    if (!from_.empty())
      probe(u"LetterCode", from_);
    probe(u"Currency_National", u"рубль");
    for (const std::u16string& text : HostileTexts()) {
      probe(text, u"x");
      probe(u"Currency_International", text);
    }
  }

  // The calls that answered under the user's settings must answer, and decode, under each
  // variant too.
  void LocaleVariants(const ApplyLocaleVariant& apply) {
    const LocaleSettings saved = CurrentLocaleSettings();
    for (const LocaleVariant& variant : StandardLocaleVariants()) {
      if (!apply(variant)) {
        checker_.Skip(
            "locale " + variant.systemName + " [" + variant.label + "]",
            "the locale cannot be put in force for this server (this system does not have "
            "it, or the server runs in another process)");
        continue;
      }
      // Named by the settings in force, which on Windows are the system's for the locale.
      const LocaleSettings& now = CurrentLocaleSettings();
      const std::string suffix = " [" + ToUtf8(now.ShortDateFormat) + " " +
                                 ToUtf8(std::u16string(1, now.DecimalSeparator)) + "]";
      const auto expect = [&](const std::string& call) {
        return answered_.count(call) ? Expect::Success : Expect::Either;
      };
      if (!countries_.empty())
        for (const SeriesLoader& loader : kSeriesLoaders)
          SeriesProbe(loader, countries_.front(),
                      expect(Call(loader.operation, {countries_.front()})), suffix);
      if (!from_.empty()) {
        HistoryProbe(from_, to_, expect(Call("GetListOfExchangeRate", {from_, to_})), suffix);
        RateProbe(from_, to_, day_, expect(Call("GetExchangeRate", {from_, to_}, day_)), suffix);
      }
    }
    apply({"", "", saved});
  }

  Checker& checker_;
  std::vector<std::u16string> countries_;
  std::vector<std::u16string> codes_;
  std::u16string from_, to_;
  double day_ = 40459.75;  // 2010-10-08, six in the evening
  bool rateExpected_ = false;
  std::set<std::string> answered_;
};

}  // namespace

int RunCheck(report::CheckReport& report, std::ostream* progress, const ApplyLocaleVariant& apply,
             const CheckOptions& options) {
  Checker checker(report, progress, options);
  // The observer stands in ServerIntf for the run; the server object itself stays referenced.
  platform::ComPtr<IQuorvaneAutomation> real = ServerIntf;
  checker.SetReal(real.Get());
  ServerIntf = platform::ComPtr<IQuorvaneAutomation>::Adopt(
      NewObservingServer(real.Get(), checker.LastCallSink()));
  try {
    CheckPlan(checker).Run(apply);
  } catch (...) {
    ServerIntf = real;
    throw;
  }
  ServerIntf = real;
  return checker.Finish();
}

}  // namespace quorvane::cli
