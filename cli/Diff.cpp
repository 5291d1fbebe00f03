#include "Diff.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "CallLog.h"
#include "CallRecorder.h"
#include "CheckReport.h"
#include "IsoDate.h"
#include "Output.h"
#include "ServerCall.h"
#include "StringList.h"
#include "Utf.h"
#include "uQuorvaneFunc.h"

namespace quorvane::cli {

namespace {

using server::RecordedArgument;
using server::RecordedCall;

// A decoded series entry: its date and its values.
struct Entry {
  double date = 0;
  std::vector<Currency> values;
};

// What one side answered to one call, as the client sees it.
struct Outcome {
  HRESULT status = S_OK;
  bool errorInfo = false;
  std::u16string description;
  std::optional<std::string> decodeError;
  enum class Shape { Nothing, Value, List, Entries } shape = Shape::Nothing;
  std::string value;
  std::vector<std::u16string> list;
  std::vector<Entry> entries;
};

template <typename Record>
std::vector<Entry> EntriesOf(const std::vector<Record>& table) {
  std::vector<Entry> entries;
  for (const Record& record : table) {
    if constexpr (requires { record.mValue1; })
      entries.push_back({record.Date, {record.mValue1, record.mValue2}});
    else
      entries.push_back({record.Date, {record.Value}});
  }
  return entries;
}

std::vector<std::u16string> ItemsOf(const StringList& list) {
  std::vector<std::u16string> items;
  for (int i = 0; i < list.Count(); ++i)
    items.push_back(list.Get(i));
  return items;
}

// Makes the call through the client's loader for its operation and keeps what it decoded.
void Decode(const RecordedCall& call, Outcome& outcome) {
  const auto text = [&](std::size_t i) -> std::u16string_view { return call.arguments[i].text; };
  const std::string& op = call.operation;
  using Shape = Outcome::Shape;
  if (op == "Get_Visible") {
    outcome.value = ServerGetVisible() ? "true" : "false";
    outcome.shape = Shape::Value;
  } else if (op == "Set_Visible") {
    ServerSetVisible(call.arguments[0].truth);
  } else if (op == "GetCountryList" || op == "GetFieldValueList") {
    StringList list;
    if (op == "GetCountryList")
      LoadCountryList(list);
    else
      LoadFieldValues(text(0), list);
    outcome.list = ItemsOf(list);
    outcome.shape = Shape::List;
  } else if (op == "GetMinimumWageList") {
    LoadMinimumWage(text(0));
    outcome.entries = EntriesOf(MinimumWageTable);
    outcome.shape = Shape::Entries;
  } else if (op == "GetPriceIndexList") {
    LoadPriceIndex(text(0));
    outcome.entries = EntriesOf(PriceIndexTable);
    outcome.shape = Shape::Entries;
  } else if (op == "GetFundsRateList") {
    LoadFundsRate(text(0));
    outcome.entries = EntriesOf(FundsRateTable);
    outcome.shape = Shape::Entries;
  } else if (op == "GetListOfExchangeRate") {
    LoadExchangeList(text(0), text(1));
    outcome.entries = EntriesOf(ExchangeTable);
    outcome.shape = Shape::Entries;
  } else if (op == "GetLIDCurrency") {
    outcome.value = ToUtf8(ServerGetLIDCurrency(text(0), text(1)));
    outcome.shape = Shape::Value;
  } else if (op == "GetExchangeRate") {
    outcome.value = PlainMoney(GetRateOnDate(text(0), text(1), call.arguments[2].date));
    outcome.shape = Shape::Value;
  }
}

Outcome Ask(const DiffSide& side, const RecordedCall& call) {
  Outcome outcome;
  bool called = false;
  ServerIntf = platform::ComPtr<IQuorvaneAutomation>::Adopt(
      NewObservingServer(side.server.Get(), [&](const ObservedCall& observed) {
        called = true;
        outcome.status = observed.status;
        outcome.errorInfo = observed.errorInfoLeft;
        outcome.description = observed.errorDescription;
      }));
  try {
    Decode(call, outcome);
  } catch (const EServerCallError&) {
    // What the server said is in the outcome already.
  } catch (const std::exception& e) {
    outcome.decodeError = e.what();
  }
  if (!called && !outcome.decodeError)
    outcome.decodeError = "no server call was made";
  return outcome;
}

std::string EntryValues(const Entry& entry) {
  std::string text;
  for (const Currency& value : entry.values)
    text += (text.empty() ? "" : " ") + PlainMoney(value);
  return text;
}

std::string StatusShown(HRESULT status) {
  std::string text = StatusHex(status);
  if (static_cast<std::int32_t>(status) == server::kNotRecordedStatus)
    text += " (not recorded)";
  return text;
}

void CompareEntries(const std::vector<Entry>& a, const std::vector<Entry>& b,
                    std::vector<Difference>& out) {
  // By date, and by position among entries of the same date.
  using Key = std::pair<double, std::size_t>;
  const auto keyed = [](const std::vector<Entry>& entries) {
    std::map<Key, const Entry*> map;
    std::map<double, std::size_t> seen;
    for (const Entry& entry : entries)
      map[{entry.date, seen[entry.date]++}] = &entry;
    return map;
  };
  const auto left = keyed(a), right = keyed(b);
  auto l = left.begin();
  auto r = right.begin();
  while (l != left.end() || r != right.end()) {
    if (r == right.end() || (l != left.end() && l->first < r->first)) {
      out.push_back({"entry removed", IsoDateText(l->first.first), EntryValues(*l->second), ""});
      ++l;
    } else if (l == left.end() || r->first < l->first) {
      out.push_back({"entry added", IsoDateText(r->first.first), "", EntryValues(*r->second)});
      ++r;
    } else {
      const std::string va = EntryValues(*l->second), vb = EntryValues(*r->second);
      if (va != vb)
        out.push_back({"entry changed", IsoDateText(l->first.first), va, vb});
      ++l;
      ++r;
    }
  }
}

void CompareLists(const std::vector<std::u16string>& a, const std::vector<std::u16string>& b,
                  std::vector<Difference>& out) {
  const std::multiset<std::u16string> left(a.begin(), a.end()), right(b.begin(), b.end());
  std::vector<std::u16string> removed, added;
  std::set_difference(left.begin(), left.end(), right.begin(), right.end(),
                      std::back_inserter(removed));
  std::set_difference(right.begin(), right.end(), left.begin(), left.end(),
                      std::back_inserter(added));
  for (const std::u16string& item : removed)
    out.push_back({"item removed", ToUtf8(item), ToUtf8(item), ""});
  for (const std::u16string& item : added)
    out.push_back({"item added", ToUtf8(item), "", ToUtf8(item)});
  if (removed.empty() && added.empty() && a != b)
    out.push_back({"order changed", "", "", ""});
}

std::vector<Difference> Compare(const Outcome& a, const Outcome& b) {
  std::vector<Difference> out;
  if (a.status != b.status) {
    out.push_back({"status", "", StatusShown(a.status), StatusShown(b.status)});
    return out;
  }
  if (a.errorInfo != b.errorInfo || a.description != b.description) {
    const auto shown = [](const Outcome& o) {
      return o.errorInfo ? ToUtf8(o.description) : std::string("(no error information)");
    };
    out.push_back({"error text", "", shown(a), shown(b)});
  }
  if (FAILED(a.status))
    return out;
  if (a.decodeError || b.decodeError) {
    if (a.decodeError && b.decodeError) {
      if (*a.decodeError != *b.decodeError)
        out.push_back({"does not decode", "", *a.decodeError, *b.decodeError});
    } else {
      out.push_back({"decodes on one side only", "",
                     a.decodeError ? "does not decode: " + *a.decodeError : "decodes",
                     b.decodeError ? "does not decode: " + *b.decodeError : "decodes"});
    }
    return out;
  }
  switch (a.shape) {
    case Outcome::Shape::Value:
      if (a.value != b.value)
        out.push_back({"value", "", a.value, b.value});
      break;
    case Outcome::Shape::List:
      CompareLists(a.list, b.list, out);
      break;
    case Outcome::Shape::Entries:
      CompareEntries(a.entries, b.entries, out);
      break;
    case Outcome::Shape::Nothing:
      break;
  }
  return out;
}

}  // namespace

std::vector<ComparedCall> CompareServers(const DiffSide& a, const DiffSide& b) {
  // A's calls in order, then B's beyond them: the k-th call of a key on one side meets the k-th
  // of the same key on the other.
  std::vector<const RecordedCall*> calls;
  std::map<std::string, std::size_t> inA;
  if (a.recording)
    for (const RecordedCall& call : a.recording->calls) {
      calls.push_back(&call);
      ++inA[server::RecordedCallKey(call.operation, call.arguments, call.locale)];
    }
  if (b.recording) {
    std::map<std::string, std::size_t> inB;
    for (const RecordedCall& call : b.recording->calls) {
      const std::string key = server::RecordedCallKey(call.operation, call.arguments, call.locale);
      if (++inB[key] > inA[key])
        calls.push_back(&call);
    }
  }

  const platform::ComPtr<IQuorvaneAutomation> saved = ServerIntf;
  const LocaleSettings settings = CurrentLocaleSettings();
  std::vector<ComparedCall> compared;
  try {
    for (const RecordedCall* call : calls) {
      SetLocaleSettings(server::WithRecordedLocale(settings, call->locale));
      const Outcome left = Ask(a, *call);
      const Outcome right = Ask(b, *call);
      compared.push_back({server::RecordedCallText(call->operation, call->arguments),
                          server::RecordedLocaleText(call->locale), Compare(left, right)});
    }
  } catch (...) {
    ServerIntf = saved;
    SetLocaleSettings(settings);
    throw;
  }
  ServerIntf = saved;
  SetLocaleSettings(settings);
  return compared;
}

}  // namespace quorvane::cli
