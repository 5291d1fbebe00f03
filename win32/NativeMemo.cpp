#include "NativeMemo.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "Errors.h"
#include "MemoText.h"
#include "NativeDialogs.h"
#include "NativeFile.h"
#include "Utf.h"
#include "WindowText.h"

namespace quorvane::native {

std::u16string WithoutSoftBreaks(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t start = 0;;) {
    const std::size_t at = text.find(kSoftBreak, start);
    out += text.substr(start,
                       at == std::u16string_view::npos ? std::u16string_view::npos : at - start);
    if (at == std::u16string_view::npos)
      return out;
    start = at + kSoftBreak.size();
  }
}

NativeMemo::NativeMemo(HWND edit, std::function<void(std::exception_ptr)> showError)
    : edit_(edit), showError_(std::move(showError)) {
  // Any length: the default limit would cut long replies and listings.
  SendMessageW(edit_, EM_SETLIMITTEXT, 0, 0);
  SetWindowSubclass(edit_, Procedure, 0, reinterpret_cast<DWORD_PTR>(this));
}

NativeMemo::~NativeMemo() {
  if (IsWindow(edit_))
    RemoveWindowSubclass(edit_, Procedure, 0);
}

// The insertion with each long line cut into pieces joined by soft breaks, each piece as many
// characters as fit the memo's width, measured with its font.
std::u16string NativeMemo::WithSoftBreaks(std::u16string_view insertion) const {
  // The formatting rectangle is what the control wraps to; a few pixels spare keep a piece from
  // wrapping where the control measures a little wider.
  RECT area{};
  SendMessageW(edit_, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
  const int width = std::max<int>(area.right - area.left - 4, 1);
  HDC dc = GetDC(edit_);
  HGDIOBJ former =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(edit_, WM_GETFONT, 0, 0)));
  std::size_t lastFit = 64;
  const auto fitting = [&](std::u16string_view rest) {
    // Twice the last piece is plenty to measure: a piece's characters are seldom twice as narrow.
    const int sample = static_cast<int>(std::min(rest.size(), 2 * lastFit + 16));
    int fit = 0;
    SIZE size{};
    if (!GetTextExtentExPointW(dc, reinterpret_cast<const wchar_t*>(rest.data()), sample, width,
                               &fit, nullptr, &size))
      fit = static_cast<int>(kMemoLongLine);
    lastFit = std::clamp<std::size_t>(static_cast<std::size_t>(fit), 8, kMemoLongLine);
    return lastFit;
  };
  std::u16string out;
  out.reserve(insertion.size() + insertion.size() / 16);
  for (std::size_t start = 0; start <= insertion.size();) {
    const std::size_t end = std::min(insertion.find(u"\r\n", start), insertion.size());
    const std::u16string_view line = insertion.substr(start, end - start);
    if (line.size() <= kMemoLongLine) {
      out += line;
    } else {
      bool first = true;
      for (const std::u16string_view piece : MemoPieces(line, fitting)) {
        if (!first)
          out += kSoftBreak;
        out += piece;
        first = false;
      }
    }
    if (end == insertion.size())
      break;
    out += u"\r\n";
    start = end + 2;
  }
  SelectObject(dc, former);
  ReleaseDC(edit_, dc);
  return out;
}

void NativeMemo::Append(const std::vector<std::u16string>& texts) {
  // The last line is empty exactly when the text is empty or ends with a line break.
  const LRESULT lines = SendMessageW(edit_, EM_GETLINECOUNT, 0, 0);
  const LRESULT lastLineStart = SendMessageW(edit_, EM_LINEINDEX, lines - 1, 0);
  const bool endsWithBreak = SendMessageW(edit_, EM_LINELENGTH, lastLineStart, 0) == 0;
  std::vector<std::u16string> lineTexts;
  lineTexts.reserve(texts.size());
  for (const std::u16string& text : texts)
    lineTexts.push_back(WithCrLfBreaks(text));
  const std::u16string insertion = WithSoftBreaks(MemoInsertion(endsWithBreak, lineTexts));
  // One replacement at the end: the memo lays its text out once for the whole listing.
  const int end = GetWindowTextLengthW(edit_);
  SendMessageW(edit_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(edit_, EM_SETSEL, end, end);
  SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(insertion.c_str()));
  SendMessageW(edit_, WM_SETREDRAW, TRUE, 0);
  SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
  InvalidateRect(edit_, nullptr, TRUE);
}

std::u16string NativeMemo::Log() const {
  return WithoutSoftBreaks(WindowText(edit_));
}

