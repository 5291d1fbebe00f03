#pragma once
// Small helpers of the server tests: locale settings by their three date and number items, and
// data files held in memory.

#include <map>
#include <string>

#include "LocaleSettings.h"
#include "ServerData.h"

namespace servertest {

inline quorvane::LocaleSettings Settings(std::u16string pattern, char16_t dateSeparator,
                                         char16_t decimalSeparator) {
  quorvane::LocaleSettings settings;
  settings.ShortDateFormat = std::move(pattern);
  settings.DateSeparator = dateSeparator;
  settings.DecimalSeparator = decimalSeparator;
  settings.ThousandSeparator = decimalSeparator == u'.' ? u',' : u'.';
  return settings;
}

inline quorvane::server::FileSource MemoryFiles(std::map<std::string, std::string> files) {
  return [files = std::move(files)](std::string_view path) -> std::optional<std::string> {
    auto found = files.find(std::string(path));
    if (found == files.end())
      return std::nullopt;
    return found->second;
  };
}

// A small data set with every shape the replies have: an hourly and a monthly minimum wage, a
// country with only some series, a catalogue with spaces, commas and quotes in its values, and
// two rate tables.
inline quorvane::server::ServerData SmallData() {
  return quorvane::server::LoadServerData(MemoryFiles({
      {"series/countries.csv",
       "code,name\nRU,Russia\nUS,United States\nEU,Euro area\nXX,Nowhere\n"},
      {"series/RU/min_wage.csv", "date,value\n2009-01-01,4330\n2011-06-01,4611\n"},
      {"series/RU/funds_rate.csv", "date,value\n2013-09-17,5.5\n2014-03-03,7\n2014-04-28,7.5\n"},
      {"series/US/min_wage_hourly.csv", "date,value\n2007-07-24,5.85\n2009-07-24,7.25\n"},
      {"series/US/min_wage.csv", "date,value\n2007-07-24,1014\n2009-07-24,1256.67\n"},
      {"series/US/cpi.csv", "date,value\n2010-01-01,216.687\n2010-02-01,216.741\n"},
      {"series/EU/cpi.csv", "date,value\n1996-01-01,70.4\n"},
      {"rates/usd_daily.csv",
       "date,EUR,RUB,GBP\n"
       "2010-10-01,0.7325,30.2,0.63\n"
       "2010-10-04,0.73,,0.631\n"
       "2010-10-05,,30.5,\n"
       "2010-10-06,0.72,30.4,0.635\n"},
      {"rates/eur_daily.csv", "date,USD,GBP\n2010-10-01,1.3651,0.867\n2010-10-04,1.37,0.868\n"},
      {"catalogue.csv",
       "LetterCode,Currency_International,CurrencyShrt_International,NumericCode,"
       "CountryName_National,CountryName_International,Currency_National,CurrencyShrt_National\n"
       "BYN,Belarusian Ruble,BYN,933,Беларусь,Belarus,беларускі рубель,Br\n"
       "EUR,Euro,€,978,European Union,European Union,Euro,€\n"
       "GBP,British Pound,£,826,United Kingdom,United Kingdom,British Pound,£\n"
       "RUB,Russian Ruble,₽,643,Россия,Russia,российский рубль,₽\n"
       "USD,US Dollar,$,840,United States,United States,US Dollar,$\n"
       "XYZ,\"Test, with comma\",\"\"\"q\",001,A\"b,Tab\tName,x y,z\n"},
  }));
}

}  // namespace servertest
