#include "NativeChart.h"

#include <algorithm>
#include <cstdlib>

#include "ChartGdi.h"
#include "Errors.h"
#include "NativeDialogs.h"
#include "NativeFile.h"
#include "Utf.h"
#include "WindowText.h"

namespace quorvane::native {

namespace {

// The first size of the chart at 96 pixels per inch, and the least it can be made.
constexpr int kStartWidth = 720, kStartHeight = 420;
constexpr int kLeastWidth = 320, kLeastHeight = 200;
// A drag shorter than this is a click, not a zoom.
constexpr int kLeastDrag = 3;
// The pixels around the readout's line.
constexpr int kReadoutPadding = 4;

// The raster operation "destination and pattern": the dragged band tints what lies under it.
constexpr DWORD kTint = 0x00A000C9;
constexpr COLORREF kBandColour = RGB(0xC8, 0xDC, 0xF4);

int Scaled(int length) {
  HDC screen = GetDC(nullptr);
  const int perInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return MulDiv(length, perInch, 96);
}

}  // namespace

NativeChart::NativeChart(HINSTANCE instance, HWND owner, HFONT font,
                         std::function<void(std::exception_ptr)> showError)
    : instance_(instance), owner_(owner), font_(font), showError_(std::move(showError)) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (!GetClassInfoExW(instance, kChartWindowClass, &windowClass)) {
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, L"MAINICON");
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_CROSS));
    windowClass.lpszClassName = kChartWindowClass;
    RegisterClassExW(&windowClass);
  }
  HDC screen = GetDC(nullptr);
  HGDIOBJ former = SelectObject(screen, font_);
  lineHeight_ = static_cast<int>(GdiTextMeasure(screen).Height);
  SelectObject(screen, former);
  ReleaseDC(nullptr, screen);
}

NativeChart::~NativeChart() {
  if (window_ && IsWindow(window_))
    DestroyWindow(window_);
}

