#include "DataVintageFacts.h"

#include <map>
#include <string>

#include "DataVintage.h"
#include "IsoDate.h"
#include "ServerData.h"

namespace quorvane {

AboutFacts DataVintageFacts() {
  AboutFacts facts;
  try {
    const server::DataVintage& vintage = server::BuiltInDataVintage();
    facts.CatalogueSource = QString::fromStdU16String(vintage.CatalogueSource);
    for (const server::SeriesVintage& series : vintage.Series) {
      if (series.Count == 0)
        continue;
      facts.DataVintage.append(
          QStringLiteral("%1, %2: %3")
              .arg(QString::fromStdU16String(series.Country),
                   QString::fromStdU16String(std::u16string(SeriesKindName(series.Kind))),
                   QString::fromStdString(IsoDateText(series.LastDay))));
    }
    // A rate table is one file of columns: its last observation is that of its latest column.
    std::map<std::string, int> tables;
    for (const server::RateColumnVintage& column : vintage.RateColumns)
      if (column.Count > 0)
        tables[column.File] = std::max(tables[column.File], column.LastDay);
    for (const auto& [file, lastDay] : tables)
      facts.DataVintage.append(
          QStringLiteral("rate table %1: %2")
              .arg(QString::fromStdString(file), QString::fromStdString(IsoDateText(lastDay))));
  } catch (const server::DataError& error) {
    facts.DataVintage.append(QStringLiteral("the built-in data do not read: ") +
                             QString::fromUtf8(error.what()));
  }
  return facts;
}

}  // namespace quorvane
