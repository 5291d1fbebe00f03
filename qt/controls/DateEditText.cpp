#include "DateEditText.h"

#include <array>
#include <vector>

#include "Calendar.h"
#include "Characters.h"
#include "Errors.h"
#include "LocaleSettings.h"

namespace quorvane {

namespace {

struct Element {
  enum Kind { Day, Month, Year, DayName, MonthName, Literal };
  Kind kind;
  int run = 0;   // letters of a date field: the field's width in digits, or short (3) or long name
  QString text;  // literal text
};

// Marks that steer the direction of text (such as the right-to-left mark around the separators of
// some patterns) are invisible: they are neither needed nor in the way when reading.
bool IsInvisibleMark(QChar c) {
  return c.category() == QChar::Other_Format;
}

// The pattern as a list of elements, read as the short date text writes it: runs of d, m or y,
// quoted text, '/' for the date separator, ':' for the time separator, every other character
// itself. A pattern that names the short or long pattern is expanded once; a pattern already being
// expanded gives nothing there, as in writing.
class PatternElements {
 public:
  explicit PatternElements(const LocaleSettings& settings) : settings_(settings) {}

  std::vector<Element> Of(const std::u16string& pattern) {
    Expand(pattern);
    return std::move(elements_);
  }

 private:
  void Expand(const std::u16string& pattern) {
    const QString p = QString::fromStdU16String(pattern);
    qsizetype i = 0;
    while (i < p.size()) {
      const QChar c = p[i];
      const char16_t letter = AsciiLower(c.unicode());
      if (letter == u'd' || letter == u'm' || letter == u'y') {
        qsizetype run = 1;
        while (i + run < p.size() && AsciiLower(p[i + run].unicode()) == letter)
          ++run;
        i += run;
        AddField(static_cast<char>(letter), static_cast<int>(run));
      } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
        const qsizetype close = p.indexOf(c, i + 1);
        const qsizetype stop = close < 0 ? p.size() : close;
        AddLiteral(p.mid(i + 1, stop - i - 1));
        i = close < 0 ? stop : stop + 1;
      } else {
        AddLiteral(c == QLatin1Char('/')   ? QString(QChar(settings_.DateSeparator))
                   : c == QLatin1Char(':') ? QString(QChar(settings_.TimeSeparator))
                                           : QString(c));
        ++i;
      }
    }
  }

  void AddField(char letter, int run) {
    if (letter == 'd' && run == 5) {
      ExpandOnce(inShort_, settings_.ShortDateFormat);
    } else if (letter == 'd' && run > 5) {
      ExpandOnce(inLong_, settings_.LongDateFormat);
    } else if (letter == 'd') {
      elements_.push_back({run <= 2 ? Element::Day : Element::DayName, run, {}});
    } else if (letter == 'm') {
      elements_.push_back({run <= 2 ? Element::Month : Element::MonthName, run, {}});
    } else {
      elements_.push_back({Element::Year, run, {}});
    }
  }

  void ExpandOnce(bool& active, const std::u16string& pattern) {
    if (active)
      return;
    active = true;
    Expand(pattern);
    active = false;
  }

  void AddLiteral(const QString& text) {
    if (!elements_.empty() && elements_.back().kind == Element::Literal)
      elements_.back().text += text;
    else
      elements_.push_back({Element::Literal, 0, text});
  }

  const LocaleSettings& settings_;
  std::vector<Element> elements_;
  bool inShort_ = true;  // the short pattern is the one being read
  bool inLong_ = false;
};

class PatternReader {
 public:
  PatternReader(const LocaleSettings& settings, QString text)
      : settings_(settings), text_(std::move(text)) {
    text_.removeIf(IsInvisibleMark);
  }

