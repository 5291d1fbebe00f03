// Arbitrary replies through the scripted server into every loader and the rate on a date: each
// input ends in a result or in one of the client's errors, with no BSTR left behind.
//
// Input: one selector byte, then the reply. Selector bits 0-2 pick the routine, bits 3-4 the
// locale, bit 5 the reply's encoding (clear: one code unit per byte; set: UTF-16LE), bit 6 makes
// the call fail with the reply as the error description instead.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Errors.h"
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

std::u16string ReplyFrom(const std::uint8_t* data, std::size_t size, bool utf16) {
  std::u16string reply;
  if (utf16) {
    for (std::size_t i = 0; i + 1 < size; i += 2)
      reply.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  } else {
    reply.assign(data, data + size);
  }
  return reply;
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
  if (size == 0)
    return 0;
  scripted::Script& server = ScriptedConnection();
  const std::uint8_t selector = data[0];
  const Routine& routine = kRoutines[selector & 7];
  const std::u16string reply = ReplyFrom(data + 1, size - 1, (selector & 0x20) != 0);
  const bool fails = (selector & 0x40) != 0;

  ScopedLocaleSettings locale(LocaleFor((selector >> 3) & 3));
  server.ClearCalls();
  server.ClearFailures();
  if (fails)
    server.FailEvery({MakeHresult(0x80040000u | (selector & 0xFF)), scripted::ErrorDetails{reply}});
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
