#pragma once
// The chart window of the native view: a window of its own beside the main window, owned by it,
// drawing one loaded series by the chart model with GDI. Under the chart a line reads out the
// entry under the pointer; a drag across the plot zooms, Escape or a double-click zooms out; its
// context menu copies the picture or saves it as a PNG file.

#include <windows.h>

#include <exception>
#include <functional>
#include <optional>

#include "ChartModel.h"
#include "LoadedSeries.h"

namespace quorvane::native {

// The window's class, by which a driver program finds it.
inline constexpr wchar_t kChartWindowClass[] = L"QuorvaneChart";
// The commands of its context menu; a driver program sends them to the window as WM_COMMAND too.
inline constexpr int kCopyPictureCommand = 0x210;
inline constexpr int kSavePngCommand = 0x211;
inline constexpr int kZoomOutCommand = 0x212;
// The readout under the chart, a static control.
inline constexpr int kChartReadoutId = 0x213;
// "Chart..." of a chart group box's context menu; a driver program sends it to the group box.
inline constexpr int kOpenChartCommand = 0x220;

class NativeChart {
 public:
  // Registers the window class (once); the window is made when it is first shown. Its texts are
  // drawn with `font`, which outlives it; errors of its commands go to `showError`.
  NativeChart(HINSTANCE instance, HWND owner, HFONT font,
              std::function<void(std::exception_ptr)> showError);
  ~NativeChart();
  NativeChart(const NativeChart&) = delete;
  NativeChart& operator=(const NativeChart&) = delete;

  // Opens the window, or brings it to the front, showing the whole series.
  void Show(LoadedSeries series);
  // An open window shows the series instead, zoomed out; a closed one stays closed.
  void Follow(LoadedSeries series);
  HWND Window() const { return window_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Create();
  void Take(LoadedSeries series);
  int ReadoutHeight() const;
  const chart::ChartModel& Model();
  void Rebuild();
  void Paint();
  void PointAt(int x, int y);
  void Zoom(std::optional<chart::DateRange> range);
  void ShowMenu(LPARAM at);
  void Run(int command);
  void CopyPicture();
  void AskAndSavePng();

  HINSTANCE instance_;
  HWND owner_;
  HFONT font_;
  std::function<void(std::exception_ptr)> showError_;
  HWND window_ = nullptr;
  HWND readout_ = nullptr;
  int lineHeight_ = 13;
  LoadedSeries series_;
  std::optional<chart::DateRange> zoom_;
  std::optional<chart::ChartModel> model_;    // for the window's size; made again when missing
  std::optional<chart::ChartPoint> pointed_;  // the entry under the pointer
  std::optional<int> dragFrom_;
  int dragTo_ = 0;
};

}  // namespace quorvane::native
