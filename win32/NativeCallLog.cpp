#include "NativeCallLog.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "Errors.h"
#include "NativeDialogs.h"
#include "NativeFile.h"
#include "Utf.h"
#include "WindowText.h"

namespace quorvane::native {

namespace {

// The rows waiting are taken by a message of the window's own, posted once per batch.
constexpr UINT kFollowMessage = WM_APP + 1;
constexpr int kPadding = 6;
constexpr int kButtonWidth = 80;
constexpr COLORREF kFailureColour = RGB(0xB0, 0x10, 0x10);

int Scaled(int length) {
  HDC screen = GetDC(nullptr);
  const int perInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return MulDiv(length, perInch, 96);
}

}  // namespace

NativeCallLog::NativeCallLog(HINSTANCE instance, HWND owner, HFONT font,
                             std::function<void(std::exception_ptr)> showError)
    : instance_(instance), owner_(owner), font_(font), showError_(std::move(showError)) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (!GetClassInfoExW(instance, kCallLogWindowClass, &windowClass)) {
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, L"MAINICON");
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kCallLogWindowClass;
    RegisterClassExW(&windowClass);
  }
  HDC screen = GetDC(nullptr);
  HGDIOBJ former = SelectObject(screen, font_);
  TEXTMETRICW metrics{};
  if (GetTextMetricsW(screen, &metrics) && metrics.tmHeight > 0)
    lineHeight_ = metrics.tmHeight;
  SelectObject(screen, former);
  ReleaseDC(nullptr, screen);
}

NativeCallLog::~NativeCallLog() {
  rows_.reset();
  if (window_ && IsWindow(window_))
    DestroyWindow(window_);
}

HWND NativeCallLog::MakeControl(const wchar_t* windowClass, const std::u16string& text, DWORD style,
                                int id) {
  HWND control =
      CreateWindowExW(0, windowClass, W(text), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window_,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  return control;
}

void NativeCallLog::Create() {
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  // The columns as wide as their widest text in the window's font, or as designed.
  const double scale = lineHeight_ / 13.0;
  int widths[kCallLogColumns] = {};
  int columnsWidth = 0;
  HDC screen = GetDC(nullptr);
  HGDIOBJ former = SelectObject(screen, font_);
  for (std::size_t column = 0; column < kCallLogColumns; ++column) {
    const CallLogColumnLook& look = CallLogColumnOf(static_cast<CallLogColumn>(column));
    SIZE size{};
    const std::u16string sample(look.sample);
    GetTextExtentPoint32W(screen, W(sample), static_cast<int>(sample.size()), &size);
    widths[column] = look.sample.empty() ? static_cast<int>(look.width * scale) : size.cx + 16;
    columnsWidth += widths[column];
  }
  SelectObject(screen, former);
  ReleaseDC(nullptr, screen);

  RECT frame{0, 0, columnsWidth + GetSystemMetrics(SM_CXVSCROLL) + 4 * kPadding, Scaled(420)};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  // Down and right of the main window's top left corner, within the screen.
  RECT owner{}, work{};
  GetWindowRect(owner_, &owner);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = std::min<int>(frame.right - frame.left, work.right - work.left);
  const int height = std::min<int>(frame.bottom - frame.top, work.bottom - work.top);
  const int left = std::max<int>(
      work.left, std::min<int>(owner.left + (owner.right - owner.left) / 6, work.right - width));
  const int top = std::max<int>(
      work.top, std::min<int>(owner.top + (owner.bottom - owner.top) / 3, work.bottom - height));
  CreateWindowExW(0, kCallLogWindowClass, W(std::u16string(kCallLogTitle)), style, left, top, width,
                  height, owner_, nullptr, instance_, this);

  switch_ = MakeControl(L"BUTTON", std::u16string(kCallLogSwitchText), WS_TABSTOP | BS_AUTOCHECKBOX,
                        kCallLogSwitchId);
  MakeControl(L"BUTTON", std::u16string(kCallLogClearText), WS_TABSTOP | BS_PUSHBUTTON,
              kClearCallsCommand);
  MakeControl(L"BUTTON", std::u16string(kCallLogCopyText), WS_TABSTOP | BS_PUSHBUTTON,
              kCopyCallsCommand);
  MakeControl(L"BUTTON", std::u16string(kCallLogSaveText), WS_TABSTOP | BS_PUSHBUTTON,
              kSaveCallsCommand);
  list_ = CreateWindowExW(
      WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, 0, 0, 0,
      0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCallLogListId)), instance_,
      nullptr);
  SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  ListView_SetExtendedListViewStyle(list_,
                                    LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
  for (std::size_t column = 0; column < kCallLogColumns; ++column) {
    const CallLogColumnLook& look = CallLogColumnOf(static_cast<CallLogColumn>(column));
    std::u16string caption(look.caption);
    LVCOLUMNW description{};
    description.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    // The first column of a list view is always left aligned.
    description.fmt = look.alignRight && column > 0 ? LVCFMT_RIGHT : LVCFMT_LEFT;
    description.cx = widths[column];
    description.pszText = reinterpret_cast<wchar_t*>(caption.data());
    description.iSubItem = static_cast<int>(column);
    SendMessageW(list_, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&description));
  }
  summary_ = MakeControl(L"STATIC", u"", SS_LEFT | SS_NOPREFIX, kCallLogSummaryId);

  rows_ = std::make_unique<CallLogRows>(TheCallLog(), [window = window_] {
    // From whichever thread made the call: the rows are taken on the window's.
    PostMessageW(window, kFollowMessage, 0, 0);
  });
  ListView_SetItemCountEx(list_, static_cast<int>(rows_->Size()), 0);
  RECT client{};
  GetClientRect(window_, &client);
  Place(client.right, client.bottom);
}

