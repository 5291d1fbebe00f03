#include "NativeMemo.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cstring>

#include "Com.h"
#include "Errors.h"
#include "MemoText.h"
#include "Utf.h"
#include "WindowText.h"

namespace quorvane::native {

namespace {

// The system's text for an error of a file operation, without its closing line break and full
// stop (the message goes on after it).
std::u16string FileErrorText(DWORD error) {
  std::u16string text = platform::SystemMessageText(static_cast<HRESULT>(error));
  while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r' || text.back() == u' ' ||
                           text.back() == u'.'))
    text.pop_back();
  return text.empty() ? u"system error " + FromUtf8(std::to_string(error)) : text;
}

}  // namespace

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
  const std::string bytes = ToUtf8(Log());
  HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_WRITE, 0,
                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD failure = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
      failure = GetLastError();
    if (!CloseHandle(file) && failure == ERROR_SUCCESS)
      failure = GetLastError();
  }
  if (failure != ERROR_SUCCESS)
    throw Exception(SaveLogFailure(path, FileErrorText(failure)));
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
  POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  // From the keyboard (Shift+F10, the menu key) the menu opens at the caret.
  if (at == -1) {
    GetCaretPos(&point);
    ClientToScreen(edit_, &point);
  }
  SetFocus(edit_);
  const int command = static_cast<int>(TrackPopupMenu(
      menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, point.x, point.y, 0, edit_, nullptr));
  DestroyMenu(menu);
  if (command != 0)
    Run(command);
}

void NativeMemo::Run(int command) {
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
  wchar_t path[MAX_PATH] = L"log.txt";
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetAncestor(edit_, GA_ROOT);
  dialog.lpstrFilter = L"Text files (*.txt)\0*.txt\0All files\0*.*\0";
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrTitle = L"Save Log";
  dialog.lpstrDefExt = L"txt";
  dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&dialog))
    return;
  try {
    SaveLog(std::u16string(reinterpret_cast<const char16_t*>(path)));
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
      if (LOWORD(wParam) == kSaveLogCommand || LOWORD(wParam) == kClearCommand) {
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
