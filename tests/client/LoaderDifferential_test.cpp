// The loaders, which decode each entry straight from the reply, against a plain reference of the
// rules: split the reply into strings by a small splitter of its own, size the table, then decode
// entry by entry with the general number path. Tables, errors and what a failing load leaves must
// agree on tricky and on random replies, from tables that held more, fewer or no records before.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "Errors.h"
#include "LocaleSettings.h"
#include "Raised.h"
#include "ScriptedServer.h"
#include "ServerCall.h"
#include "StringList.h"
#include "Utf.h"
#include "uQuorvaneFunc.h"

namespace {

using namespace quorvane;
using namespace std::string_view_literals;
using scripted::Op;

using clienttest::Raised;
using clienttest::RaisedBy;

// The splitting rules, written out plainly: blanks are codes 1..32, the text ends at its end or
// its first NUL, a quote opens a quoted entry only as an entry's first character.
std::vector<std::u16string> ReferenceSplit(std::u16string text, char16_t delimiter) {
  text = text.substr(0, text.find(u'\0'));
  const char16_t quote = u'"';
  const auto blank = [](char16_t c) { return c >= 1 && c <= 32; };
  std::vector<std::u16string> entries;
  std::size_t i = 0;
  const auto skipBlanks = [&] {
    while (i < text.size() && blank(text[i]))
      ++i;
  };
  skipBlanks();
  while (i < text.size()) {
    std::u16string entry;
    if (text[i] == quote) {
      ++i;
      while (i < text.size()) {
        if (text[i] == quote) {
          if (i + 1 < text.size() && text[i + 1] == quote) {
            entry += quote;
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        entry += text[i++];
      }
    } else {
      while (i < text.size() && !blank(text[i]) && text[i] != delimiter)
        entry += text[i++];
    }
    entries.push_back(entry);
    skipBlanks();
    if (i < text.size() && text[i] == delimiter) {
      ++i;
      if (i == text.size())
        entries.emplace_back();
      skipBlanks();
    }
  }
  return entries;
}

std::u16string Cut(std::u16string& rest, char16_t separator) {
  const std::size_t at = rest.find(separator);
  if (at == std::u16string::npos)
    return {};
  std::u16string field = rest.substr(0, at);
  rest.erase(0, at + 1);
  return field;
}

Currency ReferenceMoney(const std::u16string& text) {
  return ReadMoneyGeneral(text, CurrentLocaleSettings().DecimalSeparator);
}

// The series loaders as the rules state them, on a reply already fetched.
Raised ReferenceDateValues(std::vector<DateValueRec>& table, const std::u16string& reply,
                           char16_t delimiter, char16_t separator) {
  const std::vector<std::u16string> entries = ReferenceSplit(reply, delimiter);
  table.resize(entries.size());
  return RaisedBy([&] {
    for (std::size_t i = 0; i < entries.size(); ++i) {
      std::u16string rest = entries[i];
      table[i].Date = ReadDate(Cut(rest, separator));
      table[i].Value = ReferenceMoney(rest);
    }
  });
}

Raised ReferenceWages(std::vector<MinimumWageRec>& table, const std::u16string& reply) {
  const std::vector<std::u16string> entries = ReferenceSplit(reply, u'|');
  table.resize(entries.size());
  return RaisedBy([&] {
    for (std::size_t i = 0; i < entries.size(); ++i) {
      std::u16string rest = entries[i];
      table[i].Date = ReadDate(Cut(rest, u'&'));
      table[i].mValue1 = ReferenceMoney(Cut(rest, u'&'));
      table[i].mValue2 = ReferenceMoney(rest);
    }
  });
}

// Split, then remove blank entries one by one up to the last, the index read afresh each time.
Raised ReferenceFieldValues(std::vector<std::u16string>& target, const std::u16string& reply) {
  target = ReferenceSplit(reply, u',');
  const auto blank = [](const std::u16string& s) {
    for (char16_t c : s) {
      if (c < 1 || c > 32)
        return false;
    }
    return true;
  };
  return RaisedBy([&] {
    std::size_t i = 0;
    while (static_cast<long>(i) != static_cast<long>(target.size()) - 1) {
      if (target.empty())
        throw EStringListError(u"List index out of bounds (0)");
      if (blank(target[i]))
        target.erase(target.begin() + static_cast<long>(i));
      else
        ++i;
    }
  });
}

bool SameRecords(const std::vector<DateValueRec>& a, const std::vector<DateValueRec>& b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].Date != b[i].Date || a[i].Value != b[i].Value)
      return false;
  }
  return true;
}

