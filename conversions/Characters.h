#pragma once
// Small character rules shared by every part: one case fold, one blank test, one way of quoting.

#include <algorithm>
#include <string>
#include <string_view>

namespace quorvane {

// The lower-case form of a character of the Latin, Greek, Cyrillic and Armenian alphabets; every
// other character stands for itself.
char16_t FoldCase(char16_t c);
std::u16string FoldCase(std::u16string_view text);

// A..Z to a..z, for the letters of patterns; everything else stands for itself.
inline char16_t AsciiLower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}

// Codes 1..32: the space and the control characters. NUL is no blank: it ends a text.
inline bool IsBlank(char16_t c) {
  return static_cast<char16_t>(c - 1) < 32;
}
// A space of any width (the no-break and ideographic spaces too), or a tab, line or paragraph
// end: what a user may type between the parts of a date.
bool IsSpaceOfAnyWidth(char16_t c);
// An invisible mark that only formats text: the marks that steer its direction (such as the
// right-to-left mark beside the separators of some date patterns), zero-width joiners, the soft
// hyphen.
bool IsFormatMark(char16_t c);

// True when every character is a blank (and for the empty text).
inline bool IsBlankText(std::u16string_view text) {
  return std::all_of(text.begin(), text.end(), [](char16_t c) { return IsBlank(c); });
}

// The text between double quotes, as messages name what they refuse.
inline std::u16string Quoted(std::u16string_view text) {
  return u"\"" + std::u16string(text) + u"\"";
}
inline std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

}  // namespace quorvane
