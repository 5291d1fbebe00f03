#include "DateArgument.h"

#include <optional>

#include "Errors.h"
#include "IsoDate.h"
#include "LocaleSettings.h"
#include "Subcommand.h"
#include "Utf.h"

namespace quorvane::cli {

TDateTime DayOf(const std::string& option, const std::string& text) {
  if (text == "null")
    return kNullDate;
  if (const std::optional<TDateTime> iso = ReadIsoDateTime(text))
    return *iso;
  try {
    return ReadDate(FromUtf8(text));
  } catch (const EConvertError&) {
  }
  throw UsageProblem{option + ": \"" + text +
                     "\" is not a date; give YYYY-MM-DD, a date in the "
                     "short date pattern \"" +
                     ToUtf8(CurrentLocaleSettings().ShortDateFormat) + "\", or null"};
}

}  // namespace quorvane::cli
