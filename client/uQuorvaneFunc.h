#pragma once
// The one server reference of the process, its creation and release, the loaders of the catalogue
// lists and the dated series, the four series tables, and the rate on a date.

#include <string_view>
#include <vector>

#include "ComPtr.h"
#include "Quorvane_TLB.h"
#include "StringList.h"
#include "TextToValue.h"

namespace quorvane {

struct MinimumWageRec {
  TDate Date = 0;
  Currency mValue1;
  Currency mValue2;
};

struct DateValueRec {
  TDate Date = 0;
  Currency Value;
};

// Empty means not connected. Holds the process's only reference to the server object.
extern platform::ComPtr<IQuorvaneAutomation> ServerIntf;

extern std::vector<MinimumWageRec> MinimumWageTable;
extern std::vector<DateValueRec> PriceIndexTable;
extern std::vector<DateValueRec> FundsRateTable;
extern std::vector<DateValueRec> ExchangeTable;

// Never raises: every creation failure gives false and leaves ServerIntf as it was.
bool CreateServer();
// Releases the server reference; true also when none was held.
bool CloseServer();

// What Server() raises when there is no server object.
inline constexpr std::u16string_view kNoServerObject = u"No server object";
// The connected server; raises an Exception with kNoServerObject when there is none, so no
// operation is ever called through an empty reference.
IQuorvaneAutomation& Server();

void LoadCountryList(StringList& target);
void LoadFieldValues(std::u16string_view fieldName, StringList& target);
void LoadMinimumWage(std::u16string_view country);
void LoadPriceIndex(std::u16string_view country);
void LoadFundsRate(std::u16string_view country);
void LoadExchangeList(std::u16string_view fromCode, std::u16string_view toCode);
Currency GetRateOnDate(std::u16string_view fromCode, std::u16string_view toCode, TDateTime day);

// The four operations the window calls directly, each with the status check.
bool ServerGetVisible();
void ServerSetVisible(bool visible);
std::u16string ServerGetLIDCurrency(std::u16string_view fieldName, std::u16string_view value);
std::u16string ServerGetListOfExchangeRate(std::u16string_view fromCode,
                                           std::u16string_view toCode);

// Program end: empties ExchangeTable, MinimumWageTable, PriceIndexTable, FundsRateTable, in this
// order, then releases ServerIntf.
void FinalizeQuorvaneFunc();

}  // namespace quorvane
