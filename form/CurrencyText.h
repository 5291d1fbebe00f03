#pragma once
// The currency editor's text, whatever draws it: the number by its display pattern while the
// editor is not being edited, plainly while it is, and the reading back of what the user typed,
// which may be the shown text with its digits grouped.

#include <optional>
#include <string>
#include <string_view>

#include "ValueToText.h"

namespace quorvane {

// What the editor shows: nothing without a value; the plain number, without grouping, while it is
// edited; otherwise the number by the display pattern.
std::u16string CurrencyEditorText(std::optional<double> value, bool editing,
                                  std::u16string_view pattern = kCurrencyDisplayPattern);

// The number a text names under the current locale settings: a plain number, or the number as the
// display pattern shows it, with its digits grouped. Nothing when the text is no number.
std::optional<double> ReadShownNumber(std::u16string_view text);

// What the editor holds after the user typed `text`: nothing for a blank text, the number the text
// names, or `former` when it names none.
std::optional<double> CurrencyValueAfterTyping(std::u16string_view text,
                                               std::optional<double> former);

}  // namespace quorvane
