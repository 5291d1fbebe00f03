#include "CallLog.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "Utf.h"

namespace quorvane {

void CallLog::SetEnabled(bool enabled) {
  const std::lock_guard lock(mutex_);
  enabled_ = enabled;
}

bool CallLog::Enabled() const {
  const std::lock_guard lock(mutex_);
  return enabled_;
}

void CallLog::Add(const ObservedCall& call) {
  LoggedCall logged;
  logged.started = call.started;
  logged.operation = call.operation;
  logged.arguments = LoggedArgumentsText(call.arguments);
  logged.status = call.status;
  logged.errorDescription = call.errorDescription;
  logged.replyLength = call.replyWasNull ? 0 : call.reply.size();
  logged.elapsed = call.elapsed;
  Append(std::move(logged));
}

void CallLog::AddCreation(std::u16string_view classId, HRESULT status,
                          std::u16string_view description,
                          std::chrono::system_clock::time_point started,
                          std::chrono::nanoseconds elapsed) {
  LoggedCall logged;
  logged.started = started;
  logged.operation = "Create";
  logged.arguments = std::u16string(classId);
  logged.status = status;
  logged.errorDescription = description;
  logged.elapsed = elapsed;
  Append(std::move(logged));
}

void CallLog::Append(LoggedCall call) {
  std::vector<CallLogListener*> listeners;
  {
    const std::lock_guard lock(mutex_);
    if (!enabled_)
      return;
    call.number = ++numbered_;
    if (calls_.size() == kCallLogCapacity) {
      calls_.pop_front();
      ++dropped_;
    }
    calls_.push_back(call);
    listeners = listeners_;
  }
  for (CallLogListener* listener : listeners)
    listener->CallAdded(call);
}

void CallLog::Clear() {
  std::vector<CallLogListener*> listeners;
  {
    const std::lock_guard lock(mutex_);
    calls_.clear();
    dropped_ = 0;
    listeners = listeners_;
  }
  for (CallLogListener* listener : listeners)
    listener->CallsCleared();
}

std::vector<LoggedCall> CallLog::Calls() const {
  const std::lock_guard lock(mutex_);
  return {calls_.begin(), calls_.end()};
}

std::uint64_t CallLog::Dropped() const {
  const std::lock_guard lock(mutex_);
  return dropped_;
}

void CallLog::Subscribe(CallLogListener* listener) {
  const std::lock_guard lock(mutex_);
  listeners_.push_back(listener);
}

void CallLog::Unsubscribe(CallLogListener* listener) {
  const std::lock_guard lock(mutex_);
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

CallLog& TheCallLog() {
  static CallLog log;
  return log;
}

std::u16string LoggedArgumentsText(const std::vector<CallArgument>& arguments) {
  std::u16string text;
  for (const CallArgument& argument : arguments) {
    if (!text.empty())
      text += u", ";
    const std::u16string whole = ArgumentText(argument);
    if (whole.size() > kLoggedArgumentLength)
      text += whole.substr(0, kLoggedArgumentLength - 1) + u'\u2026';
    else
      text += whole;
  }
  return text;
}

std::string StatusHex(HRESULT status) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(status));
  return text;
}

std::string CallTimeText(std::chrono::system_clock::time_point time) {
  const auto seconds = std::chrono::floor<std::chrono::seconds>(time);
  const auto milliseconds =
      std::chrono::duration_cast<std::chrono::milliseconds>(time - seconds).count();
  const std::chrono::sys_days day = std::chrono::floor<std::chrono::days>(time);
  const std::chrono::year_month_day date(day);
  const std::chrono::hh_mm_ss clock(seconds - day);
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", int(date.year()),
                unsigned(date.month()), unsigned(date.day()), int(clock.hours().count()),
                int(clock.minutes().count()), int(clock.seconds().count()), int(milliseconds));
  return text;
}

double Milliseconds(std::chrono::nanoseconds elapsed) {
  return std::chrono::duration<double, std::milli>(elapsed).count();
}

namespace {

std::string MillisecondsText(std::chrono::nanoseconds elapsed) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", Milliseconds(elapsed));
  return text;
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos)
    return text;
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"')
      quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string JsonString(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + '"';
}

}  // namespace

std::string CallLogCsv(const std::vector<LoggedCall>& calls) {
  std::string csv =
      "number,time,operation,arguments,status,description,reply_length,milliseconds\r\n";
  for (const LoggedCall& call : calls) {
    csv += std::to_string(call.number) + ',' + CallTimeText(call.started) + ',' +
           CsvField(call.operation) + ',' + CsvField(ToUtf8(call.arguments)) + ',' +
           StatusHex(call.status) + ',' + CsvField(ToUtf8(call.errorDescription)) + ',' +
           std::to_string(call.replyLength) + ',' + MillisecondsText(call.elapsed) + "\r\n";
  }
  return csv;
}

std::string CallLogJson(const std::vector<LoggedCall>& calls) {
  std::string json = "[";
  for (const LoggedCall& call : calls) {
    json += json.size() == 1 ? "\n" : ",\n";
    json += " {\"number\": " + std::to_string(call.number) +
            ", \"time\": " + JsonString(CallTimeText(call.started)) +
            ", \"operation\": " + JsonString(call.operation) +
            ", \"arguments\": " + JsonString(ToUtf8(call.arguments)) +
            ", \"status\": " + JsonString(StatusHex(call.status)) +
            ", \"description\": " + JsonString(ToUtf8(call.errorDescription)) +
            ", \"reply_length\": " + std::to_string(call.replyLength) +
            ", \"milliseconds\": " + MillisecondsText(call.elapsed) + "}";
  }
  return json + "\n]\n";
}

std::string CallLogLine(const LoggedCall& call) {
  std::string line =
      call.operation + "(" + ToUtf8(call.arguments) + ") -> " + StatusHex(call.status);
  if (FAILED(call.status) && !call.errorDescription.empty())
    line += " " + ToUtf8(call.errorDescription);
  else
    line += ", " + std::to_string(call.replyLength) + " chars";
  return line + ", " + MillisecondsText(call.elapsed) + " ms";
}

}  // namespace quorvane
