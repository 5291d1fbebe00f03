// Round trips through the real client: the server registered under its class id, the client's
// creator and loaders, and the client's own splitting and decoding under several locale settings.
// Every series and every quoted exchange history decodes to the bundled figures, rounded to four
// decimals.
#include <gtest/gtest.h>

#include <random>

#include "Calendar.h"
#include "ExchangeRates.h"
#include "ReferenceServer.h"
#include "ServerCall.h"
#include "ServerData.h"
#include "ServerTestSupport.h"
#include "TextToValue.h"
#include "Utf.h"
#include "uQuorvaneFunc.h"

namespace {

using quorvane::server::Figure;
using quorvane::server::ReferenceData;

// The figure as a count of ten-thousandths, rounded exactly, ties to even.
std::int64_t ExactMoney(Figure figure) {
  std::int64_t digits = figure.Digits;
  int scale = figure.Scale;
  for (; scale < 4; ++scale)
    digits *= 10;
  std::int64_t unit = 1;
  for (int i = 4; i < scale; ++i)
    unit *= 10;
  std::int64_t whole = digits / unit, rest = digits % unit;
  if (2 * rest > unit || (2 * rest == unit && whole % 2 != 0))
    ++whole;
  return whole;
}

// The figure as the client keeps it: its value in the client's 64-bit-significand arithmetic,
// rounded to a count of ten-thousandths by the client's money rounding. This is the exact
// rounding except where a fifth decimal 5 ends the figure: the binary value then lies a hair
// above or below the tie, and that decides (1.02375 gives 1.0237).
std::int64_t Money(Figure figure) {
  std::int64_t count =
      quorvane::RoundToMoney(
          quorvane::Extended::FromInt64(figure.Digits).ScaledByPowerOfTen(-figure.Scale))
          .Count;
  std::int64_t exact = ExactMoney(figure);
  bool tie = figure.Scale == 5 && figure.Digits % 10 == 5;
  EXPECT_TRUE(count == exact || (tie && (count == exact + 1 || count == exact - 1)))
      << quorvane::server::FigureText(figure);
  return count;
}

struct SettingsCase {
  const char* name;
  const char16_t* pattern;
  char16_t dateSeparator, decimalSeparator;
};

// A failure names the settings, not the bytes of the structure.
void PrintTo(const SettingsCase& c, std::ostream* out) {
  *out << c.name << " (pattern \"" << quorvane::ToUtf8(c.pattern) << "\", date separator \""
       << quorvane::ToUtf8(std::u16string(1, c.dateSeparator)) << "\", decimal separator \""
       << quorvane::ToUtf8(std::u16string(1, c.decimalSeparator)) << "\")";
}

class ClientRoundTrip : public testing::TestWithParam<SettingsCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(registration_.Registered());
    ASSERT_TRUE(quorvane::CreateServer());
  }
  void TearDown() override { quorvane::FinalizeQuorvaneFunc(); }

  quorvane::ScopedLocaleSettings settings_{servertest::Settings(
      GetParam().pattern, GetParam().dateSeparator, GetParam().decimalSeparator)};
  quorvane::server::ReferenceServerRegistration registration_ =
      quorvane::server::RegisterReferenceServer();
};

void ExpectTable(const std::vector<quorvane::DateValueRec>& table,
                 const quorvane::server::Series& series, bool newestFirst, const char* what) {
  ASSERT_EQ(table.size(), series.size()) << what;
  for (std::size_t i = 0; i < series.size(); ++i) {
    const auto& expected = series[newestFirst ? series.size() - 1 - i : i];
    ASSERT_EQ(table[i].Date, expected.Day) << what << " entry " << i;
    ASSERT_EQ(table[i].Value.Count, Money(expected.Value))
        << what << " entry " << i << ": " << quorvane::server::FigureText(expected.Value);
  }
}

TEST_P(ClientRoundTrip, EverySeriesDecodesToTheBundledFigures) {
  for (const auto& country : ReferenceData().Countries) {
    std::string name = quorvane::ToUtf8(country.Name);
    if (country.MinimumWages) {
      quorvane::LoadMinimumWage(country.Name);
      ASSERT_EQ(quorvane::MinimumWageTable.size(), country.MinimumWages->size());
      for (std::size_t i = 0; i < country.MinimumWages->size(); ++i) {
        const auto& wage = (*country.MinimumWages)[i];
        const auto& record = quorvane::MinimumWageTable[i];
        EXPECT_EQ(record.Date, wage.Day);
        EXPECT_EQ(record.mValue1.Count, Money(wage.Statutory));
        EXPECT_EQ(record.mValue2.Count, Money(wage.MonthlyFullTime));
      }
    }
    if (country.PriceIndex) {
      quorvane::LoadPriceIndex(country.Name);
      ExpectTable(quorvane::PriceIndexTable, *country.PriceIndex, false, name.c_str());
    }
    if (country.FundsRate) {
      quorvane::LoadFundsRate(country.Name);
      ExpectTable(quorvane::FundsRateTable, *country.FundsRate, true, name.c_str());
    }
  }
  // The statutory US amount is hourly; its monthly equivalent rides along.
  quorvane::LoadMinimumWage(u"United States");
  EXPECT_EQ(quorvane::MinimumWageTable.back().mValue1.Count, 72500);
  EXPECT_EQ(quorvane::MinimumWageTable.back().mValue2.Count, 12566700);
}

