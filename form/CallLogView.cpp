#include "CallLogView.h"

#include <cstdio>

#include "Utf.h"

namespace quorvane {

namespace {

constexpr std::array<CallLogColumnLook, kCallLogColumns> kColumns{{
    {u"#", u"000000", 0, true},
    {u"Time", u"2026-12-31T23:59:59.999Z", 0, false},
    {u"Operation", u"GetListOfExchangeRate", 0, false},
    {u"Arguments", {}, 180, false},
    {u"Status", u"0x80040201", 0, false},
    {u"Description", {}, 220, false},
    {u"Reply", u"0000000", 0, true},
    {u"ms", u"0000.000", 0, true},
}};

std::u16string Ascii(const std::string& text) {
  return {text.begin(), text.end()};
}

std::u16string MillisecondsText(std::chrono::nanoseconds elapsed) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", Milliseconds(elapsed));
  return Ascii(text);
}

}  // namespace

const CallLogColumnLook& CallLogColumnOf(CallLogColumn column) {
  return kColumns.at(static_cast<std::size_t>(column));
}

std::u16string CallLogCell(const LoggedCall& call, CallLogColumn column) {
  switch (column) {
    case CallLogColumn::Number:
      return Ascii(std::to_string(call.number));
    case CallLogColumn::Time:
      return Ascii(CallTimeText(call.started));
    case CallLogColumn::Operation:
      return Ascii(call.operation);
    case CallLogColumn::Arguments:
      return call.arguments;
    case CallLogColumn::Status:
      return Ascii(StatusHex(call.status));
    case CallLogColumn::Description:
      return call.errorDescription;
    case CallLogColumn::ReplyLength:
      return Ascii(std::to_string(call.replyLength));
    case CallLogColumn::Milliseconds:
      return MillisecondsText(call.elapsed);
  }
  return {};
}

void CallLogSummary::Add(const LoggedCall& call, int sign) {
  calls += static_cast<std::uint64_t>(sign);
  if (FAILED(call.status))
    failures += static_cast<std::uint64_t>(sign);
  elapsed += sign * call.elapsed;
}

std::u16string CallLogSummaryText(const CallLogSummary& summary, std::uint64_t dropped,
                                  bool enabled) {
  std::u16string text = Ascii(std::to_string(summary.calls)) +
                        (summary.calls == 1 ? u" call, " : u" calls, ") +
                        Ascii(std::to_string(summary.failures)) + u" failed, " +
                        MillisecondsText(summary.elapsed) + u" ms in all";
  if (dropped > 0)
    text += u", " + Ascii(std::to_string(dropped)) + u" older calls dropped";
  if (!enabled)
    text += u", logging off";
  return text;
}

CallLogFormat CallLogFormatOf(std::u16string_view path) {
  constexpr std::u16string_view json = u".json";
  if (path.size() < json.size())
    return CallLogFormat::Csv;
  const std::u16string_view end = path.substr(path.size() - json.size());
  for (std::size_t i = 0; i < json.size(); ++i) {
    const char16_t c = end[i] >= u'A' && end[i] <= u'Z' ? end[i] - u'A' + u'a' : end[i];
    if (c != json[i])
      return CallLogFormat::Csv;
  }
  return CallLogFormat::Json;
}

std::string CallLogFileBytes(std::u16string_view path, const std::vector<LoggedCall>& calls) {
  return CallLogFormatOf(path) == CallLogFormat::Json ? CallLogJson(calls) : CallLogCsv(calls);
}

std::u16string CallLogSaveFailure(std::u16string_view path, std::u16string_view reason) {
  return u"Cannot save the call log to " + std::u16string(path) + u": " + std::u16string(reason);
}

CallLogRows::CallLogRows(CallLog& log, std::function<void()> wake)
    : log_(log), wake_(std::move(wake)) {
  // Listening first: a call made meanwhile is both in the copy and heard, and its number tells.
  log_.Subscribe(this);
  for (LoggedCall& call : log_.Calls())
    Append(std::move(call));
  const std::lock_guard lock(mutex_);
  lastNumber_ = rows_.empty() ? 0 : rows_.back().number;
}

CallLogRows::~CallLogRows() {
  log_.Unsubscribe(this);
}

void CallLogRows::CallAdded(const LoggedCall& call) {
  bool wake = false;
  {
    const std::lock_guard lock(mutex_);
    waiting_.push_back(call);
    wake = !woken_;
    woken_ = true;
  }
  if (wake && wake_)
    wake_();
}

void CallLogRows::CallsCleared() {
  bool wake = false;
  {
    const std::lock_guard lock(mutex_);
    waiting_.clear();
    clearedMeanwhile_ = true;
    wake = !woken_;
    woken_ = true;
  }
  if (wake && wake_)
    wake_();
}

CallLogRows::Batch CallLogRows::Take() {
  Batch batch;
  {
    const std::lock_guard lock(mutex_);
    batch.cleared = clearedMeanwhile_;
    for (LoggedCall& call : waiting_)
      if (batch.cleared || call.number > lastNumber_)
        batch.calls.push_back(std::move(call));
    waiting_.clear();
    clearedMeanwhile_ = false;
    woken_ = false;
    if (!batch.calls.empty())
      lastNumber_ = batch.calls.back().number;
  }
  const std::size_t kept = batch.cleared ? 0 : rows_.size();
  batch.reset = batch.cleared || kept + batch.calls.size() > kCallLogCapacity;
  return batch;
}

void CallLogRows::Apply(Batch batch) {
  if (batch.cleared) {
    rows_.clear();
    summary_ = {};
    dropped_ = 0;
  }
  for (LoggedCall& call : batch.calls)
    Append(std::move(call));
}

void CallLogRows::Append(LoggedCall call) {
  summary_.Add(call);
  rows_.push_back(std::move(call));
  if (rows_.size() > kCallLogCapacity) {
    summary_.Add(rows_.front(), -1);
    rows_.pop_front();
    ++dropped_;
  }
}

std::u16string CallLogRows::SummaryText() const {
  return CallLogSummaryText(summary_, dropped_, log_.Enabled());
}

std::string CallLogRows::Csv(const std::vector<std::size_t>& indexes) const {
  std::vector<LoggedCall> calls;
  calls.reserve(indexes.size());
  for (const std::size_t index : indexes)
    if (index < rows_.size())
      calls.push_back(rows_[index]);
  return CallLogCsv(calls);
}

void CallLogRows::Clear() {
  log_.Clear();
}

bool CallLogRows::Enabled() const {
  return log_.Enabled();
}

void CallLogRows::SetEnabled(bool enabled) {
  log_.SetEnabled(enabled);
}

}  // namespace quorvane
