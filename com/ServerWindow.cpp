#include "ServerWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "DataVintage.h"
#include "IsoDate.h"
#include "LocalServer.h"
#include "QuorvaneIds.h"
#include "QuorvaneVersion.h"

namespace serverdll {

namespace {

constexpr int kHeaderId = 101;
constexpr int kObjectsId = 102;
constexpr int kCallsId = 103;
// The list keeps the latest calls; a long session must not grow the server without bound.
constexpr int kMostCalls = 2000;

std::wstring Wide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}
std::wstring Wide(std::string_view text) {
  return std::wstring(text.begin(), text.end());
}

// The server's version and how recent its data are: the catalogue's source and the latest day of
// the series and of the rate tables.
std::wstring HeaderText() {
  std::wstring text = Wide(quorvane::kServerName) + L", version " + Wide(kQuorvaneVersion) +
                      L", process " + std::to_wstring(GetCurrentProcessId()) + L"\r\n";
  try {
    const quorvane::server::DataVintage& vintage = quorvane::server::BuiltInDataVintage();
    int series = 0, rates = 0;
    for (const auto& one : vintage.Series)
      series = std::max(series, one.LastDay);
    for (const auto& column : vintage.RateColumns)
      rates = std::max(rates, column.LastDay);
    text += L"Data: series up to " + Wide(quorvane::IsoDateText(series)) + L", rates up to " +
            Wide(quorvane::IsoDateText(rates)) + L"; currencies from " +
            Wide(std::u16string_view(vintage.CatalogueSource));
  } catch (const std::exception& error) {
    text += L"Data: the built-in data do not read: " + Wide(std::string_view(error.what()));
  }
  return text;
}

void AddColumn(HWND list, int index, const wchar_t* title, int width, bool right) {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.fmt = right ? LVCFMT_RIGHT : LVCFMT_LEFT;
  column.cx = width;
  column.pszText = const_cast<wchar_t*>(title);
  SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

void SetCell(HWND list, int row, int column, const std::wstring& text) {
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

ServerWindow::ServerWindow(std::function<void(const char*)> entering, std::function<void()> hidden)
    : entering_(std::move(entering)), hidden_(std::move(hidden)) {}

ServerWindow::~ServerWindow() {
  if (window_)
    DestroyWindow(window_);
  if (font_)
    DeleteObject(font_);
}

bool ServerWindow::Create(bool shown) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kServerWindowClass;
  RegisterClassExW(&windowClass);
  window_ =
      CreateWindowExW(0, kServerWindowClass, L"Quorvane reference server", WS_OVERLAPPEDWINDOW,
                      CW_USEDEFAULT, CW_USEDEFAULT, 560, 380, nullptr, nullptr, instance, this);
  if (!window_)
    return false;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    font_ = CreateFontIndirectW(&metrics.lfMessageFont);
  header_ =
      CreateWindowExW(0, L"STATIC", HeaderText().c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0,
                      0, window_, reinterpret_cast<HMENU>(kHeaderId), instance, nullptr);
  objects_ = CreateWindowExW(0, L"STATIC", L"Objects: 0", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0,
                             0, window_, reinterpret_cast<HMENU>(kObjectsId), instance, nullptr);
  calls_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, 0,
                           0, 0, 0, window_, reinterpret_cast<HMENU>(kCallsId), instance, nullptr);
  for (HWND child : {header_, objects_, calls_})
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  SendMessageW(calls_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  AddColumn(calls_, 0, L"Operation", 140, false);
  AddColumn(calls_, 1, L"Arguments", 170, false);
  AddColumn(calls_, 2, L"Status", 80, false);
  AddColumn(calls_, 3, L"Reply", 60, true);
  AddColumn(calls_, 4, L"ms", 60, true);
  Layout();
  if (shown)
    ShowWindow(window_, SW_SHOWNORMAL);
  return true;
}

void ServerWindow::Layout() {
  RECT client{};
  GetClientRect(window_, &client);
  const int width = client.right - 16;
  MoveWindow(header_, 8, 8, width, 32, TRUE);
  MoveWindow(objects_, 8, 44, width, 16, TRUE);
  MoveWindow(calls_, 8, 64, width, std::max(0L, client.bottom - 72), TRUE);
}

void ServerWindow::ShowObjects(long objects) {
  if (objects_)
    SetWindowTextW(objects_, (L"Objects: " + std::to_wstring(objects)).c_str());
}

bool ServerWindow::Visible() const {
  return window_ && IsWindowVisible(window_);
}

void ServerWindow::SetVisible(bool visible) {
  if (!window_ || visible == Visible())
    return;
  // Shown without taking the focus from the client's window.
  ShowWindow(window_, visible ? SW_SHOWNOACTIVATE : SW_HIDE);
  if (!visible && hidden_)
    hidden_();
}

void ServerWindow::Entering(const char* operation) {
  if (entering_)
    entering_(operation);
}

void ServerWindow::Answered(const AnsweredCall& call) {
  if (!calls_)
    return;
  int rows = static_cast<int>(SendMessageW(calls_, LVM_GETITEMCOUNT, 0, 0));
  if (rows >= kMostCalls) {
    SendMessageW(calls_, LVM_DELETEITEM, 0, 0);
    --rows;
  }
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = rows;
  item.pszText = const_cast<wchar_t*>(call.operation.c_str());
  const int row =
      static_cast<int>(SendMessageW(calls_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  wchar_t status[16], milliseconds[32];
  std::swprintf(status, 16, L"0x%08lX", static_cast<unsigned long>(call.status));
  std::swprintf(milliseconds, 32, L"%.3f", call.milliseconds);
  SetCell(calls_, row, 1, call.arguments);
  SetCell(calls_, row, 2, status);
  SetCell(calls_, row, 3, std::to_wstring(call.replyLength));
  SetCell(calls_, row, 4, milliseconds);
  SendMessageW(calls_, LVM_ENSUREVISIBLE, row, FALSE);
}

LRESULT CALLBACK ServerWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrW(
        window, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  auto* self = reinterpret_cast<ServerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_SIZE:
      if (self && self->calls_)
        self->Layout();
      return 0;
    case WM_CLOSE:
      // The user closes it: it hides, and a client's next Get_Visible reads false.
      if (self)
        self->SetVisible(false);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace serverdll
