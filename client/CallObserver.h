#pragma once
// A stand-in between the client and a server object that passes every call on and tells a sink
// what happened: the operation, its arguments, the status, the reply, whether the server left
// error information on the thread (put back for the client's own status check), and the time.

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ComPtr.h"
#include "Quorvane_TLB.h"

namespace quorvane {

// One argument of an operation as the client passed it.
struct CallArgument {
  enum class Kind { Text, Date, Truth };
  Kind kind = Kind::Text;
  std::u16string text;  // Text
  double date = 0;      // Date: the date number as passed
  bool truth = false;   // Truth
};

struct ObservedCall {
  std::string operation;  // the function-table name: "GetCountryList", "Set_Visible", ...
  std::vector<CallArgument> arguments;
  HRESULT status = S_OK;
  // The text reply (a BSTR result), or for Get_Visible "true" or "false". Only a view: valid while
  // the sink runs.
  std::u16string_view reply;
  bool replyWasNull = true;  // no reply was written (always so for a failure)
  bool errorInfoLeft = false;
  std::u16string errorDescription;
  std::u16string errorSource;
  std::chrono::system_clock::time_point started;
  std::chrono::nanoseconds elapsed{0};
};

using CallSink = std::function<void(const ObservedCall&)>;
// The object each call is passed to, asked anew for every call; empty fails the call E_POINTER.
using CallTarget = std::function<platform::ComPtr<IQuorvaneAutomation>()>;

// A new observer with one reference.
IQuorvaneAutomation* NewObservingServer(CallTarget target, CallSink sink);
// An observer of one object, which it holds a reference to until it goes.
IQuorvaneAutomation* NewObservingServer(IQuorvaneAutomation* inner, CallSink sink);

// The text of an argument as a person reads it: the text itself, the date as YYYY-MM-DD (with
// THH:MM:SS when it has a time of day), true or false.
std::u16string ArgumentText(const CallArgument& argument);

}  // namespace quorvane
