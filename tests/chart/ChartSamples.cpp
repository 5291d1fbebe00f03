// Writes the SVG charts of three built-in series, loaded from the embedded reference server through
// the client as the window loads them: the US price index from 1913, the RUB/USD daily history and
// the Bank Rate of the United Kingdom (steps, newest first as the server sends a funds rate). Each
// marks a day with the value its lookup shows: 2010-10-08, and for the Bank Rate 2008-10-08, the
// day of a cut, on which the lookup still shows the former rate.
// Usage: chart_samples DIR [WIDTH HEIGHT]
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "ChartSvg.h"
#include "Com.h"
#include "LocaleSettings.h"
#include "ReferenceServer.h"
#include "uQuorvaneFunc.h"

namespace {

using namespace quorvane;

bool Write(const std::string& path, const chart::ChartInput& input) {
  const std::string svg = chart::ChartSvg(chart::ChartModel(input).Picture());
  std::ofstream file(path, std::ios::binary);
  file << svg;
  std::printf("%s: %zu entries, %zu bytes\n", path.c_str(), input.Entries.size(), svg.size());
  return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 4) {
    std::fprintf(stderr, "usage: chart_samples DIR [WIDTH HEIGHT]\n");
    return 2;
  }
  const std::string dir = argv[1];
  const double width = argc == 4 ? std::atof(argv[2]) : 800;
  const double height = argc == 4 ? std::atof(argv[3]) : 450;

  CoInitialize(nullptr);
  server::ReferenceServerRegistration registration = server::RegisterReferenceServer();
  if (!CreateServer()) {
    std::fprintf(stderr, "chart_samples: no server object\n");
    return 1;
  }
  LocaleSettings russian;
  russian.ShortDateFormat = u"dd.MM.yyyy";
  russian.DateSeparator = u'.';
  russian.DecimalSeparator = u',';
  const TDate day = EncodeDay(2010, 10, 8);
  bool ok = true;

  auto input = [&](std::vector<chart::ChartEntry> entries, TDate chosen, Currency value,
                   std::u16string title) {
    chart::ChartInput in;
    in.Entries = std::move(entries);
    in.Width = width;
    in.Height = height;
    in.Measure = chart::SvgTextMeasure();
    in.Chosen = chart::ChosenDay{chosen, value};
    in.Title = std::move(title);
    return in;
  };

  {
    // The default settings (m/d/yy, "."). The price-index lookup: the latest entry on or before
    // the day, scanning from the first entry.
    LoadPriceIndex(u"United States");
    Currency value;
    for (const DateValueRec& entry : PriceIndexTable) {
      if (!(day >= entry.Date))
        break;
      value = entry.Value;
    }
    ok &= Write(dir + "/us-cpi.svg", input(chart::ChartEntries(PriceIndexTable), day, value,
                                           u"Consumer price index, United States"));
  }
  {
    ScopedLocaleSettings settings(russian);
    LoadExchangeList(u"RUB", u"USD");
    const Currency value = GetRateOnDate(u"RUB", u"USD", day);
    ok &= Write(dir + "/rub-usd.svg",
                input(chart::ChartEntries(ExchangeTable), day, value, u"RUB->USD"));
  }
  {
    ScopedLocaleSettings settings(russian);
    // The funds-rate lookup: from the last entry back to the first, while the day is after it.
    LoadFundsRate(u"United Kingdom");
    const TDate cut = EncodeDay(2008, 10, 8);
    Currency value;
    for (auto entry = FundsRateTable.rbegin(); entry != FundsRateTable.rend(); ++entry) {
      if (!(cut > entry->Date))
        break;
      value = entry->Value;
    }
    ok &= Write(dir + "/gb-funds-rate.svg", input(chart::ChartEntries(FundsRateTable), cut, value,
                                                  u"Federal funds rate, United Kingdom"));
  }
  FinalizeQuorvaneFunc();
  registration.Revoke();
  CoUninitialize();
  return ok ? 0 : 1;
}
