#pragma once
// What a server process that hosts the objects adds to each call: the local server's window shows
// and hides for Visible and lists every call answered. The DLL has no host: its objects answer
// Visible from their own flag and note nothing.

#include <string>

#include "Com.h"

namespace serverdll {

struct AnsweredCall {
  std::wstring operation;
  std::wstring arguments;  // each cut short, comma-separated
  HRESULT status = S_OK;
  std::size_t replyLength = 0;  // characters of a text reply
  double milliseconds = 0;
};

class ServerHost {
 public:
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  // Before an operation runs (a test's server may stop here) and after it answered.
  virtual void Entering(const char* operation) = 0;
  virtual void Answered(const AnsweredCall& call) = 0;

 protected:
  ~ServerHost() = default;
};

// The host of this process, or null; set before the class object is registered.
ServerHost* Host();
void SetHost(ServerHost* host);

}  // namespace serverdll