void NativeCallLog::Show() {
  const bool made = window_ != nullptr;
  if (!made)
    Create();
  SendMessageW(switch_, BM_SETCHECK, rows_->Enabled() ? BST_CHECKED : BST_UNCHECKED, 0);
  ShowSummary();
  if (rows_->Size() > 0)
    ListView_EnsureVisible(list_, static_cast<int>(rows_->Size()) - 1, FALSE);
  ShowWindow(window_, !made ? SW_SHOWNORMAL : IsIconic(window_) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(window_);
  BringWindowToTop(window_);
  SetFocus(list_);
}

// The commands in a row at the top, the list below them, the summary under it.
void NativeCallLog::Place(int width, int height) {
  const int row = lineHeight_ + 10;
  MoveWindow(switch_, kPadding, kPadding, Scaled(120), row, TRUE);
  const int buttonWidth = Scaled(kButtonWidth);
  int right = width - kPadding;
  for (const int command : {kSaveCallsCommand, kCopyCallsCommand, kClearCallsCommand}) {
    right -= buttonWidth;
    MoveWindow(GetDlgItem(window_, command), right, kPadding, buttonWidth, row, TRUE);
    right -= kPadding / 2;
  }
  const int listTop = 2 * kPadding + row;
  const int summaryHeight = lineHeight_ + kPadding;
  MoveWindow(list_, kPadding, listTop, std::max(width - 2 * kPadding, 0),
             std::max(height - listTop - summaryHeight - kPadding, 0), TRUE);
  MoveWindow(summary_, kPadding, height - summaryHeight, std::max(width - 2 * kPadding, 0),
             lineHeight_, TRUE);
}

void NativeCallLog::ShowSummary() {
  SetWindowText(summary_, rows_->SummaryText());
}

// The calls that came since the last time, in one change of the list's count; the list stays at
// its end when it was there.
void NativeCallLog::Follow() {
  if (!rows_)
    return;
  const int before = static_cast<int>(rows_->Size());
  const int perPage = ListView_GetCountPerPage(list_);
  const bool atEnd = before == 0 || ListView_GetTopIndex(list_) + perPage >= before;
  CallLogRows::Batch batch = rows_->Take();
  const bool reset = batch.reset;
  rows_->Apply(std::move(batch));
  const int count = static_cast<int>(rows_->Size());
  if (reset)
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemCountEx(list_, count, reset ? 0 : LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
  if (reset)
    InvalidateRect(list_, nullptr, TRUE);
  if (atEnd && count > 0)
    ListView_EnsureVisible(list_, count - 1, FALSE);
  ShowSummary();
}

LRESULT NativeCallLog::Notified(const NMHDR& header) {
  if (header.idFrom != static_cast<UINT_PTR>(kCallLogListId) || !rows_)
    return 0;
  switch (header.code) {
    case LVN_GETDISPINFOW: {
      // The list asks for the cells it shows, and only for those.
      auto& info = reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(header));
      LVITEMW& item = info.item;
      if (!(item.mask & LVIF_TEXT) || item.iItem < 0 ||
          static_cast<std::size_t>(item.iItem) >= rows_->Size() || item.cchTextMax <= 0)
        return 0;
      cell_ = CallLogCell(rows_->Row(static_cast<std::size_t>(item.iItem)),
                          static_cast<CallLogColumn>(item.iSubItem));
      const std::size_t length = std::min<std::size_t>(cell_.size(), item.cchTextMax - 1);
      std::memcpy(item.pszText, cell_.data(), length * sizeof(char16_t));
      item.pszText[length] = L'\0';
      return 0;
    }
    case NM_CUSTOMDRAW: {
      // A failed call's row in red.
      auto& draw = reinterpret_cast<NMLVCUSTOMDRAW&>(const_cast<NMHDR&>(header));
      if (draw.nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
      if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        const std::size_t row = draw.nmcd.dwItemSpec;
        if (row < rows_->Size() && FAILED(rows_->Row(row).status))
          draw.clrText = kFailureColour;
      }
      return CDRF_DODEFAULT;
    }
    case LVN_KEYDOWN: {
      const auto& key = reinterpret_cast<const NMLVKEYDOWN&>(header);
      if (GetKeyState(VK_CONTROL) < 0 && key.wVKey == 'C')
        Run(kCopyCallsCommand);
      else if (GetKeyState(VK_CONTROL) < 0 && key.wVKey == 'A')
        Run(kSelectAllCallsCommand);
      else if (GetKeyState(VK_CONTROL) < 0 && key.wVKey == 'S')
        Run(kSaveCallsCommand);
      return 0;
    }
    default:
      return 0;
  }
}

LRESULT NativeCallLog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      Place(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize = {Scaled(420), Scaled(200)};
      return 0;
    }
    case WM_NOTIFY:
      return Notified(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
      if (LOWORD(wParam) == kCallLogSwitchId) {
        rows_->SetEnabled(SendMessageW(switch_, BM_GETCHECK, 0, 0) == BST_CHECKED);
        ShowSummary();
      } else if (HIWORD(wParam) == BN_CLICKED) {
        Run(LOWORD(wParam));
      }
      return 0;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == list_) {
        ShowMenu(lParam);
        return 0;
      }
      break;
    case kFollowMessage:
      Follow();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void NativeCallLog::ShowMenu(LPARAM at) {
  HMENU menu = CreatePopupMenu();
  const bool selected = ListView_GetSelectedCount(list_) > 0;
  AppendMenuW(menu, selected ? MF_ENABLED : MF_GRAYED, kCopyCallsCommand, L"&Copy\tCtrl+C");
  AppendMenuW(menu, MF_ENABLED, kSelectAllCallsCommand, L"Select &All\tCtrl+A");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_ENABLED, kSaveCallsCommand, L"&Save...\tCtrl+S");
  AppendMenuW(menu, MF_ENABLED, kClearCallsCommand, L"C&lear");
  if (const int command = TrackContextMenu(list_, menu, at, {lineHeight_, lineHeight_}))
    Run(command);
}

