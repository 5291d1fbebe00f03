#include "Characters.h"

namespace quorvane {

namespace {

bool InRange(char16_t c, char16_t first, char16_t last) {
  return c >= first && c <= last;
}

// Blocks where upper- and lower-case letters alternate: even code upper, odd code lower.
bool AlternatingEvenUpper(char16_t c) {
  return InRange(c, 0x0100, 0x012F) || InRange(c, 0x0132, 0x0137) || InRange(c, 0x014A, 0x0177) ||
         InRange(c, 0x0460, 0x0481) || InRange(c, 0x048A, 0x04BF) || InRange(c, 0x04D0, 0x052F) ||
         InRange(c, 0x1E00, 0x1E95) || InRange(c, 0x1EA0, 0x1EFF);
}

// The same with odd codes upper.
bool AlternatingOddUpper(char16_t c) {
  return InRange(c, 0x0139, 0x0148) || InRange(c, 0x0179, 0x017E) || InRange(c, 0x04C1, 0x04CE);
}

}  // namespace

char16_t FoldCase(char16_t c) {
  if (InRange(c, u'A', u'Z'))
    return static_cast<char16_t>(c + 32);
  if (c < 0xC0)
    return c;
  if ((InRange(c, 0x00C0, 0x00DE) && c != 0x00D7) || (InRange(c, 0x0391, 0x03AB) && c != 0x03A2) ||
      InRange(c, 0x0410, 0x042F))
    return static_cast<char16_t>(c + 32);
  if (InRange(c, 0x0400, 0x040F))
    return static_cast<char16_t>(c + 80);
  if (InRange(c, 0x0531, 0x0556))
    return static_cast<char16_t>(c + 48);
  if (c == 0x0178)
    return 0x00FF;
  if (c == 0x04C0)
    return 0x04CF;
  if (AlternatingEvenUpper(c) && c % 2 == 0)
    return static_cast<char16_t>(c + 1);
  if (AlternatingOddUpper(c) && c % 2 == 1)
    return static_cast<char16_t>(c + 1);
  return c;
}

bool IsSpaceOfAnyWidth(char16_t c) {
  return InRange(c, 0x0009, 0x000D) || c == 0x0020 || c == 0x0085 || c == 0x00A0 || c == 0x1680 ||
         InRange(c, 0x2000, 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

bool IsFormatMark(char16_t c) {
  return c == 0x00AD || InRange(c, 0x0600, 0x0605) || c == 0x061C || c == 0x06DD || c == 0x070F ||
         InRange(c, 0x0890, 0x0891) || c == 0x08E2 || c == 0x180E || InRange(c, 0x200B, 0x200F) ||
         InRange(c, 0x202A, 0x202E) || InRange(c, 0x2060, 0x2064) || InRange(c, 0x2066, 0x206F) ||
         c == 0xFEFF || InRange(c, 0xFFF9, 0xFFFB);
}

std::u16string FoldCase(std::u16string_view text) {
  std::u16string folded(text);
  for (char16_t& c : folded)
    c = FoldCase(c);
  return folded;
}

}  // namespace quorvane