void NativeChart::Create() {
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  RECT frame{0, 0, Scaled(kStartWidth), Scaled(kStartHeight) + ReadoutHeight()};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  // Down and right of the main window's top left corner, so that both show, within the screen.
  RECT owner{}, work{};
  GetWindowRect(owner_, &owner);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int left = std::max<int>(
      work.left, std::min<int>(owner.left + (owner.right - owner.left) / 4, work.right - width));
  const int top = std::max<int>(
      work.top, std::min<int>(owner.top + (owner.bottom - owner.top) / 4, work.bottom - height));
  CreateWindowExW(0, kChartWindowClass, L"", style, left, top, width, height, owner_, nullptr,
                  instance_, this);
  readout_ = CreateWindowExW(
      0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, window_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kChartReadoutId)), instance_, nullptr);
  SendMessageW(readout_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  // The size of the making came before the readout: it is placed now.
  RECT client{};
  GetClientRect(window_, &client);
  SendMessageW(window_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

void NativeChart::Show(LoadedSeries series) {
  const bool made = window_ != nullptr;
  if (!made)
    Create();
  Take(std::move(series));
  ShowWindow(window_, !made ? SW_SHOWNORMAL : IsIconic(window_) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(window_);
  BringWindowToTop(window_);
}

void NativeChart::Follow(LoadedSeries series) {
  if (window_)
    Take(std::move(series));
}

void NativeChart::Take(LoadedSeries series) {
  series_ = std::move(series);
  SetWindowText(window_, u"Chart: " + series_.title);
  dragFrom_.reset();
  Zoom(std::nullopt);
}

int NativeChart::ReadoutHeight() const {
  return lineHeight_ + 2 * kReadoutPadding;
}

// The model for the window's client area above the readout, with the window's font.
const chart::ChartModel& NativeChart::Model() {
  if (!model_) {
    RECT client{};
    GetClientRect(window_, &client);
    chart::ChartInput input;
    input.Entries = series_.entries;
    input.Width = std::max<LONG>(client.right, 1);
    input.Height = std::max<LONG>(client.bottom - ReadoutHeight(), 1);
    input.Visible = zoom_;
    input.Chosen = series_.chosen;
    input.Title = series_.title;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ former = SelectObject(dc, font_);
    input.Measure = GdiTextMeasure(dc);
    model_.emplace(std::move(input));
    SelectObject(dc, former);
    DeleteDC(dc);
  }
  return *model_;
}

// A new size, zoom or series: a new model, and the readout of the former one goes.
void NativeChart::Rebuild() {
  model_.reset();
  pointed_.reset();
  SetWindowTextW(readout_, L"");
  InvalidateRect(window_, nullptr, FALSE);
}

void NativeChart::Zoom(std::optional<chart::DateRange> range) {
  zoom_ = range;
  Rebuild();
}

void NativeChart::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  const chart::ChartPicture& picture = Model().Picture();
  HBITMAP bitmap = ChartBitmap(picture, font_);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ formerBitmap = SelectObject(memory, bitmap);
  if (pointed_) {
    // The entry under the pointer: a ring on its step.
    LOGBRUSH brush{BS_SOLID, GdiColour(chart::ChartStyle::kSeries), 0};
    HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID, 2, &brush, 0, nullptr);
    HGDIOBJ formerPen = SelectObject(memory, pen);
    HGDIOBJ formerBrush = SelectObject(memory, GetStockObject(WHITE_BRUSH));
    const int x = static_cast<int>(pointed_->X), y = static_cast<int>(pointed_->Y);
    Ellipse(memory, x - 4, y - 4, x + 5, y + 5);
    SelectObject(memory, formerBrush);
    SelectObject(memory, formerPen);
    DeleteObject(pen);
  }
  if (dragFrom_) {
    const chart::ChartRect& plot = picture.Plot;
    const int left = std::clamp(std::min(*dragFrom_, dragTo_), static_cast<int>(plot.Left),
                                static_cast<int>(plot.Right()));
    const int right = std::clamp(std::max(*dragFrom_, dragTo_), static_cast<int>(plot.Left),
                                 static_cast<int>(plot.Right()));
    HBRUSH band = CreateSolidBrush(kBandColour);
    HGDIOBJ formerBrush = SelectObject(memory, band);
    PatBlt(memory, left, static_cast<int>(plot.Top), right - left, static_cast<int>(plot.Height),
           kTint);
    SelectObject(memory, formerBrush);
    DeleteObject(band);
  }
  const int width = static_cast<int>(picture.Width), height = static_cast<int>(picture.Height);
  BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
  SelectObject(memory, formerBitmap);
  DeleteDC(memory);
  DeleteObject(bitmap);
  RECT client{};
  GetClientRect(window_, &client);
  client.top = height;
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  EndPaint(window_, &paint);
}

// The readout of the entry under the pointer; nothing outside the plot.
void NativeChart::PointAt(int x, int y) {
  const chart::ChartModel& model = Model();
  const chart::ChartRect& plot = model.Picture().Plot;
  std::optional<chart::PointReadout> readout;
  if (x >= plot.Left && x <= plot.Right() && y >= plot.Top && y <= plot.Bottom())
    readout = model.NearestPoint({static_cast<double>(x), static_cast<double>(y)});
  const std::optional<chart::ChartPoint> pointed =
      readout ? std::optional(readout->At) : std::nullopt;
  if (pointed == pointed_)
    return;
  pointed_ = pointed;
  SetWindowText(readout_, readout ? readout->Text : std::u16string());
  InvalidateRect(window_, nullptr, FALSE);
}

LRESULT NativeChart::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
  switch (message) {
    case WM_SIZE:
      MoveWindow(readout_, kReadoutPadding, HIWORD(lParam) - ReadoutHeight() + kReadoutPadding,
                 std::max(LOWORD(lParam) - 2 * kReadoutPadding, 0), lineHeight_, TRUE);
      Rebuild();
      return 0;
    case WM_GETMINMAXINFO: {
      RECT frame{0, 0, Scaled(kLeastWidth), Scaled(kLeastHeight) + ReadoutHeight()};
      AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the paint covers all of it
    case WM_PAINT:
      Paint();
      return 0;
    case WM_MOUSEMOVE:
      if (dragFrom_) {
        dragTo_ = x;
        InvalidateRect(window_, nullptr, FALSE);
      } else {
        PointAt(x, y);
      }
      return 0;
    case WM_LBUTTONDOWN: {
      const chart::ChartRect& plot = Model().Picture().Plot;
      if (x >= plot.Left && x <= plot.Right() && y >= plot.Top && y <= plot.Bottom()) {
        dragFrom_ = dragTo_ = x;
        SetCapture(window_);
      }
      return 0;
    }
    case WM_LBUTTONUP:
      if (dragFrom_) {
        const int from = *dragFrom_;
        dragFrom_.reset();
        ReleaseCapture();
        if (std::abs(x - from) >= kLeastDrag) {
          if (const auto range = Model().ZoomRange(from, x))
            Zoom(range);
        }
        InvalidateRect(window_, nullptr, FALSE);
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (dragFrom_ && reinterpret_cast<HWND>(lParam) != window_) {
        dragFrom_.reset();
        InvalidateRect(window_, nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONDBLCLK:
      Run(kZoomOutCommand);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        if (dragFrom_)
          ReleaseCapture();
        else
          Run(kZoomOutCommand);
      } else if (GetKeyState(VK_CONTROL) < 0 && wParam == 'C') {
        Run(kCopyPictureCommand);
      } else if (GetKeyState(VK_CONTROL) < 0 && wParam == 'S') {
        Run(kSavePngCommand);
      }
      return 0;
    case WM_CONTEXTMENU:
      ShowMenu(lParam);
      return 0;
    case WM_COMMAND:
      if (!lParam)
        Run(LOWORD(wParam));
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void NativeChart::ShowMenu(LPARAM at) {
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_ENABLED, kCopyPictureCommand, L"&Copy Picture\tCtrl+C");
  AppendMenuW(menu, MF_ENABLED, kSavePngCommand, L"&Save as PNG...\tCtrl+S");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, zoom_ ? MF_ENABLED : MF_GRAYED, kZoomOutCommand, L"&Zoom Out\tEsc");
  // From the keyboard the menu opens at the plot's top left corner.
  const chart::ChartRect& plot = Model().Picture().Plot;
  if (const int command = TrackContextMenu(
          window_, menu, at, {static_cast<LONG>(plot.Left), static_cast<LONG>(plot.Top)}))
    Run(command);
}

void NativeChart::Run(int command) {
  try {
    switch (command) {
      case kCopyPictureCommand:
        CopyPicture();
        break;
      case kSavePngCommand:
        AskAndSavePng();
        break;
      case kZoomOutCommand:
        if (zoom_)
          Zoom(std::nullopt);
        break;
      default:
        break;
    }
  } catch (...) {
    showError_(std::current_exception());
  }
}

// The picture as the window shows it, without the pointer's ring, as a bitmap.
void NativeChart::CopyPicture() {
  HBITMAP bitmap = ChartBitmap(Model().Picture(), font_);
  if (!OpenClipboard(window_)) {
    DeleteObject(bitmap);
    throw Exception(u"Cannot copy the picture: another program holds the clipboard");
  }
  EmptyClipboard();
  // The clipboard owns the bitmap once it takes it.
  if (!SetClipboardData(CF_BITMAP, bitmap))
    DeleteObject(bitmap);
  CloseClipboard();
}

void NativeChart::AskAndSavePng() {
  const std::optional<std::u16string> path =
      AskSavePath(window_, {L"Save Chart as PNG", L"chart.png",
                            L"PNG pictures (*.png)\0*.png\0All files\0*.*\0", L"png"});
  if (!path)
    return;
  HBITMAP bitmap = ChartBitmap(Model().Picture(), font_);
  std::string bytes;
  try {
    bytes = PngBytes(bitmap);
  } catch (...) {
    DeleteObject(bitmap);
    throw;
  }
  DeleteObject(bitmap);
  if (const auto failure = WriteWholeFile(*path, bytes))
    throw Exception(u"Cannot save the chart to " + *path + u": " + *failure);
}

LRESULT CALLBACK NativeChart::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<NativeChart*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<NativeChart*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (self) {
      self->window_ = self->readout_ = nullptr;
      self->model_.reset();
    }
  }
  // Until the readout exists (the first size comes before it), the system handles the window.
  if (!self || !self->window_ || !self->readout_)
    return DefWindowProcW(window, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

}  // namespace quorvane::native
