// The reference server's own object, writing its replies under the calling thread's locale.
#include "InnerServer.h"

#include "LocaleSettings.h"
#include "ReferenceServer.h"
#include "SystemLocaleItems.h"

namespace serverdll {

namespace {

// Read at every call, on the calling thread: each apartment may run under its own thread locale,
// and a settings change on an open connection shows in the next reply, as the client's reading
// follows it.
quorvane::LocaleSettings CallingThreadLocaleSettings() {
  return quorvane::MakeLocaleSettings(quorvane::ReadThreadLocaleItems());
}

}  // namespace

platform::ComPtr<quorvane::IQuorvaneAutomation> CreateInnerServer() {
  platform::ComPtr<quorvane::IQuorvaneAutomation> server;
  if (FAILED(quorvane::server::CreateReferenceServer(CallingThreadLocaleSettings,
                                                     quorvane::IID_IQuorvaneAutomation,
                                                     reinterpret_cast<void**>(server.Put()))))
    return nullptr;
  return server;
}

}  // namespace serverdll