void NativeCallLog::Run(int command) {
  try {
    switch (command) {
      case kClearCallsCommand:
        rows_->Clear();
        break;
      case kCopyCallsCommand:
        CopySelected();
        break;
      case kSaveCallsCommand:
        AskAndSave();
        break;
      case kSelectAllCallsCommand:
        ListView_SetItemState(list_, -1, LVIS_SELECTED, LVIS_SELECTED);
        break;
      default:
        break;
    }
  } catch (...) {
    showError_(std::current_exception());
  }
}

// The selected rows as CSV, as text on the clipboard.
void NativeCallLog::CopySelected() {
  std::vector<std::size_t> selected;
  for (int at = ListView_GetNextItem(list_, -1, LVNI_SELECTED); at >= 0;
       at = ListView_GetNextItem(list_, at, LVNI_SELECTED))
    selected.push_back(static_cast<std::size_t>(at));
  const std::u16string text = FromUtf8(rows_->Csv(selected));
  if (!OpenClipboard(window_))
    throw Exception(u"Cannot copy the calls: another program holds the clipboard");
  EmptyClipboard();
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t))) {
    std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(char16_t));
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_UNICODETEXT, memory))
      GlobalFree(memory);
  }
  CloseClipboard();
}

void NativeCallLog::AskAndSave() {
  const std::optional<std::u16string> path = AskSavePath(
      window_,
      {L"Save Call Log", L"calls.csv",
       L"CSV files (*.csv)\0*.csv\0JSON files (*.json)\0*.json\0All files\0*.*\0", L"csv"});
  if (!path)
    return;
  if (const auto failure = WriteWholeFile(*path, CallLogFileBytes(*path, rows_->All())))
    throw Exception(CallLogSaveFailure(*path, *failure));
}

LRESULT CALLBACK NativeCallLog::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<NativeCallLog*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<NativeCallLog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (self) {
      self->rows_.reset();
      self->window_ = self->switch_ = self->list_ = self->summary_ = nullptr;
    }
  }
  // Until its controls exist (the first size comes before them), the system handles the window.
  if (!self || !self->window_ || !self->summary_)
    return DefWindowProcW(window, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

}  // namespace quorvane::native
