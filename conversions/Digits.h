#pragma once
// Integers as text, by std::to_chars: decimal (with '-' when negative) and upper-case hex.

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>

namespace quorvane {

// The decimal digits of value, zero-filled to at least minDigits digits after any sign.
template <typename Integer>
std::string AsciiDecimal(Integer value, std::size_t minDigits = 0) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  std::string text(digits, end);
  const std::size_t sign = text.front() == '-' ? 1 : 0;
  if (text.size() - sign < minDigits)
    text.insert(sign, minDigits - (text.size() - sign), '0');
  return text;
}

// The same as UTF-16 text.
template <typename Integer>
std::u16string DecimalText(Integer value, std::size_t minDigits = 0) {
  const std::string ascii = AsciiDecimal(value, minDigits);
  return std::u16string(ascii.begin(), ascii.end());
}

// Exactly `digits` upper-case hex digits of the low bits of value.
inline std::string AsciiUpperHex(std::uint64_t value, std::size_t digits) {
  char hex[16];
  const auto end = std::to_chars(hex, hex + sizeof hex, value, 16).ptr;
  std::string text(digits, '0');
  const std::size_t length = static_cast<std::size_t>(end - hex);
  for (std::size_t i = 0; i < length && i < digits; ++i) {
    const char c = hex[length - 1 - i];
    text[digits - 1 - i] = c >= 'a' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return text;
}

// The same as UTF-16 text.
inline std::u16string UpperHexText(std::uint64_t value, std::size_t digits) {
  const std::string ascii = AsciiUpperHex(value, digits);
  return std::u16string(ascii.begin(), ascii.end());
}

// A status code as messages show it: 0x8004020B.
inline std::string StatusHex(std::uint32_t status) {
  return "0x" + AsciiUpperHex(status, 8);
}

}  // namespace quorvane
