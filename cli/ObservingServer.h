#pragma once
// A stand-in between the client and a server object that passes every call on and notes what the
// server did: the status, the reply, whether it left error information on the thread (which is
// put back for the client's status check), and how long the server took.

#include <chrono>
#include <optional>
#include <string>

#include "ComPtr.h"
#include "Quorvane_TLB.h"

namespace quorvane::cli {

struct ObservedCall {
  std::string operation;
  HRESULT status = S_OK;
  std::u16string reply;
  bool replyWasNull = true;
  bool errorInfoLeft = false;
  std::u16string errorDescription;
  std::chrono::nanoseconds elapsed{0};
};

// A new observer with one reference; it holds a reference to `inner` until it goes.
IQuorvaneAutomation* NewObservingServer(IQuorvaneAutomation* inner, ObservedCall& last);

}  // namespace quorvane::cli
