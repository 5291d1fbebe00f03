#pragma once
// The reference server as a component: an object that implements IQuorvaneAutomation by the
// replies of Replies.h, and its class object, registered with the component runtime under the
// server's class id.

#include <string_view>

#include "Com.h"
#include "LocaleSettings.h"

namespace quorvane::server {

// Where a server object takes the locale settings that one call's reply is written under; asked
// at every operation that writes dates or numbers.
using LocaleSettingsSource = LocaleSettings (*)();

// The class object (an IClassFactory) for the server's class id. Its objects write under the
// client's process-wide settings: the server embedded in the client's own process.
HRESULT GetReferenceServerClassObject(REFIID riid, void** object);
// A server object that writes under the settings its source gives at each call (a DLL used from
// several threads, each with its own locale).
HRESULT CreateReferenceServer(LocaleSettingsSource source, REFIID riid, void** object);
// Server objects and class-object locks alive; a DLL may unload when it is 0.
long ReferenceServerUseCount();

// Registers the class object with the runtime for this process and revokes it on destruction.
class ReferenceServerRegistration {
 public:
  ReferenceServerRegistration() = default;
  explicit ReferenceServerRegistration(HRESULT status, DWORD cookie)
      : status_(status), cookie_(cookie) {}
  ReferenceServerRegistration(ReferenceServerRegistration&& other) noexcept;
  ReferenceServerRegistration& operator=(ReferenceServerRegistration&& other) noexcept;
  ~ReferenceServerRegistration();

  bool Registered() const { return SUCCEEDED(status_) && cookie_ != 0; }
  HRESULT Status() const { return status_; }
  void Revoke();

 private:
  HRESULT status_ = E_FAIL;
  DWORD cookie_ = 0;
};

// Sets the thread's error information for a failure of the interface: description and source.
void SetServerErrorInfo(std::u16string_view description, std::u16string_view source);

// Makes the server creatable by CoCreateInstance with its class id (in-process).
ReferenceServerRegistration RegisterReferenceServer();

}  // namespace quorvane::server
