// Case folding and whole-word matching of the letter-code lookup.
#include "TextMatch.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cwctype>
#include <string>

namespace {

using quorvane::server::ContainsWholeWords;
using quorvane::server::FoldCase;

// Differential check against the C library's Unicode case mapping: every letter that is folded is
// folded as the C library lowers it, and the alphabets the lookup serves are folded completely.
TEST(FoldCase, AgreesWithTheCLibrarysLowerCase) {
  std::string saved = std::setlocale(LC_CTYPE, nullptr);
  if (!std::setlocale(LC_CTYPE, "C.UTF-8"))
    GTEST_SKIP() << "no C.UTF-8 locale";
  auto complete = [](char32_t c) {
    return c < 0x80 || (c >= 0xC0 && c <= 0xFF) || (c >= 0x0391 && c <= 0x03A9) ||
           (c >= 0x0400 && c <= 0x04FF) || (c >= 0x0531 && c <= 0x0556);
  };
  for (char32_t c = 1; c < 0xD800; ++c) {
    auto lower = static_cast<char32_t>(std::towlower(static_cast<wint_t>(c)));
    char16_t folded = FoldCase(static_cast<char16_t>(c));
    if (folded != c) {
      ASSERT_EQ(static_cast<char32_t>(folded), lower) << std::hex << static_cast<int>(c);
    } else if (complete(c)) {
      ASSERT_EQ(lower, c) << std::hex << static_cast<int>(c);
    }
  }
  std::setlocale(LC_CTYPE, saved.c_str());
}

TEST(ContainsWholeWords, NeedsABoundaryOnEachSide) {
  struct Case {
    const char16_t *text, *query;
    bool match;
  };
  const Case cases[] = {
      {u"российский рубль", u"рубль", true},
      {u"беларускі рубель", u"рубль", false},
      {u"russian ruble", u"rub", false},    // the start of a word is not a word
      {u"russian ruble", u"ssian", false},  // nor its end
      {u"russian ruble", u"russian ruble", true},
      {u"franc cfa (bceao)", u"bceao", true},  // brackets separate words
      {u"bosnia-herzegovina mark", u"herzegovina", true},
      {u"us dollar", u"$", false},
      {u"us$", u"$", true},       // a symbol needs no boundary of its own
      {u"日本円", u"円", false},  // CJK characters are letters: no word boundary inside
      {u"peso", u"", false},
      {u"peso peso", u"peso", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ContainsWholeWords(c.text, c.query), c.match);
}

}  // namespace
