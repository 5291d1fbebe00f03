#pragma once
// A GUID from its braced registry form, at compile time: ids written once as text become the
// structures that the runtime takes.

#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "Com.h"

namespace platform {

namespace guid_text {

constexpr std::uint32_t HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9')
    return c - u'0';
  if (c >= u'A' && c <= u'F')
    return c - u'A' + 10;
  if (c >= u'a' && c <= u'f')
    return c - u'a' + 10;
  throw std::invalid_argument("a GUID's text holds a character that is no hexadecimal digit");
}

constexpr std::uint32_t Hex(std::u16string_view text, std::size_t from, std::size_t digits) {
  std::uint32_t value = 0;
  for (std::size_t i = from; i < from + digits; ++i)
    value = value * 16 + HexDigit(text[i]);
  return value;
}

}  // namespace guid_text

// {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX} in hexadecimal digits of either case. Any other text
// throws, which in a constant expression stops the compilation.
constexpr GUID GuidFromText(std::u16string_view text) {
  if (text.size() != 38 || text[0] != u'{' || text[37] != u'}' || text[9] != u'-' ||
      text[14] != u'-' || text[19] != u'-' || text[24] != u'-')
    throw std::invalid_argument("a GUID's text is not in the braced registry form");
  using guid_text::Hex;
  GUID guid{};
  guid.Data1 = Hex(text, 1, 8);
  guid.Data2 = static_cast<decltype(guid.Data2)>(Hex(text, 10, 4));
  guid.Data3 = static_cast<decltype(guid.Data3)>(Hex(text, 15, 4));
  guid.Data4[0] = static_cast<std::uint8_t>(Hex(text, 20, 2));
  guid.Data4[1] = static_cast<std::uint8_t>(Hex(text, 22, 2));
  for (std::size_t i = 0; i < 6; ++i)
    guid.Data4[2 + i] = static_cast<std::uint8_t>(Hex(text, 25 + 2 * i, 2));
  return guid;
}

}  // namespace platform
