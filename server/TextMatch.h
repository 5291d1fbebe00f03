#pragma once
// Comparing texts the way a person typing them means them: without regard to case, and by
// whole words.

#include <string>
#include <string_view>

#include "Characters.h"

namespace quorvane::server {

using quorvane::FoldCase;

// Letters and digits of any script make words; blanks, punctuation and symbols separate them.
bool IsWordCharacter(char16_t c);

// The text without blanks (codes 1 to 32 and the no-break space) at either end.
std::u16string_view TrimBlanks(std::u16string_view text);

// True when the folded query stands in the folded text with a word boundary on each side. An
// empty query matches nothing.
bool ContainsWholeWords(std::u16string_view foldedText, std::u16string_view foldedQuery);

}  // namespace quorvane::server