bool SameRecords(const std::vector<MinimumWageRec>& a, const std::vector<MinimumWageRec>& b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].Date != b[i].Date || a[i].mValue1 != b[i].mValue1 || a[i].mValue2 != b[i].mValue2)
      return false;
  }
  return true;
}

LocaleSettings ExampleLocale() {
  LocaleSettings settings;
  settings.ShortDateFormat = u"dd.MM.yyyy";
  settings.DateSeparator = u'.';
  settings.DecimalSeparator = u',';
  return settings;
}

class LoaderDifferential : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CreateServer()); }
  void TearDown() override { FinalizeQuorvaneFunc(); }

  // Every series loader on this reply, from this earlier table, against the reference.
  void CheckSeries(const std::u16string& reply, std::size_t oldRecords) {
    std::vector<DateValueRec> oldValues;
    std::vector<MinimumWageRec> oldWages;
    for (std::size_t i = 0; i < oldRecords; ++i) {
      const auto n = static_cast<std::int64_t>(i + 1);
      oldValues.push_back({static_cast<TDate>(1000 + n), {n * 11}});
      oldWages.push_back({static_cast<TDate>(2000 + n), {n * 13}, {n * 17}});
    }
    const std::string what = ToUtf8(reply) + " from " + std::to_string(oldRecords) + " records";

    struct ValueLoader {
      Op op;
      std::vector<DateValueRec>* table;
      std::function<void()> load;
    };
    const ValueLoader loaders[] = {
        {Op::GetPriceIndexList, &PriceIndexTable, [] { LoadPriceIndex(u"Chile"); }},
        {Op::GetFundsRateList, &FundsRateTable, [] { LoadFundsRate(u"Chile"); }},
    };
    for (const ValueLoader& loader : loaders) {
      server->Reply(loader.op, reply);
      *loader.table = oldValues;
      const Raised got = RaisedBy(loader.load);
      std::vector<DateValueRec> want = oldValues;
      EXPECT_EQ(got, ReferenceDateValues(want, reply, u'|', u'&')) << what;
      EXPECT_TRUE(SameRecords(*loader.table, want)) << what;
    }

    // The exchange reply takes its delimiter from its first character; here a few of them.
    for (char16_t first : {u';', u'|', u'"', u' ', u'&'}) {
      const std::u16string exchangeReply = first + reply;
      server->Reply(Op::GetListOfExchangeRate, exchangeReply);
      ExchangeTable = oldValues;
      const Raised got = RaisedBy([] { LoadExchangeList(u"USD", u"RUB"); });
      std::vector<DateValueRec> want = oldValues;
      EXPECT_EQ(got, ReferenceDateValues(want, reply, first, u'=')) << what << " exchange";
      EXPECT_TRUE(SameRecords(ExchangeTable, want)) << what << " exchange";
    }

    server->Reply(Op::GetMinimumWageList, reply);
    MinimumWageTable = oldWages;
    const Raised got = RaisedBy([] { LoadMinimumWage(u"Chile"); });
    std::vector<MinimumWageRec> want = oldWages;
    EXPECT_EQ(got, ReferenceWages(want, reply)) << what << " wages";
    EXPECT_TRUE(SameRecords(MinimumWageTable, want)) << what << " wages";
  }

  void CheckFieldValues(const std::u16string& reply) {
    server->Reply(Op::GetFieldValueList, reply);
    StringList target;
    target.Add(u"earlier");
    const Raised got = RaisedBy([&] { LoadFieldValues(u"LetterCode", target); });
    std::vector<std::u16string> want;
    EXPECT_EQ(got, ReferenceFieldValues(want, reply)) << ToUtf8(reply);
    EXPECT_EQ(target.Items(), want) << ToUtf8(reply);
  }

  ScopedLocaleSettings locale_{ExampleLocale()};
  scripted::ScopedScriptedServer server;
};

