#pragma once
// The call log window of both views: its title, key, menu entry and commands, its columns and
// each row's cells, the summary line, the rule that picks a saved file's format, and the rows
// themselves, which follow the process's call log. A view only shows the rows.

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "CallLog.h"

namespace quorvane {

inline constexpr std::u16string_view kCallLogTitle = u"Call Log";
// The entry of the main window's menus that opens it, and its key, Ctrl with this letter.
inline constexpr std::u16string_view kCallLogMenuText = u"Call Log...";
inline constexpr char kCallLogKey = 'L';
inline constexpr std::u16string_view kCallLogKeyText = u"Ctrl+L";
// The window's commands.
inline constexpr std::u16string_view kCallLogClearText = u"Clear";
inline constexpr std::u16string_view kCallLogSaveText = u"Save...";
inline constexpr std::u16string_view kCallLogCopyText = u"Copy";
inline constexpr std::u16string_view kCallLogSelectAllText = u"Select All";
inline constexpr std::u16string_view kCallLogSwitchText = u"Log calls";
// What the save dialog starts with.
inline constexpr std::u16string_view kCallLogFileName = u"calls.csv";

enum class CallLogColumn {
  Number,
  Time,
  Operation,
  Arguments,
  Status,
  Description,
  ReplyLength,
  Milliseconds
};
inline constexpr std::size_t kCallLogColumns = 8;

struct CallLogColumnLook {
  std::u16string_view caption;
  std::u16string_view sample;  // the widest text the column shows whole, measured by the view
  int width;                   // else its width in pixels at the design's text height of 13
  bool alignRight;             // numbers
};
const CallLogColumnLook& CallLogColumnOf(CallLogColumn column);

// The text of a row's cell: as the saved CSV writes it, the arguments and description in the
// form's UTF-16.
std::u16string CallLogCell(const LoggedCall& call, CallLogColumn column);

// The calls shown, the failures among them and their time, updated row by row.
struct CallLogSummary {
  std::uint64_t calls = 0;
  std::uint64_t failures = 0;
  std::chrono::nanoseconds elapsed{0};
  void Add(const LoggedCall& call, int sign = 1);
};
// "3 calls, 1 failed, 0.125 ms in all", with ", logging off" when the log is off and ", N older
// calls dropped" when the rows went beyond the log's capacity.
std::u16string CallLogSummaryText(const CallLogSummary& summary, std::uint64_t dropped,
                                  bool enabled);

// The format of a saved log: JSON for a name ending in ".json" (in any case), CSV otherwise.
enum class CallLogFormat { Csv, Json };
CallLogFormat CallLogFormatOf(std::u16string_view path);
// The file's bytes (UTF-8) in the format the path asks for.
std::string CallLogFileBytes(std::u16string_view path, const std::vector<LoggedCall>& calls);
// What a failed save says.
std::u16string CallLogSaveFailure(std::u16string_view path, std::u16string_view reason);

// The rows of an open call log window: the log's calls when it opened, then each new one. A call
// may come on any thread: it waits until the view's thread takes it (Take), and the view is woken
// once per batch, so a burst of calls costs the view one update.
class CallLogRows : private CallLogListener {
 public:
  // `wake` is called, on the calling thread, when calls wait and none waited before.
  CallLogRows(CallLog& log, std::function<void()> wake);
  ~CallLogRows();
  CallLogRows(const CallLogRows&) = delete;
  CallLogRows& operator=(const CallLogRows&) = delete;

  // The calls that came since the last take, and whether showing them is more than appending
  // them (the log was cleared, or the rows go beyond the log's capacity and the oldest go).
  struct Batch {
    bool cleared = false;
    bool reset = false;
    std::vector<LoggedCall> calls;
  };
  Batch Take();
  void Apply(Batch batch);

  std::size_t Size() const { return rows_.size(); }
  const LoggedCall& Row(std::size_t index) const { return rows_[index]; }
  const CallLogSummary& Summary() const { return summary_; }
  std::u16string SummaryText() const;
  // The rows at the indexes (in their order) as CSV, for the clipboard.
  std::string Csv(const std::vector<std::size_t>& indexes) const;
  std::vector<LoggedCall> All() const { return {rows_.begin(), rows_.end()}; }

  // The log's own commands.
  void Clear();
  bool Enabled() const;
  void SetEnabled(bool enabled);

 private:
  void CallAdded(const LoggedCall& call) override;
  void CallsCleared() override;
  void Append(LoggedCall call);

  CallLog& log_;
  std::function<void()> wake_;
  std::deque<LoggedCall> rows_;
  CallLogSummary summary_;
  std::uint64_t dropped_ = 0;

  std::mutex mutex_;
  std::vector<LoggedCall> waiting_;
  bool clearedMeanwhile_ = false;
  bool woken_ = false;
  std::uint64_t lastNumber_ = 0;  // of the rows taken; a call numbered up to it is there already
};

}  // namespace quorvane
