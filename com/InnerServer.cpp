// The reference server's own object, writing its replies under the calling thread's locale, or the
// replay of a recording, finding each call by the calling thread's locale.
#include "InnerServer.h"

#include <filesystem>
#include <string>

#include "LocaleSettings.h"
#include "ReferenceServer.h"
#include "ReplayServer.h"
#include "SystemLocaleItems.h"
#include "Utf.h"

namespace serverdll {

namespace {

// Read at every call, on the calling thread: each apartment may run under its own thread locale,
// and a settings change on an open connection shows in the next reply, as the client's reading
// follows it.
quorvane::LocaleSettings CallingThreadLocaleSettings() {
  return quorvane::MakeLocaleSettings(quorvane::ReadThreadLocaleItems());
}

// The file the environment names for a replay; empty when none.
std::wstring RecordingFile() {
  wchar_t buffer[1024];
  const DWORD length = GetEnvironmentVariableW(kRecordingVariable, buffer, 1024);
  return length > 0 && length < 1024 ? std::wstring(buffer, length) : std::wstring();
}

}  // namespace

platform::ComPtr<quorvane::IQuorvaneAutomation> CreateInnerServer(HRESULT* status) {
  platform::ComPtr<quorvane::IQuorvaneAutomation> server;
  HRESULT made = E_FAIL;
  const std::wstring file = RecordingFile();
  if (file.empty()) {
    made = quorvane::server::CreateReferenceServer(CallingThreadLocaleSettings,
                                                   quorvane::IID_IQuorvaneAutomation,
                                                   reinterpret_cast<void**>(server.Put()));
  } else {
    try {
      auto recording = std::make_shared<const quorvane::server::Recording>(
          quorvane::server::ReadRecordingFile(std::filesystem::path(file)));
      made = quorvane::server::CreateReplayServer(recording, CallingThreadLocaleSettings,
                                                  quorvane::IID_IQuorvaneAutomation,
                                                  reinterpret_cast<void**>(server.Put()));
    } catch (const quorvane::server::RecordingError& e) {
      made = E_FAIL;
      quorvane::server::SetServerErrorInfo(u"The recording \"" +
                                               std::u16string(file.begin(), file.end()) +
                                               u"\" does not read: " + quorvane::FromUtf8(e.what()),
                                           quorvane::server::kReplayErrorSource);
    }
  }
  if (status != nullptr)
    *status = FAILED(made) ? made : S_OK;
  if (FAILED(made))
    return nullptr;
  return server;
}

}  // namespace serverdll
