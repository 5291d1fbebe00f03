#pragma once
// What every operation of the server gives: the reply text, or a failure status with a
// description that says what is wrong.

#include <cstdint>
#include <string>
#include <string_view>

#include "Characters.h"

namespace quorvane::server {

// Failure statuses: negative, in the interface range (FACILITY_ITF, 0x8004xxxx).
enum class Failure : std::uint32_t {
  UnknownCountry = 0x80040201,   // no country of that name
  NoSeries = 0x80040202,         // the country has no data of that kind
  UnknownField = 0x80040203,     // no catalogue field of that name
  UnknownCurrency = 0x80040204,  // no currency of that letter code
  NoRates = 0x80040205,          // no exchange rates for the currency or the pair
  NoMatch = 0x80040206,          // no currency has the field value
  SeveralMatches = 0x80040207,   // more than one currency has the field value
  NoRateOnDay = 0x80040208,      // no observation on or before the day, or the data end long before
  NoDate = 0x80040209,           // the null date, or no valid calendar day
  LocaleSettings = 0x8004020A,   // the client's locale settings cannot carry the reply
  DataFault = 0x8004020B,        // the data files do not read
};

inline std::int32_t StatusOf(Failure failure) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(failure));
}

struct Reply {
  std::int32_t Status = 0;  // 0 on success
  std::u16string Text;      // the reply, or the failure's description

  bool Succeeded() const { return Status >= 0; }
  static Reply Success(std::u16string text) { return {0, std::move(text)}; }
  static Reply Fail(Failure failure, std::u16string description) {
    return {StatusOf(failure), std::move(description)};
  }
};

// Raised inside reply building; each operation turns it into a failed Reply.
struct ReplyFailure {
  Failure Kind;
  std::u16string Description;
};

// Runs a reply builder, turning a ReplyFailure that it raises into a failed Reply.
template <typename Build>
Reply Answer(Build build) {
  try {
    return Reply::Success(build());
  } catch (const ReplyFailure& failure) {
    return Reply::Fail(failure.Kind, failure.Description);
  }
}

// Appends an item to a comma-separated list of names in a description.
inline void AppendToList(std::u16string& list, std::u16string_view item) {
  if (!list.empty())
    list += u", ";
  list += item;
}

// A text in double quotes, as descriptions cite what the caller sent.
using quorvane::Quoted;

}  // namespace quorvane::server
