// The replies of every operation over a small data set, in the client's conventions, and every
// failure with its status and description.
#include "Replies.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ServerTestSupport.h"
#include "StringList.h"
#include "TextToValue.h"
#include "Utf.h"

namespace {

using quorvane::server::Failure;
using quorvane::server::Reply;
using quorvane::server::StatusOf;
using servertest::Settings;

const quorvane::server::ServerData& Data() {
  static const quorvane::server::ServerData data = servertest::SmallData();
  return data;
}

const quorvane::LocaleSettings kRussian = Settings(u"dd.MM.yyyy", u'.', u',');

// A reply built under the given locale settings.
template <typename Build>
Reply Under(const quorvane::LocaleSettings& settings, Build build) {
  quorvane::ScopedLocaleSettings scope(settings);
  return build();
}

void ExpectText(const Reply& reply, std::u16string_view text) {
  EXPECT_EQ(reply.Status, 0) << quorvane::ToUtf8(reply.Text);
  EXPECT_EQ(reply.Text, text);
}

void ExpectFailure(const Reply& reply, Failure failure, std::u16string_view description) {
  EXPECT_EQ(reply.Status, StatusOf(failure)) << quorvane::ToUtf8(reply.Text);
  EXPECT_EQ(reply.Text, description);
}

TEST(SeriesReplies, ListCountriesWithAtLeastOneSeries) {
  ExpectText(CountryListReply(Data()), u"|Russia|United_States|Euro_area");
}

TEST(SeriesReplies, WriteEachSeriesInTheClientsConventions) {
  ExpectText(Under(kRussian, [] { return MinimumWageReply(Data(), u"Russia"); }),
             u"01.01.2009&4330&4330|01.06.2011&4611&4611");
  // The statutory hourly amount first, its monthly full-time equivalent second.
  ExpectText(Under(kRussian, [] { return MinimumWageReply(Data(), u"United States"); }),
             u"24.07.2007&5,85&1014|24.07.2009&7,25&1256,67");
  ExpectText(Under(Settings(u"M/d/yyyy", u'/', u'.'),
                   [] { return PriceIndexReply(Data(), u"united_states"); }),
             u"1/1/2010&216.687|2/1/2010&216.741");
  // Newest first, so that a scan from the last entry stops at the rate in force.
  ExpectText(
      Under(Settings(u"yyyy-MM-dd", u'-', u'.'), [] { return FundsRateReply(Data(), u"RUSSIA"); }),
      u"2014-04-28&7.5|2014-03-03&7|2013-09-17&5.5");
}

TEST(SeriesReplies, FailWithWhatIsMissing) {
  ExpectFailure(Under(kRussian, [] { return MinimumWageReply(Data(), u"Atlantis"); }),
                Failure::UnknownCountry,
                u"Unknown country \"Atlantis\"; the server has data for Russia, United States, "
                u"Euro area, Nowhere");
  ExpectFailure(Under(kRussian, [] { return MinimumWageReply(Data(), u"Euro area"); }),
                Failure::NoSeries, u"The server has no minimum wage data for Euro area");
  ExpectFailure(Under(kRussian, [] { return PriceIndexReply(Data(), u"Russia"); }),
                Failure::NoSeries, u"The server has no consumer price index data for Russia");
  ExpectFailure(Under(kRussian, [] { return FundsRateReply(Data(), u""); }),
                Failure::UnknownCountry,
                u"Unknown country \"\"; the server has data for Russia, United States, Euro area, "
                u"Nowhere");
  // "&" between the fields of an entry cannot also be the decimal separator of the first value.
  Reply reply = Under(Settings(u"dd.MM.yyyy", u'.', u'&'),
                      [] { return MinimumWageReply(Data(), u"United States"); });
  EXPECT_EQ(reply.Status, StatusOf(Failure::LocaleSettings));
  EXPECT_EQ(reply.Text,
            u"The reply cannot be written for the client's locale settings: the number \"5&85\" "
            u"would hold the character \"&\", which this reply uses to separate its entries or "
            u"fields");
  // A bar as the date separator would split the entries.
  EXPECT_EQ(Under(Settings(u"dd|MM|yyyy", u'|', u','),
                  [] { return PriceIndexReply(Data(), u"Euro area"); })
                .Status,
            StatusOf(Failure::LocaleSettings));
}

TEST(CatalogueReplies, FieldValuesSplitIntoExactlyTheCataloguesValues) {
  for (std::size_t field = 0; field < quorvane::server::kCatalogueFieldCount; ++field) {
    Reply reply = FieldValueReply(Data(), quorvane::server::kCatalogueFields[field]);
    ASSERT_EQ(reply.Status, 0);
    quorvane::StringList list;
    list.SetDelimiter(u',');
    list.SetDelimitedText(reply.Text);
    ASSERT_EQ(list.Count(), static_cast<int>(Data().Catalogue.size()));
    for (std::size_t row = 0; row < Data().Catalogue.size(); ++row)
      EXPECT_EQ(list.Get(static_cast<int>(row)), Data().Catalogue[row][field]);
  }
  ExpectText(FieldValueReply(Data(), u"Currency_International"),
             u"\"Belarusian Ruble\",Euro,\"British Pound\",\"Russian Ruble\",\"US Dollar\","
             u"\"Test, with comma\"");
  ExpectText(FieldValueReply(Data(), u"CurrencyShrt_International"), u"BYN,€,£,₽,$,\"\"\"q\"");
  ExpectFailure(FieldValueReply(Data(), u"Colour"), Failure::UnknownField,
                u"Unknown catalogue field \"Colour\"; the fields are LetterCode, "
                u"Currency_International, CurrencyShrt_International, NumericCode, "
                u"CountryName_National, CountryName_International, Currency_National, "
                u"CurrencyShrt_National");
}

TEST(CatalogueReplies, LetterCodeByExactValueThenByWholeWords) {
  struct Case {
    const char16_t *field, *value;
    std::int32_t status;
    const char16_t* text;
  };
  const std::int32_t ok = 0, several = StatusOf(Failure::SeveralMatches),
                     none = StatusOf(Failure::NoMatch);
  const Case cases[] = {
      // "рубль" is a word of the Russian name only; the Belarusian one says "рубель".
      {u"Currency_National", u"рубль", ok, u"RUB"},
      {u"Currency_National", u"РУБЛЬ", ok, u"RUB"},         // Cyrillic without regard to case
      {u"Currency_National", u" рубль\u00A0", ok, u"RUB"},  // blanks at the ends do not count
      {u"Currency_International", u"Russian Ruble", ok, u"RUB"},
      {u"Currency_International", u"russian", ok, u"RUB"},
      {u"Currency_International", u"dollar", ok, u"USD"},
      {u"Currency_International", u"ruble", several,
       u"Several currencies have \"ruble\" as words of their Currency_International: BYN, RUB"},
      {u"Currency_International", u"rub", none,  // part of a word is no match
       u"No currency has \"rub\" as its Currency_International or as words of it"},
      {u"Currency_International", u"", none,
       u"No currency has \"\" as its Currency_International or as words of it"},
      {u"CurrencyShrt_International", u"$", ok, u"USD"},
      {u"NumericCode", u"643", ok, u"RUB"},
      {u"lettercode", u"usd", ok, u"USD"},  // field names and values without regard to case
      {u"CountryName_International", u"United Kingdom", ok, u"GBP"},
      {u"CountryName_National", u"European Union", ok, u"EUR"},
  };
  for (const Case& c : cases) {
    Reply reply = LetterCodeReply(Data(), c.field, c.value);
    EXPECT_EQ(reply.Status, c.status) << quorvane::ToUtf8(c.value);
    EXPECT_EQ(reply.Text, c.text) << quorvane::ToUtf8(c.value);
  }
  EXPECT_EQ(LetterCodeReply(Data(), u"Name", u"x").Status, StatusOf(Failure::UnknownField));
}

TEST(RateReplies, HistoriesOfDirectInverseAndCrossRates) {
  ExpectText(Under(kRussian, [] { return ExchangeHistoryReply(Data(), u"USD", u"RUB"); }),
             u";01.10.2010=30,2;05.10.2010=30,5;06.10.2010=30,4");
  // Quoted directly by the euro table while it runs (to 2010-10-04), then through the dollar
  // table, which runs two days longer.
  ExpectText(Under(kRussian, [] { return ExchangeHistoryReply(Data(), u"EUR", u"USD"); }),
             u";01.10.2010=1,3651;04.10.2010=1,37;05.10.2010=1,36986;06.10.2010=1,38889");
  // Units of the second currency per one of the first: dollars per rouble.
  ExpectText(Under(kRussian, [] { return ExchangeHistoryReply(Data(), u"rub", u"usd"); }),
             u";01.10.2010=0,0331126;05.10.2010=0,0327869;06.10.2010=0,0328947");
  // Every day on which either leg changes, each leg's last figure carried forward.
  ExpectText(
      Under(kRussian, [] { return ExchangeHistoryReply(Data(), u"RUB", u"EUR"); }),
      u";01.10.2010=0,024255;04.10.2010=0,0241722;05.10.2010=0,0239344;06.10.2010=0,0236842");
  // A semicolon as the decimal separator moves the delimiter to the bar.
  ExpectText(Under(Settings(u"dd.MM.yyyy", u'.', u';'),
                   [] { return ExchangeHistoryReply(Data(), u"USD", u"RUB"); }),
             u"|01.10.2010=30;2|05.10.2010=30;5|06.10.2010=30;4");
  ExpectFailure(Under(kRussian, [] { return ExchangeHistoryReply(Data(), u"RUB", u"RUB"); }),
                Failure::NoRates, u"The rate of RUB with itself is always 1; it has no history");
}

TEST(RateReplies, RateOnADayWithItsStatusLetter) {
  const double oct4 = 40455, oct5 = 40456, oct6 = 40457;
  struct Case {
    const char16_t *from, *to;
    double day;
    const char16_t* text;
  };
  const Case cases[] = {
      {u"RUB", u"RUB", oct4, u"F"},
      {u"XYZ", u"XYZ", oct4, u"F"},  // a catalogue currency with itself, even without rates
      {u"USD", u"RUB", oct4, u"NRUB per USD as of 2010-10-01=30,2"},  // the last on or before
      {u"USD", u"RUB", oct5 + 0.75, u"NRUB per USD as of 2010-10-05=30,5"},  // time of day
      {u"USD", u"RUB", oct6 + 31, u"NRUB per USD as of 2010-10-06=30,4"},
      // As of the newer leg, the rouble's of 2010-10-05, on which the rate took its value: the
      // dollar table's euro figure is still the one of 2010-10-04.
      {u"RUB", u"EUR", oct5, u"CEUR per RUB through USD as of 2010-10-05:0,0239344"},
      {u"EUR", u"USD", oct4, u"NUSD per EUR as of 2010-10-04=1,37"},
      // The euro table has ended; the dollar table still runs.
      {u"EUR", u"USD", oct5, u"CUSD per EUR through USD as of 2010-10-04:1,36986"},
      {u"RUB", u"USD", oct6, u"CUSD per RUB through USD as of 2010-10-06:0,0328947"},
      {u"EUR", u"GBP", oct4, u"NGBP per EUR as of 2010-10-04=0,868"},
  };
  for (const Case& c : cases)
    ExpectText(Under(kRussian, [&] { return ExchangeRateReply(Data(), c.from, c.to, c.day); }),
               c.text);
}

TEST(RateReplies, RateFailuresSayWhatIsMissing) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char16_t *from, *to;
    double day;
    Failure failure;
    const char16_t* description;
  };
  const Case cases[] = {
      {u"USD", u"RUB", 40451, Failure::NoRateOnDay,
       u"No rate of RUB per USD on or before 2010-09-30: the data start on 2010-10-01"},
      {u"USD", u"RUB", 40457 + 32, Failure::NoRateOnDay,
       u"No rate of RUB per USD on 2010-11-07: the data end on 2010-10-06"},
      {u"USD", u"RUB", -700000.0, Failure::NoDate,
       u"No date given (the date editor holds no date)"},
      {u"RUB", u"RUB", -700000.0, Failure::NoDate,
       u"No date given (the date editor holds no date)"},
      {u"USD", u"RUB", nan, Failure::NoDate,
       u"The date number nan is no day from the year 1 to the year 9999"},
      {u"USD", u"RUB", 1e300, Failure::NoDate,
       u"The date number 1.0000000000000001e+300 is no day from the year 1 to the year 9999"},
      {u"USD", u"XYZ", 40455, Failure::NoRates,
       u"The server has no exchange rates for XYZ; it has rates for USD, EUR, RUB, GBP"},
      {u"USD", u"QQQ", 40455, Failure::UnknownCurrency, u"Unknown currency code \"QQQ\""},
      {u"", u"USD", 40455, Failure::UnknownCurrency, u"No currency code given"},
  };
  for (const Case& c : cases)
    ExpectFailure(Under(kRussian, [&] { return ExchangeRateReply(Data(), c.from, c.to, c.day); }),
                  c.failure, c.description);
}

