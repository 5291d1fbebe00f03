#pragma once
// How a date editor reads the text typed into it: first as the editor shows dates, element by
// element of the short date pattern with the pattern's literal text matched (quoted text,
// separators, and letters that are no date field), then by the general date reading, which also
// takes shorter entries such as a day and a month alone.

#include <optional>
#include <string_view>

#include "Calendar.h"
#include "LocaleSettings.h"

namespace quorvane {

// The day the text names when read by the short date pattern; nothing when it does not read.
std::optional<TDate> ReadDateByPattern(std::u16string_view text,
                                       const LocaleSettings& settings = CurrentLocaleSettings());
// The day a typed text names: by the pattern, else by the general date reading.
std::optional<TDate> ReadTypedDate(std::u16string_view text,
                                   const LocaleSettings& settings = CurrentLocaleSettings());

}  // namespace quorvane