TEST_F(LoaderDifferential, TrickyReplies) {
  const std::u16string_view replies[] = {
      u"",
      u"   ",
      u"|",
      u"||",
      u"01.01.2009&1|",                                // a trailing empty entry fails
      u"01.01.2009&1|  ",                              // a delimiter followed by blanks only
      u"01.01.2009&1&2|02.01.2009&3&4",                // wages read; the others fail at "1&2"
      u"01.01.2009&1=2|02.01.2009=3",                  // "=" for the exchange entries
      u"\"01.01.2009&1|2\"|02.01.2009&3",              // a delimiter inside quotes
      u"\"01.01.2009&\"\"1\"|02.01.2009&3",            // a doubled quote inside
      u"\"01.01.2009&1",                               // a quote that never closes
      u"\"\"|01.01.2009&1",                            // an empty quoted entry
      u"01.01.2009&1\"|02.01.2009&2",                  // a quote inside a plain entry
      u"\"01.01.2009&1\"02.01.2009&2",                 // text right behind a closing quote
      u"01.01.2009&1 02.01.2009&2",                    // a space ends an entry
      u"01.01.2009&1\t|\n02.01.2009&2",                // other blanks too
      u"01.01.2009&1|02.01.2009&2\0|junk"sv,           // nothing behind a NUL counts
      u"01.01.2009&1|\0"sv,                            // a delimiter right before a NUL
      u"01.01.2009&1|02.13.2009&2|03.01.2009&3",       // a date that fails mid-reply
      u"01.01.2009&1|02.01.2009&x|03.01.2009&3",       // a value that fails mid-reply
      u"01.01.2009&1|02.01.2009&1E4930|03.01.2009&3",  // the product overflows
      u"01.01.2009&1|02.01.2009&1E19|03.01.2009&3",    // beyond the money range
      u"01.01.2009&0,00015|02.01.2009&-0,00025|03.01.2009&0,00005",  // ties
      u"01.01.2009&922337203685477,5807|02.01.2009&-922337203685477,5808",
      u"01.01.2009& 5 |02.01.2009&,|03.01.2009&-,",
      u"&1|01.01.2009&",
      u"01.01.2009|02.01.2009&2",          // an entry without its separator
      u"1.1&1&1|1.1.10&2&2|31.12.99&3&3",  // short dates and two-digit years
  };
  for (std::u16string_view reply : replies) {
    for (std::size_t oldRecords : {0u, 1u, 5u}) {
      CheckSeries(std::u16string(reply), oldRecords);
      if (HasFailure())
        return;
    }
  }
}

TEST_F(LoaderDifferential, FieldValuesAsSweptOneByOne) {
  const std::u16string_view replies[] = {
      u"",
      u"  ",
      u",",
      u",,",
      u", ,",
      u"RUB,,USD",
      u",RUB",
      u"RUB,USD,",
      u"RUB, ,USD",
      u"RUB,\" \",USD",
      u"RUB,\" \"",
      u"RUB",
      u"US Dollar,RUB",
      u"\"\",\"\"",
      u"a,\t,\n,b,\t",
      u"a,\"\",\"x\"\"\"",
      u",\0,a"sv,
  };
  for (std::u16string_view reply : replies)
    CheckFieldValues(std::u16string(reply));
}

// Random replies from the pieces that matter: valid entries of every kind, quotes, blanks,
// delimiters of each reply, NULs, ties and values that do not read.
std::u16string RandomReply(std::mt19937_64& random) {
  static const std::u16string_view pieces[] = {
      u"01.01.2009&100,5",
      u"02.03.2010&1&2",
      u"03.04.2011=0,00015",
      u"04.05.2012&-0,00025&7",
      u"05.06.2013&922337203685477,5807",
      u"06.07.2014&1E4930",
      u"07.08.2015&12,3456789",
      u"31.02.2010&1",
      u"|",
      u"||",
      u"&",
      u"=",
      u"\"",
      u"\"\"",
      u" ",
      u"\t",
      u",",
      u";",
      u"1",
      u"x",
      u"\0"sv,
  };
  std::u16string reply;
  const int count = static_cast<int>(random() % 12);
  for (int i = 0; i < count; ++i) {
    reply += pieces[random() % std::size(pieces)];
    if (random() % 2 == 0)
      reply += u'|';
  }
  return reply;
}

TEST_F(LoaderDifferential, RandomReplies) {
  std::mt19937_64 random(20261210);
  for (int i = 0; i < 3000; ++i) {
    const std::u16string reply = RandomReply(random);
    CheckSeries(reply, static_cast<std::size_t>(random() % 6));
    std::u16string values = reply;
    for (char16_t& c : values) {
      if (c == u'|')
        c = u',';
    }
    CheckFieldValues(values);
    if (HasFailure())
      return;
  }
}

// 200,000 blank entries between two values: the sweep leaves the values, and no quadratic work
// (the bench times it).
TEST_F(LoaderDifferential, ManyBlankFieldValues) {
  std::u16string reply = u"RUB";
  for (int i = 0; i < 200000; ++i)
    reply += i % 2 == 0 ? u"," : u", ";
  reply += u",USD,";
  server->Reply(Op::GetFieldValueList, reply);
  StringList target;
  LoadFieldValues(u"LetterCode", target);
  EXPECT_EQ(target.Items(), (std::vector<std::u16string>{u"RUB", u"USD", u""}));
}

}  // namespace
