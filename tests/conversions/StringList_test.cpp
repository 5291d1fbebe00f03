#include "StringList.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "Errors.h"

namespace quorvane {
namespace {

using Entries = std::vector<std::u16string>;

class CountingObserver : public StringListObserver {
 public:
  void Changing() override { ++changing; }
  void Changed() override {
    ++changed;
    EXPECT_EQ(changing, changed) << "Changed without Changing";
  }
  int changing = 0;
  int changed = 0;
};

// Writes the notation of the cases below: Q is the quote, _ a space, 0 the NUL character.
std::u16string Spell(std::u16string_view notation, char16_t quote) {
  std::u16string out;
  for (char16_t c : notation)
    out += c == u'Q' ? quote : c == u'_' ? u' ' : c == u'0' ? u'\0' : c;
  return out;
}

struct SplitCase {
  std::u16string_view text;
  Entries entries;
};

// The delimiter is the comma throughout.
const SplitCase kCommaCases[] = {
    {u"a,b", {u"a", u"b"}},
    {u"a,b,", {u"a", u"b", u""}},  // a delimiter at the very end adds an empty entry
    {u"a,_", {u"a"}},              // ... but not when blanks follow it
    {u"a_,", {u"a", u""}},         // blanks before the last delimiter do not matter
    {u",", {u"", u""}},            // a lone delimiter: empty first and trailing entry
    {u",,", {u"", u"", u""}},
    {u",a", {u"", u"a"}},  // a delimiter at the start: empty first entry
    {u"a,,b", {u"a", u"", u"b"}},
    {u"a,_,b", {u"a", u"", u"b"}},     // blanks between delimiters count as nothing
    {u"_a_b_,c", {u"a", u"b", u"c"}},  // a blank ends a plain entry
    {u"Qx_yQ,z", {u"x y", u"z"}},      // blanks are ordinary inside quotes
    {u"Qa,QQbQ", {u"a,Qb"}},           // so is the delimiter; a doubled quote is one quote
    {u"QQQQ", {u"Q"}},
    {u"QQ,a", {u"", u"a"}},           // an empty quoted entry
    {u"QxQy,z", {u"x", u"y", u"z"}},  // a closing quote ends the entry with no delimiter
    {u"aQb,c", {u"aQb", u"c"}},       // the quote is special only at the start of an entry
    {u"Qab", {u"ab"}},                // no closing quote: the rest of the text
    {u"QaQQb", {u"aQb"}},             // no closing quote, doubled quote inside
    {u"QaQQ", {u"aQ"}},
    {u"a,b0c,d", {u"a", u"b"}},  // nothing behind NUL is looked at
    {u"a,0", {u"a", u""}},       // the delimiter is last when NUL follows it
    {u"0a,b", {}},
    {u"", {}},
    {u"___", {}},
    {u"a\tb\rc\nd", {u"a", u"b", u"c", u"d"}},  // every control character is a blank
    {u"a\x1f,\x01", {u"a"}},
    {u"\u00a0a\u00a0,\u0627", {u"\u00a0a\u00a0", u"\u0627"}},  // no-break space is no blank
    {u"\u0301,a", {u"\u0301", u"a"}},  // a combining mark alone is an ordinary character
    {u"%s,%d", {u"%s", u"%d"}},
};

TEST(StringListTest, SplitsByCommaWithEitherQuote) {
  for (char16_t quote : {u'"', u'\''}) {
    for (const SplitCase& c : kCommaCases) {
      const std::u16string text = Spell(c.text, quote);
      Entries expected;
      for (const auto& e : c.entries)
        expected.push_back(Spell(e, quote));
      StringList list;
      list.SetQuoteChar(quote);
      CountingObserver observer;
      list.SetObserver(&observer);
      list.SetDelimitedText(text);
      EXPECT_EQ(list.Items(), expected) << "text " << std::string(c.text.begin(), c.text.end());
      EXPECT_EQ(observer.changing, 1);
      EXPECT_EQ(observer.changed, 1);
    }
  }
}

struct DelimiterCase {
  char16_t delimiter;
  std::u16string_view text;
  Entries entries;
};

const DelimiterCase kDelimiterCases[] = {
    {u'|', u"a,b|c", {u"a,b", u"c"}},  // a comma is ordinary under the bar
    {u'|', u"01.02.2010&5|03.04.2010&6|", {u"01.02.2010&5", u"03.04.2010&6", u""}},
    {u' ', u"a  b c", {u"a", u"b", u"c"}},  // a blank delimiter only separates
    {u' ', u" a b ", {u"a", u"b"}},
    {u' ', u"a\tb", {u"a", u"b"}},
    {u'\t', u"a\t\tb\t", {u"a", u"b"}},
    {u';', u"\"a;b\";c", {u"a;b", u"c"}},
    {u'"', u"a\"b", {u"a", u"b"}},                      // the quote as delimiter ends a plain entry
    {u'"', u"\"a\"\"b\"", {u"a\"b"}},                   // ... and still opens a quoted one
    {u'\u2063', u"a\u2063b\u2063", {u"a", u"b", u""}},  // any code unit can delimit
    {u'\0', u"a,b", {u"a,b"}},                          // NUL ends the text, never delimits
};

TEST(StringListTest, SplitsByTheChosenDelimiter) {
  for (const DelimiterCase& c : kDelimiterCases) {
    StringList list;
    list.SetDelimiter(c.delimiter);
    list.SetDelimitedText(c.text);
    EXPECT_EQ(list.Items(), c.entries) << "delimiter " << int(c.delimiter);
    EXPECT_EQ(list.Delimiter(), c.delimiter);
  }
}

TEST(StringListTest, SplitReplacesEarlierEntriesAsOneChange) {
  StringList list;
  list.SetDelimitedText(u"a,b,c,d");
  CountingObserver observer;
  list.SetObserver(&observer);
  list.SetDelimitedText(u"x");
  EXPECT_EQ(list.Items(), (Entries{u"x"}));
  list.SetDelimitedText(u"");
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(observer.changing, 2);
  EXPECT_EQ(observer.changed, 2);
  list.SetObserver(nullptr);
  list.SetDelimitedText(u"y,z");
  EXPECT_EQ(observer.changed, 2);
  EXPECT_EQ(list.Items(), (Entries{u"y", u"z"}));
}

TEST(StringListTest, EditsNotifyOncePerChange) {
  StringList list;
  CountingObserver observer;
  list.SetObserver(&observer);
  list.Add(u"a");
  list.Add(u"a");  // repeated entries are kept
  list.Add(u"b");
  list.Put(1, u"c");
  list.Delete(0);
  EXPECT_EQ(list.Items(), (Entries{u"c", u"b"}));
  EXPECT_EQ(list.Get(1), u"b");
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(observer.changing, 6);
  EXPECT_EQ(observer.changed, 6);
}

// Inside an update, however deep, every change reaches the observer as one; an error that leaves
// the update's scope still tells it the change ended.
TEST(StringListTest, AnUpdateIsOneChange) {
  StringList list;
  CountingObserver observer;
  list.SetObserver(&observer);
  {
    const StringList::Update outer(list);
    list.Add(u"a");
    {
      const StringList::Update inner(list);
      list.SetDelimitedText(u"x,y,z");
      list.Put(0, u"w");
    }
    EXPECT_EQ(observer.changed, 0);
    list.Delete(1);
  }
  EXPECT_EQ(list.Items(), (Entries{u"w", u"z"}));
  EXPECT_EQ(observer.changing, 1);
  EXPECT_EQ(observer.changed, 1);
  EXPECT_THROW(
      {
        const StringList::Update update(list);
        list.Clear();
        list.Get(0);
      },
      EStringListError);
  EXPECT_EQ(observer.changing, 2);
  EXPECT_EQ(observer.changed, 2);
  list.EndUpdate();  // an unmatched end is ignored
  list.Add(u"b");
  EXPECT_EQ(observer.changed, 3);
}

TEST(StringListTest, IndexOutsideTheListRaisesWithTheIndex) {
  StringList list;
  list.SetDelimitedText(u"a,b");
  CountingObserver observer;
  list.SetObserver(&observer);
  struct Attempt {
    int index;
    std::u16string_view message;
  };
  for (const Attempt& a :
       {Attempt{2, u"List index out of bounds (2)"}, Attempt{-1, u"List index out of bounds (-1)"},
        Attempt{-2147483647 - 1, u"List index out of bounds (-2147483648)"}}) {
    try {
      list.Get(a.index);
      ADD_FAILURE() << "Get(" << a.index << ") did not raise";
    } catch (const EStringListError& e) {
      EXPECT_EQ(e.Message(), a.message);
    }
    EXPECT_THROW(list.Put(a.index, u"x"), EStringListError);
    EXPECT_THROW(list.Delete(a.index), EStringListError);
  }
  EXPECT_EQ(observer.changing, 0);  // a refused edit is no change
  EXPECT_EQ(list.Items(), (Entries{u"a", u"b"}));
}

// The splitting rules written out one character at a time, as an independent oracle.
Entries ReferenceSplit(std::u16string_view text, char16_t d, char16_t q) {
  auto at = [&](std::size_t i) -> char16_t { return i < text.size() ? text[i] : u'\0'; };
  auto blank = [](char16_t c) { return c >= 1 && c <= 32; };
  Entries out;
  std::size_t p = 0;
  while (blank(at(p)))
    ++p;
  while (at(p) != 0) {
    std::u16string e;
    if (at(p) == q) {
      ++p;
      for (;;) {
        if (at(p) == 0)
          break;
        if (at(p) == q) {
          if (at(p + 1) == q) {
            e += q;
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        e += at(p++);
      }
    } else {
      while (at(p) != 0 && !blank(at(p)) && at(p) != d)
        e += at(p++);
    }
    out.push_back(e);
    while (blank(at(p)))
      ++p;
    if (at(p) != 0 && at(p) == d) {
      if (at(p + 1) == 0)
        out.emplace_back();
      ++p;
      while (blank(at(p)))
        ++p;
    }
  }
  return out;
}

TEST(StringListTest, AgreesWithTheCharacterByCharacterRulesOnRandomTexts) {
  const char16_t alphabet[] = {u'a',  u'b',  u',',    u'|', u'"',      u'\'',     u' ',
                               u'\t', u'\0', u'\x1f', u'!', u'\u00a0', u'\u00e9', u'\xd800'};
  const char16_t delimiters[] = {u',', u'|', u' ', u'\t', u'"', u'\'', u'a', u'\0'};
  const char16_t quotes[] = {u'"', u'\'', u','};
  std::mt19937 rng(20101008);
  StringList list;  // one list for all, so that entries of earlier splits get reused
  CountingObserver observer;
  list.SetObserver(&observer);
  for (int round = 0; round < 20000; ++round) {
    std::u16string text(rng() % 24, u'a');
    for (char16_t& c : text)
      c = alphabet[rng() % std::size(alphabet)];
    const char16_t d = delimiters[rng() % std::size(delimiters)];
    const char16_t q = quotes[rng() % std::size(quotes)];
    list.SetDelimiter(d);
    list.SetQuoteChar(q);
    list.SetDelimitedText(text);
    ASSERT_EQ(list.Items(), ReferenceSplit(text, d, q)) << "round " << round;
    ASSERT_EQ(observer.changed, round + 1);
  }
}

TEST(StringListTest, SurvivesLongRunsOfDelimitersAndQuotes) {
  StringList list;
  list.SetDelimitedText(std::u16string(1 << 20, u','));
  EXPECT_EQ(list.Count(), (1 << 20) + 1);
  list.SetDelimitedText(u"\"" + std::u16string(1 << 20, u',') + u"\"");
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Get(0).size(), 1u << 20);
  list.SetDelimitedText(std::u16string((1 << 20) + 1, u'"'));  // odd run: unclosed
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Get(0), std::u16string(1 << 19, u'"'));
}

}  // namespace
}  // namespace quorvane