  std::optional<TDate> Read(const std::vector<Element>& elements) {
    int year = -1, month = -1, day = -1;
    for (std::size_t e = 0; e < elements.size(); ++e) {
      const Element& element = elements[e];
      // The user may leave out literal text at the end (a trailing "г." or full stop).
      if (AtEnd() && RestIsLiteral(elements, e))
        break;
      // A number right before another number keeps to its width; otherwise it may be longer
      // (a four-digit year typed where the pattern has two).
      const bool numberFollows = e + 1 < elements.size() && IsNumber(elements[e + 1]);
      switch (element.kind) {
        case Element::Literal:
          if (!MatchLiteral(element.text))
            return std::nullopt;
          break;
        case Element::Day:
          if (!ReadNumber(2, day, nullptr))
            return std::nullopt;
          break;
        case Element::Month:
          if (!ReadNumber(2, month, nullptr))
            return std::nullopt;
          break;
        case Element::Year: {
          int digits = 0;
          const int width = numberFollows ? (element.run <= 2 ? 2 : 4) : 4;
          if (!ReadNumber(width, year, &digits))
            return std::nullopt;
          if (digits <= 2)
            year = CenturyWindowYear(year);
          break;
        }
        case Element::DayName:
          if (!MatchName(settings_.ShortDayNames, settings_.LongDayNames, nullptr))
            return std::nullopt;
          break;
        case Element::MonthName:
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
  static bool IsNumber(const Element& element) {
    return element.kind == Element::Day || element.kind == Element::Month ||
           element.kind == Element::Year;
  }

  static bool RestIsLiteral(const std::vector<Element>& elements, std::size_t from) {
    for (std::size_t e = from; e < elements.size(); ++e)
      if (elements[e].kind != Element::Literal)
        return false;
    return true;
  }

  int CenturyWindowYear(int year) const {
    const int base = CurrentYear() - settings_.TwoDigitYearCenturyWindow;
    year += base / 100 * 100;
    return year < base ? year + 100 : year;
  }

  bool AtEnd() const { return pos_ >= text_.size(); }

  void SkipSpaces() {
    while (!AtEnd() && text_[pos_].isSpace())
      ++pos_;
  }

  bool ReadNumber(int maxDigits, int& value, int* digitsTaken) {
    SkipSpaces();
    int digits = 0;
    value = 0;
    while (!AtEnd() && digits < maxDigits && text_[pos_] >= QLatin1Char('0') &&
           text_[pos_] <= QLatin1Char('9')) {
      value = value * 10 + (text_[pos_].unicode() - u'0');
      ++digits;
      ++pos_;
    }
    if (digitsTaken)
      *digitsTaken = digits;
    return digits > 0;
  }

  // Blanks of the pattern match any run of blanks, none included; other characters match
  // themselves without regard to case. Blanks around the literal are passed over.
  bool MatchLiteral(const QString& literal) {
    SkipSpaces();
    for (QChar c : literal) {
      if (IsInvisibleMark(c))
        continue;
      if (c.isSpace()) {
        SkipSpaces();
        continue;
      }
      if (AtEnd() || text_[pos_].toCaseFolded() != c.toCaseFolded())
        return false;
      ++pos_;
    }
    SkipSpaces();
    return true;
  }

  // The longest of the short and long names that the text starts with; `index` gets its place.
  template <std::size_t N>
  bool MatchName(const std::array<std::u16string, N>& shortNames,
                 const std::array<std::u16string, N>& longNames, int* index) {
    SkipSpaces();
    qsizetype best = 0;
    int found = -1;
    for (const auto* names : {&shortNames, &longNames}) {
      for (std::size_t i = 0; i < N; ++i) {
        const QString name = QString::fromStdU16String((*names)[i]);
        if (name.size() > best &&
            QStringView(text_).mid(pos_).startsWith(name, Qt::CaseInsensitive)) {
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
  QString text_;
  qsizetype pos_ = 0;
};

}  // namespace

std::optional<TDate> ReadDateByPattern(const QString& text) {
  const LocaleSettings& settings = CurrentLocaleSettings();
  const std::vector<Element> elements = PatternElements(settings).Of(settings.ShortDateFormat);
  return PatternReader(settings, text).Read(elements);
}

std::optional<TDate> ReadTypedDate(const QString& text) {
  if (const std::optional<TDate> day = ReadDateByPattern(text))
    return day;
  try {
    return ReadDate(text.toStdU16String());
  } catch (const Exception&) {
    return std::nullopt;
  }
}

}  // namespace quorvane
