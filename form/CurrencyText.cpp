#include "CurrencyText.h"

#include "Errors.h"
#include "Extended.h"
#include "LocaleSettings.h"
#include "TextToValue.h"

namespace quorvane {

namespace {

// The blanks of Unicode (White_Space), in the basic plane.
bool IsBlank(char16_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

// Invisible format characters (the marks a locale puts around a number, a soft hyphen), which a
// copied text may carry.
bool IsFormatCharacter(char16_t c) {
  return c == 0xAD || (c >= 0x600 && c <= 0x605) || c == 0x61C || c == 0x6DD || c == 0x70F ||
         c == 0x180E || (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2060 && c <= 0x2064) || (c >= 0x2066 && c <= 0x206F) || c == 0xFEFF ||
         (c >= 0xFFF9 && c <= 0xFFFB);
}

std::u16string_view Trimmed(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

std::optional<double> ReadPlain(std::u16string_view text) {
  try {
    return ReadNumber(text).ToDouble();
  } catch (const Exception&) {
    return std::nullopt;
  }
}

}  // namespace

std::u16string CurrencyEditorText(std::optional<double> value, bool editing,
                                  std::u16string_view pattern) {
  if (!value)
    return {};
  if (editing)
    return GeneralNumberText(Extended::FromDouble(*value));
  return DisplayPatternText(pattern, *value);
}

std::optional<double> ReadShownNumber(std::u16string_view text) {
  if (const std::optional<double> value = ReadPlain(text))
    return value;
  // The shown form groups the digits: without its group separators it reads as a number. Where
  // the separator is a blank, every kind of blank counts, since a text typed by hand may hold a
  // plain space for a non-breaking one.
  const LocaleSettings& settings = CurrentLocaleSettings();
  const char16_t group = settings.ThousandSeparator;
  if (group == settings.DecimalSeparator)
    return std::nullopt;
  std::u16string plain;
  plain.reserve(text.size());
  for (const char16_t c : text)
    if (c != group && !(IsBlank(group) && IsBlank(c)) && !IsFormatCharacter(c))
      plain += c;
  return plain.size() == text.size() ? std::nullopt : ReadPlain(plain);
}

std::optional<double> CurrencyValueAfterTyping(std::u16string_view text,
                                               std::optional<double> former) {
  text = Trimmed(text);
  if (text.empty())
    return std::nullopt;
  if (const std::optional<double> value = ReadShownNumber(text))
    return value;
  return former;
}

}  // namespace quorvane
