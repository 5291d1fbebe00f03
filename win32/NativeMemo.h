#pragma once
// The memo on the system's multi-line edit control: the memo's append rule, a very long line laid
// out as pieces joined by soft line breaks (the edit control wraps a long line slowly), and the
// context menu of an edit control with "Save Log..." and "Clear" added, then the window's own
// commands.

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace quorvane::native {

// The commands of the memo's context menu that an edit control lacks; a driver program sends them
// to the memo as WM_COMMAND too.
inline constexpr int kSaveLogCommand = 0x200;
inline constexpr int kClearCommand = 0x201;

// The soft line break that joins the pieces of one long line, as the edit control writes its own.
inline constexpr std::u16string_view kSoftBreak = u"\r\r\n";
// A line longer than this is laid out in pieces, each as many characters as fit the memo's width,
// so that the edit control, which wraps a line slowly, has nothing left to wrap.
inline constexpr std::size_t kMemoLongLine = 1024;

// The memo's text as a log: its lines without the soft breaks.
std::u16string WithoutSoftBreaks(std::u16string_view text);

class NativeMemo {
 public:
  // Takes over the edit control; the errors of its commands go to `showError`.
  NativeMemo(HWND edit, std::function<void(std::exception_ptr)> showError);
  ~NativeMemo();
  NativeMemo(const NativeMemo&) = delete;
  NativeMemo& operator=(const NativeMemo&) = delete;

  // Appends the texts, each as a new line, in one replacement at the end.
  void Append(const std::vector<std::u16string>& texts);
  std::u16string Log() const;
  // Writes the log to the file as UTF-8; a failure raises an Exception naming the file.
  void SaveLog(const std::u16string& path) const;
  // A command of the window at the end of the context menu, run by its item or by WM_COMMAND.
  void AddCommand(int command, std::u16string text, std::function<void()> run);

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR data);
  void ShowMenu(LPARAM at);
  void Run(int command);
  void AskAndSaveLog();
  void CopySelection() const;
  std::u16string WithSoftBreaks(std::u16string_view insertion) const;

  struct Command {
    int command;
    std::u16string text;
    std::function<void()> run;
  };
  const Command* CommandOf(int command) const;

  HWND edit_;
  std::function<void(std::exception_ptr)> showError_;
  std::vector<Command> commands_;
};

}  // namespace quorvane::native
