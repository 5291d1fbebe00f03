// Numbers and money values as text: the general number text, the four-decimal text and the
// display patterns of the currency editors. Only the locale settings decide the separators.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "Digits.h"
#include "LocaleSettings.h"
#include "ValueToText.h"

namespace quorvane {

namespace {

constexpr int kExactDigits = 18;
constexpr int kGeneralDigits = 15;

void AppendAscii(std::u16string& out, std::string_view ascii) {
  for (char c : ascii)
    out += static_cast<char16_t>(c);
}

std::string UnsignedDigits(std::uint64_t value) {
  return AsciiDecimal(value);
}

// Keeps the first `keep` digits of value = 0.digits * 10^exponent and rounds up in magnitude when
// the first dropped digit is 5 or more. Trailing zeros are dropped; an empty result is zero.
void RoundHalfUp(std::string& digits, int& exponent, int keep) {
  if (keep >= static_cast<int>(digits.size()))
    return;
  if (keep < 0) {
    digits.clear();
    return;
  }
  const bool up = digits[keep] >= '5';
  digits.resize(keep);
  if (up) {
    std::size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9')
      digits[--i] = '0';
    if (i == 0) {
      digits.insert(digits.begin(), '1');
      ++exponent;
    } else {
      ++digits[i - 1];
    }
  }
  digits.erase(digits.find_last_not_of('0') + 1);
  if (digits.empty())
    exponent = 0;
}

// The parts of a display pattern section that decide how the digits go out.
struct SectionLayout {
  int integerPlaceholders = 0;
  int minimumIntegerDigits = 0;  // from the first "0" before the point
  int decimals = 0;
  int lastForcedDecimal = -1;  // the last "0" behind the point
  bool grouping = false;
};

bool IsQuote(char16_t c) {
  return c == u'\'' || c == u'"';
}

// At most three sections of a pattern.
struct Sections {
  std::array<std::u16string_view, 3> text;
  std::size_t count = 0;
};

// Splits at ";" outside quotes into at most three sections.
Sections SplitSections(std::u16string_view pattern) {
  Sections sections;
  std::size_t start = 0;
  char16_t quote = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char16_t c = pattern[i];
    if (quote != 0) {
      if (c == quote)
        quote = 0;
    } else if (IsQuote(c)) {
      quote = c;
    } else if (c == u';') {
      sections.text[sections.count++] = pattern.substr(start, i - start);
      start = i + 1;
      if (sections.count == 3)
        return sections;
    }
  }
  sections.text[sections.count++] = pattern.substr(start);
  return sections;
}

SectionLayout Analyze(std::u16string_view section) {
  SectionLayout layout;
  bool afterPoint = false;
  int firstForced = -1;
  char16_t quote = 0;
  for (char16_t c : section) {
    if (quote != 0) {
      if (c == quote)
        quote = 0;
    } else if (IsQuote(c)) {
      quote = c;
    } else if (c == u'.') {
      afterPoint = true;
    } else if (c == u',') {
      layout.grouping = true;
    } else if (c == u'0' || c == u'#') {
      if (afterPoint) {
        if (c == u'0')
          layout.lastForcedDecimal = layout.decimals;
        ++layout.decimals;
      } else {
        if (c == u'0' && firstForced < 0)
          firstForced = layout.integerPlaceholders;
        ++layout.integerPlaceholders;
      }
    }
  }
  if (firstForced >= 0)
    layout.minimumIntegerDigits = layout.integerPlaceholders - firstForced;
  return layout;
}

// |value| rounded to the decimals: integer digits (no leading zeros) and exactly `decimals`
// fraction digits.
struct FixedDigits {
  std::string integer, fraction;
  bool IsZero() const {
    return integer.empty() && fraction.find_first_not_of('0') == std::string::npos;
  }
};

FixedDigits RoundToDecimals(double value, int decimals) {
  DecimalDigits exact = Extended::FromDouble(value).ToDecimalDigits(kExactDigits);
  std::string digits = std::move(exact.Digits);
  int exponent = exact.Exponent;
  RoundHalfUp(digits, exponent, exponent + decimals);
  FixedDigits fixed;
  const auto digitAt = [&](int i) {
    return i >= 0 && i < static_cast<int>(digits.size()) ? digits[i] : '0';
  };
  for (int i = 0; i < exponent; ++i)
    fixed.integer += digitAt(i);
  for (int j = 0; j < decimals; ++j)
    fixed.fraction += digitAt(exponent + j);
  return fixed;
}

// Writes one section with the digits at its placeholders.
std::u16string WriteSection(std::u16string_view section, const SectionLayout& layout,
                            const FixedDigits& fixed, bool minus) {
  const LocaleSettings& settings = CurrentLocaleSettings();
  std::string integer = fixed.integer;
  if (static_cast<int>(integer.size()) < layout.minimumIntegerDigits)
    integer.insert(0, layout.minimumIntegerDigits - integer.size(), '0');
  const int integerCount = static_cast<int>(integer.size());
  // A decimal goes out at a "0", or at a "#" while a non-zero digit follows.
  const std::size_t lastNonZero = fixed.fraction.find_last_not_of('0');
  const int shownDecimals = std::max(layout.lastForcedDecimal + 1,
                                     lastNonZero == std::string::npos ? 0 : int(lastNonZero) + 1);

  std::u16string out;
  if (minus)
    out += u'-';
  int nextInteger = 0;  // the next integer digit to go out
  const auto emitIntegerDigitsUpTo = [&](int end) {
    for (; nextInteger < end; ++nextInteger) {
      out += static_cast<char16_t>(integer[nextInteger]);
      const int fromPoint = integerCount - 1 - nextInteger;
      if (layout.grouping && fromPoint > 0 && fromPoint % 3 == 0)
        out += settings.ThousandSeparator;
    }
  };
  int integerPlaceholder = 0, decimal = 0;
  bool afterPoint = false;
  char16_t quote = 0;
  for (char16_t c : section) {
    if (quote != 0) {
      if (c == quote)
        quote = 0;
      else
        out += c;
    } else if (IsQuote(c)) {
      quote = c;
    } else if (c == u',') {
      // grouping only
    } else if (c == u'.' && !afterPoint) {
      afterPoint = true;
      emitIntegerDigitsUpTo(integerCount);  // a section without integer placeholders
      if (shownDecimals > 0)
        out += settings.DecimalSeparator;
    } else if ((c == u'0' || c == u'#') && !afterPoint) {
      // Placeholder k from the right takes the digit k from the point; the first one also takes
      // every digit beyond the placeholders.
      ++integerPlaceholder;
      emitIntegerDigitsUpTo(integerCount - (layout.integerPlaceholders - integerPlaceholder));
    } else if (c == u'0' || c == u'#') {
      if (decimal < shownDecimals)
        out += static_cast<char16_t>(fixed.fraction[decimal]);
      ++decimal;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

Extended MoneyToReal(Currency value) {
  return Extended::FromInt64(value.Count).DividedBy(Extended::FromUint64(10000));
}

std::u16string GeneralNumberText(const Extended& value) {
  if (value.IsNaN())
    return u"NAN";
  if (!value.IsFinite())
    return value.Negative() ? u"-INF" : u"INF";
  if (value.IsZero())
    return u"0";
  const char16_t separator = CurrentLocaleSettings().DecimalSeparator;
  DecimalDigits exact = value.ToDecimalDigits(kExactDigits);
  std::string digits = std::move(exact.Digits);
  int exponent = exact.Exponent;
  RoundHalfUp(digits, exponent, kGeneralDigits);
  const int count = static_cast<int>(digits.size());

  std::u16string out;
  if (value.Negative())
    out += u'-';
  if (exponent >= -3 && exponent <= kGeneralDigits) {
    if (exponent > 0) {
      AppendAscii(out, std::string_view(digits).substr(0, exponent));
      out.append(exponent > count ? exponent - count : 0, u'0');
      if (count > exponent) {
        out += separator;
        AppendAscii(out, std::string_view(digits).substr(exponent));
      }
    } else {
      out += u'0';
      out += separator;
      out.append(-exponent, u'0');
      AppendAscii(out, digits);
    }
    return out;
  }
  out += static_cast<char16_t>(digits[0]);
  if (count > 1) {
    out += separator;
    AppendAscii(out, std::string_view(digits).substr(1));
  }
  out += u'E';
  const int power = exponent - 1;
  if (power < 0)
    out += u'-';
  AppendAscii(out, UnsignedDigits(static_cast<std::uint64_t>(power < 0 ? -power : power)));
  return out;
}

std::u16string FourDecimalText(Currency value) {
  const std::uint64_t magnitude = value.Count < 0
                                      ? std::uint64_t{0} - static_cast<std::uint64_t>(value.Count)
                                      : static_cast<std::uint64_t>(value.Count);
  std::u16string out;
  if (value.Count < 0)
    out += u'-';
  AppendAscii(out, UnsignedDigits(magnitude / 10000));
  out += CurrentLocaleSettings().DecimalSeparator;
  const std::string fraction = UnsignedDigits(magnitude % 10000 + 10000);  // "1dddd"
  AppendAscii(out, std::string_view(fraction).substr(1));
  return out;
}

std::u16string DisplayPatternText(std::u16string_view pattern, double value) {
  const double magnitude = value < 0 ? -value : value;
  if (!(magnitude < 1e18))  // also NaN
    return GeneralNumberText(Extended::FromDouble(value));
  const Sections split = SplitSections(pattern);
  const bool hasZeroSection = split.count == 3 && !split.text[2].empty();
  std::array<std::u16string_view, 3> sections = split.text;
  for (std::size_t i = 1; i < 3; ++i) {
    if (i >= split.count || sections[i].empty())
      sections[i] = sections[0];
  }
  std::size_t chosen = value == 0 ? 2 : value < 0 ? 1 : 0;
  SectionLayout layout = Analyze(sections[chosen]);
  FixedDigits fixed = RoundToDecimals(magnitude, layout.decimals);
  bool negative = value < 0;
  if (fixed.IsZero()) {
    negative = false;
    const std::size_t zeroSection = hasZeroSection ? 2 : 0;
    if (zeroSection != chosen) {
      chosen = zeroSection;
      layout = Analyze(sections[chosen]);
      fixed = RoundToDecimals(0.0, layout.decimals);
    }
  }
  // Only the first section writes a sign of its own; it counts as first also where it stands in
  // for an empty or missing second section.
  const bool writtenByFirst = sections[chosen].data() == sections[0].data();
  return WriteSection(sections[chosen], layout, fixed, negative && writtenByFirst);
}

}  // namespace quorvane
