#pragma once
// The replies of the server's operations, as functions of the data and the arguments, written in
// the conventions of the locale settings given for the call (the client's process-wide settings
// when none are given). Each gives the reply text or a failure with its description.

#include <string_view>

#include "LocaleSettings.h"
#include "Reply.h"
#include "ServerData.h"

namespace quorvane::server {

// "|Russia|United_States|...": the delimiter first, then every country with a series, spaces as
// underscores.
Reply CountryListReply(const ServerData& data);

// "date&statutory&monthly|..." oldest first.
Reply MinimumWageReply(const ServerData& data, std::u16string_view country,
                       const LocaleSettings& settings = CurrentLocaleSettings());
// "date&value|..." oldest first.
Reply PriceIndexReply(const ServerData& data, std::u16string_view country,
                      const LocaleSettings& settings = CurrentLocaleSettings());
// "date&value|..." newest first, so that a scan from the last entry to the first stops at the
// rate in force.
Reply FundsRateReply(const ServerData& data, std::u16string_view country,
                     const LocaleSettings& settings = CurrentLocaleSettings());

// Every value of one catalogue field, comma-separated, in letter-code order; a value that holds a
// blank or a comma, or starts with a double quote, is quoted with its inner quotes doubled.
Reply FieldValueReply(const ServerData& data, std::u16string_view field);
// The letter code of the one currency whose field has the value (without regard to case): an
// exact match first, else one whose value holds it as whole words.
Reply LetterCodeReply(const ServerData& data, std::u16string_view field, std::u16string_view value);

// The history of units of `to` per one `from`: the delimiter first, then "date=value" entries,
// oldest first.
Reply ExchangeHistoryReply(const ServerData& data, std::u16string_view from, std::u16string_view to,
                           const LocaleSettings& settings = CurrentLocaleSettings());
// The rate on a day: "F" for a currency with itself, "N<what>=<rate>" for a rate quoted
// directly, "C<what>:<rate>" for one computed from quoted rates.
Reply ExchangeRateReply(const ServerData& data, std::u16string_view from, std::u16string_view to,
                        double day, const LocaleSettings& settings = CurrentLocaleSettings());

}  // namespace quorvane::server
