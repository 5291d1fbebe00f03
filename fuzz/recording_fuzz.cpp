// Arbitrary bytes as a recording: the reader gives a recording or a RecordingError, nothing else;
// a recording it reads writes out as a text that reads back to the same text; and the replay of
// it answers each recorded call with the recorded status.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "ComPtr.h"
#include "FuzzInput.h"
#include "QuorvaneInterface.h"
#include "Recording.h"
#include "ReplayServer.h"

namespace {

using namespace quorvane;
using fuzzinput::Check;

server::RecordedLocale g_locale;

LocaleSettings FuzzedLocale() {
  return server::WithRecordedLocale(LocaleSettings{}, g_locale);
}

HRESULT Call(IQuorvaneAutomation& replay, const server::RecordedCall& call) {
  const auto text = [&](std::size_t i) { return platform::AllocBstr(call.arguments[i].text); };
  BSTR result = nullptr;
  HRESULT status = E_FAIL;
  const std::string& op = call.operation;
  if (op == "Get_Visible") {
    VARIANT_BOOL value = VARIANT_FALSE;
    status = replay.Get_Visible(&value);
  } else if (op == "Set_Visible") {
    status = replay.Set_Visible(call.arguments[0].truth ? VARIANT_TRUE : VARIANT_FALSE);
  } else if (op == "GetCountryList") {
    status = replay.GetCountryList(&result);
  } else if (call.arguments.size() == 1) {
    BSTR a = text(0);
    status = op == "GetMinimumWageList"  ? replay.GetMinimumWageList(a, &result)
             : op == "GetPriceIndexList" ? replay.GetPriceIndexList(a, &result)
             : op == "GetFundsRateList"  ? replay.GetFundsRateList(a, &result)
                                         : replay.GetFieldValueList(a, &result);
    SysFreeString(a);
  } else {
    BSTR a = text(0), b = text(1);
    status = op == "GetListOfExchangeRate" ? replay.GetListOfExchangeRate(a, b, &result)
             : op == "GetLIDCurrency"
                 ? replay.GetLIDCurrency(a, b, &result)
                 : replay.GetExchangeRate(a, b, call.arguments[2].date, &result);
    SysFreeString(a);
    SysFreeString(b);
  }
  SysFreeString(result);
  return status;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const server::RecordingLimits limits{1 << 20, 1 << 16, 64};
  std::shared_ptr<server::Recording> recording;
  try {
    recording = std::make_shared<server::Recording>(server::ReadRecording(text, limits));
  } catch (const server::RecordingError&) {
    return 0;
  }
  const std::string written = server::RecordingText(*recording);
  Check(server::RecordingText(server::ReadRecording(written)) == written);

  platform::ComPtr<IQuorvaneAutomation> replay;
  Check(server::CreateReplayServer(recording, FuzzedLocale, IID_IQuorvaneAutomation,
                                   reinterpret_cast<void**>(replay.Put())) == S_OK);
  // Only the first call of each key is sure to be answered as recorded.
  std::vector<std::string> asked;
  for (const server::RecordedCall& call : recording->calls) {
    const std::string key = server::RecordedCallKey(call.operation, call.arguments, call.locale);
    const bool first = std::find(asked.begin(), asked.end(), key) == asked.end();
    asked.push_back(key);
    g_locale = call.locale;
    const HRESULT status = Call(*replay.Get(), call);
    Check(!first || status == static_cast<HRESULT>(call.status));
  }
  return 0;
}
