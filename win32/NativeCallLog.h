#pragma once
// The call log window of the native view: a window of its own beside the main window, owned by
// it, listing every server call of the process in a list view in virtual mode (the rows are the
// form's CallLogRows; the control asks only for the cells it shows), following new calls as they
// are made. "Log calls" switches the log off and on; Clear, Copy (the selected rows as CSV) and
// Save... (CSV or JSON by the file's extension).

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "CallLogView.h"

namespace quorvane::native {

// The window's class, by which a driver program finds it.
inline constexpr wchar_t kCallLogWindowClass[] = L"QuorvaneCallLog";
// Its commands, the identifiers of its buttons too; a driver program sends them as WM_COMMAND.
inline constexpr int kClearCallsCommand = 0x230;
inline constexpr int kCopyCallsCommand = 0x231;
inline constexpr int kSaveCallsCommand = 0x232;
inline constexpr int kSelectAllCallsCommand = 0x233;
// Its controls: the check box "Log calls", the list and the summary line below it.
inline constexpr int kCallLogSwitchId = 0x234;
inline constexpr int kCallLogListId = 0x235;
inline constexpr int kCallLogSummaryId = 0x236;
// "Call Log..." of the memo's context menu; a driver program sends it to the memo.
inline constexpr int kOpenCallLogCommand = 0x240;

class NativeCallLog {
 public:
  // Registers the window class (once); the window is made when it is first shown. Its texts are
  // drawn with `font`, which outlives it; errors of its commands go to `showError`.
  NativeCallLog(HINSTANCE instance, HWND owner, HFONT font,
                std::function<void(std::exception_ptr)> showError);
  ~NativeCallLog();
  NativeCallLog(const NativeCallLog&) = delete;
  NativeCallLog& operator=(const NativeCallLog&) = delete;

  // Opens the window, or brings it to the front.
  void Show();
  HWND Window() const { return window_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Create();
  HWND MakeControl(const wchar_t* windowClass, const std::u16string& text, DWORD style, int id);
  void Place(int width, int height);
  LRESULT Notified(const NMHDR& header);
  void Follow();
  void ShowSummary();
  void ShowMenu(LPARAM at);
  void Run(int command);
  void CopySelected();
  void AskAndSave();

  HINSTANCE instance_;
  HWND owner_;
  HFONT font_;
  std::function<void(std::exception_ptr)> showError_;
  HWND window_ = nullptr;
  HWND switch_ = nullptr;
  HWND list_ = nullptr;
  HWND summary_ = nullptr;
  int lineHeight_ = 13;
  std::unique_ptr<CallLogRows> rows_;  // while the window is there
  std::u16string cell_;                // the text last given to the list
};

}  // namespace quorvane::native
