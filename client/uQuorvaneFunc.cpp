#include "uQuorvaneFunc.h"

#include <algorithm>
#include <optional>

#include "CallLog.h"
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
  const auto startedAt = std::chrono::system_clock::now();
  const auto started = std::chrono::steady_clock::now();
  HRESULT status = S_OK;
  std::u16string description;
  bool created = false;
  try {
    auto object = platform::ComPtr<IQuorvaneAutomation>::Adopt(CoQuorvaneAutomation::Create());
    if (object) {
      // Counted up, written, and only then the former reference released; the temporary one
      // goes when `object` does.
      ServerIntf = object;
      created = true;
    } else {
      status = E_POINTER;
    }
  } catch (const ECreateError& e) {
    status = e.Status();
    description = e.Message();
  } catch (const Exception& e) {
    status = E_FAIL;
    description = e.Message();
  } catch (...) {
    status = E_FAIL;
  }
  TheCallLog().AddCreation(platform::GuidToString(CLASS_CoQuorvaneAutomation), status, description,
                           startedAt, std::chrono::steady_clock::now() - started);
  return created;
}

bool CloseServer() {
  ServerIntf.Reset();
  return true;
}

IQuorvaneAutomation& Server() {
  if (!ServerIntf)
    throw Exception(std::u16string(kNoServerObject));
  if (!TheCallLog().Enabled())
    return *ServerIntf.Get();
  // One observer for the process, passing each call to whatever ServerIntf holds at the time.
  static IQuorvaneAutomation* const logged = NewObservingServer(
      [] { return ServerIntf; }, [](const ObservedCall& call) { TheCallLog().Add(call); });
  return *logged;
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

// Reads the dates and values of one reply, with the settings looked up once.
class EntryReader {
 public:
  EntryReader()
      : dates_(CurrentLocaleSettings()),
        decimalSeparator_(CurrentLocaleSettings().DecimalSeparator) {}
  TDate Date(std::u16string_view text) const { return dates_.Read(text); }
  Currency Money(std::u16string_view text) const { return ReadMoney(text, decimalSeparator_); }

 private:
  DateReader dates_;
  char16_t decimalSeparator_;
};

// Each field is stored the moment it is decoded, so a failing field leaves the ones before it.
void DecodeMinimumWage(const EntryReader& read, std::u16string_view entry, MinimumWageRec& record) {
  record.Date = read.Date(CutAt(entry, u'&'));
  record.mValue1 = read.Money(CutAt(entry, u'&'));
  record.mValue2 = read.Money(entry);
}

void DecodeDateValue(const EntryReader& read, std::u16string_view entry, char16_t separator,
                     DateValueRec& record) {
  record.Date = read.Date(CutAt(entry, separator));
  record.Value = read.Money(entry);
}

// Splits the reply as a fresh string list with this delimiter would, sets the table's length to
// the number of entries (new records zero), then decodes entry i into record i, in order, stopping
// at the first error. The entries are views of the reply (a quoted one is unquoted into a buffer of
// the splitter), so no string is made per entry.
template <typename Record, typename Decode>
void FillTable(std::vector<Record>& table, std::u16string_view reply, char16_t delimiter,
               Decode decode) {
  std::u16string_view entry;
  std::size_t count = 0;
  for (DelimitedEntries entries(reply, delimiter, kDefaultQuoteChar); entries.Next(entry);)
    ++count;
  table.resize(count);
  const EntryReader read;
  DelimitedEntries entries(reply, delimiter, kDefaultQuoteChar);
  for (Record& record : table) {
    entries.Next(entry);
    decode(read, entry, record);
  }
}

using SeriesOperation = HRESULT (STDMETHODCALLTYPE IQuorvaneAutomation::*)(BSTR, BSTR*);

// Asks for a country's series and decodes it, entry by entry, straight from the reply.
template <typename Record, typename Decode>
void LoadSeries(SeriesOperation operation, std::u16string_view country, std::vector<Record>& table,
                Decode decode) {
  BStrResult reply;
  IQuorvaneAutomation& server = Server();
  CheckStatus((server.*operation)(BStrArg(country).Get(), reply.Put()));
  FillTable(table, reply.View(), kSeriesDelimiter, decode);
}

}  // namespace

void LoadCountryList(StringList& target) {
  // One change for the list's observer, however many entries the names below change.
  const StringList::Update update(target);
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
  // The split and the removal of blank entries are one change for the list's observer.
  const StringList::Update update(target);
  // Blank entries up to, not including, the last one are left out as they are split, which is
  // what removing them one by one after the split would leave.
  target.SetDelimitedTextLeavingOut(reply.View(), IsBlankText);
  // The removal's first test reads entry 0, so an empty list raises the list's index error.
  if (target.Count() == 0)
    target.Get(0);
}

void LoadMinimumWage(std::u16string_view country) {
  LoadSeries(&IQuorvaneAutomation::GetMinimumWageList, country, MinimumWageTable,
             DecodeMinimumWage);
}

void LoadPriceIndex(std::u16string_view country) {
  LoadSeries(&IQuorvaneAutomation::GetPriceIndexList, country, PriceIndexTable,
             [](const EntryReader& read, std::u16string_view entry, DateValueRec& record) {
               DecodeDateValue(read, entry, u'&', record);
             });
}

void LoadFundsRate(std::u16string_view country) {
  LoadSeries(&IQuorvaneAutomation::GetFundsRateList, country, FundsRateTable,
             [](const EntryReader& read, std::u16string_view entry, DateValueRec& record) {
               DecodeDateValue(read, entry, u'&', record);
             });
}

void LoadExchangeList(std::u16string_view fromCode, std::u16string_view toCode) {
  BStrResult reply;
  IQuorvaneAutomation& server = Server();
  CheckStatus(
      server.GetListOfExchangeRate(BStrArg(fromCode).Get(), BStrArg(toCode).Get(), reply.Put()));
  // The first character is the delimiter; an empty reply has none and lists no rate.
  const std::u16string_view text = reply.View();
  const char16_t delimiter = text.empty() ? kDefaultDelimiter : text.front();
  FillTable(ExchangeTable, text.empty() ? text : text.substr(1), delimiter,
            [](const EntryReader& read, std::u16string_view entry, DateValueRec& record) {
              DecodeDateValue(read, entry, u'=', record);
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
