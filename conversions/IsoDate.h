#pragma once
// ISO dates, YYYY-MM-DD: how the data files, the command line's plain output and the messages
// write days, whatever the locale settings say.

#include <optional>
#include <string>
#include <string_view>

#include "Calendar.h"

namespace quorvane {

// The calendar day of a date number (its whole-day part; as DecodeDay, days outside the years 1
// to 9999 give the first or the last day).
std::string IsoDateText(TDateTime date);
// The time of day of a date number to the nearest second, HH:MM:SS; empty at midnight (and for a
// number that is not finite).
std::string IsoTimeOfDayText(TDateTime date);
// A day of the calendar from 0001-01-01 to 9999-12-31, written with exactly 4, 2 and 2 digits;
// nothing for anything else.
std::optional<TDate> ReadIsoDate(std::string_view text);
// The same, optionally with a time of day: YYYY-MM-DDTHH:MM or YYYY-MM-DDTHH:MM:SS, a space
// allowed for the T. Before 1899-12-30 the time of day counts away from zero, as in date numbers.
std::optional<TDateTime> ReadIsoDateTime(std::string_view text);

}  // namespace quorvane
