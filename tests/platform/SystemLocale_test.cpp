// The locale source of the portable runtime: the window reads its toolkit's locale, so the thread
// gives no items; a user locale opened by name gives the items of the C library's answers, none
// for the C and POSIX locales (the defaults stand), and a locale the system lacks is not opened.
#include "SystemLocale.h"

#include <gtest/gtest.h>

#include "PosixLocale.h"

namespace {

using platform::LocaleText;

constexpr LocaleText kItems[] = {
    LocaleText::DecimalSeparator, LocaleText::ThousandSeparator, LocaleText::DateSeparator,
    LocaleText::ShortDateFormat,  LocaleText::LongDateFormat,    LocaleText::TimeSeparator,
    LocaleText::TimeAMString,     LocaleText::TimePMString,      LocaleText::ShortMonthName,
    LocaleText::LongMonthName,    LocaleText::ShortDayName,      LocaleText::LongDayName};

TEST(SystemLocale, TheThreadGivesNoItems) {
  for (LocaleText item : kItems)
    EXPECT_FALSE(platform::ThreadLocaleText(item, 0)) << static_cast<int>(item);
}

TEST(SystemLocale, TheCAndPosixLocalesGiveNoItems) {
  for (const char* name : {"C", "POSIX"}) {
    const std::unique_ptr<platform::UserLocale> locale = platform::UserLocale::Open(name);
    ASSERT_TRUE(locale) << name;
    for (LocaleText item : kItems)
      for (int index : {0, 6})
        EXPECT_FALSE(locale->Text(item, index)) << name << " item " << static_cast<int>(item);
  }
}

TEST(SystemLocale, ALocaleTheSystemLacksIsNotOpened) {
  EXPECT_FALSE(platform::UserLocale::Open("xx_NOWHERE"));
  EXPECT_FALSE(platform::UserLocale::Open("de_DE.no-such-charset"));
}

// The pure half of the POSIX source: what the C library answers for real locales, and the items
// made of it. The answers are those of the C library of Debian 12.
namespace posix {

using platform::PosixLocaleAnswers;

PosixLocaleAnswers Answers(std::u16string_view radix, std::u16string_view thousands,
                           std::u16string_view dateFormat, std::u16string_view timeFormat,
                           std::u16string_view am, std::u16string_view january,
                           std::u16string_view sunday) {
  PosixLocaleAnswers answers;
  answers.radixChar = radix;
  answers.thousandsSeparator = thousands;
  answers.dateFormat = dateFormat;
  answers.timeFormat = timeFormat;
  answers.amString = am;
  answers.pmString = am.empty() ? u"" : u"PM";
  answers.months[0] = january;
  answers.abbreviatedMonths[0] = january.substr(0, 3);
  answers.days[0] = sunday;
  answers.abbreviatedDays[0] = sunday.substr(0, 2);
  answers.days[1] = u"Monday";
  return answers;
}

struct ItemsCase {
  const char* why;
  PosixLocaleAnswers answers;
  // The items as the settings take them; nullopt where the locale gives none.
  std::optional<std::u16string> decimal, thousand, dateSeparator, shortDate, timeSeparator, am;
};

const ItemsCase kItemsCases[] = {
    {"de_DE: day first, the time as %T",
     Answers(u",", u".", u"%d.%m.%Y", u"%T", u"", u"Januar", u"Sonntag"), u",", u".", u".",
     u"dd.mm.yyyy", u":", u""},
    {"ru_RU: a narrow no-break space groups digits",
     Answers(u",", u"\u202f", u"%d.%m.%Y", u"%T", u"", u"\u044f\u043d\u0432\u0430\u0440\u044f",
             u"\u0412\u043e\u0441\u043a\u0440\u0435\u0441\u0435\u043d\u044c\u0435"),
     u",", u"\u202f", u".", u"dd.mm.yyyy", u":", u""},
    {"en_US: month first, a twelve-hour time with its designator",
     Answers(u".", u",", u"%m/%d/%Y", u"%r", u"AM", u"January", u"Sunday"), u".", u",", u"/",
     u"mm/dd/yyyy", u":", u"AM"},
    {"hu_HU: year first",
     Answers(u",", u".", u"%Y-%m-%d", u"%H:%M:%S", u"", u"janu\u00e1r", u"vas\u00e1rnap"), u",",
     u".", u"-", u"yyyy-mm-dd", u":", u""},
    {"bg_BG: the day without a leading zero, no thousands separator, hours by %k",
     Answers(u",", u"", u"%e.%m.%Y", u"%k:%M:%S", u"", u"\u044f\u043d\u0443\u0430\u0440\u0438",
             u"\u043d\u0435\u0434\u0435\u043b\u044f"),
     u",", u"", u".", u"d.mm.yyyy", u":", u""},
    {"C: the defaults stand",
     Answers(u".", u"", u"%m/%d/%y", u"%H:%M:%S", u"AM", u"January", u"Sunday"), std::nullopt,
     std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
};

TEST(PosixLocaleItems, RealLocalesAnswers) {
  for (const ItemsCase& c : kItemsCases) {
    const auto item = [&](LocaleText text, int index = 0) {
      return platform::PosixLocaleText(c.answers, text, index);
    };
    EXPECT_EQ(item(LocaleText::DecimalSeparator), c.decimal) << c.why;
    EXPECT_EQ(item(LocaleText::ThousandSeparator), c.thousand) << c.why;
    EXPECT_EQ(item(LocaleText::DateSeparator), c.dateSeparator) << c.why;
    EXPECT_EQ(item(LocaleText::ShortDateFormat), c.shortDate) << c.why;
    EXPECT_EQ(item(LocaleText::TimeSeparator), c.timeSeparator) << c.why;
    EXPECT_EQ(item(LocaleText::TimeAMString), c.am) << c.why;
    // The C library has no long date pattern: the default stands.
    EXPECT_EQ(item(LocaleText::LongDateFormat), std::nullopt) << c.why;
    if (!c.decimal)
      continue;  // the C locale: nothing at all
    EXPECT_EQ(item(LocaleText::LongMonthName, 0), c.answers.months[0]) << c.why;
    EXPECT_EQ(item(LocaleText::ShortMonthName, 0), c.answers.abbreviatedMonths[0]) << c.why;
    // Sunday first, as the C library counts.
    EXPECT_EQ(item(LocaleText::LongDayName, 0), c.answers.days[0]) << c.why;
    EXPECT_EQ(item(LocaleText::LongDayName, 1), u"Monday") << c.why;
    EXPECT_EQ(item(LocaleText::ShortDayName, 0), c.answers.abbreviatedDays[0]) << c.why;
  }
}

TEST(PosixLocaleItems, StrftimeFormatsAsPatterns) {
  struct Case {
    std::u16string_view format, datePattern, timePattern;
  };
  const Case cases[] = {
      {u"%d.%m.%Y", u"dd.mm.yyyy", u".."},
      {u"%e/%-m/%y", u"d/mm/yy", u"//"},  // flags of the GNU extensions carry no meaning
      {u"%a %b %B %A", u"ddd mmm mmmm dddd", u"   "},
      {u"%D", u"mm/dd/yy", u""},
      {u"%F", u"yyyy-mm-dd", u""},
      {u"%Ey|%Od", u"yy|dd", u"|"},
      {u"%H:%M:%S %p", u":: ", u"hh:mm:ss "},  // the designator has no letters of its own
      {u"%T", u"", u"hh:mm:ss"},
      {u"%r", u"", u"hh:mm:ss"},
      {u"%R", u"", u"hh:mm"},
      {u"%Hh%M", u"'h'", u"hh'h'mm"},  // literal letters are quoted: no field
      {u"kl. %H.%M %z", u"'kl'. . ", u"'kl'. hh.mm "},
      {u"%a, %Y.eko %bren %da", u"ddd, yyyy.'eko' mmm'ren' dd'a'", u", .'eko' 'ren' 'a'"},
      {u"%d'%m", u"dd\"'\"mm", u"\"'\""},  // an apostrophe in double quotes
      {u"100%% %", u"100% %", u"100% %"},
      {u"%Y\u5e74%m\u6708%d\u65e5", u"yyyy\u5e74mm\u6708dd\u65e5", u"\u5e74\u6708\u65e5"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::DatePatternOf(c.format), c.datePattern);
    EXPECT_EQ(platform::TimePatternOf(c.format), c.timePattern);
  }
}

}  // namespace posix

}  // namespace
