#include "DateArgument.h"

#include <regex>

#include "Calendar.h"
#include "Errors.h"
#include "LocaleSettings.h"
#include "Subcommand.h"
#include "Utf.h"

namespace quorvane::cli {

TDateTime DayOf(const std::string& option, const std::string& text) {
  if (text == "null")
    return kNullDate;
  static const std::regex iso(R"((\d{4})-(\d{2})-(\d{2})(?:[T ](\d{2}):(\d{2})(?::(\d{2}))?)?)");
  std::smatch parts;
  if (std::regex_match(text, parts, iso)) {
    const int year = std::stoi(parts[1]), month = std::stoi(parts[2]), day = std::stoi(parts[3]);
    const int hour = parts[4].matched ? std::stoi(parts[4]) : 0;
    const int minute = parts[5].matched ? std::stoi(parts[5]) : 0;
    const int second = parts[6].matched ? std::stoi(parts[6]) : 0;
    if (year >= 1 && IsCalendarDate(year, month, day) && hour < 24 && minute < 60 && second < 60) {
      const double time = (hour * 3600 + minute * 60 + second) / 86400.0;
      const TDate whole = EncodeDay(year, month, day);
      // Before 1899-12-30 the time of day counts away from zero.
      return whole < 0 ? whole - time : whole + time;
    }
  } else {
    try {
      return ReadDate(FromUtf8(text));
    } catch (const EConvertError&) {
    }
  }
  throw UsageProblem{option + ": \"" + text +
                     "\" is not a date; give YYYY-MM-DD, a date in the "
                     "short date pattern \"" +
                     ToUtf8(CurrentLocaleSettings().ShortDateFormat) + "\", or null"};
}

}  // namespace quorvane::cli