// Figures at the edges of what the client holds: the largest load and read back; a cross rate of
// legs far apart is too large to be a figure and fails as a missing rate, never as an internal
// fault.
TEST(RateReplies, FiguresAtTheClientsLimits) {
  const auto data = quorvane::server::LoadServerData(servertest::MemoryFiles({
      {"series/countries.csv", "code,name\nXX,Edge\n"},
      {"series/XX/cpi.csv",
       "date,value\n2010-01-01,922337203685477.58\n2010-02-01,-922337203685477.58\n"},
      {"rates/usd_daily.csv", "date,AAA,BBB\n2010-10-01,0.000000000000000001,922337203685477\n"},
  }));
  const Reply index = Under(kRussian, [&] { return PriceIndexReply(data, u"Edge"); });
  ExpectText(index, u"01.01.2010&922337203685477,58|01.02.2010&-922337203685477,58");
  {
    quorvane::ScopedLocaleSettings scope(kRussian);
    EXPECT_EQ(quorvane::ReadMoney(u"922337203685477,58").Count, 9223372036854775800);
    EXPECT_EQ(quorvane::ReadMoney(u"-922337203685477,58").Count, -9223372036854775800);
  }
  const char16_t* tooLarge =
      u"The rate of BBB per AAA on 2010-10-01 is too large to be written as a figure";
  ExpectFailure(Under(kRussian, [&] { return ExchangeRateReply(data, u"AAA", u"BBB", 40452); }),
                Failure::NoRates, tooLarge);
  ExpectFailure(Under(kRussian, [&] { return ExchangeHistoryReply(data, u"AAA", u"BBB"); }),
                Failure::NoRates, tooLarge);
}

