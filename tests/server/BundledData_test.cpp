// The data built into the server: what it holds, the catalogue's shape, agreement between a rate
// on a day and the history it comes from, and data directories of the same layout.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <set>

#include "ExchangeRates.h"
#include "Replies.h"
#include "ServerData.h"
#include "ServerTestSupport.h"
#include "Utf.h"

namespace {

using quorvane::server::ReferenceData;
using quorvane::server::ServerData;

TEST(BundledData, HoldsTheSeriesOfFourCountriesAndTwoRateTables) {
  const ServerData& data = ReferenceData();
  EXPECT_EQ(CountryListReply(data).Text, u"|Russia|United_States|United_Kingdom|Euro_area");
  ASSERT_EQ(data.RateTables.size(), 2u);
  EXPECT_EQ(data.RateTables[0].Base, u"USD");
  EXPECT_EQ(data.RateTables[0].Codes.size(), 32u);
  EXPECT_EQ(data.RateTables[1].Base, u"EUR");
  for (const auto& country : data.Countries) {
    EXPECT_TRUE(country.PriceIndex && country.FundsRate) << quorvane::ToUtf8(country.Name);
    EXPECT_EQ(country.MinimumWages.has_value(), country.Code == "RU" || country.Code == "US");
  }
}

TEST(BundledData, CatalogueHoldsEveryRatedCurrencyWithEightFilledFields) {
  const ServerData& data = ReferenceData();
  ASSERT_GT(data.Catalogue.size(), 150u);
  std::set<std::u16string> codes;
  for (const auto& row : data.Catalogue) {
    EXPECT_TRUE(codes.insert(row[0]).second) << "twice: " << quorvane::ToUtf8(row[0]);
    ASSERT_EQ(row[3].size(), 3u) << quorvane::ToUtf8(row[0]);
    for (char16_t c : row[3])
      EXPECT_TRUE(c >= u'0' && c <= u'9');
    for (const auto& field : row)
      EXPECT_FALSE(field.empty());
  }
  for (const auto& table : data.RateTables) {
    EXPECT_TRUE(codes.count(table.Base));
    for (const auto& code : table.Codes)
      EXPECT_TRUE(codes.count(code)) << quorvane::ToUtf8(code);
  }
  const auto& rub = *std::find_if(data.Catalogue.begin(), data.Catalogue.end(),
                                  [](const auto& row) { return row[0] == u"RUB"; });
  EXPECT_EQ(rub[4], u"Россия");
  EXPECT_EQ(rub[5], u"Russia");
  EXPECT_EQ(rub[6], u"российский рубль");
  EXPECT_EQ(rub[3], u"643");
  // The window's start texts.
  EXPECT_EQ(LetterCodeReply(data, u"Currency_National", u"рубль").Text, u"RUB");
}

// The rate on any day is the history's entry in force on that day, for direct, inverse and
// cross rates alike.
TEST(BundledData, RateOnADayAgreesWithTheHistory) {
  const ServerData& data = ReferenceData();
  const std::u16string codes[] = {u"USD", u"EUR", u"RUB", u"GBP", u"JPY", u"BYN", u"UAH", u"TRY"};
  std::mt19937 random(5);
  for (const auto& from : codes) {
    for (const auto& to : codes) {
      if (from == to)
        continue;
      auto pair = quorvane::server::ResolvePair(data, from, to);
      auto history = quorvane::server::RateHistory(pair);
      ASSERT_FALSE(history.empty());
      for (int i = 0; i < 50; ++i) {
        std::size_t index = random() % history.size();
        // A day between this entry and the next one.
        int next = index + 1 < history.size() ? history[index + 1].Day : history[index].Day + 1;
        int day = history[index].Day + static_cast<int>(random() % (next - history[index].Day));
        auto rate = quorvane::server::RateOn(pair, day);
        ASSERT_EQ(rate.Value, history[index].Value)
            << quorvane::ToUtf8(from) << "->" << quorvane::ToUtf8(to) << " on day " << day;
      }
    }
  }
}

TEST(DataDirectory, ServesAnOperatorsFiguresAndNamesTheFaultyLine) {
  auto directory = std::filesystem::temp_directory_path() / "quorvane_server_data_test";
  std::filesystem::remove_all(directory);
  std::filesystem::create_directories(directory / "series" / "NZ");
  auto write = [&](const char* path, const char* text) {
    std::ofstream(directory / path, std::ios::binary) << text;
  };
  write("series/countries.csv", "code,name\nNZ,New Zealand\n");
  write("series/NZ/cpi.csv", "date,value\n2020-01-01,1000.5\n");
  ServerData data =
      quorvane::server::LoadServerData(quorvane::server::DirectoryFiles(directory.string()));
  EXPECT_EQ(CountryListReply(data).Text, u"|New_Zealand");
  EXPECT_TRUE(data.RateTables.empty());
  EXPECT_TRUE(data.Catalogue.empty());

  write("series/NZ/cpi.csv", "date,value\n2020-01-01,1000.5\n2019-12-01,999\n");
  try {
    quorvane::server::LoadServerData(quorvane::server::DirectoryFiles(directory.string()));
    ADD_FAILURE() << "loaded";
  } catch (const quorvane::server::DataError& e) {
    EXPECT_STREQ(e.what(), "series/NZ/cpi.csv line 3: the dates must rise from row to row");
  }
  std::filesystem::remove_all(directory);
}

// A data directory that is not there, or a file of it that is there but does not read, is a fault
// to report, not data to leave out.
TEST(DataDirectory, ReportsFilesThatAreThereButDoNotRead) {
  namespace fs = std::filesystem;
  const fs::path directory = fs::temp_directory_path() / "quorvane_server_data_faults";
  fs::remove_all(directory);
  fs::create_directories(directory / "series" / "NZ");
  std::ofstream(directory / "series/countries.csv", std::ios::binary)
      << "code,name\nNZ,New Zealand\n";
  std::ofstream(directory / "series/NZ/cpi.csv", std::ios::binary) << "date,value\n2020-01-01,1\n";
  const auto message = [&](const fs::path& where) -> std::string {
    try {
      quorvane::server::LoadDirectoryData(where.string());
    } catch (const quorvane::server::DataError& e) {
      return e.what();
    }
    return "loaded";
  };
  EXPECT_EQ(message(directory), "loaded");
  EXPECT_EQ(message(directory / "missing"), "there is no such directory");
  EXPECT_EQ(message(directory / "series/countries.csv"), "there is no such directory");

  fs::create_symlink(directory / "nowhere.csv", directory / "series/NZ/funds_rate.csv");
  EXPECT_EQ(message(directory), "series/NZ/funds_rate.csv: the file is there but cannot be read");
  fs::remove(directory / "series/NZ/funds_rate.csv");

  fs::create_directories(directory / "rates" / "usd_daily.csv");
  EXPECT_EQ(message(directory), "rates/usd_daily.csv: the file is there but cannot be read");
  fs::remove_all(directory / "rates");

  // Paths that lead out are refused by the file source itself, whoever asks.
  const quorvane::server::FileSource files =
      quorvane::server::DirectoryFiles((directory / "series").string());
  for (const char* path : {"../series/countries.csv", "NZ/../../x", "/etc/passwd"}) {
    try {
      files(path);
      ADD_FAILURE() << path << " was read";
    } catch (const quorvane::server::DataError& e) {
      EXPECT_EQ(e.what(), std::string(path) + ": the path leads out of the data directory");
    }
  }
  EXPECT_TRUE(files("countries.csv").has_value());
  EXPECT_FALSE(files("NZ/min_wage.csv").has_value());
  fs::remove_all(directory);
}

const std::string kCatalogueHeader =
    "LetterCode,Currency_International,CurrencyShrt_International,NumericCode,"
    "CountryName_National,CountryName_International,Currency_National,CurrencyShrt_National\n";

TEST(DataFiles, FaultsAreNamedWithFileAndLine) {
  struct Case {
    std::string path, text;
    std::optional<std::string> message;
  };
  const Case cases[] = {
      {"series/RU/cpi.csv", "date,value\n2010-02-30,1\n",
       "series/RU/cpi.csv line 2: \"2010-02-30\" is not a date of the form YYYY-MM-DD"},
      {"series/RU/cpi.csv", "date,value\n2010-02-01,1e5\n",
       "series/RU/cpi.csv line 2: \"1e5\" is not a plain decimal number"},
      {"series/RU/cpi.csv", "when,value\n",
       "series/RU/cpi.csv line 1: the first line must be "
       "\"date,value\""},
      // Beyond the largest figure the client holds, by a hundredth on either side.
      {"series/RU/cpi.csv", "date,value\n2010-02-01,922337203685477.59\n",
       "series/RU/cpi.csv line 2: \"922337203685477.59\" is too large: the client holds figures "
       "up to 922337203685477.5807"},
      {"rates/usd_daily.csv", "date,RUB\n2010-01-01,-922337203685478\n",
       "rates/usd_daily.csv line 2: \"-922337203685478\" is too large: the client holds figures "
       "up to 922337203685477.5807"},
      {"rates/usd_daily.csv", "date,RUB\n2010-01-01,0\n",
       "rates/usd_daily.csv line 2: a rate must be above zero"},
      {"rates/usd_daily.csv", "date,RUB\n2010-01-01\n",
       "rates/usd_daily.csv line 2: a row must hold a date and one cell per currency"},
      {"rates/eur_daily.csv", "date,R=B\n",
       "rates/eur_daily.csv line 1: \"R=B\" is not a letter code"},
      {"catalogue.csv", "LetterCode\n", std::nullopt},
      // Values that the client's splitting of a field's list would drop or cut short.
      {"catalogue.csv", kCatalogueHeader + std::string("AAA,x,\" \t\",1,x,y,z,w\n"),
       "catalogue.csv line 2: the field CurrencyShrt_International is blank"},
      {"catalogue.csv", kCatalogueHeader + std::string("AAA,x,y,1,x,y,z,a\0b\n", 20),
       "catalogue.csv line 2: the field CurrencyShrt_National holds a NUL character"},
      // The country list would reach the client as a quoted entry without its quotes.
      {"series/countries.csv", "code,name\nRU,Russia\nQQ,\"Q\" Land\n",
       "series/countries.csv line 3: a country name cannot begin with a double quote"},
      // The second name could never be asked for.
      {"series/countries.csv", "code,name\nRU,Russia\nRF,RUSSIA\n",
       "series/countries.csv line 3: the country name \"RUSSIA\" is listed twice"},
      {"series/countries.csv", "code,name\nRU,Rus_sia\n",
       "series/countries.csv line 2: a country name cannot hold \"_\", \"|\" or control "
       "characters"},
      // The second column of a code could never be reached.
      {"rates/usd_daily.csv", "date,RUB,EUR,RUB\n2010-01-01,30,0.7,31\n",
       "rates/usd_daily.csv line 1: the currency RUB has two columns"},
      // A folder name from the data must not lead out of the data directory.
      {"series/countries.csv", "code,name\nRU,Russia\n../../etc,Elsewhere\n",
       "series/countries.csv line 3: the folder name \"../../etc\" may hold only letters, "
       "digits, \"-\" and \"_\""},
      {"series/countries.csv", "code,name\nRU,Russia\n..,Up\n",
       "series/countries.csv line 3: the folder name \"..\" may hold only letters, digits, \"-\" "
       "and \"_\""},
      // Far longer than any line of the data can be: refused by its length, without quoting it.
      {"series/RU/cpi.csv", "date,value\n2010-01-01,1\n2010-02-01," + std::string(100'000, '7'),
       "series/RU/cpi.csv line 3: the line is longer than 65536 bytes, more than any line of the "
       "data can need"},
      // A long cell within a line's room is quoted in part only.
      {"series/RU/cpi.csv", "date,value\n2010-02-01,1" + std::string(60'000, 'x') + "\n",
       "series/RU/cpi.csv line 2: \"1xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...\" (60001 bytes) "
       "is not a plain decimal number"},
      // The cut falls before a character of two bytes, not inside it.
      {"series/RU/cpi.csv", "date,value\n2010-02-01," + std::string(39, 'y') + "\u00e9\u00e9\n",
       "series/RU/cpi.csv line 2: \"" + std::string(39, 'y') +
           "...\" (43 bytes) is not a plain decimal number"},
      // Ten million empty lines fail at the first, without a list of them all.
      {"series/RU/cpi.csv", "date,value\n" + std::string(10'000'000, '\n'),
       "series/RU/cpi.csv line 2: a row must hold a date and a value"},
  };
  for (const Case& c : cases) {
    try {
      std::map<std::string, std::string> files = {
          {"series/countries.csv", "code,name\nRU,Russia\n"}};
      files[c.path] = c.text;
      quorvane::server::LoadServerData(servertest::MemoryFiles(files));
      ADD_FAILURE() << c.path << " loaded";
    } catch (const quorvane::server::DataError& e) {
      if (c.message) {
        EXPECT_EQ(e.what(), *c.message);
      }
    }
  }
}

}  // namespace
