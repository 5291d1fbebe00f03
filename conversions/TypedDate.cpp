#include "TypedDate.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "Characters.h"
#include "DatePattern.h"
#include "Errors.h"
#include "TextToValue.h"

namespace quorvane {

namespace {

using Kind = DateElement::Kind;

// An element of the pattern as the reader needs it: literal text that stands together is one.
struct Expected {
  Kind kind;
  std::size_t run;
  std::u16string text;
};

bool IsNumber(const Expected& element) {
  return element.kind == Kind::Day || element.kind == Kind::Month || element.kind == Kind::Year;
}

// The pattern's elements, or nothing when it has more fields than the text has characters: each
// field takes at least one, and hostile patterns can expand into millions of elements.
std::optional<std::vector<Expected>> ExpectedElements(const LocaleSettings& settings,
                                                      std::size_t textLength) {
  std::vector<Expected> elements;
  std::size_t fields = 0;
  ShortDateElements pattern(settings);
  DateElement element;
  while (pattern.Next(element)) {
    if (element.kind == Kind::Text) {
      if (!elements.empty() && elements.back().kind == Kind::Text)
        elements.back().text += element.text;
      else
        elements.push_back({Kind::Text, 0, std::u16string(element.text)});
    } else {
      if (++fields > textLength)
        return std::nullopt;
      elements.push_back({element.kind, element.run, {}});
    }
  }
  return elements;
}

class PatternReader {
 public:
  PatternReader(const LocaleSettings& settings, std::u16string_view text)
      : settings_(settings), text_(text) {
    // Marks that steer the direction of text (such as the right-to-left mark around the
    // separators of some patterns) are invisible: neither needed nor in the way when reading.
    std::erase_if(text_, IsFormatMark);
  }

  std::optional<TDate> Read(const std::vector<Expected>& elements) {
    int year = -1, month = -1, day = -1;
    for (std::size_t e = 0; e < elements.size(); ++e) {
      const Expected& element = elements[e];
      // The user may leave out literal text at the end (a trailing "г." or full stop).
      if (AtEnd() && RestIsText(elements, e))
        break;
      // A number right before another number keeps to its width; otherwise it may be longer
      // (a four-digit year typed where the pattern has two).
      const bool numberFollows = e + 1 < elements.size() && IsNumber(elements[e + 1]);
      switch (element.kind) {
        case Kind::Text:
          if (!MatchText(element.text))
            return std::nullopt;
          break;
        case Kind::Day:
          if (!ReadNumber(2, day, nullptr))
            return std::nullopt;
          break;
        case Kind::Month:
          if (!ReadNumber(2, month, nullptr))
            return std::nullopt;
          break;
        case Kind::Year: {
          int digits = 0;
          const int width = numberFollows ? (element.run <= 2 ? 2 : 4) : 4;
          if (!ReadNumber(width, year, &digits))
            return std::nullopt;
          if (digits <= 2)
            year = CenturyWindowYear(year);
          break;
        }
        case Kind::DayName:
          if (!MatchName(settings_.ShortDayNames, settings_.LongDayNames, nullptr))
            return std::nullopt;
          break;
        case Kind::MonthName:
          if (!MatchName(settings_.ShortMonthNames, settings_.LongMonthNames, &month))
            return std::nullopt;
          break;
      }
    }
    SkipSpaces();
    if (!AtEnd() || day < 0 || month < 0)
      return std::nullopt;
    if (year < 0)
      year = CurrentYear();
    if (year < 1 || year > 9999 || !IsCalendarDate(year, month, day))
      return std::nullopt;
    return EncodeDay(year, month, day);
  }

 private:
  static bool RestIsText(const std::vector<Expected>& elements, std::size_t from) {
    return std::all_of(elements.begin() + static_cast<std::ptrdiff_t>(from), elements.end(),
                       [](const Expected& element) { return element.kind == Kind::Text; });
  }

  int CenturyWindowYear(int year) const {
    const int base = CurrentYear() - settings_.TwoDigitYearCenturyWindow;
    year += base / 100 * 100;
    return year < base ? year + 100 : year;
  }

  bool AtEnd() const { return pos_ >= text_.size(); }

  void SkipSpaces() {
    while (!AtEnd() && IsSpaceOfAnyWidth(text_[pos_]))
      ++pos_;
  }

  bool ReadNumber(int maxDigits, int& value, int* digitsTaken) {
    SkipSpaces();
    int digits = 0;
    value = 0;
    while (!AtEnd() && digits < maxDigits && text_[pos_] >= u'0' && text_[pos_] <= u'9') {
      value = value * 10 + (text_[pos_] - u'0');
      ++digits;
      ++pos_;
    }
    if (digitsTaken)
      *digitsTaken = digits;
    return digits > 0;
  }

  // Blanks of the pattern match any run of blanks, none included; other characters match
  // themselves without regard to case. Blanks around the text are passed over.
  bool MatchText(std::u16string_view literal) {
    SkipSpaces();
    for (char16_t c : literal) {
      if (IsFormatMark(c))
        continue;
      if (IsSpaceOfAnyWidth(c)) {
        SkipSpaces();
        continue;
      }
      if (AtEnd() || FoldCase(text_[pos_]) != FoldCase(c))
        return false;
      ++pos_;
    }
    SkipSpaces();
    return true;
  }

  bool StartsHere(std::u16string_view name) const {
    if (name.size() > text_.size() - pos_)
      return false;
    for (std::size_t i = 0; i < name.size(); ++i)
      if (FoldCase(text_[pos_ + i]) != FoldCase(name[i]))
        return false;
    return true;
  }

  // The longest of the short and long names that the text starts with; `index` gets its place.
  template <std::size_t N>
  bool MatchName(const std::array<std::u16string, N>& shortNames,
                 const std::array<std::u16string, N>& longNames, int* index) {
    SkipSpaces();
    std::size_t best = 0;
    int found = -1;
    for (const auto* names : {&shortNames, &longNames}) {
      for (std::size_t i = 0; i < N; ++i) {
        const std::u16string& name = (*names)[i];
        if (name.size() > best && StartsHere(name)) {
          best = name.size();
          found = static_cast<int>(i);
        }
      }
    }
    if (found < 0)
      return false;
    pos_ += best;
    if (index)
      *index = found + 1;
    return true;
  }

  const LocaleSettings& settings_;
  std::u16string text_;
  std::size_t pos_ = 0;
};

}  // namespace

std::optional<TDate> ReadDateByPattern(std::u16string_view text, const LocaleSettings& settings) {
  const std::optional<std::vector<Expected>> elements = ExpectedElements(settings, text.size());
  if (!elements)
    return std::nullopt;
  return PatternReader(settings, text).Read(*elements);
}

std::optional<TDate> ReadTypedDate(std::u16string_view text, const LocaleSettings& settings) {
  if (const std::optional<TDate> day = ReadDateByPattern(text, settings))
    return day;
  try {
    return ReadDate(text, settings);
  } catch (const Exception&) {
    return std::nullopt;
  }
}

}  // namespace quorvane
