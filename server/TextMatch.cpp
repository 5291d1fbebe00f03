#include "TextMatch.h"

namespace quorvane::server {

namespace {

bool InRange(char16_t c, char16_t first, char16_t last) {
  return c >= first && c <= last;
}

}  // namespace

bool IsWordCharacter(char16_t c) {
  if (c < 0x80)
    return InRange(c, u'0', u'9') || InRange(c, u'a', u'z') || InRange(c, u'A', u'Z');
  if (c < 0xC0 || c == 0xD7 || c == 0xF7)
    return false;
  // General punctuation, currency and other symbols, arrows, and the CJK and full-width
  // punctuation blocks.
  return !(InRange(c, 0x2000, 0x2BFF) || InRange(c, 0x3000, 0x303F) || InRange(c, 0xFE30, 0xFE4F) ||
           InRange(c, 0xFF00, 0xFF0F) || InRange(c, 0xFF1A, 0xFF20) || InRange(c, 0xFFE0, 0xFFEF));
}

std::u16string_view TrimBlanks(std::u16string_view text) {
  auto blank = [](char16_t c) { return (c >= 1 && c <= 32) || c == 0xA0; };
  while (!text.empty() && blank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && blank(text.back()))
    text.remove_suffix(1);
  return text;
}

bool ContainsWholeWords(std::u16string_view foldedText, std::u16string_view foldedQuery) {
  if (foldedQuery.empty())
    return false;
  for (std::size_t at = foldedText.find(foldedQuery); at != std::u16string_view::npos;
       at = foldedText.find(foldedQuery, at + 1)) {
    std::size_t end = at + foldedQuery.size();
    bool startsWord =
        at == 0 || !IsWordCharacter(foldedText[at - 1]) || !IsWordCharacter(foldedQuery.front());
    bool endsWord = end == foldedText.size() || !IsWordCharacter(foldedText[end]) ||
                    !IsWordCharacter(foldedQuery.back());
    if (startsWord && endsWord)
      return true;
  }
  return false;
}

}  // namespace quorvane::server
