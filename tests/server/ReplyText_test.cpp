// Dates and numbers written in the client's conventions, each checked by reading it back.
#include "ReplyText.h"
#include "Calendar.h"

#include <gtest/gtest.h>

#include "ServerTestSupport.h"

namespace {

using quorvane::server::Failure;
using quorvane::server::Figure;
using quorvane::server::ReplyFailure;
using quorvane::server::ReplyWriter;
using servertest::Settings;

TEST(ReplyWriter, WritesDatesInTheOrderAndWithTheSeparatorOfTheClient) {
  struct Case {
    const char16_t* pattern;
    char16_t separator;
    const char16_t *october8, *february3;
  };
  const Case cases[] = {
      {u"dd.MM.yyyy", u'.', u"08.10.2010", u"03.02.2001"},
      {u"M/d/yyyy", u'/', u"10/8/2010", u"2/3/2001"},  // single letters: no leading zero
      {u"yyyy-MM-dd", u'-', u"2010-10-08", u"2001-02-03"},
      {u"m/d/yy", u'/', u"10/8/2010", u"2/3/2001"},          // the default: still a four-digit year
      {u"d MMMM yyyy", u'.', u"8.10.2010", u"3.02.2001"},    // month names become numbers
      {u"YYYY/MM/DD", u'/', u"2010/10/08", u"2001/02/03"},   // letters in either case
      {u"gg ee/MM/dd", u'/', u"2010/10/08", u"2001/02/03"},  // an era year counts as a year
      {u"", u'/', u"10/08/2010", u"02/03/2001"},             // no letters: month first
      {u"dd.MM.yyyy", u'\u00B7', u"08\u00B710\u00B72010", u"03\u00B702\u00B72001"},
  };
  for (const Case& c : cases) {
    quorvane::ScopedLocaleSettings settings(Settings(c.pattern, c.separator, u'.'));
    ReplyWriter writer(quorvane::CurrentLocaleSettings());
    std::u16string text;
    writer.AppendDate(text, static_cast<int>(quorvane::DayNumberOf(2010, 10, 8)));
    EXPECT_EQ(text, c.october8);
    text.clear();
    writer.AppendDate(text, static_cast<int>(quorvane::DayNumberOf(2001, 2, 3)));
    EXPECT_EQ(text, c.february3);
  }
}

TEST(ReplyWriter, WritesNumbersWithTheDecimalSeparatorAndNoGrouping) {
  struct Case {
    char16_t separator;
    Figure figure;
    const char16_t* text;
  };
  const Case cases[] = {
      {u',', {725, 2}, u"7,25"},
      {u'.', {1234567891, 2}, u"12345678.91"},
      {u'\u066B', {104335, 7}, u"0\u066B0104335"},  // any character that is not a digit serves
      {u'=', {5, 1}, u"0=5"},
      {u'5', {27093, 0}, u"27093"},  // a whole number holds no separator at all
  };
  for (const Case& c : cases) {
    quorvane::ScopedLocaleSettings settings(Settings(u"dd.MM.yyyy", u'.', c.separator));
    std::u16string text;
    ReplyWriter(quorvane::CurrentLocaleSettings()).AppendNumber(text, c.figure);
    EXPECT_EQ(text, c.text);
  }
}

// Settings under which the client would read something else than was meant, or nothing: the
// reply fails with a description instead.
TEST(ReplyWriter, FailsWhereTheClientsSettingsCannotCarryTheText) {
  struct Case {
    const char16_t* pattern;
    char16_t dateSeparator, decimalSeparator;
    bool dateFails, numberFails;
  };
  const Case cases[] = {
      {u"dd MM yyyy", u' ', u',', true, false},   // date reading passes over spaces
      {u"dd1MM1yyyy", u'1', u',', true, false},   // a digit as the separator merges the numbers
      {u"dd.MM.yyyy", u'.', u'5', false, true},   // 7525 is no 7.25
      {u"dd.MM.yyyy", u'.', u'E', false, false},  // the separator is taken before an exponent
      {u"dd.MM.yyyy", u'.', u' ', false, false},  // reads, but no list reply can hold it
      {u"dd.MM.yyyy", u'.', u'\0', false, true},  // the text ends at code 0
  };
  for (const Case& c : cases) {
    quorvane::ScopedLocaleSettings settings(
        Settings(c.pattern, c.dateSeparator, c.decimalSeparator));
    ReplyWriter writer(quorvane::CurrentLocaleSettings());
    std::u16string text;
    if (c.dateFails) {
      try {
        writer.AppendDate(text, 40459);
        ADD_FAILURE() << "date written with " << static_cast<int>(c.dateSeparator);
      } catch (const ReplyFailure& failure) {
        EXPECT_EQ(failure.Kind, Failure::LocaleSettings);
        EXPECT_NE(failure.Description.find(u"the day 2010-10-08 would be written"),
                  std::u16string::npos);
      }
    }
    text.clear();
    if (c.numberFails) {
      try {
        writer.AppendNumber(text, Figure{725, 2});
        ADD_FAILURE() << "number written with " << static_cast<int>(c.decimalSeparator);
      } catch (const ReplyFailure& failure) {
        EXPECT_EQ(failure.Kind, Failure::LocaleSettings);
        EXPECT_NE(failure.Description.find(u"the figure 7.25 would be written"),
                  std::u16string::npos);
      }
    }
  }
}

TEST(ReplyWriter, RefusesFieldsThatHoldABlankOrAReservedCharacter) {
  quorvane::ScopedLocaleSettings settings(Settings(u"dd.MM.yyyy", u'.', u','));
  ReplyWriter writer(quorvane::CurrentLocaleSettings());
  std::u16string text = u"01.01.2009&4330";
  EXPECT_NO_THROW(writer.CheckField(text, 0, u"|", u"entry"));
  EXPECT_THROW(writer.CheckField(text, 0, u"|&", u"entry"), ReplyFailure);
  text = u"01\t01\t2009";
  EXPECT_THROW(writer.CheckField(text, 0, u"|", u"date"), ReplyFailure);
  text = u"7 25";
  EXPECT_THROW(writer.CheckField(text, 0, u"|", u"number"), ReplyFailure);
}

}  // namespace
