// The server DLL from several apartments at once: it is registered apartment-threaded, so each
// thread that initialises the runtime may make its own object and call it while the others do.
// Each thread runs under its own thread locale, and every reply must be the one written under the
// calling thread's settings, whatever the other thread does meanwhile.

#include <string>
#include <thread>
#include <vector>

#include "Cases.h"
#include "Check.h"
#include "Com.h"
#include "ComPtr.h"
#include "Quorvane_TLB.h"

namespace contract {

namespace {

// Rounds of three calls: over 20,000 calls a thread, as many as made a shared settings object
// fail within seconds.
// 32-bit runs here go through an emulator, about ten times slower: fewer rounds keep them short.
constexpr int kRoundsPerThread = sizeof(void*) == 4 ? 1000 : 7000;

// The replies that one locale gives: a dated series (dates and numbers), a rate on a day (a
// number), and the description of a failure (left on the calling thread).
struct Replies {
  std::u16string Series, Rate, Failure;
  friend bool operator==(const Replies&, const Replies&) = default;
};

// One round of calls; an empty text where a call did not answer as it should.
Replies Ask(quorvane::IQuorvaneAutomation& server, BSTR country, BSTR unknown, BSTR from, BSTR to) {
  Replies replies;
  BSTR text = nullptr;
  if (server.GetFundsRateList(country, &text) == S_OK)
    replies.Series = platform::BstrText(text);
  SysFreeString(text);
  text = nullptr;
  if (server.GetExchangeRate(from, to, 40452.0, &text) == S_OK)  // 2010-10-01
    replies.Rate = platform::BstrText(text);
  SysFreeString(text);
  text = nullptr;
  if (FAILED(server.GetMinimumWageList(unknown, &text)) && text == nullptr)
    replies.Failure = TakeThreadErrorDescription();
  return replies;
}

// Makes an object in the calling thread's apartment and asks it `rounds` times; the first
// difference from `expected` (or from the first round, when expected is empty) ends the run.
std::string RunApartment(LCID locale, int rounds, Replies* first, const Replies* expected) {
  const HRESULT init = CoInitialize(nullptr);
  if (FAILED(init))
    return "CoInitialize: " + Hex(init);
  SetThreadLocale(locale);
  std::string failure;
  {
    platform::ComPtr<quorvane::IQuorvaneAutomation> server;
    const HRESULT made =
        CoCreateInstance(quorvane::CLASS_CoQuorvaneAutomation, nullptr, CLSCTX_INPROC_SERVER,
                         quorvane::IID_IQuorvaneAutomation, reinterpret_cast<void**>(server.Put()));
    BSTR country = SysAllocString(L"Russia"), unknown = SysAllocString(L"Atlantis");
    BSTR from = SysAllocString(L"USD"), to = SysAllocString(L"RUB");
    if (FAILED(made)) {
      failure = "CoCreateInstance: " + Hex(made);
    } else {
      for (int round = 0; round < rounds && failure.empty(); ++round) {
        const Replies replies = Ask(*server.Get(), country, unknown, from, to);
        if (first && round == 0)
          *first = replies;
        const Replies& want = expected ? *expected : *first;
        if (!(replies == want))
          failure = "call " + std::to_string(round) + ": series \"" +
                    Utf8(replies.Series.substr(0, 40)) + "\", rate \"" + Utf8(replies.Rate) +
                    "\", failure \"" + Utf8(replies.Failure.substr(0, 40)) + "\"";
      }
    }
    SysFreeString(country);
    SysFreeString(unknown);
    SysFreeString(from);
    SysFreeString(to);
  }
  CoUninitialize();
  return failure;
}

const LCID kEnglish = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);
const LCID kGerman = MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);

// What each locale gives, asked alone in a thread of its own.
Replies RepliesUnder(LCID locale) {
  Replies replies;
  std::string failure;
  std::thread([&] { failure = RunApartment(locale, 1, &replies, nullptr); }).join();
  Expect(failure.empty(), failure);
  Expect(!replies.Series.empty() && !replies.Rate.empty() && !replies.Failure.empty(),
         "every call answers");
  return replies;
}

}  // namespace

void RunConcurrentServerCases() {
  RunCase("two apartments call at once, each under its own thread locale", [] {
    const Replies english = RepliesUnder(kEnglish), german = RepliesUnder(kGerman);
    // The two locales must write differently, or the check could not see a reply written under
    // the other thread's settings.
    Expect(english.Series != german.Series && english.Rate != german.Rate,
           "English and German replies differ: \"" + Utf8(english.Rate) + "\", \"" +
               Utf8(german.Rate) + "\"");
    std::string englishFailure, germanFailure;
    std::thread a(
        [&] { englishFailure = RunApartment(kEnglish, kRoundsPerThread, nullptr, &english); });
    std::thread b(
        [&] { germanFailure = RunApartment(kGerman, kRoundsPerThread, nullptr, &german); });
    a.join();
    b.join();
    Expect(englishFailure.empty(), "English thread, " + englishFailure);
    Expect(germanFailure.empty(), "German thread, " + germanFailure);
  });

  RunCase("two apartments call at once under the same locale", [] {
    const Replies english = RepliesUnder(kEnglish);
    std::string failures[2];
    std::thread a(
        [&] { failures[0] = RunApartment(kEnglish, kRoundsPerThread, nullptr, &english); });
    std::thread b(
        [&] { failures[1] = RunApartment(kEnglish, kRoundsPerThread, nullptr, &english); });
    a.join();
    b.join();
    Expect(failures[0].empty() && failures[1].empty(), failures[0] + failures[1]);
  });
}

}  // namespace contract
