// The date-pattern vocabulary: the pieces of a pattern, the elements of the short date pattern as
// the writer and the date editors take them, the order of a date's numbers and the separator.
#include "DatePattern.h"

#include <gtest/gtest.h>

#include <string>

#include "LocaleSettings.h"
#include "Utf.h"

namespace quorvane {
namespace {

// The pieces as one line: a field as its letter and run ("d2"), literal text in brackets, quoted
// text in quotes.
std::string TokensOf(std::u16string_view pattern) {
  std::string out;
  DatePatternTokens tokens(pattern);
  DatePatternToken token;
  while (tokens.Next(token)) {
    if (!out.empty())
      out += ' ';
    if (token.letter != 0)
      out += static_cast<char>(token.letter) + std::to_string(token.run);
    else if (token.quoted)
      out += "'" + ToUtf8(token.text) + "'";
    else
      out += "[" + ToUtf8(token.text) + "]";
  }
  return out;
}

TEST(DatePatternTokensTest, FieldsQuotesAndCharacters) {
  struct Case {
    std::u16string_view pattern;
    const char* tokens;
  };
  const Case cases[] = {
      {u"dd.MM.yyyy", "d2 [.] m2 [.] y4"},
      {u"M/d/yy", "m1 [/] d1 [/] y2"},
      {u"dD-Mm-yY", "d2 [-] m2 [-] y2"},  // a mixed-case run is one field
      {u"dddddd mmmm", "d6 [ ] m4"},
      {u"yyyymmdd", "y4 m2 d2"},                     // fields may follow each other
      {u"'d/m' \"yy\"", "'d/m' [ ] 'yy'"},           // quoted letters are text
      {u"d 'x\"y' \"'\"", "d1 [ ] 'x\"y' [ ] '''"},  // the other quote is plain inside
      {u"d 'open d", "d1 [ ] 'open d'"},             // an unclosed quote runs to the end
      {u"d''m", "d1 '' m1"},                         // an empty quote is empty text
      {u"hh:nn", "[h] [h] [:] [n] [n]"},             // time letters are no date field
      {u"d.mm.yy '\u0433'.", "d1 [.] m2 [.] y2 [ ] '\u0433' [.]"},
      {u"", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TokensOf(c.pattern), c.tokens) << ToUtf8(c.pattern);
}

std::string ElementsOf(const LocaleSettings& settings) {
  std::string out;
  ShortDateElements elements(settings);
  DateElement element;
  while (elements.Next(element)) {
    if (!out.empty())
      out += ' ';
    switch (element.kind) {
      case DateElement::Kind::Day:
        out += "Day";
        break;
      case DateElement::Kind::DayName:
        out += "DayName";
        break;
      case DateElement::Kind::Month:
        out += "Month";
        break;
      case DateElement::Kind::MonthName:
        out += "MonthName";
        break;
      case DateElement::Kind::Year:
        out += "Year";
        break;
      case DateElement::Kind::Text:
        out += "[" + ToUtf8(element.text) + "]";
        continue;
    }
    out += std::to_string(element.run);
  }
  return out;
}

TEST(ShortDateElementsTest, SeparatorsAndThePatternsTheShortPatternNames) {
  struct Case {
    std::u16string_view shortPattern, longPattern;
    const char* elements;
  };
  const Case cases[] = {
      {u"dd.MM.yyyy", u"", "Day2 [.] Month2 [.] Year4"},
      // '/' and ':' are the separators of the settings ('-' and '^' here), quoted they are not.
      {u"d/m/yy hh:nn", u"", "Day1 [-] Month1 [-] Year2 [ ] [h] [h] [^] [n] [n]"},
      {u"d'/'m\":\"y", u"", "Day1 [/] Month1 [:] Year1"},
      {u"ddd, dddd mmm mmmmmm", u"", "DayName3 [,] [ ] DayName4 [ ] MonthName3 [ ] MonthName6"},
      {u"d''m", u"", "Day1 Month1"},  // an empty quote gives nothing
      // ddddd names the short pattern, which is being expanded: nothing there.
      {u"<ddddd>", u"mmmm", "[<] [>]"},
      // Six or more d name the long pattern, expanded in place, once on the way.
      {u"[dddddd]", u"mmmm d, yyyy", "[[] MonthName4 [ ] Day1 [,] [ ] Year4 []]"},
      {u"dddddddd", u"d (ddddd) (dddddd)", "Day1 [ ] [(] [)] [ ] [(] [)]"},
      {u"dddddd|dddddd", u"y", "Year1 [|] Year1"},  // after it ends, it can be named again
  };
  for (const Case& c : cases) {
    LocaleSettings settings;
    settings.ShortDateFormat = c.shortPattern;
    settings.LongDateFormat = c.longPattern;
    settings.DateSeparator = u'-';
    settings.TimeSeparator = u'^';
    EXPECT_EQ(ElementsOf(settings), c.elements) << ToUtf8(c.shortPattern);
  }
}

TEST(DateOrderTest, TheFirstDateLetterOfThePatternDecides) {
  struct Case {
    std::u16string_view pattern;
    DateOrder order;
  };
  const Case cases[] = {
      {u"dd.MM.yyyy", DateOrder::DayMonthYear},
      {u"M/d/yyyy", DateOrder::MonthDayYear},
      {u"yyyy-MM-dd", DateOrder::YearMonthDay},
      {u"ee/mm/dd", DateOrder::YearMonthDay},  // e is a year counted in an era
      {u"'y' d/m", DateOrder::YearMonthDay},   // quotes are not looked at
      {u"hh:nn", DateOrder::MonthDayYear},     // no date letter: month first
      {u"", DateOrder::MonthDayYear},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DateOrderOf(c.pattern), c.order) << ToUtf8(c.pattern);
}

// The patterns as the locale sources give them: Qt's formats (letters lowered) and the C library's
// formats turned into patterns. In time patterns hours, minutes and seconds are the fields.
TEST(SeparatorTest, TheFirstCharacterBetweenTheFirstTwoFields) {
  struct Case {
    std::u16string_view pattern;
    std::u16string_view separator;
    std::u16string_view fields = kDateFieldLetters;
  };
  const Case cases[] = {
      {u"dd.mm.yyyy", u"."},
      {u"m/d/yy", u"/"},
      {u"yyyy-mm-dd", u"-"},
      {u"yyyy. mm. dd.", u"."},                    // the blank after it is not part of it
      {u"d\u200f/m\u200f/yyyy", u"/"},             // a right-to-left mark beside it is not
      {u"d.mm.yy '\u0433'.", u"."},                // a quoted year mark after the fields
      {u"dd/mm yyyy", u"/"},                       // only the first counts
      {u"'d.m' dd-mm", u"-"},                      // quoted text is no field and no separator
      {u"dd'.'mm", u""},                           // nor between fields
      {u"yyyymmdd", u""},                          // fields run together: none
      {u"yyyy\u5e74mm\u6708dd\u65e5", u"\u5e74"},  // a literal letter between fields
      {u"ddd, dd.mm.yyyy", u","},                  // a day name is a field too
      {u"dd", u""},                                // one field: nothing between two
      {u"", u""},
      {u"HH:mm", u":", kTimeFieldLetters},
      {u"HH.mm.ss", u".", kTimeFieldLetters},
      {u"h:mm AP", u":", kTimeFieldLetters},
      {u"AP h:mm", u":", kTimeFieldLetters},    // a designator before the hours is no field
      {u"HH 'h' mm", u" ", kTimeFieldLetters},  // a quoted unit between the fields is not it
      {u"'kl'. hh.mm", u".", kTimeFieldLetters},
      {u"HHmm", u"", kTimeFieldLetters},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SeparatorOf(c.pattern, c.fields), c.separator) << ToUtf8(c.pattern);
}

}  // namespace
}  // namespace quorvane
