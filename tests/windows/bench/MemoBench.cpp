// The native memo's cost under the system's edit control, against baselines measured in the same
// run: a line of a million characters and a listing of 100,000 lines appended through the memo,
// against the edit control's own way with the line whole (on a line a fiftieth as long, since the
// whole line takes minutes) and against the listing put in by one plain replacement; and the call
// log window opened over 100,000 calls against one over ten. One line per measurement, then "N
// passed, M failed". Usage: windows_memo_bench [--junit FILE]

#include <windows.h>

#include <chrono>
#include <iostream>
#include <string>
#include <vector>

#include "CheckReport.h"
#include "NativeCallLog.h"
#include "NativeMemo.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// An edit control styled as the memo, in a shown window of the memo's size.
struct MemoWindow {
  MemoWindow() {
    frame = CreateWindowExW(0, L"STATIC", L"memo bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                            760, 240, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                               ES_WANTRETURN | ES_NOHIDESEL,
                           8, 8, 720, 180, frame, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
  }
  ~MemoWindow() { DestroyWindow(frame); }
  // The edit control's own way: the text in one replacement at the end.
  void Replace(const std::u16string& text) const {
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
  }
  void Paint() const {
    InvalidateRect(edit, nullptr, TRUE);
    UpdateWindow(edit);
  }
  HWND frame = nullptr, edit = nullptr;
};

// Digits and separators as a raw history has them, without blanks: nowhere to wrap but anywhere.
std::u16string RawLine(std::size_t length) {
  const std::u16string entry = u"7/14/2026=0.0130512;";
  std::u16string line;
  line.reserve(length);
  while (line.size() < length)
    line += entry;
  line.resize(length);
  return line;
}

std::vector<std::u16string> Listing(std::size_t lines) {
  std::vector<std::u16string> texts;
  texts.reserve(lines);
  for (std::size_t i = 0; i < lines; ++i)
    texts.push_back(u"14.07.2026  0.0130512  entry " + std::u16string(1, u'0' + i % 10));
  return texts;
}

// The call log window opened over that many calls, until it has taken them and painted.
double OpenCallLog(std::size_t calls) {
  quorvane::CallLog& log = quorvane::TheCallLog();
  log.Clear();
  quorvane::ObservedCall call;
  call.operation = "GetExchangeRate";
  call.arguments = {{quorvane::CallArgument::Kind::Text, u"RUB"},
                    {quorvane::CallArgument::Kind::Text, u"USD"},
                    {quorvane::CallArgument::Kind::Date, {}, 40459}};
  call.reply = u"NRUB per USD as of 2010-10-08=30.5";
  call.replyWasNull = false;
  for (std::size_t i = 0; i < calls; ++i)
    log.Add(call);
  MemoWindow owner;
  quorvane::native::NativeCallLog window(GetModuleHandleW(nullptr), owner.frame,
                                         static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)),
                                         [](std::exception_ptr) {});
  const auto start = Clock::now();
  window.Show();
  for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
    DispatchMessageW(&message);
  UpdateWindow(window.Window());
  const double took = Milliseconds(start);
  log.Clear();
  return took;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const auto junit = quorvane::report::TakeJUnitOption(argc, argv);
  quorvane::report::CheckReport report("windows_memo_bench", std::cout);
  const auto ignoreErrors = [](std::exception_ptr) {};

  // The long line: the memo's pieces against the whole line on a fiftieth of its length.
  const std::size_t longLength = 1000000, baselineLength = longLength / 50;
  double whole = 0, pieces = 0;
  {
    MemoWindow window;
    const std::u16string line = RawLine(baselineLength);
    const auto start = Clock::now();
    window.Replace(line + u"\r\n");
    window.Paint();
    whole = Milliseconds(start);
  }
  {
    MemoWindow window;
    quorvane::native::NativeMemo memo(window.edit, ignoreErrors);
    const auto start = Clock::now();
    memo.Append({RawLine(longLength)});
    window.Paint();
    pieces = Milliseconds(start);
    report.Check(memo.Log() == RawLine(longLength) + u"\r\n", "the long line's log is the line");
  }
  report.Add({"a line of 1,000,000 characters takes less than one of 20,000 laid out whole",
              pieces < whole,
              "pieces " + std::to_string(static_cast<long>(pieces)) + " ms, whole line of " +
                  std::to_string(baselineLength) + " " + std::to_string(static_cast<long>(whole)) +
                  " ms",
              pieces, "memo"});

  // The listing: the memo against one plain replacement of the same text.
  const std::vector<std::u16string> listing = Listing(100000);
  double plain = 0, appended = 0;
  {
    MemoWindow window;
    std::u16string text;
    for (const std::u16string& line : listing)
      text += line + u"\r\n";
    const auto start = Clock::now();
    window.Replace(text);
    window.Paint();
    plain = Milliseconds(start);
  }
  {
    MemoWindow window;
    quorvane::native::NativeMemo memo(window.edit, ignoreErrors);
    const auto start = Clock::now();
    memo.Append(listing);
    window.Paint();
    appended = Milliseconds(start);
  }
  report.Add({"a listing of 100,000 lines costs at most twice one plain replacement",
              appended <= 2 * plain + 50,
              "memo " + std::to_string(static_cast<long>(appended)) + " ms, plain " +
                  std::to_string(static_cast<long>(plain)) + " ms",
              appended, "memo"});

  // The call log window's list asks only for the rows it shows: 100,000 rows cost only their
  // copy from the log.
  OpenCallLog(10);  // the first opening loads the list view's code
  const double few = OpenCallLog(10), many = OpenCallLog(100000);
  report.Add({"the call log window over 100,000 calls opens within 500 ms of one over ten",
              many <= few + 500,
              "100,000 calls " + std::to_string(static_cast<long>(many)) + " ms, ten " +
                  std::to_string(static_cast<long>(few)) + " ms",
              many, "call log"});
  return report.Finish(junit);
}
