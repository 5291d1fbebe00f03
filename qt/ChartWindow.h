#pragma once
// The chart window: the series that a lookup group or the exchange-rate listing loaded, drawn by
// the chart model with QPainter, in a window of its own beside the main window. It follows the
// next load; the entry under the pointer shows below the chart; a drag across the plot zooms to
// its days, Escape or a double-click zooms out; the picture can be copied and saved as PNG or SVG.

#include <QImage>
#include <QWidget>
#include <optional>

#include "ChartModel.h"
#include "LoadedSeries.h"

class QLabel;

namespace quorvane {

// Draws what the picture says, in the chart's drawing order; the painter's font is the one the
// model was measured with.
void DrawChart(QPainter& painter, const chart::ChartPicture& picture);

class ChartCanvas;

class ChartWindow : public QWidget {
  Q_OBJECT

 public:
  explicit ChartWindow(QWidget* owner);

  // Shows the series from its whole range, and brings the window to the front.
  void ShowSeries(LoadedSeries series);
  // Follows a load while the window is open.
  void Follow(LoadedSeries series);

  const LoadedSeries& Series() const { return series_; }
  std::optional<chart::DateRange> Zoom() const { return zoom_; }
  void SetZoom(std::optional<chart::DateRange> zoom);
  QString Readout() const;

  // The picture at the canvas's size.
  QImage Picture() const;
  void CopyPicture() const;
  // Raise an Exception naming the file when it cannot be written.
  void SavePng(const QString& path) const;
  void SaveSvg(const QString& path) const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  friend class ChartCanvas;
  void AskAndSave(bool svg);
  chart::ChartInput Input(double width, double height, chart::TextMeasure measure) const;

  LoadedSeries series_;
  std::optional<chart::DateRange> zoom_;
  ChartCanvas* canvas_;
  QLabel* readout_;
};

}  // namespace quorvane
