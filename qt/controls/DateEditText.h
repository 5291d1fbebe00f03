#pragma once
// How a date editor reads the text in it: first as the editor shows dates, element by element of
// the short date pattern with the pattern's literal text matched (quoted text, separators, and
// letters that are no date field), then by the general date reading, which also takes shorter
// entries such as a day and a month alone.

#include <QString>
#include <optional>

#include "TextToValue.h"

namespace quorvane {

// The day the text names when read by the short date pattern; nothing when it does not read.
std::optional<TDate> ReadDateByPattern(const QString& text);
// The day a typed text names: by the pattern, else by the general date reading.
std::optional<TDate> ReadTypedDate(const QString& text);

}  // namespace quorvane
