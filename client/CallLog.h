#pragma once
// The log of every server call the client made: the creation, each operation with its arguments,
// the status and the server's description of a failure, the reply's length and the time it took.
// The client writes it in one place (Server() and CreateServer); the windows and the command line
// only show it. Safe to write from any thread; listeners hear of a call on the thread that made it.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "CallObserver.h"

namespace quorvane {

// Arguments longer than this are kept cut short, with U+2026 at the cut.
inline constexpr std::size_t kLoggedArgumentLength = 64;
// The calls kept; the oldest go first beyond it.
inline constexpr std::size_t kCallLogCapacity = 100000;

struct LoggedCall {
  std::uint64_t number = 0;  // 1 for the first call of the process, counting on over Clear
  std::chrono::system_clock::time_point started;
  std::string operation;     // "Create", or the operation's function-table name
  std::u16string arguments;  // each argument as text, cut short, separated by ", "
  HRESULT status = S_OK;
  std::u16string errorDescription;  // the server's (or the runtime's) text of a failure
  std::size_t replyLength = 0;      // characters of the reply; 0 when there is none
  std::chrono::nanoseconds elapsed{0};
};

class CallLogListener {
 public:
  virtual void CallAdded(const LoggedCall& call) = 0;
  virtual void CallsCleared() = 0;

 protected:
  ~CallLogListener() = default;
};

class CallLog {
 public:
  // Off, calls go to the server straight, unobserved, and nothing is added.
  void SetEnabled(bool enabled);
  bool Enabled() const;

  void Add(const ObservedCall& call);
  void AddCreation(std::u16string_view classId, HRESULT status, std::u16string_view description,
                   std::chrono::system_clock::time_point started, std::chrono::nanoseconds elapsed);
  void Clear();
  std::vector<LoggedCall> Calls() const;
  // Calls dropped beyond the capacity since the last Clear.
  std::uint64_t Dropped() const;

  void Subscribe(CallLogListener* listener);
  void Unsubscribe(CallLogListener* listener);

 private:
  void Append(LoggedCall call);

  mutable std::mutex mutex_;
  bool enabled_ = true;
  std::deque<LoggedCall> calls_;
  std::uint64_t numbered_ = 0;
  std::uint64_t dropped_ = 0;
  std::vector<CallLogListener*> listeners_;
};

// The process's log, which the client writes.
CallLog& TheCallLog();

// An argument's text as the log keeps it.
std::u16string LoggedArgumentsText(const std::vector<CallArgument>& arguments);

// The columns of the log in every form: number, time (ISO, UTC, milliseconds), operation,
// arguments, status (0x and eight hex digits), description, reply length, milliseconds.
std::string StatusHex(HRESULT status);
std::string CallTimeText(std::chrono::system_clock::time_point time);
double Milliseconds(std::chrono::nanoseconds elapsed);
// The calls as CSV (a header line, then a line per call, CRLF, RFC 4180 quoting) and as a JSON
// array of objects; both UTF-8.
std::string CallLogCsv(const std::vector<LoggedCall>& calls);
std::string CallLogJson(const std::vector<LoggedCall>& calls);
// One line for a terminal: "GetExchangeRate(RUB, USD, 2010-10-08) -> 0x00000000, 24 chars, 0.12
// ms".
std::string CallLogLine(const LoggedCall& call);

}  // namespace quorvane