TEST_P(ClientRoundTrip, EveryQuotedHistoryAndSomeComputedOnesDecodeToTheirFigures) {
  const auto& data = ReferenceData();
  std::vector<std::pair<std::u16string, std::u16string>> pairs;
  for (const auto& table : data.RateTables)
    for (const auto& code : table.Codes)
      pairs.emplace_back(table.Base, code);
  // Inverse and cross rates.
  for (const auto& [from, to] : {std::pair{u"RUB", u"USD"},
                                 {u"GBP", u"JPY"},
                                 {u"BYN", u"EUR"},
                                 {u"UAH", u"RUB"},
                                 {u"CNY", u"TWD"},
                                 // Routes that change where a column ends.
                                 {u"RUB", u"EUR"},
                                 {u"DKK", u"JPY"}})
    pairs.emplace_back(from, to);
  for (const auto& [from, to] : pairs) {
    std::string what = quorvane::ToUtf8(from) + "->" + quorvane::ToUtf8(to);
    quorvane::LoadExchangeList(from, to);
    auto pair = quorvane::server::ResolvePair(data, from, to);
    ExpectTable(quorvane::ExchangeTable, quorvane::server::RateHistory(pair), false, what.c_str());
  }
}

TEST_P(ClientRoundTrip, RatesOnADayDecodeToTheRateInForce) {
  const auto& data = ReferenceData();
  std::mt19937 random(9);
  const std::u16string codes[] = {u"USD", u"EUR", u"RUB", u"GBP", u"JPY", u"KZT", u"DKK"};
  for (const auto& from : codes) {
    for (const auto& to : codes) {
      auto pair = quorvane::server::ResolvePair(data, from, to);
      for (int i = 0; i < 20; ++i) {
        // 2005-01-01 to 2026-08-22, so that some days have no rate, others a rate through a
        // route that only runs at the end of the data.
        int day =
            static_cast<int>(quorvane::DayNumberOf(2005, 1, 1)) + static_cast<int>(random() % 7904);
        double time = (random() % 4) / 4.0;  // the time of day is dropped
        quorvane::server::RateOnDay expected;
        try {
          expected = quorvane::server::RateOn(pair, day);
        } catch (const quorvane::server::ReplyFailure&) {
          EXPECT_THROW(quorvane::GetRateOnDate(from, to, day + time), quorvane::EServerCallError);
          continue;
        }
        quorvane::Currency rate = quorvane::GetRateOnDate(from, to, day + time);
        EXPECT_EQ(rate.Count, Money(expected.Value))
            << quorvane::ToUtf8(from) << "->" << quorvane::ToUtf8(to) << " on day " << day;
      }
    }
  }
}

TEST_P(ClientRoundTrip, CatalogueListsAndTheDefaultLookup) {
  const auto& data = ReferenceData();
  quorvane::StringList countries;
  quorvane::LoadCountryList(countries);
  ASSERT_EQ(countries.Count(), static_cast<int>(data.Countries.size()));
  for (std::size_t i = 0; i < data.Countries.size(); ++i)
    EXPECT_EQ(countries.Get(static_cast<int>(i)), data.Countries[i].Name);

  for (std::size_t field = 0; field < quorvane::server::kCatalogueFieldCount; ++field) {
    quorvane::StringList values;
    quorvane::LoadFieldValues(quorvane::server::kCatalogueFields[field], values);
    ASSERT_EQ(values.Count(), static_cast<int>(data.Catalogue.size()));
    for (std::size_t row = 0; row < data.Catalogue.size(); ++row)
      EXPECT_EQ(values.Get(static_cast<int>(row)), data.Catalogue[row][field]);
  }
  EXPECT_EQ(quorvane::ServerGetLIDCurrency(u"Currency_National", u"рубль"), u"RUB");
}

TEST_P(ClientRoundTrip, FailuresReachTheClientAsServerCallErrors) {
  try {
    quorvane::LoadMinimumWage(u"Euro area");
    ADD_FAILURE() << "loaded";
  } catch (const quorvane::EServerCallError& error) {
    EXPECT_EQ(error.ErrorCode(), quorvane::server::StatusOf(quorvane::server::Failure::NoSeries));
    EXPECT_EQ(error.Message(), u"The server has no minimum wage data for Euro area");
  }
}

