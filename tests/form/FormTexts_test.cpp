// The toolkit-free texts of the window: the memo's append rule, the error box's text and caption,
// and the names of the controls.

#include <gtest/gtest.h>

#include <cwctype>
#include <stdexcept>

#include "ErrorText.h"
#include "Errors.h"
#include "FormView.h"
#include "MemoText.h"

using namespace quorvane;

namespace {

TEST(MemoInsertion, EachTextStartsANewLine) {
  const struct {
    bool endsWithBreak;
    std::vector<std::u16string> texts;
    std::u16string insertion;
  } cases[] = {
      {true, {u"a"}, u"a\r\n"},
      {false, {u"a"}, u"\r\na"},  // typed text at the end: a break first, none after
      {false, {u"a", u"b"}, u"\r\na\r\nb"},
      {true, {u"a", u"b"}, u"a\r\nb\r\n"},
      {true, {u""}, u"\r\n"},
      {false, {u""}, u"\r\n"},
      {false, {u"a\r\n", u"b"}, u"\r\na\r\nb\r\n"},  // a text ending in a break ends the line
      {true, {u"a\r\nb"}, u"a\r\nb\r\n"},
      {true, {}, u""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MemoInsertion(c.endsWithBreak, c.texts), c.insertion);
}

TEST(ErrorBoxText, AddsAFullStopAfterACharacterAboveIt) {
  const struct {
    std::u16string message, shown;
  } cases[] = {
      {u"Unknown country", u"Unknown country."},
      {u"List index out of bounds (0)", u"List index out of bounds (0)"},
      {u"Done.", u"Done."},
      {u"ends in blank ", u"ends in blank "},
      {u"slash/", u"slash/."},  // "/" is above "."
      {u"minus-", u"minus-"},
      {u"", u""},
      {u"рубль", u"рубль."},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ErrorBoxText(c.message), c.shown);
}

TEST(ErrorMessageOf, TakesTheMessageOfEveryKind) {
  EXPECT_EQ(ErrorMessageOf(std::make_exception_ptr(EConvertError(u"''x'' is not a valid date"))),
            u"''x'' is not a valid date");
  EXPECT_EQ(ErrorMessageOf(std::make_exception_ptr(std::runtime_error("d\xc3\xa9j\xc3\xa0"))),
            u"déjà");
  EXPECT_EQ(ErrorMessageOf(std::make_exception_ptr(42)), u"Unknown error");
  EXPECT_EQ(ErrorMessageOf(nullptr), u"");
}

TEST(ApplicationTitle, NameCutAtTheFirstFullStopAndLowerCasedAfterTheFirst) {
  const auto lower = [](std::u16string& text) {
    for (char16_t& c : text)
      c = static_cast<char16_t>(std::towlower(c));
  };
  const struct {
    std::u16string path, title;
  } cases[] = {
      {u"C:\\x\\DemoTOOL.exe", u"Demotool"},
      {u"C:\\x\\Demo.Tool.exe", u"Demo"},
      {u"/usr/bin/QuorvaneTestCom", u"Quorvanetestcom"},
      {u"C:\\dir.d\\NAME", u"Name"},  // a full stop in a folder does not cut
      {u"C:\\x\\.hidden", u""},
      {u"x", u"x"},
      {u"", u""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ApplicationTitleFromPath(c.path, lower), c.title);
  // Only the first 255 characters of the path count.
  const std::u16string longPath = u"C:\\" + std::u16string(300, u'A');
  EXPECT_EQ(ApplicationTitleFromPath(longPath, lower).size(), 252u);
}

TEST(ControlName, IsTheNameOfTheFormDescription) {
  EXPECT_STREQ(ControlName(ControlId::Button1), "Button1");
  EXPECT_STREQ(ControlName(ControlId::cxCheckBox1), "cxCheckBox1");
  EXPECT_STREQ(ControlName(ControlId::cxCurrencyEdit3), "cxCurrencyEdit3");
}

}  // namespace
