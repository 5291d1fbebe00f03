#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "LocaleSettings.h"
#include "TextToValue.h"
#include "Utf.h"
#include "ValueToText.h"

namespace quorvane {
namespace {

TEST(WholeDayCutTest, TruncatesTowardZero) {
  struct CutCase {
    double date, whole;
  };
  const CutCase cases[] = {
      {40459.75, 40459},      {40459.0, 40459},      {-1.5, -1}, {-0.5, 0}, {0.999, 0},
      {kNullDate, kNullDate}, {2958465.99, 2958465},
  };
  for (const CutCase& c : cases)
    EXPECT_EQ(WholeDayCut(c.date), c.whole) << c.date;
}

LocaleSettings TextSettings(std::u16string shortPattern, char16_t separator) {
  LocaleSettings s;
  s.ShortDateFormat = std::move(shortPattern);
  s.DateSeparator = separator;
  s.TimeSeparator = u'^';
  s.DecimalSeparator = u'#';
  return s;
}

struct TextCase {
  std::u16string_view pattern;
  char16_t separator;
  double date;
  std::u16string_view text;
};

const double kFri20101008 = 40459;
const double kTue20100105 = EncodeDay(2010, 1, 5);

const TextCase kTextCases[] = {
    {u"dd.MM.yyyy", u'.', kFri20101008, u"08.10.2010"},
    {u"M/d/yyyy", u'/', kFri20101008, u"10/8/2010"},
    {u"d/m/yy", u'\u00b7', kTue20100105, u"5\u00b71\u00b710"},  // "/" is the date separator
    {u"dd/mm", u'.', kTue20100105, u"05.01"},
    {u"ddd, dddd", u'/', kFri20101008, u"Fri, Friday"},
    {u"mmm|mmmm|mmmmmmm", u'/', kTue20100105, u"Jan|January|January"},
    {u"y|yy|yyy|yyyy|yyyyyy", u'/', kFri20101008, u"10|10|2010|2010|2010"},
    {u"yy yyyy", u'/', EncodeDay(5, 3, 1), u"05 0005"},    // zero-filled
    {u"D-mM-Y", u'/', kFri20101008, u"8-10-10"},           // letters without regard to case
    {u"dD.MM", u'/', kTue20100105, u"05.01"},              // a mixed-case run is one element
    {u"'d/m' \"yy\" d", u'/', kFri20101008, u"d/m yy 8"},  // quoted text as it stands
    {u"d 'x\"y' \"'\"", u'/', kFri20101008, u"8 x\"y '"},  // the other quote is plain inside
    {u"d 'open d", u'/', kFri20101008, u"8 open d"},       // an unclosed quote runs to the end
    {u"hh:nn:ss", u'/', kFri20101008, u"hh^nn^ss"},        // time letters go out as themselves
    {u"d\u00e9%s", u'/', kFri20101008, u"8\u00e9%s"},
    {u"<dddddd>", u'/', kFri20101008, u"<October 8, 2010>"},  // the long pattern
    {u"<dddddddd>", u'/', kFri20101008, u"<October 8, 2010>"},
    {u"<ddddd>", u'/', kFri20101008, u"<>"},  // the short pattern names itself: nothing
    {u"", u'/', kFri20101008, u""},
    {u"dd.mm.yyyy", u'.', kNullDate, u"01.01.0001"},  // before year 1: the first day
    {u"dd.mm.yyyy", u'.', -1.5, u"29.12.1899"},       // the whole day toward zero
    {u"dd.mm.yyyy", u'.', 40459.999, u"08.10.2010"},
    {u"dd.mm.yyyy", u'.', 1e20, u"31.12.9999"},
};

TEST(ShortDateTextTest, WritesEveryElementOfThePattern) {
  for (const TextCase& c : kTextCases) {
    ScopedLocaleSettings s(TextSettings(std::u16string(c.pattern), c.separator));
    EXPECT_EQ(ShortDateText(c.date), c.text) << ToUtf8(c.pattern) << " of " << c.date;
  }
}

TEST(ShortDateTextTest, NamesComeFromTheSettings) {
  LocaleSettings s = TextSettings(u"dddd d mmmm yyyy (ddd, mmm)", u'.');
  s.LongDayNames[5] = u"\u043f\u044f\u0442\u043d\u0438\u0446\u0430";
  s.ShortDayNames[5] = u"\u043f\u0442";
  s.LongMonthNames[9] = u"\u043e\u043a\u0442\u044f\u0431\u0440\u044f";
  s.ShortMonthNames[9] = u"\u043e\u043a\u0442";
  ScopedLocaleSettings scoped(s);
  EXPECT_EQ(ShortDateText(kFri20101008),
            u"\u043f\u044f\u0442\u043d\u0438\u0446\u0430 8 \u043e\u043a\u0442\u044f\u0431\u0440"
            u"\u044f 2010 (\u043f\u0442, \u043e\u043a\u0442)");
}

TEST(ShortDateTextTest, PatternsThatNameEachOtherStayBounded) {
  struct NestCase {
    std::u16string_view shortPattern, longPattern, text;
  };
  const NestCase cases[] = {
      {u"ddddd", u"mmmm d", u""},
      {u"[dddddd]", u"d (ddddd) (dddddd)", u"[8 () ()]"},  // each pattern once on the way
      {u"[dddddd]", u"dddd", u"[Friday]"},
      {u"<dd> ddddd dddddd", u"'L' dddddd ddddd", u"<08>  L  "},
  };
  for (const NestCase& c : cases) {
    LocaleSettings s = TextSettings(std::u16string(c.shortPattern), u'/');
    s.LongDateFormat = c.longPattern;
    ScopedLocaleSettings scoped(s);
    EXPECT_EQ(ShortDateText(kFri20101008), c.text) << ToUtf8(c.shortPattern);
  }
}

// Locale items can be anything: a short pattern that names the long one thousands of times, or
// names a million characters long, once multiplied into texts of tens of millions of characters.
// The text is cut at the limit, its start written as always.
TEST(ShortDateTextTest, HostilePatternsAndNamesGiveATextOfAtMostTheLimit) {
  std::u16string repeatedLong, repeatedNames, longShortLong;
  for (int i = 0; i < 500; ++i)
    repeatedLong += u"dddddd ";
  for (int i = 0; i < 20; ++i)
    repeatedNames += u"mmmm dddd ";
  for (int i = 0; i < 3000; ++i)
    longShortLong += u"dd mmmm yyyy ";
  const std::u16string hugeName(1'000'000, u'\u043e');
  struct HostileCase {
    const char* why;
    std::u16string shortPattern, longPattern, longMonthName;
    std::u16string_view start;
  };
  const HostileCase cases[] = {
      {"the short pattern names a long one of 39,000 characters 500 times", repeatedLong,
       longShortLong, u"October", u"08 October 2010 08 October 2010 "},
      {"a million-character month name, 20 times", repeatedNames, u"", hugeName,
       u"\u043e\u043e\u043e"},
      {"quoted text beyond the limit", u"d '" + std::u16string(50'000, u'q') + u"'", u"",
       u"October", u"8 qqq"},
  };
  for (const HostileCase& c : cases) {
    LocaleSettings s = TextSettings(c.shortPattern, u'/');
    s.LongDateFormat = c.longPattern;
    s.LongMonthNames[9] = c.longMonthName;
    ScopedLocaleSettings scoped(s);
    const std::u16string text = ShortDateText(kFri20101008);
    EXPECT_EQ(text.size(), kMaxDateTextLength) << c.why;
    EXPECT_EQ(text.substr(0, c.start.size()), c.start) << c.why;
  }
  // A cut never splits a surrogate pair: a name of pairs cut at an odd room ("08 " before it).
  LocaleSettings s = TextSettings(u"dd mmmm", u'/');
  std::u16string pairs;
  for (int i = 0; i < 3000; ++i)
    pairs += u"\U0001F600";
  s.LongMonthNames[9] = pairs;
  ScopedLocaleSettings scoped(s);
  const std::u16string text = ShortDateText(kFri20101008);
  ASSERT_FALSE(text.empty());
  EXPECT_FALSE(text.back() >= 0xD800 && text.back() <= 0xDBFF) << "a high surrogate ends the text";
  EXPECT_GE(text.size(), kMaxDateTextLength - 1);
}

// Any day of years 1 to 9999, with any time of day, written by a numeric short pattern reads back
// as the same whole day.
TEST(ShortDateTextTest, NumericPatternsReadBackAsTheSameDay) {
  struct Convention {
    std::u16string_view pattern;
    char16_t separator;
    double first, last;  // the days the pattern can carry
  };
  const double firstDay = EncodeDay(1, 1, 1), lastDay = EncodeDay(9999, 12, 31);
  const Convention conventions[] = {
      {u"dd.MM.yyyy", u'.', firstDay, lastDay},
      {u"M/d/yyyy", u'/', firstDay, lastDay},
      {u"yyyy-MM-dd", u'-', firstDay, lastDay},
      {u"d/M/yyyy", u'\u00b7', firstDay, lastDay},
      {u"yyyy/m/d", u'\u3000', firstDay, lastDay},
      {u"d.M.yy", u'.', EncodeDay(1960, 1, 1), EncodeDay(2059, 12, 31)},  // the window
      {u"yy/mm/dd", u'\u2215', EncodeDay(1960, 1, 1), EncodeDay(2059, 12, 31)},
  };
  std::mt19937_64 rng(40459);
  for (const Convention& c : conventions) {
    ScopedLocaleSettings s(TextSettings(std::u16string(c.pattern), c.separator));
    std::uniform_int_distribution<int> days(static_cast<int>(c.first), static_cast<int>(c.last));
    std::uniform_real_distribution<double> fraction(0.0, 1.0);
    for (int i = 0; i < 20000; ++i) {
      const double day = days(rng);
      const double f = fraction(rng);
      const double date = day < 0 ? day - f : day + f;
      const std::u16string text = ShortDateText(date);
      ASSERT_EQ(ReadDate(text), day) << ToUtf8(c.pattern) << ": " << ToUtf8(text);
    }
  }
}

}  // namespace
}  // namespace quorvane
