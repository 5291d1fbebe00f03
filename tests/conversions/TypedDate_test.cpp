// How a date editor reads a typed text: by the short date pattern, else by the general reading.
#include "TypedDate.h"

#include <gtest/gtest.h>

#include <string>

#include "TypedDateCases.h"
#include "Utf.h"

namespace quorvane {
namespace {

LocaleSettings PatternSettings(std::u16string_view pattern, char16_t separator) {
  LocaleSettings settings;
  settings.ShortDateFormat = pattern;
  settings.DateSeparator = separator;
  return settings;
}

TEST(TypedDateTest, ReadsByThePatternElseByTheGeneralReading) {
  for (const test::TypedDateCase& c : test::kTypedDateCases) {
    const std::optional<TDate> read =
        ReadTypedDate(c.typed, PatternSettings(c.pattern, c.separator));
    if (c.year == 0)
      EXPECT_EQ(read, std::nullopt) << c.why;
    else
      EXPECT_EQ(read, EncodeDay(c.year, c.month, c.day)) << c.why;
  }
}

// The pattern's own reading, without the general one behind it.
TEST(TypedDateTest, ThePatternAloneNeedsEveryFieldAndMaySkipOnlyTrailingText) {
  struct Case {
    std::u16string_view pattern, typed;
    bool reads;
  };
  const Case cases[] = {
      {u"dd.mm.yyyy", u"08.10.2010", true},
      {u"dd.mm.yyyy", u"8.10", false},            // the year is a field of the pattern
      {u"d.mm.yy '\u0433'.", u"17.06.15", true},  // only text is left out
      {u"ddd d.m.yyyy", u"8.10.2010", false},     // a day name is a field
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadDateByPattern(c.typed, PatternSettings(c.pattern, u'.')).has_value(), c.reads)
        << ToUtf8(c.pattern) << " " << ToUtf8(c.typed);
  }
}

// The process-wide settings serve when none are given.
TEST(TypedDateTest, TheCurrentSettingsServeByDefault) {
  ScopedLocaleSettings scoped(PatternSettings(u"dd.mm.yyyy", u'.'));
  EXPECT_EQ(ReadTypedDate(u"08.10.2010"), 40459);
  EXPECT_EQ(ReadTypedDate(u"10/8/2010"), std::nullopt);
}

// Locale items can be anything: a short pattern that names a long one of thousands of fields,
// hundreds of times, is refused for a short text at once instead of being spelled out.
TEST(TypedDateTest, HostilePatternsAreRefusedWithoutSpellingThemOut) {
  LocaleSettings settings = PatternSettings(u"", u'.');
  for (int i = 0; i < 500; ++i)
    settings.ShortDateFormat += u"dddddd ";
  for (int i = 0; i < 3000; ++i)
    settings.LongDateFormat += u"dd mmmm yyyy ";
  EXPECT_EQ(ReadDateByPattern(u"08 October 2010", settings), std::nullopt);
  // Nor a text of 2000 digits, still fewer than the fields the pattern expands into.
  EXPECT_EQ(ReadTypedDate(std::u16string(2000, u'8'), settings), std::nullopt);
}

}  // namespace
}  // namespace quorvane
