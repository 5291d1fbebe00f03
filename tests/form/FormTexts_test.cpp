// The toolkit-free texts of the window: the memo's append rule and pieces, the error box's text,
// caption, cut and details, the currency editor's text, and the names of the controls.

#include <gtest/gtest.h>

#include <cwctype>
#include <stdexcept>

#include "CurrencyText.h"
#include "ErrorText.h"
#include "Errors.h"
#include "FormView.h"
#include "LocaleSettings.h"
#include "MemoText.h"
#include "ServerCall.h"
#include "uQuorvaneFunc.h"

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

TEST(MemoPieces, BoundedPiecesThatNeverSplitACharacter) {
  EXPECT_EQ(MemoPieces(u"abc", 4), (std::vector<std::u16string_view>{u"abc"}));
  EXPECT_EQ(MemoPieces(u"", 4), (std::vector<std::u16string_view>{u""}));
  EXPECT_EQ(MemoPieces(u"abcdefghij", 4),
            (std::vector<std::u16string_view>{u"abcd", u"efgh", u"ij"}));
  // U+1F4B1 is two code units; a cut after its first one moves behind it.
  EXPECT_EQ(MemoPieces(u"abc\U0001F4B1de", 4),
            (std::vector<std::u16string_view>{u"abc\U0001F4B1", u"de"}));
  // Lengths chosen per piece, as a view that fits each piece to its width does; a length of nothing
  // still makes progress.
  EXPECT_EQ(MemoPieces(u"abcdef", [](std::u16string_view rest) { return rest.size() > 3 ? 2 : 5; }),
            (std::vector<std::u16string_view>{u"ab", u"cd", u"ef"}));
  EXPECT_EQ(MemoPieces(u"abc", [](std::u16string_view) { return std::size_t{0}; }),
            (std::vector<std::u16string_view>{u"a", u"b", u"c"}));
  const std::u16string line(1000001, u'x');
  std::u16string joined;
  for (const std::u16string_view piece : MemoPieces(line, 4096)) {
    EXPECT_LE(piece.size(), 4096u);
    joined += piece;
  }
  EXPECT_EQ(joined, line);
}

TEST(ErrorBoxMessage, SaysHowToMakeAMissingServerObject) {
  EXPECT_EQ(ErrorBoxMessage(std::make_exception_ptr(Exception(std::u16string(kNoServerObject)))),
            u"No server object: press \"Create Quorvane\" first.");
  EXPECT_EQ(ErrorBoxMessage(std::make_exception_ptr(EConvertError(u"Unknown country"))),
            u"Unknown country.");
}

TEST(ErrorBoxContent, ALongMessageIsCutAndGivenWholeInTheDetails) {
  const std::u16string status =
      u"Error: EServerCallError\nStatus: 0x80040201\nSource: Quorvane"
      u"\nHelp file: help.hlp\nHelp context: 7";
  const auto error = [](std::u16string message) {
    return std::make_exception_ptr(
        EServerCallError(-2147220991, std::move(message), u"Quorvane", u"help.hlp", 7));
  };
  const ErrorBoxContent shortOne = ErrorBoxContentOf(error(u"Unknown country"));
  EXPECT_EQ(shortOne.text, u"Unknown country.");
  EXPECT_EQ(shortOne.details, status);

  // The cut falls inside a surrogate pair: it moves behind it.
  std::u16string message(kErrorBoxMessageLength - 1, u'x');
  message += u"\U0001F4B1";
  message += std::u16string(300000, u'y');
  const ErrorBoxContent longOne = ErrorBoxContentOf(error(message));
  EXPECT_EQ(longOne.text, std::u16string(kErrorBoxMessageLength - 1, u'x') + u"\U0001F4B1\u2026");
  const std::u16string head = status + u"\n\nMessage (301026 characters):\n";
  ASSERT_EQ(longOne.details.substr(0, head.size()), head);
  std::u16string whole;
  for (const char16_t c : longOne.details.substr(head.size()))
    if (c != u'\n')
      whole += c;
  EXPECT_EQ(whole, message + u'.');
}

TEST(CurrencyEditor, ShowsByThePatternAndReadsBackWhatItShows) {
  LocaleSettings settings;
  settings.DecimalSeparator = u',';
  settings.ThousandSeparator = u'\u00A0';
  ScopedLocaleSettings scoped(settings);
  EXPECT_EQ(CurrencyEditorText(std::nullopt, false), u"");
  EXPECT_EQ(CurrencyEditorText(1234567.5, true), u"1234567,5");
  const std::u16string shown = CurrencyEditorText(1234567.5, false);
  EXPECT_EQ(CurrencyValueAfterTyping(shown, std::nullopt), 1234567.5) << "reads its own text";

  const struct {
    std::u16string typed;
    std::optional<double> former, after;
  } cases[] = {
      {u"12,5", std::nullopt, 12.5},
      {u"  12,5\u3000", std::nullopt, 12.5},   // Unicode blanks around it
      {u"1 234,5", std::nullopt, 1234.5},      // a plain space for the non-breaking one
      {u"\u20661\u00A0234\u2069", 3.0, 1234},  // marks a copied text may carry
      {u"", 3.0, std::nullopt},                // blank empties the editor
      {u" \t", 3.0, std::nullopt},
      {u"abc", 3.0, 3.0},   // no number keeps the former value
      {u"12.5", 3.0, 3.0},  // the other locale's decimal separator
      {u"1\u00A0\u00A0", std::nullopt, 1},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(CurrencyValueAfterTyping(cases[i].typed, cases[i].former), cases[i].after)
        << "case " << i;
}

TEST(ErrorTexts, TheMessageAndTheKindOfEveryError) {
  const struct {
    std::exception_ptr error;
    std::u16string message, details;
  } cases[] = {
      {std::make_exception_ptr(EConvertError(u"''x'' is not a valid date")),
       u"''x'' is not a valid date", u"Error: EConvertError"},
      {std::make_exception_ptr(std::runtime_error("d\xc3\xa9j\xc3\xa0")), u"déjà",
       u"Error: std::exception"},
      {std::make_exception_ptr(42), u"Unknown error", u"Error: unknown"},
      {nullptr, u"", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ErrorMessageOf(c.error), c.message);
    EXPECT_EQ(ErrorDetailsText(c.error), c.details);
  }
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