// A rate column without a single observation (operator data) gives no rate, directly or through
// the table's base, instead of reading an observation that is not there.
TEST(RateReplies, ColumnWithoutObservations) {
  const auto data = quorvane::server::LoadServerData(
      servertest::MemoryFiles({{"rates/usd_daily.csv", "date,EUR,RUB\n2010-10-04,0.73,\n"}}));
  ExpectFailure(Under(kRussian, [&] { return ExchangeRateReply(data, u"USD", u"RUB", 40455); }),
                Failure::NoRates, u"The data hold no rate of RUB per USD");
  ExpectFailure(Under(kRussian, [&] { return ExchangeRateReply(data, u"EUR", u"RUB", 40455); }),
                Failure::NoRates, u"The data hold no rate of RUB per EUR");
  ExpectFailure(Under(kRussian, [&] { return ExchangeHistoryReply(data, u"EUR", u"RUB"); }),
                Failure::NoRates, u"The data hold no day on which both EUR and RUB are quoted");
}

// Operator data where one route ends long before the next begins: the days between have no
// rate, and the history goes on when the next route begins.
TEST(RateReplies, RoutesWithAGapBetweenThem) {
  const auto data = quorvane::server::LoadServerData(servertest::MemoryFiles({
      {"rates/usd_daily.csv", "date,AAA,BBB\n2010-01-04,1,2\n2010-01-05,1,2.5\n"},
      {"rates/eur_daily.csv", "date,AAA,BBB\n2010-06-01,3,4\n"},
  }));
  ExpectText(Under(kRussian, [&] { return ExchangeHistoryReply(data, u"AAA", u"BBB"); }),
             u";04.01.2010=2;05.01.2010=2,5;01.06.2010=1,33333");
  struct Case {
    double day;
    const char16_t* reply;
    Failure failure;
  };
  const Case cases[] = {
      {40183, u"CBBB per AAA through USD as of 2010-01-05:2,5", Failure{}},  // 2010-01-05
      {40183 + 31, u"CBBB per AAA through USD as of 2010-01-05:2,5", Failure{}},
      {40183 + 32,
       u"No rate of BBB per AAA on 2010-02-06: the data end on 2010-01-05 and begin again on "
       u"2010-06-01",
       Failure::NoRateOnDay},
      {40330, u"CBBB per AAA through EUR as of 2010-06-01:1,33333", Failure{}},  // 2010-06-01
  };
  for (const Case& c : cases) {
    Reply reply = Under(kRussian, [&] { return ExchangeRateReply(data, u"AAA", u"BBB", c.day); });
    if (c.failure == Failure{})
      ExpectText(reply, c.reply);
    else
      ExpectFailure(reply, c.failure, c.reply);
  }
}

}  // namespace