// Under any locale settings, a reply either decodes through the client to exactly the bundled
// figures or fails with the status that says the settings cannot carry it; it never decodes to
// something else.
TEST(ClientRoundTripUnderOddSettings, DecodesExactlyOrFailsClearly) {
  auto registration = quorvane::server::RegisterReferenceServer();
  ASSERT_TRUE(quorvane::CreateServer());
  const char16_t separators[] = {u'.', u'/', u'-',  u' ', u'1', u'|',      u'&',  u'=', u';',
                                 u'"', u',', u'\t', u'a', u'E', u'\u00A0', u'\0', u'+', u':'};
  const char16_t* patterns[] = {u"dd.MM.yyyy", u"M/d/yyyy",    u"yyyy-MM-dd", u"ddd dd MMMM yyyy",
                                u"",           u"gg ee/MM/dd", u"d",          u"MMM d, yyyy"};
  const auto& data = ReferenceData();
  const auto& us = data.Countries[1];
  const auto& ru = data.Countries[0];
  auto history = quorvane::server::RateHistory(quorvane::server::ResolvePair(data, u"USD", u"BYN"));
  std::mt19937 random(2010);
  int decoded = 0, refused = 0;
  for (int round = 0; round < 150; ++round) {
    quorvane::ScopedLocaleSettings settings(servertest::Settings(
        patterns[random() % std::size(patterns)], separators[random() % std::size(separators)],
        separators[random() % std::size(separators)]));
    const auto& s = quorvane::CurrentLocaleSettings();
    std::string what = quorvane::ToUtf8(s.ShortDateFormat) + " date separator " +
                       std::to_string(s.DateSeparator) + " decimal separator " +
                       std::to_string(s.DecimalSeparator);
    auto attempt = [&](auto load, auto check) {
      try {
        load();
      } catch (const quorvane::EServerCallError& error) {
        EXPECT_EQ(error.ErrorCode(),
                  quorvane::server::StatusOf(quorvane::server::Failure::LocaleSettings))
            << what << ": " << error.what();
        ++refused;
        return;
      }
      check();
      ++decoded;
    };
    attempt([&] { quorvane::LoadPriceIndex(us.Name); },
            [&] { ExpectTable(quorvane::PriceIndexTable, *us.PriceIndex, false, what.c_str()); });
    attempt([&] { quorvane::LoadFundsRate(ru.Name); },
            [&] { ExpectTable(quorvane::FundsRateTable, *ru.FundsRate, true, what.c_str()); });
    attempt([&] { quorvane::LoadMinimumWage(us.Name); },
            [&] {
              ASSERT_EQ(quorvane::MinimumWageTable.size(), us.MinimumWages->size()) << what;
              for (std::size_t i = 0; i < us.MinimumWages->size(); ++i) {
                EXPECT_EQ(quorvane::MinimumWageTable[i].Date, (*us.MinimumWages)[i].Day);
                EXPECT_EQ(quorvane::MinimumWageTable[i].mValue1.Count,
                          Money((*us.MinimumWages)[i].Statutory))
                    << what;
              }
            });
    attempt([&] { quorvane::LoadExchangeList(u"USD", u"BYN"); },
            [&] { ExpectTable(quorvane::ExchangeTable, history, false, what.c_str()); });
    quorvane::Currency rate;
    attempt([&] { rate = quorvane::GetRateOnDate(u"GBP", u"JPY", 40459.5); },
            [&] {
              auto pair = quorvane::server::ResolvePair(data, u"GBP", u"JPY");
              EXPECT_EQ(rate.Count, Money(quorvane::server::RateOn(pair, 40459).Value)) << what;
            });
  }
  quorvane::FinalizeQuorvaneFunc();
  // Both outcomes occur, so the settings really vary.
  EXPECT_GT(decoded, 100);
  EXPECT_GT(refused, 100);
}

INSTANTIATE_TEST_SUITE_P(
    LocaleSettings, ClientRoundTrip,
    testing::Values(SettingsCase{"DayFirstComma", u"dd.MM.yyyy", u'.', u','},
                    SettingsCase{"MonthFirstPoint", u"M/d/yyyy", u'/', u'.'},
                    SettingsCase{"YearFirstPoint", u"yyyy-MM-dd", u'-', u'.'},
                    // A semicolon as the decimal separator moves the history's delimiter.
                    SettingsCase{"SemicolonDecimal", u"d MMM yyyy", u'-', u';'}),
    [](const testing::TestParamInfo<SettingsCase>& info) { return info.param.name; });

}  // namespace
