#pragma once
// The reference server as a component: an object that implements IQuorvaneAutomation by the
// replies of Replies.h, and its class object, registered with the component runtime under the
// server's class id.

#include "Com.h"

namespace quorvane::server {

// The class object (an IClassFactory) for the server's class id, as a DLL's DllGetClassObject
// would hand it out.
HRESULT GetReferenceServerClassObject(REFIID riid, void** object);
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

// Makes the server creatable by CoCreateInstance with its class id (in-process).
ReferenceServerRegistration RegisterReferenceServer();

}  // namespace quorvane::server
