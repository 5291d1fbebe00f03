// Arbitrary contents of an operator's data files: reading them gives the data or a DataError
// that names the file, nothing else; data that read give replies or described failures, and every
// series, history, rate and catalogue list that the server answers from them is read by the
// client's own loaders (fed the reply through the scripted server) without error.
//
// The input chooses the locale settings, then gives files to remove or to replace with content of
// its own, laid over a small valid data set.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "Errors.h"
#include "FuzzInput.h"
#include "LocaleSettings.h"
#include "Replies.h"
#include "RuntimeTrace.h"
#include "ScriptedServer.h"
#include "ServerData.h"
#include "StringList.h"
#include "Utf.h"
#include "uQuorvaneFunc.h"

namespace {

using namespace quorvane;
using scripted::Op;

using fuzzinput::Check;

const char* const kPaths[] = {
    "series/countries.csv",          "series/AA/min_wage.csv",
    "series/AA/min_wage_hourly.csv", "series/AA/cpi.csv",
    "series/AA/funds_rate.csv",      "rates/usd_daily.csv",
    "rates/eur_daily.csv",           "catalogue.csv",
};

std::map<std::string, std::string> BaseFiles() {
  return {
      {"series/countries.csv", "code,name\nAA,Aland\nBB,Bravo Land\n"},
      {"series/AA/min_wage.csv", "date,value\n2007-07-24,1014\n2009-07-24,1256.67\n"},
      {"series/AA/min_wage_hourly.csv", "date,value\n2007-07-24,5.85\n2009-07-24,7.25\n"},
      {"series/AA/cpi.csv", "date,value\n2010-01-01,216.687\n2010-02-01,216.741\n"},
      {"series/AA/funds_rate.csv", "date,value\n2013-09-17,5.5\n2014-03-03,7\n"},
      {"series/BB/cpi.csv", "date,value\n1996-01-01,70.4\n"},
      {"rates/usd_daily.csv",
       "date,EUR,RUB\n2010-10-01,0.7325,30.2\n2010-10-04,0.73,\n2010-10-05,,30.5\n"},
      {"rates/eur_daily.csv", "date,USD,GBP\n2010-10-01,1.3651,0.867\n"},
      {"catalogue.csv",
       "LetterCode,Currency_International,CurrencyShrt_International,NumericCode,"
       "CountryName_National,CountryName_International,Currency_National,CurrencyShrt_National\n"
       "EUR,Euro,\xE2\x82\xAC,978,European Union,European Union,Euro,\xE2\x82\xAC\n"
       "XYZ,\"Test, with comma\",\"\"\"q\",001,A\"b,Tab\tName,x y,z\n"},
  };
}

LocaleSettings LocaleFor(int choice) {
  LocaleSettings settings;
  switch (choice) {
    case 0:  // the defaults
      break;
    case 1:  // the examples' settings
      settings.ShortDateFormat = u"dd.MM.yyyy";
      settings.DateSeparator = u'.';
      settings.DecimalSeparator = u',';
      settings.ThousandSeparator = u' ';
      break;
    case 2:  // year first
      settings.ShortDateFormat = u"yyyy-MM-dd";
      settings.DateSeparator = u'-';
      break;
    default:  // single-letter day and month, a letter as the decimal separator
      settings.ShortDateFormat = u"d/M/yyyy";
      settings.DecimalSeparator = u'C';
      break;
  }
  return settings;
}

scripted::Script& ScriptedConnection() {
  // Made once and never ended: the connection outlives every input.
  static scripted::ScopedScriptedServer* server = [] {
    SetCurrentYearSource([] { return 2010; });
    auto* made = new scripted::ScopedScriptedServer;
    if (!CreateServer())
      std::abort();
    return made;
  }();
  return **server;
}

// A reply of the server must be a success or one of its own failures; a success goes to the
// client's loader, which must read it.
template <typename Load>
void Deliver(const server::Reply& reply, Op op, Load load) {
  if (!reply.Succeeded()) {
    Check(reply.Status >= server::StatusOf(server::Failure::UnknownCountry) &&
          reply.Status <= server::StatusOf(server::Failure::DataFault) && !reply.Text.empty());
    return;
  }
  scripted::Script& script = ScriptedConnection();
  script.Reply(op, reply.Text);
  const long bstrsBefore = platform::LiveBstrCount();
  try {
    load();
  } catch (const Exception& e) {
    // The server answered something its client cannot read.
    std::fprintf(stderr, "The client could not read the reply: %s\nReply: %s\n",
                 ToUtf8(e.Message()).c_str(), ToUtf8(reply.Text).c_str());
    std::abort();
  }
  Check(platform::LiveBstrCount() == bstrsBefore);
  script.ClearCalls();
}

void AnswerEverything(const server::ServerData& data) {
  {
    StringList countries;
    Deliver(server::CountryListReply(data), Op::GetCountryList, [&] {
      LoadCountryList(countries);
      // Every country with a series, in order.
      int listed = 0;
      for (const server::Country& country : data.Countries) {
        if (country.MinimumWages || country.PriceIndex || country.FundsRate) {
          Check(listed < countries.Count() && countries.Get(listed) == country.Name);
          ++listed;
        }
      }
      Check(listed == countries.Count());
    });
  }
  for (const server::Country& country : data.Countries) {
    Deliver(server::MinimumWageReply(data, country.Name), Op::GetMinimumWageList, [&] {
      LoadMinimumWage(u"x");
      Check(MinimumWageTable.size() == country.MinimumWages->size());
    });
    Deliver(server::PriceIndexReply(data, country.Name), Op::GetPriceIndexList, [&] {
      LoadPriceIndex(u"x");
      Check(PriceIndexTable.size() == country.PriceIndex->size());
    });
    Deliver(server::FundsRateReply(data, country.Name), Op::GetFundsRateList, [&] {
      LoadFundsRate(u"x");
      Check(FundsRateTable.size() == country.FundsRate->size());
    });
  }
  for (std::size_t field = 0; field < server::kCatalogueFieldCount; ++field) {
    Deliver(server::FieldValueReply(data, server::kCatalogueFields[field]), Op::GetFieldValueList,
            [&] {
              StringList values;
              LoadFieldValues(u"x", values);
              Check(values.Count() == static_cast<int>(data.Catalogue.size()));
              for (int i = 0; i < values.Count(); ++i)
                Check(values.Get(i) == data.Catalogue[static_cast<std::size_t>(i)][field]);
            });
  }
  for (const server::CatalogueRow& row : data.Catalogue)
    Deliver(server::LetterCodeReply(data, server::kCatalogueFields[1], row[1]), Op::GetLIDCurrency,
            [&] { ServerGetLIDCurrency(u"x", u"y"); });
  // Every pair of a table's first codes, its base included, both ways.
  for (const server::RateTable& table : data.RateTables) {
    std::vector<std::u16string> codes = {table.Base};
    for (std::size_t i = 0; i < table.Codes.size() && i < 3; ++i)
      codes.push_back(table.Codes[i]);
    for (const auto& from : codes) {
      for (const auto& to : codes) {
        Deliver(server::ExchangeHistoryReply(data, from, to), Op::GetListOfExchangeRate, [&] {
          LoadExchangeList(u"x", u"y");
          Check(!ExchangeTable.empty());
        });
        for (const auto& column : table.Columns) {
          if (column.empty())
            continue;
          for (int day : {column.front().Day, column.back().Day + 1}) {
            Deliver(server::ExchangeRateReply(data, from, to, day), Op::GetExchangeRate,
                    [&] { GetRateOnDate(u"x", u"y", 0); });
          }
          break;
        }
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  ScriptedConnection();
  ScopedLocaleSettings locale(LocaleFor(input.ConsumeIntegralInRange(0, 3)));
  std::map<std::string, std::string> files = BaseFiles();
  while (input.remaining_bytes() > 0) {
    const char* path = input.PickValueInArray(kPaths);
    if (input.ConsumeBool())
      files.erase(path);
    else
      files[path] = input.ConsumeRandomLengthString();
  }

  server::ServerData loaded;
  try {
    loaded = server::LoadServerData([&](std::string_view path) -> std::optional<std::string> {
      auto found = files.find(std::string(path));
      if (found == files.end())
        return std::nullopt;
      return found->second;
    });
  } catch (const server::DataError& e) {
    Check(std::string_view(e.what()).find(".csv") != std::string_view::npos);
    return 0;
  }
  AnswerEverything(loaded);
  MinimumWageTable = {};
  PriceIndexTable = {};
  FundsRateTable = {};
  ExchangeTable = {};
  return 0;
}
