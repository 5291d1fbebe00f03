// Arbitrary replies through the scripted server into every loader and the rate on a date: each
// input ends in a result or in one of the client's errors, with no BSTR left behind.
//
// The input picks the routine, the locale, the reply's encoding (one code unit per byte, or
// UTF-16) and whether the call fails with the reply as the error description instead; the rest
// of it is the reply.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Errors.h"
#include "FuzzInput.h"
#include "LocaleSettings.h"
#include "RuntimeTrace.h"
#include "ScriptedServer.h"
#include "ServerCall.h"
#include "uQuorvaneFunc.h"

namespace {

using namespace quorvane;
using scripted::Op;

LocaleSettings LocaleFor(int choice) {
  LocaleSettings settings;
  switch (choice) {
    case 0:  // the examples' settings
      settings.ShortDateFormat = u"dd.MM.yyyy";
      settings.DateSeparator = u'.';
      settings.DecimalSeparator = u',';
      break;
    case 1:  // the defaults
      break;
    case 2:  // year first, with separators that also delimit entries
      settings.ShortDateFormat = u"yyyy|MM|dd";
      settings.DateSeparator = u'|';
      settings.DecimalSeparator = u'&';
      break;
    default:  // two-digit years and a letter as the decimal separator
      settings.ShortDateFormat = u"M/d/yy";
      settings.DecimalSeparator = u'C';
      break;
  }
  return settings;
}

std::u16string ReplyFrom(FuzzedDataProvider& input, bool utf16) {
  if (utf16)
    return fuzzinput::ConsumeRemainingUtf16(input);
  const std::vector<std::uint8_t> bytes = input.ConsumeRemainingBytes<std::uint8_t>();
  return std::u16string(bytes.begin(), bytes.end());
}

struct Routine {
  Op op;
  void (*run)(StringList& list);
};

const Routine kRoutines[] = {
    {Op::GetCountryList, [](StringList& list) { LoadCountryList(list); }},
    {Op::GetFieldValueList, [](StringList& list) { LoadFieldValues(u"LetterCode", list); }},
    {Op::GetMinimumWageList, [](StringList&) { LoadMinimumWage(u"Chile"); }},
    {Op::GetPriceIndexList, [](StringList&) { LoadPriceIndex(u"Chile"); }},
    {Op::GetFundsRateList, [](StringList&) { LoadFundsRate(u"Chile"); }},
    {Op::GetListOfExchangeRate, [](StringList&) { LoadExchangeList(u"USD", u"RUB"); }},
    {Op::GetExchangeRate, [](StringList&) { GetRateOnDate(u"USD", u"RUB", 40459.75); }},
    {Op::GetLIDCurrency,
     [](StringList&) {
       ServerGetLIDCurrency(u"Currency_National", u"\u0440\u0443\u0431\u043B\u044C");
     }},
};

scripted::Script& ScriptedConnection() {
  // Made once and never ended: the connection outlives every input.
  static scripted::ScopedScriptedServer* server = [] {
    auto* made = new scripted::ScopedScriptedServer;
    if (!CreateServer())
      std::abort();
    return made;
  }();
  return **server;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  scripted::Script& server = ScriptedConnection();
  const Routine& routine = input.PickValueInArray(kRoutines);
  const int localeChoice = input.ConsumeIntegralInRange(0, 3);
  const bool fails = input.ConsumeBool();
  const std::uint8_t statusCode = input.ConsumeIntegral<std::uint8_t>();
  const std::u16string reply = ReplyFrom(input, input.ConsumeBool());

  ScopedLocaleSettings locale(LocaleFor(localeChoice));
  server.ClearCalls();
  server.ClearFailures();
  if (fails)
    server.FailEvery({MakeHresult(0x80040000u | statusCode), scripted::ErrorDetails{reply}});
  server.Reply(routine.op, reply);

  const long bstrsBefore = platform::LiveBstrCount();
  StringList list;
  list.Add(u"before");
  try {
    routine.run(list);
    if (fails)
      std::abort();  // a failing call must never look like success
  } catch (const EServerCallError& e) {
    if (!fails || e.Message() != TrimMessage(e.Message()))
      std::abort();
  } catch (const Exception&) {
    if (fails)
      std::abort();  // the call's own error comes first
  }
  SetErrorInfo(0, nullptr);
  if (platform::LiveBstrCount() != bstrsBefore || server.Calls().size() != 1)
    std::abort();
  return 0;
}
