#include "uQuorvaneFunc.h"

#include <algorithm>
#include <optional>

#include "Characters.h"
#include "Errors.h"
#include "ServerCall.h"

namespace quorvane {

platform::ComPtr<IQuorvaneAutomation> ServerIntf;

std::vector<MinimumWageRec> MinimumWageTable;
std::vector<DateValueRec> PriceIndexTable;
std::vector<DateValueRec> FundsRateTable;
std::vector<DateValueRec> ExchangeTable;

bool CreateServer() {
  try {
    auto created = platform::ComPtr<IQuorvaneAutomation>::Adopt(CoQuorvaneAutomation::Create());
    if (!created)
      return false;
    // Counted up, written, and only then the former reference released; the temporary one
    // goes when `created` does.
    ServerIntf = created;
    return true;
  } catch (...) {
    return false;
  }
}

bool CloseServer() {
  ServerIntf.Reset();
  return true;
}

IQuorvaneAutomation& Server() {
  if (!ServerIntf)
    throw Exception(u"No server object");
  return *ServerIntf.Get();
}

namespace {

constexpr char16_t kSeriesDelimiter = u'|';

// The field before the first `separator` (empty when there is none), which is cut off `rest`
// together with the separator; `rest` stays whole when it holds no separator.
std::u16string_view CutAt(std::u16string_view& rest, char16_t separator) {
  const std::size_t at = rest.find(separator);
  if (at == std::u16string_view::npos)
    return {};
  const std::u16string_view field = rest.substr(0, at);
  rest.remove_prefix(at + 1);
  return field;
}

// Each field is stored the moment it is decoded, so a failing field leaves the ones before it.
void DecodeMinimumWage(std::u16string_view entry, MinimumWageRec& record) {
  record.Date = ReadDate(CutAt(entry, u'&'));
  record.mValue1 = ReadMoney(CutAt(entry, u'&'));
  record.mValue2 = ReadMoney(entry);
}

void DecodeDateValue(std::u16string_view entry, char16_t separator, DateValueRec& record) {
  record.Date = ReadDate(CutAt(entry, separator));
  record.Value = ReadMoney(entry);
}

// Sets the table's length to the number of entries (new records zero), then decodes entry i into
// record i, in order, stopping at the first error.
template <typename Record, typename Decode>
void FillTable(std::vector<Record>& table, const StringList& entries, Decode decode) {
  const int count = entries.Count();
  table.resize(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    decode(entries.Get(i), table[static_cast<std::size_t>(i)]);
}

using SeriesOperation = HRESULT (STDMETHODCALLTYPE IQuorvaneAutomation::*)(BSTR, BSTR*);

// Asks for a country's series and splits it at the vertical bar. The reply is split in place and
// freed before any record is made, which keeps the peak memory of a long series low.
void FetchSeries(SeriesOperation operation, std::u16string_view country, StringList& entries) {
  entries.SetDelimiter(kSeriesDelimiter);
  BStrResult reply;
  IQuorvaneAutomation& server = Server();
  CheckStatus((server.*operation)(BStrArg(country).Get(), reply.Put()));
  entries.SetDelimitedText(reply.View());
}

}  // namespace

void LoadCountryList(StringList& target) {
  target.Clear();
  BStrResult reply;
  IQuorvaneAutomation& server = Server();
  CheckStatus(server.GetCountryList(reply.Put()));
  const std::u16string_view text = reply.View();
  // An empty reply has no delimiter to read: it lists no country.
  if (text.empty())
    return;
  target.SetDelimiter(text.front());
  target.SetDelimitedText(text.substr(1));
  const int count = target.Count();
  for (int i = 0; i < count; ++i) {
    std::u16string name = target.Get(i);
    std::replace(name.begin(), name.end(), u'_', u' ');
    target.Put(i, std::move(name));
  }
}

void LoadFieldValues(std::u16string_view fieldName, StringList& target) {
  target.SetDelimiter(u',');
  BStrResult reply;
  IQuorvaneAutomation& server = Server();
  CheckStatus(server.GetFieldValueList(BStrArg(fieldName).Get(), reply.Put()));
  target.SetDelimitedText(reply.View());
  // Removes blank entries up to, not including, the last one, which stays as it is. On an empty
  // list the first test reads entry 0 and raises the list's index error.
  int i = 0;
  while (i != target.Count() - 1) {
    if (IsBlankText(target.Get(i)))
      target.Delete(i);
    else
      ++i;
  }
}

void LoadMinimumWage(std::u16string_view country) {
  StringList entries;
  FetchSeries(&IQuorvaneAutomation::GetMinimumWageList, country, entries);
  FillTable(MinimumWageTable, entries, DecodeMinimumWage);
}

void LoadPriceIndex(std::u16string_view country) {
  StringList entries;
  FetchSeries(&IQuorvaneAutomation::GetPriceIndexList, country, entries);
  FillTable(PriceIndexTable, entries, [](std::u16string_view entry, DateValueRec& record) {
    DecodeDateValue(entry, u'&', record);
  });
}

void LoadFundsRate(std::u16string_view country) {
  StringList entries;
  FetchSeries(&IQuorvaneAutomation::GetFundsRateList, country, entries);
  FillTable(FundsRateTable, entries, [](std::u16string_view entry, DateValueRec& record) {
    DecodeDateValue(entry, u'&', record);
  });
}

void LoadExchangeList(std::u16string_view fromCode, std::u16string_view toCode) {
  StringList entries;
  {
    BStrResult reply;
    IQuorvaneAutomation& server = Server();
    CheckStatus(
        server.GetListOfExchangeRate(BStrArg(fromCode).Get(), BStrArg(toCode).Get(), reply.Put()));
    const std::u16string_view text = reply.View();
    // The first character is the delimiter; an empty reply has none and lists no rate.
    if (!text.empty()) {
      entries.SetDelimiter(text.front());
      entries.SetDelimitedText(text.substr(1));
    }
  }
  FillTable(ExchangeTable, entries, [](std::u16string_view entry, DateValueRec& record) {
    DecodeDateValue(entry, u'=', record);
  });
}

Currency GetRateOnDate(std::u16string_view fromCode, std::u16string_view toCode, TDateTime day) {
  std::u16string reply;
  {
    BStrResult result;
    IQuorvaneAutomation& server = Server();
    CheckStatus(
        server.GetExchangeRate(BStrArg(fromCode).Get(), BStrArg(toCode).Get(), day, result.Put()));
    reply = result.Text();
  }
  // Each test looks at the first character of the text as the test before it left it.
  std::u16string_view rest = reply;
  std::optional<Currency> rate;
  if (!rest.empty() && rest.front() == u'F')
    rate = Currency{10000};
  if (!rest.empty() && rest.front() == u'N') {
    if (const std::size_t at = rest.find(u'='); at != std::u16string_view::npos)
      rest.remove_prefix(at + 1);
    rate = ReadMoney(rest);
  }
  if (!rest.empty() && rest.front() == u'C') {
    if (const std::size_t at = rest.find(u':'); at != std::u16string_view::npos)
      rest.remove_prefix(at + 1);
    rate = ReadMoney(rest);
  }
  if (!rate)
    throw EConvertError(FillTemplate(u"Unexpected exchange-rate reply: '%s'", {reply}));
  return *rate;
}

bool ServerGetVisible() {
  VARIANT_BOOL visible = VARIANT_FALSE;
  IQuorvaneAutomation& server = Server();
  CheckStatus(server.Get_Visible(&visible));
  return visible != 0;
}

void ServerSetVisible(bool visible) {
  IQuorvaneAutomation& server = Server();
  CheckStatus(server.Set_Visible(visible ? VARIANT_TRUE : VARIANT_FALSE));
}

std::u16string ServerGetLIDCurrency(std::u16string_view fieldName, std::u16string_view value) {
  BStrResult result;
  IQuorvaneAutomation& server = Server();
  CheckStatus(server.GetLIDCurrency(BStrArg(fieldName).Get(), BStrArg(value).Get(), result.Put()));
  return result.Text();
}

std::u16string ServerGetListOfExchangeRate(std::u16string_view fromCode,
                                           std::u16string_view toCode) {
  BStrResult result;
  IQuorvaneAutomation& server = Server();
  CheckStatus(
      server.GetListOfExchangeRate(BStrArg(fromCode).Get(), BStrArg(toCode).Get(), result.Put()));
  return result.Text();
}

void FinalizeQuorvaneFunc() {
  ExchangeTable = {};
  MinimumWageTable = {};
  PriceIndexTable = {};
  FundsRateTable = {};
  ServerIntf.Reset();
}

}  // namespace quorvane
