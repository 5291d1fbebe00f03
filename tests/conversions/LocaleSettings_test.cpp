#include "LocaleSettings.h"

#include <gtest/gtest.h>

#include "Errors.h"
#include "Utf.h"

namespace quorvane {
namespace {

TEST(LocaleSettingsTest, ItemsTheLocaleCannotGiveKeepTheDefaults) {
  LocaleItems items;
  items.DecimalSeparator = u",";
  items.ThousandSeparator = u"\u00A0";
  items.DateSeparator = u"";    // nothing: default
  items.TimeSeparator = u"::";  // longer than one character: default
  items.ShortDateFormat = u"dd.MM.yyyy";
  items.TimeAMString = u"";  // an empty designator stands
  items.LongMonthNames[0] = u"января";
  items.ShortMonthNames[1] = u"";  // an empty name: the English default
  const LocaleSettings s = MakeLocaleSettings(items);
  EXPECT_EQ(s.DecimalSeparator, u',');
  EXPECT_EQ(s.ThousandSeparator, u'\u00A0');
  EXPECT_EQ(s.DateSeparator, u'/');
  EXPECT_EQ(s.TimeSeparator, u':');
  EXPECT_EQ(s.ShortDateFormat, u"dd.MM.yyyy");
  EXPECT_EQ(s.LongDateFormat, u"mmmm d, yyyy");
  EXPECT_EQ(s.TimeAMString, u"");
  EXPECT_EQ(s.TimePMString, u"pm");
  EXPECT_EQ(s.LongMonthNames[0], u"января");
  EXPECT_EQ(s.ShortMonthNames[1], u"Feb");
  EXPECT_EQ(s.TwoDigitYearCenturyWindow, 50);
}

TEST(LocaleSettingsTest, ScopedSettingsAreRestored) {
  const char16_t before = CurrentLocaleSettings().DecimalSeparator;
  {
    LocaleSettings odd;
    odd.DecimalSeparator = u'#';
    ScopedLocaleSettings scoped(odd);
    EXPECT_EQ(CurrentLocaleSettings().DecimalSeparator, u'#');
  }
  EXPECT_EQ(CurrentLocaleSettings().DecimalSeparator, before);
}

TEST(ErrorsTest, TemplatesTakeInsertsVerbatim) {
  EXPECT_EQ(FillTemplate(u"''%s'' is not a valid date", {u"%s%d"}),
            u"''%s%d'' is not a valid date");
  EXPECT_EQ(FillTemplate(u"List index out of bounds (%d)", {u"0"}),
            u"List index out of bounds (0)");
  EXPECT_EQ(FillTemplate(u"%s, ClassID: %s", {u"a", u"b"}), u"a, ClassID: b");
  EXPECT_EQ(FillTemplate(u"100%", {}), u"100%");
}

TEST(ErrorsTest, WhatGivesTheMessageAsUtf8) {
  const EConvertError e(u"рубль \xD800");
  EXPECT_EQ(e.Message(), u"рубль \xD800");
  EXPECT_STREQ(e.what(), "рубль \xEF\xBF\xBD");
  EXPECT_EQ(FromUtf8(ToUtf8(u"Россия €𝄞")), u"Россия €𝄞");
  EXPECT_EQ(FromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD");
}

}  // namespace
}  // namespace quorvane
