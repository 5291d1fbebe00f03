#pragma once
// The server's automation interface (QuorvaneInterface.h) and its creator.

#include <string>
#include <string_view>

#include "Errors.h"

#include "QuorvaneInterface.h"

namespace quorvane {

// A creation that failed: the message, and the runtime's status (E_NOINTERFACE when the object
// lacks the interface).
class ECreateError : public Exception {
 public:
  ECreateError(HRESULT status, std::u16string message)
      : Exception(std::move(message)), status_(status) {}
  HRESULT Status() const { return status_; }

 private:
  HRESULT status_;
};

// Makes server objects. Create raises an ECreateError with the creation message on failure; the
// caller gets a counted reference. CreateRemote does the same on the named machine, with the same
// messages; where the runtime reaches no other machine it raises that it cannot.
class CoQuorvaneAutomation {
 public:
  // The class context is the window's 5 (in process or a local server) unless a caller narrows it.
  static IQuorvaneAutomation* Create(DWORD classContext = CLSCTX_INPROC_SERVER |
                                                          CLSCTX_LOCAL_SERVER);
  static IQuorvaneAutomation* CreateRemote(std::u16string_view machineName);
};

}  // namespace quorvane