void NativeMemo::SaveLog(const std::u16string& path) const {
  if (const auto failure = WriteWholeFile(path, ToUtf8(Log())))
    throw Exception(SaveLogFailure(path, *failure));
}

// The edit control's own commands, then the memo's.
void NativeMemo::ShowMenu(LPARAM at) {
  DWORD start = 0, end = 0;
  SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const bool selected = start != end;
  const bool writable = (GetWindowLongPtrW(edit_, GWL_STYLE) & ES_READONLY) == 0;
  const UINT whenSelected = selected ? MF_ENABLED : MF_GRAYED;
  const UINT whenWritableSelected = selected && writable ? MF_ENABLED : MF_GRAYED;
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, SendMessageW(edit_, EM_CANUNDO, 0, 0) && writable ? MF_ENABLED : MF_GRAYED,
              WM_UNDO, L"&Undo");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, whenWritableSelected, WM_CUT, L"Cu&t");
  AppendMenuW(menu, whenSelected, WM_COPY, L"&Copy");
  AppendMenuW(menu, IsClipboardFormatAvailable(CF_UNICODETEXT) && writable ? MF_ENABLED : MF_GRAYED,
              WM_PASTE, L"&Paste");
  AppendMenuW(menu, whenWritableSelected, WM_CLEAR, L"&Delete");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, GetWindowTextLengthW(edit_) > 0 ? MF_ENABLED : MF_GRAYED, EM_SETSEL,
              L"Select &All");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_ENABLED, kSaveLogCommand, L"Save Log...");
  AppendMenuW(menu, MF_ENABLED, kClearCommand, L"Clear");
  if (!commands_.empty())
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  for (const Command& command : commands_)
    AppendMenuW(menu, MF_ENABLED, command.command, W(command.text));
  // From the keyboard the menu opens at the caret.
  POINT caret{};
  GetCaretPos(&caret);
  SetFocus(edit_);
  if (const int command = TrackContextMenu(edit_, menu, at, caret))
    Run(command);
}

void NativeMemo::AddCommand(int command, std::u16string text, std::function<void()> run) {
  commands_.push_back({command, std::move(text), std::move(run)});
}

const NativeMemo::Command* NativeMemo::CommandOf(int command) const {
  for (const Command& own : commands_)
    if (own.command == command)
      return &own;
  return nullptr;
}

void NativeMemo::Run(int command) {
  if (const Command* own = CommandOf(command)) {
    own->run();
    return;
  }
  switch (command) {
    case EM_SETSEL:
      SendMessageW(edit_, EM_SETSEL, 0, -1);
      break;
    case kSaveLogCommand:
      AskAndSaveLog();
      break;
    case kClearCommand:
      SetWindowTextW(edit_, L"");
      break;
    default:
      SendMessageW(edit_, static_cast<UINT>(command), 0, 0);
      break;
  }
}

void NativeMemo::AskAndSaveLog() {
  const std::optional<std::u16string> path = AskSavePath(
      GetAncestor(edit_, GA_ROOT),
      {L"Save Log", L"log.txt", L"Text files (*.txt)\0*.txt\0All files\0*.*\0", L"txt"});
  if (!path)
    return;
  try {
    SaveLog(*path);
  } catch (...) {
    showError_(std::current_exception());
  }
}

// What goes to the clipboard is the log's text: the soft breaks of the pieces are left out.
void NativeMemo::CopySelection() const {
  DWORD start = 0, end = 0;
  SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  if (start >= end)
    return;
  const std::u16string text = WindowText(edit_);
  const std::u16string copied =
      WithoutSoftBreaks(std::u16string_view(text).substr(start, end - start));
  if (!OpenClipboard(edit_))
    return;
  EmptyClipboard();
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (copied.size() + 1) * sizeof(char16_t))) {
    std::memcpy(GlobalLock(memory), copied.c_str(), (copied.size() + 1) * sizeof(char16_t));
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_UNICODETEXT, memory))
      GlobalFree(memory);
  }
  CloseClipboard();
}

LRESULT CALLBACK NativeMemo::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR data) {
  auto* memo = reinterpret_cast<NativeMemo*>(data);
  switch (message) {
    case WM_CONTEXTMENU:
      memo->ShowMenu(lParam);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kSaveLogCommand || LOWORD(wParam) == kClearCommand ||
          memo->CommandOf(LOWORD(wParam))) {
        memo->Run(LOWORD(wParam));
        return 0;
      }
      break;
    case WM_COPY:
      memo->CopySelection();
      return 0;
    case WM_CUT:
      memo->CopySelection();
      SendMessageW(window, WM_CLEAR, 0, 0);
      return 0;
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, Procedure, 0);
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace quorvane::native
