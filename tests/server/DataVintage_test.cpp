// The spans of the data: first and last observation of each series and rate column.
#include <gtest/gtest.h>

#include "DataVintage.h"
#include "IsoDate.h"
#include "ServerTestSupport.h"
#include "Utf.h"

namespace {

using quorvane::IsoDateText;
using quorvane::SeriesKind;

std::string Span(std::size_t count, int first, int last) {
  if (count == 0)
    return "none";
  return std::to_string(count) + " " + IsoDateText(first) + ".." + IsoDateText(last);
}

TEST(DataVintage, NamesFirstAndLastObservationOfEverySeriesAndColumn) {
  auto data = quorvane::server::LoadServerData(servertest::MemoryFiles({
      {"series/countries.csv", "code,name\nUS,United States\nXX,Nowhere\n"},
      {"series/US/min_wage_hourly.csv", "date,value\n2007-07-24,5.85\n2009-07-24,7.25\n"},
      {"series/US/min_wage.csv", "date,value\n2007-07-24,1014\n2009-07-24,1256.67\n"},
      {"series/US/funds_rate.csv", "date,value\n2020-03-01,0.65\n"},
      {"series/XX/cpi.csv", "date,value\n"},
      // A column whose first and last rows are empty, and one without any observation.
      {"rates/usd_daily.csv",
       "date,EUR,RUB,GBP\n2010-10-01,,30.2,\n2010-10-04,0.73,30.1,\n2010-10-05,0.72,,\n"},
      {"rates/eur_daily.csv", "date,USD\n2010-10-01,1.3651\n"},
  }));
  auto vintage = quorvane::server::VintageOf(data);

  struct SeriesCase {
    const char16_t* country;
    SeriesKind kind;
    const char* file;
    std::string span;
  };
  const SeriesCase series[] = {
      {u"United States", SeriesKind::MinimumWage, "series/US/min_wage.csv",
       "2 2007-07-24..2009-07-24"},
      {u"United States", SeriesKind::FundsRate, "series/US/funds_rate.csv",
       "1 2020-03-01..2020-03-01"},
      {u"Nowhere", SeriesKind::PriceIndex, "series/XX/cpi.csv", "none"},
  };
  ASSERT_EQ(vintage.Series.size(), std::size(series));
  for (std::size_t i = 0; i < std::size(series); ++i) {
    const auto& got = vintage.Series[i];
    EXPECT_EQ(got.Country, series[i].country) << i;
    EXPECT_EQ(got.Kind, series[i].kind) << i;
    EXPECT_EQ(got.File, series[i].file) << i;
    EXPECT_EQ(Span(got.Count, got.FirstDay, got.LastDay), series[i].span) << i;
  }

  struct ColumnCase {
    const char16_t *base, *code;
    std::string span;
  };
  const ColumnCase columns[] = {
      {u"USD", u"EUR", "2 2010-10-04..2010-10-05"},
      {u"USD", u"RUB", "2 2010-10-01..2010-10-04"},
      {u"USD", u"GBP", "none"},
      {u"EUR", u"USD", "1 2010-10-01..2010-10-01"},
  };
  ASSERT_EQ(vintage.RateColumns.size(), std::size(columns));
  for (std::size_t i = 0; i < std::size(columns); ++i) {
    const auto& got = vintage.RateColumns[i];
    EXPECT_EQ(got.Base, columns[i].base) << i;
    EXPECT_EQ(got.Code, columns[i].code) << i;
    EXPECT_EQ(Span(got.Count, got.FirstDay, got.LastDay), columns[i].span) << i;
  }
  EXPECT_EQ(vintage.RateColumns[3].File, "rates/eur_daily.csv");
  EXPECT_TRUE(vintage.CatalogueSource.empty());
}

TEST(DataVintage, BuiltInDataNameTheCataloguesSource) {
  const auto& vintage = quorvane::server::BuiltInDataVintage();
  EXPECT_EQ(quorvane::ToUtf8(vintage.CatalogueSource), "Unicode CLDR 42 via ICU 72.1");
  EXPECT_FALSE(vintage.Series.empty());
  EXPECT_FALSE(vintage.RateColumns.empty());
}

}  // namespace
