#pragma once
// Keeps every call made through ServerIntf, as a recording's lines: the arguments, the locale
// settings in force, the status, the error information and the reply exactly as received.

#include <vector>

#include "CallObserver.h"
#include "Recording.h"

namespace quorvane::cli {

server::RecordedCall RecordedCallOf(const ObservedCall& call, const LocaleSettings& settings);
server::RecordedArgument RecordedArgumentOf(const CallArgument& argument);

// The server in ServerIntf as a recording names it, recorded now.
server::RecordingHeader HeaderOfConnectedServer();

// Stands in ServerIntf for its life and keeps each call passed through.
class CallRecorder {
 public:
  CallRecorder();
  ~CallRecorder();
  CallRecorder(const CallRecorder&) = delete;
  CallRecorder& operator=(const CallRecorder&) = delete;

  const std::vector<server::RecordedCall>& Calls() const { return calls_; }

 private:
  platform::ComPtr<IQuorvaneAutomation> real_;
  std::vector<server::RecordedCall> calls_;
};

}  // namespace quorvane::cli
