#pragma once
// Comparing texts the way a person typing them means them: without regard to case, and by
// whole words.

#include <string>
#include <string_view>

namespace quorvane::server {

// The lower-case form of a character of the Latin, Greek, Cyrillic and Armenian alphabets; every
// other character stands for itself.
char16_t FoldCase(char16_t c);
std::u16string FoldCase(std::u16string_view text);

// Letters and digits of any script make words; blanks, punctuation and symbols separate them.
bool IsWordCharacter(char16_t c);

// The text without blanks (codes 1 to 32 and the no-break space) at either end.
std::u16string_view TrimBlanks(std::u16string_view text);

// True when the folded query stands in the folded text with a word boundary on each side. An
// empty query matches nothing.
bool ContainsWholeWords(std::u16string_view foldedText, std::u16string_view foldedQuery);

}  // namespace quorvane::server
