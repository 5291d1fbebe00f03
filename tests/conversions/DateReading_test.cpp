#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "Errors.h"
#include "LocaleSettings.h"
#include "TextToValue.h"
#include "Utf.h"

namespace quorvane {
namespace {

LocaleSettings DateSettings(std::u16string pattern, char16_t separator) {
  LocaleSettings s;
  s.ShortDateFormat = std::move(pattern);
  s.DateSeparator = separator;
  s.DecimalSeparator = u'#';  // odd neighbours, so that a mix-up of separators shows
  s.TimeSeparator = u'^';
  return s;
}

// Replaces the clock's year for one test and puts back the year that the tests run with.
class ScopedYear {
 public:
  explicit ScopedYear(int year) {
    SetCurrentYearSource([year] { return year; });
  }
  ~ScopedYear() {
    SetCurrentYearSource([] { return 2010; });
  }
};

constexpr double kInvalid = std::numeric_limits<double>::quiet_NaN();

struct DateCase {
  std::u16string_view text;
  double expected;  // kInvalid: the reading fails
};

void ExpectDates(const DateCase* begin, const DateCase* end) {
  for (const DateCase* c = begin; c != end; ++c) {
    const std::string shown = ToUtf8(c->text);
    if (std::isnan(c->expected)) {
      EXPECT_THROW(ReadDate(c->text), EConvertError) << shown;
    } else {
      try {
        EXPECT_EQ(ReadDate(c->text), c->expected) << shown;
      } catch (const EConvertError& e) {
        ADD_FAILURE() << shown << ": " << e.what();
      }
    }
  }
}

const double k20101008 = EncodeDay(2010, 10, 8);

const DateCase kDayMonthYear[] = {
    {u"08.10.2010", 40459},
    {u" 8 . 10 . 2010 ", 40459},  // spaces around every part
    {u"08.10.2010.", 40459},      // one trailing separator
    {u"08.10.2010 . ", 40459},
    {u"0008.0010.2010", 40459},  // leading zeros count as digits, not as value
    {u"8.10", 40459},            // two numbers: the current year
    {u"08.10.10", 40459},        // two-digit year inside the window 1960..2059
    {u"08.10.59", EncodeDay(2059, 10, 8)},
    {u"08.10.60", EncodeDay(1960, 10, 8)},
    {u"08.10.0", EncodeDay(2000, 10, 8)},  // a one-digit year is a two-digit year
    {u"08.10.010", EncodeDay(10, 10, 8)},  // three digits stand as written
    {u"08.10.0010", EncodeDay(10, 10, 8)},
    {u"29.02.2000", EncodeDay(2000, 2, 29)},  // divisible by 400
    {u"29.02.2008", EncodeDay(2008, 2, 29)},
    {u"31.12.9999", 2958465},
    {u"01.01.0001", -693593},
    {u"30.12.1899", 0},
    {u"31.02.2010", kInvalid},  // no such day
    {u"29.02.2100", kInvalid},  // divisible by 100, not by 400
    {u"29.02.2010", kInvalid},
    {u"00.10.2010", kInvalid},
    {u"08.00.2010", kInvalid},
    {u"08.13.2010", kInvalid},
    {u"08.10.0000", kInvalid},     // year 0 written in full
    {u"08.10.20100", kInvalid},    // the fifth digit stays behind
    {u"00008.10.2010", 40459},     // leading zeros are taken without limit
    {u"10008.10.2010", kInvalid},  // a fifth significant digit stays behind
    {u"08.10.2010 12:00", kInvalid},
    {u"08.10.2010..", kInvalid},
    {u"8.10.", kInvalid},  // a separator after two numbers asks for a third
    {u"08-10-2010", kInvalid},
    {u"08/10/2010", kInvalid},
    {u"2010", kInvalid},
    {u"8", kInvalid},
    {u"8.", kInvalid},
    {u".10.2010", kInvalid},
    {u"", kInvalid},
    {u" ", kInvalid},
    {u"08.10.2010\t", kInvalid},      // only code 32 is a space here
    {u"\u00a008.10.2010", kInvalid},  // the no-break space is no space
    {u"08.10.+2010", kInvalid},
    {u"08.10.-10", kInvalid},
    {u"\uff10\uff18.10.2010", kInvalid},                   // full-width digits are no digits
    {std::u16string_view(u"08.10.2010\0", 11), kInvalid},  // NUL is a character like any other here
};

TEST(DateReadingTest, ReadsDayMonthYear) {
  ScopedLocaleSettings s(DateSettings(u"dd.MM.yyyy", u'.'));
  ExpectDates(std::begin(kDayMonthYear), std::end(kDayMonthYear));
}

const DateCase kMonthDayYear[] = {
    {u"10/8/2010", 40459},
    {u"10/8", 40459},
    {u"10/8/10", 40459},
    {u"2/29/2000", EncodeDay(2000, 2, 29)},
    {u"8/10/2010", EncodeDay(2010, 8, 10)},
    {u"13/8/2010", kInvalid},
    {u"10.8.2010", kInvalid},
};

TEST(DateReadingTest, ReadsMonthDayYear) {
  ScopedLocaleSettings s(DateSettings(u"M/d/yyyy", u'/'));
  ExpectDates(std::begin(kMonthDayYear), std::end(kMonthDayYear));
}

const DateCase kYearMonthDay[] = {
    {u"2010-10-08", 40459},
    {u"10-10-08", 40459},  // the year's digits are counted on the first number
    {u"0010-10-08", EncodeDay(10, 10, 8)},
    {u"10-08", 40459},  // two numbers: month and day of the current year
    {u"2010-08-10", EncodeDay(2010, 8, 10)},
    {u"2010-10-08-", 40459},
    {u"08-10-2010", kInvalid},
};

TEST(DateReadingTest, ReadsYearMonthDay) {
  ScopedLocaleSettings s(DateSettings(u"yyyy-MM-dd", u'-'));
  ExpectDates(std::begin(kYearMonthDay), std::end(kYearMonthDay));
}

TEST(DateReadingTest, OrderComesFromTheFirstDateLetterOfThePattern) {
  struct OrderCase {
    std::u16string_view pattern;
    double readingOf_10_08_2010;
  };
  const OrderCase cases[] = {
      {u"DD/MM/YYYY", EncodeDay(2010, 8, 10)},  // letters without regard to case
      {u"'x' d/m/y", EncodeDay(2010, 8, 10)},   // quotes are not looked at
      {u"Mm/dd/yy", EncodeDay(2010, 10, 8)},
      {u"yy/mm/dd", kInvalid},        // year 10, month 8, day 2010
      {u"ee/mm/dd", kInvalid},        // an era year counts as a year
      {u"gg ee/mm/dd", kInvalid},     // g is no date-order letter
      {u"", EncodeDay(2010, 10, 8)},  // no letter: month first
      {u"hh:nn", EncodeDay(2010, 10, 8)},
  };
  for (const OrderCase& c : cases) {
    ScopedLocaleSettings s(DateSettings(std::u16string(c.pattern), u'/'));
    const DateCase row[] = {{u"10/08/2010", c.readingOf_10_08_2010}};
    SCOPED_TRACE(ToUtf8(c.pattern));
    ExpectDates(std::begin(row), std::end(row));
  }
}

TEST(DateReadingTest, TwoDigitYearsFollowTheClockAndTheWindow) {
  struct WindowCase {
    int currentYear, window;
    std::u16string_view text;
    int year;
  };
  const WindowCase cases[] = {
      {2075, 50, u"1.1.24", 2124},  // the window is 2025..2124
      {2075, 50, u"1.1.25", 2025}, {2075, 50, u"1.1", 2075},
      {2010, 0, u"1.1.09", 2109},  // a window of 0 reaches a century ahead
      {2010, 0, u"1.1.10", 2010},  {2010, 100, u"1.1.09", 2009},  // 1910..2009
      {2010, 100, u"1.1.099", 99},
  };
  for (const WindowCase& c : cases) {
    ScopedYear year(c.currentYear);
    LocaleSettings settings = DateSettings(u"d.m.yy", u'.');
    settings.TwoDigitYearCenturyWindow = c.window;
    ScopedLocaleSettings s(settings);
    EXPECT_EQ(ReadDate(c.text), EncodeDay(c.year, 1, 1))
        << ToUtf8(c.text) << " in " << c.currentYear;
  }
}

TEST(DateReadingTest, DayNamePatternsSkipWordsUpToADesignator) {
  struct WordCase {
    std::u16string_view pattern, am, pm, text;
    double expected;
  };
  const WordCase cases[] = {
      {u"ddd dd.mm.yyyy", u"am", u"pm", u"08.10.2010 Fri", 40459},
      {u"ddd dd.mm.yyyy", u"am", u"pm", u"08.10.2010 12:00", 40459},  // a time is a word
      {u"ddd dd.mm.yyyy", u"am", u"pm", u"08.10.2010. a  b", 40459},
      {u"ddd dd.mm.yyyy", u"am", u"pm", u"08.10.2010 12:00 PM", kInvalid},  // stops there
      {u"ddd dd.mm.yyyy", u"am", u"pm", u"08.10.2010 am", 40459},  // the first word always goes
      {u"ddd dd.mm.yyyy", u"\u0414\u041f", u"\u041f\u041f", u"08.10.2010 1 \u0434\u043f", kInvalid},
      {u"ddd dd.mm.yyyy", u"", u"pm", u"08.10.2010 one", 40459},  // empty: one word
      {u"ddd dd.mm.yyyy", u"", u"pm", u"08.10.2010 one two", kInvalid},
      {u"DDD dd.mm.yyyy", u"am", u"pm", u"08.10.2010 Fri", kInvalid},  // lower case only
      {u"dd.mm.yyyy", u"am", u"pm", u"08.10.2010 Fri", kInvalid},
      {u"ddd dd.mm.yyyy", u"am", u"pm", u"08.10.2010Fri", 40459},  // right behind the date
  };
  for (const WordCase& c : cases) {
    LocaleSettings settings = DateSettings(std::u16string(c.pattern), u'.');
    settings.TimeAMString = c.am;
    settings.TimePMString = c.pm;
    ScopedLocaleSettings s(settings);
    const DateCase row[] = {{c.text, c.expected}};
    ExpectDates(std::begin(row), std::end(row));
  }
}

TEST(DateReadingTest, OddSeparatorsAreTakenFromTheSettings) {
  ScopedLocaleSettings s(DateSettings(u"d/m/yyyy", u'\u00b7'));
  EXPECT_EQ(ReadDate(u"8\u00b710\u00b72010"), 40459);
  EXPECT_THROW(ReadDate(u"8/10/2010"), EConvertError);
  EXPECT_THROW(ReadDate(u"8#10#2010"), EConvertError);
}

TEST(DateReadingTest, FailureMessageHoldsTheWholeTextVerbatim) {
  ScopedLocaleSettings s(DateSettings(u"dd.MM.yyyy", u'.'));
  struct MessageCase {
    std::u16string_view text, message;
  };
  const MessageCase cases[] = {
      {u"", u"'''' is not a valid date"},
      {u"31.02.2010", u"''31.02.2010'' is not a valid date"},
      {u" %s.%d ", u"'' %s.%d '' is not a valid date"},
  };
  for (const MessageCase& c : cases) {
    try {
      ReadDate(c.text);
      ADD_FAILURE() << ToUtf8(c.text) << " was read";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
}

}  // namespace
}  // namespace quorvane
