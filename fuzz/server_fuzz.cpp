// Arbitrary locale settings and arbitrary arguments through the reference server's function
// table, as the client calls it. Every call ends in a reply text with S_OK, or in one of the
// server's failure statuses with a description in the error information; no BSTR is left
// behind. A series, an exchange history or a rate that the server answers is then loaded by the
// client's own loaders under the same settings and must decode without error.
//
// The input gives the operation, then the settings (decimal, date and thousand separators, a short
// date pattern), then the arguments. A character is one of a table of likely ones or a raw UTF-16
// code unit. A text argument is a known country, field, value or code (possibly repeated many
// times or with raw text appended) or a raw UTF-16 text; a date is a notable number, a day of the
// data's years, or any double.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "Com.h"
#include "ComPtr.h"
#include "Errors.h"
#include "FuzzInput.h"
#include "LocaleSettings.h"
#include "QuorvaneInterface.h"
#include "ReferenceServer.h"
#include "Reply.h"
#include "RuntimeTrace.h"
#include "StringList.h"
#include "Utf.h"
#include "uQuorvaneFunc.h"

namespace {

using namespace quorvane;

using fuzzinput::Check;

// A character: one of a table of likely ones, or a raw UTF-16 code unit.
char16_t Character(FuzzedDataProvider& in) {
  static constexpr char16_t kLikely[] = {
      u'.', u',',  u'/',  u'-',      u' ', u'|',      u'&',      u'=', u';', u':',     u'#',
      u'"', u'\'', u'0',  u'1',      u'9', u'+',      u'E',      u'e', u'd', u'm',     u'y',
      u'M', u'\t', u'\0', u'\u00A0', u'_', u'\u2019', u'\u066B', u'$', u'C', u'\u00B7'};
  if (in.ConsumeBool())
    return in.ConsumeIntegral<char16_t>();
  return in.PickValueInArray(kLikely);
}

// Short patterns of date letters, separators, quotes, blanks and digits.
std::u16string Pattern(FuzzedDataProvider& in) {
  static constexpr const char16_t* kPieces[] = {
      u"d",    u"dd", u"ddd", u"dddd", u"m",  u"mm", u"MMM", u"MMMM",  u"y", u"yy",
      u"yyyy", u"e",  u"ee",  u"g",    u"gg", u"/",  u".",   u"-",     u" ", u"'",
      u"\"",   u"1",  u"0",   u",",    u"|",  u"&",  u"=",   u"ddddd", u"D", u"Y"};
  std::u16string pattern;
  const int pieces = in.ConsumeIntegral<std::uint8_t>() % 9;
  for (int i = 0; i < pieces; ++i) {
    const std::uint8_t b = in.ConsumeIntegral<std::uint8_t>();
    if (b & 0x80)
      pattern += Character(in);
    else
      pattern += kPieces[b % std::size(kPieces)];
  }
  return pattern;
}

LocaleSettings SettingsFrom(FuzzedDataProvider& in) {
  LocaleSettings settings;
  const std::uint8_t choice = in.ConsumeIntegral<std::uint8_t>();
  switch (choice & 3) {
    case 0:  // the defaults
      break;
    case 1:  // the examples' settings
      settings.ShortDateFormat = u"dd.MM.yyyy";
      settings.DateSeparator = u'.';
      settings.DecimalSeparator = u',';
      settings.ThousandSeparator = u' ';
      break;
    default:
      settings.DecimalSeparator = Character(in);
      settings.DateSeparator = Character(in);
      settings.ThousandSeparator = Character(in);
      settings.ShortDateFormat = Pattern(in);
      break;
  }
  return settings;
}

std::u16string Text(FuzzedDataProvider& in) {
  static constexpr const char16_t* kKnown[] = {u"Russia",
                                               u"united_states",
                                               u"UNITED KINGDOM",
                                               u"Euro area",
                                               u"United States",
                                               u"LetterCode",
                                               u"Currency_International",
                                               u"CurrencyShrt_International",
                                               u"NumericCode",
                                               u"CountryName_National",
                                               u"CountryName_International",
                                               u"Currency_National",
                                               u"CurrencyShrt_National",
                                               u"USD",
                                               u"EUR",
                                               u"rub",
                                               u"GBP",
                                               u"JPY",
                                               u"BYN",
                                               u"UAH",
                                               u"KZT",
                                               u"CNY",
                                               u"CHF",
                                               u"\u0440\u0443\u0431\u043B\u044C",
                                               u"dollar",
                                               u"$",
                                               u"643",
                                               u"Euro",
                                               u"pound",
                                               u"",
                                               u"\u0130",
                                               u"\u00DF"};
  const std::uint8_t kind = in.ConsumeIntegral<std::uint8_t>();
  std::u16string text = kKnown[(kind >> 2) % std::size(kKnown)];
  switch (kind & 3) {
    case 0:  // a known text
      break;
    case 1: {  // a known text, repeated many times
      const std::u16string once = text + Character(in);
      const int times = 1 + in.ConsumeIntegral<std::uint8_t>() * 16;
      for (int i = 0; i < times; ++i)
        text += once;
      break;
    }
    case 2:    // a known text with raw code units after it
    case 3: {  // raw code units only
      if ((kind & 3) == 3)
        text.clear();
      const std::size_t length = in.ConsumeIntegral<std::uint8_t>();
      for (std::size_t i = 0; i < length && in.remaining_bytes() > 0; ++i)
        text += in.ConsumeIntegral<char16_t>();
      break;
    }
  }
  return text;
}

double DateFrom(FuzzedDataProvider& in) {
  static constexpr double kNotable[] = {std::numeric_limits<double>::quiet_NaN(),
                                        std::numeric_limits<double>::infinity(),
                                        -std::numeric_limits<double>::infinity(),
                                        -700000.0,
                                        -700000.5,
                                        1e300,
                                        -1e300,
                                        -693594.0,
                                        -693593.0,
                                        2958465.0,
                                        2958466.0,
                                        0.0,
                                        -0.0,
                                        -1.5,
                                        40459.75,
                                        36526.0,
                                        46000.0,
                                        33604.0,
                                        2147483648.0,
                                        -2147483649.0,
                                        std::numeric_limits<double>::denorm_min(),
                                        std::numeric_limits<double>::max()};
  const std::uint8_t kind = in.ConsumeIntegral<std::uint8_t>();
  if (kind & 0x80)
    return fuzzinput::ConsumeAnyDouble(in);
  // A notable number, or a day of the data's years with a time of day.
  if (kind & 0x40)
    return 33000.0 + static_cast<double>(in.ConsumeIntegral<char16_t>() % 13000) +
           (kind & 0x3F) / 64.0;
  return kNotable[kind % std::size(kNotable)];
}

enum class Op {
  CountryList,
  MinimumWage,
  PriceIndex,
  FundsRate,
  FieldValues,
  LetterCode,
  ExchangeHistory,
  ExchangeRate
};

struct Call {
  Op op;
  std::u16string first, second;
  double day = 0;
};

// One call through the function table: the promise of a text or a described failure, and every
// BSTR freed. Gives whether it succeeded.
bool CallServer(IQuorvaneAutomation& server, const Call& call) {
  const long bstrsBefore = platform::LiveBstrCount();
  BSTR first = platform::AllocBstr(call.first);
  BSTR second = platform::AllocBstr(call.second);
  BSTR result = nullptr;
  HRESULT status = E_FAIL;
  switch (call.op) {
    case Op::CountryList:
      status = server.GetCountryList(&result);
      break;
    case Op::MinimumWage:
      status = server.GetMinimumWageList(first, &result);
      break;
    case Op::PriceIndex:
      status = server.GetPriceIndexList(first, &result);
      break;
    case Op::FundsRate:
      status = server.GetFundsRateList(first, &result);
      break;
    case Op::FieldValues:
      status = server.GetFieldValueList(first, &result);
      break;
    case Op::LetterCode:
      status = server.GetLIDCurrency(first, second, &result);
      break;
    case Op::ExchangeHistory:
      status = server.GetListOfExchangeRate(first, second, &result);
      break;
    case Op::ExchangeRate:
      status = server.GetExchangeRate(first, second, call.day, &result);
      break;
  }
  SysFreeString(first);
  SysFreeString(second);

  IErrorInfo* info = nullptr;
  const HRESULT infoStatus = GetErrorInfo(0, &info);
  if (status == S_OK) {
    // A reply text; only the empty text is a null BSTR, and no list reply is empty.
    Check(result != nullptr && SysStringLen(result) > 0);
    Check(infoStatus == S_FALSE && info == nullptr);
  } else {
    // One of the server's own failures, described; never an escaped internal fault.
    const auto code = static_cast<std::uint32_t>(status);
    Check(code >= static_cast<std::uint32_t>(server::Failure::UnknownCountry) &&
          code <= static_cast<std::uint32_t>(server::Failure::DataFault));
    Check(result == nullptr);
    Check(infoStatus == S_OK && info != nullptr);
    BSTR description = nullptr;
    Check(SUCCEEDED(info->GetDescription(&description)) && SysStringLen(description) > 0);
    SysFreeString(description);
    info->Release();
  }
  SysFreeString(result);
  Check(platform::LiveBstrCount() == bstrsBefore);
  return status == S_OK;
}

// The same call through the client's loader, which reads what the server answered.
void LoadThroughClient(const Call& call) {
  const long bstrsBefore = platform::LiveBstrCount();
  try {
    switch (call.op) {
      case Op::CountryList: {
        StringList countries;
        LoadCountryList(countries);
        Check(countries.Count() > 0);
        break;
      }
      case Op::MinimumWage:
        LoadMinimumWage(call.first);
        Check(!MinimumWageTable.empty());
        break;
      case Op::PriceIndex:
        LoadPriceIndex(call.first);
        Check(!PriceIndexTable.empty());
        break;
      case Op::FundsRate:
        LoadFundsRate(call.first);
        Check(!FundsRateTable.empty());
        break;
      case Op::FieldValues: {
        StringList values;
        LoadFieldValues(call.first, values);
        Check(values.Count() > 0);
        break;
      }
      case Op::LetterCode:
        Check(ServerGetLIDCurrency(call.first, call.second).size() == 3);
        break;
      case Op::ExchangeHistory:
        LoadExchangeList(call.first, call.second);
        Check(!ExchangeTable.empty());
        break;
      case Op::ExchangeRate:
        Check(GetRateOnDate(call.first, call.second, call.day).Count >= 0);
        break;
    }
  } catch (const Exception& e) {
    // The server answered something its client cannot read.
    std::fprintf(stderr, "The client could not read the reply: %s\n", ToUtf8(e.Message()).c_str());
    std::abort();
  }
  MinimumWageTable = {};
  PriceIndexTable = {};
  FundsRateTable = {};
  ExchangeTable = {};
  Check(platform::LiveBstrCount() == bstrsBefore);
}

IQuorvaneAutomation& Connection() {
  // Registered and created once, and never ended: the connection outlives every input.
  static IQuorvaneAutomation* server = [] {
    SetCurrentYearSource([] { return 2010; });
    static server::ReferenceServerRegistration registration = server::RegisterReferenceServer();
    if (!registration.Registered() || !CreateServer())
      std::abort();
    return ServerIntf.Get();
  }();
  return *server;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  IQuorvaneAutomation& server = Connection();
  FuzzedDataProvider in(data, size);
  Call call;
  call.op = static_cast<Op>(in.ConsumeIntegralInRange(0, 7));
  ScopedLocaleSettings locale(SettingsFrom(in));
  call.first = Text(in);
  call.second = Text(in);
  call.day = DateFrom(in);
  if (CallServer(server, call))
    LoadThroughClient(call);
  return 0;
}
