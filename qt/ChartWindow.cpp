#include "ChartWindow.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <cmath>

#include "ChartSvg.h"
#include "ErrorBox.h"
#include "Errors.h"

namespace quorvane {

namespace {

QColor ColourOf(std::uint32_t rgb) {
  return QColor::fromRgb(static_cast<QRgb>(rgb));
}

QRectF RectOf(const chart::ChartRect& rect) {
  return {rect.Left, rect.Top, rect.Width, rect.Height};
}

void DrawLabel(QPainter& painter, const chart::ChartLabel& label) {
  // The box's top is the line's top: the text starts there, one line high.
  painter.drawText(RectOf(label.Box), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                   QString::fromStdU16String(label.Text));
}

chart::TextMeasure MeasureOf(const QFont& font) {
  const QFontMetricsF metrics(font);
  return {[metrics](std::u16string_view text) {
            return metrics.horizontalAdvance(
                QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
          },
          metrics.height()};
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() ||
      !file.flush())
    throw Exception(u"Cannot save the chart to " + path.toStdU16String() + u": " +
                    file.errorString().toStdU16String());
}

}  // namespace

void DrawChart(QPainter& painter, const chart::ChartPicture& picture) {
  using chart::ChartStyle;
  const QRectF plot = RectOf(picture.Plot);
  painter.fillRect(QRectF(0, 0, picture.Width, picture.Height), ColourOf(ChartStyle::kBackground));

  painter.setPen(QPen(ColourOf(ChartStyle::kGrid), 1));
  for (const chart::ChartTick& tick : picture.DateTicks)
    painter.drawLine(QPointF(tick.Position, plot.top()), QPointF(tick.Position, plot.bottom()));
  for (const chart::ChartTick& tick : picture.ValueTicks)
    painter.drawLine(QPointF(plot.left(), tick.Position), QPointF(plot.right(), tick.Position));

  if (!picture.Steps.empty()) {
    QPolygonF steps;
    steps.reserve(static_cast<qsizetype>(picture.Steps.size()));
    for (const chart::ChartPoint& point : picture.Steps)
      steps << QPointF(point.X, point.Y);
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPen series(ColourOf(ChartStyle::kSeries), ChartStyle::kSeriesWidth);
    series.setJoinStyle(Qt::MiterJoin);
    painter.setPen(series);
    painter.drawPolyline(steps);
    painter.setRenderHint(QPainter::Antialiasing, false);
  }

  painter.setPen(QPen(ColourOf(ChartStyle::kFrame), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(plot);
  for (const chart::ChartTick& tick : picture.DateTicks)
    painter.drawLine(QPointF(tick.Position, plot.bottom()),
                     QPointF(tick.Position, plot.bottom() + ChartStyle::kTickLength));
  for (const chart::ChartTick& tick : picture.ValueTicks)
    painter.drawLine(QPointF(plot.left(), tick.Position),
                     QPointF(plot.left() - ChartStyle::kTickLength, tick.Position));

  painter.setPen(ColourOf(ChartStyle::kText));
  for (const chart::ChartTick& tick : picture.ValueTicks)
    DrawLabel(painter, tick.Label);
  for (const chart::ChartTick& tick : picture.DateTicks)
    DrawLabel(painter, tick.Label);
  if (picture.Title)
    DrawLabel(painter, *picture.Title);
  if (picture.Notice)
    DrawLabel(painter, *picture.Notice);

  if (picture.Marker) {
    const chart::DayMarker& marker = *picture.Marker;
    const QColor colour = ColourOf(ChartStyle::kMarker);
    if (marker.Place == chart::MarkerPlace::Inside) {
      QPen dashed(colour, ChartStyle::kMarkerWidth);
      dashed.setDashPattern({4, 3});
      painter.setPen(dashed);
      painter.drawLine(QPointF(marker.X, plot.top()), QPointF(marker.X, plot.bottom()));
    }
    if (marker.Dot) {
      painter.setRenderHint(QPainter::Antialiasing, true);
      painter.setPen(Qt::NoPen);
      painter.setBrush(colour);
      painter.drawEllipse(QPointF(marker.Dot->X, marker.Dot->Y), ChartStyle::kDotRadius,
                          ChartStyle::kDotRadius);
      painter.setBrush(Qt::NoBrush);
      painter.setRenderHint(QPainter::Antialiasing, false);
    }
    painter.fillRect(RectOf(marker.Label.Box), ColourOf(ChartStyle::kBackground));
    painter.setPen(colour);
    DrawLabel(painter, marker.Label);
  }
}

// The chart itself: built anew for its size on every paint, and what the pointer does over it.
class ChartCanvas : public QWidget {
 public:
  explicit ChartCanvas(ChartWindow& window) : QWidget(&window), window_(window) {
    setMouseTracking(true);
    setMinimumSize(320, 200);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

  // The model for the canvas's size, built once per size, zoom and series: a pointer move only
  // asks it.
  const chart::ChartModel& Model() const {
    if (!model_)
      model_.emplace(window_.Input(width(), height(), MeasureOf(font())));
    return *model_;
  }
  void Rebuild() {
    model_.reset();
    update();
  }
  // The entry under the pointer, as the readout shows it.
  QString readout;
  std::optional<QPointF> pointer;  // where the readout's entry is drawn

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setFont(font());
    const chart::ChartModel& model = Model();
    DrawChart(painter, model.Picture());
    if (dragFrom_ && dragTo_) {
      const QRectF plot = RectOf(model.Picture().Plot);
      painter.fillRect(QRectF(QPointF(std::min(*dragFrom_, *dragTo_), plot.top()),
                              QPointF(std::max(*dragFrom_, *dragTo_), plot.bottom())),
                       QColor(31, 95, 168, 40));
    }
    if (pointer) {
      painter.setRenderHint(QPainter::Antialiasing, true);
      painter.setPen(QPen(ColourOf(chart::ChartStyle::kSeries), 1.5));
      painter.drawEllipse(*pointer, 4, 4);
    }
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    const QPointF at = event->position();
    if (dragFrom_) {
      dragTo_ = at.x();
      update();
    }
    const chart::ChartModel& model = Model();
    const std::optional<chart::PointReadout> nearest = RectOf(model.Picture().Plot).contains(at)
                                                           ? model.NearestPoint({at.x(), at.y()})
                                                           : std::nullopt;
    readout = nearest ? QString::fromStdU16String(nearest->Text) : QString();
    pointer =
        nearest ? std::optional<QPointF>(QPointF(nearest->At.X, nearest->At.Y)) : std::nullopt;
    window_.readout_->setText(readout);
    update();
  }
  void leaveEvent(QEvent*) override {
    readout.clear();
    pointer.reset();
    window_.readout_->clear();
    update();
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton)
      dragFrom_ = event->position().x();
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton || !dragFrom_)
      return;
    const double from = *dragFrom_, to = event->position().x();
    dragFrom_.reset();
    dragTo_.reset();
    // A click is no drag: a few pixels are needed to choose days.
    if (std::abs(to - from) >= 4)
      if (const std::optional<chart::DateRange> range = Model().ZoomRange(from, to))
        window_.SetZoom(range);
    update();
  }
  void mouseDoubleClickEvent(QMouseEvent*) override { window_.SetZoom(std::nullopt); }

  void resizeEvent(QResizeEvent*) override { model_.reset(); }

 private:
  ChartWindow& window_;
  mutable std::optional<chart::ChartModel> model_;
  std::optional<double> dragFrom_, dragTo_;
};

ChartWindow::ChartWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("ChartWindow"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 4);
  canvas_ = new ChartCanvas(*this);
  canvas_->setObjectName(QStringLiteral("ChartCanvas"));
  layout->addWidget(canvas_, 1);
  readout_ = new QLabel(this);
  readout_->setObjectName(QStringLiteral("ChartReadout"));
  readout_->setContentsMargins(8, 0, 8, 0);
  readout_->setMinimumHeight(readout_->fontMetrics().height());
  layout->addWidget(readout_);
  resize(800, 480);
}

chart::ChartInput ChartWindow::Input(double width, double height,
                                     chart::TextMeasure measure) const {
  chart::ChartInput input;
  input.Entries = series_.entries;
  input.Width = width;
  input.Height = height;
  input.Measure = std::move(measure);
  input.Visible = zoom_;
  input.Chosen = series_.chosen;
  input.Title = series_.title;
  return input;
}

void ChartWindow::ShowSeries(LoadedSeries series) {
  Follow(std::move(series));
  show();
  raise();
  activateWindow();
}

void ChartWindow::Follow(LoadedSeries series) {
  series_ = std::move(series);
  zoom_.reset();
  setWindowTitle(QStringLiteral("Chart: ") + QString::fromStdU16String(series_.title));
  readout_->clear();
  canvas_->readout.clear();
  canvas_->pointer.reset();
  canvas_->Rebuild();
}

void ChartWindow::SetZoom(std::optional<chart::DateRange> zoom) {
  zoom_ = zoom;
  canvas_->pointer.reset();
  canvas_->Rebuild();
}

QString ChartWindow::Readout() const {
  return readout_->text();
}

QImage ChartWindow::Picture() const {
  QImage image(canvas_->size(), QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setFont(canvas_->font());
  DrawChart(painter, canvas_->Model().Picture());
  return image;
}

void ChartWindow::CopyPicture() const {
  QApplication::clipboard()->setImage(Picture());
}

void ChartWindow::SavePng(const QString& path) const {
  QByteArray bytes;
  {
    QImage image = Picture();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
  }
  WriteFile(path, bytes);
}

void ChartWindow::SaveSvg(const QString& path) const {
  // The SVG is measured for its own font list, which every SVG viewer has.
  const std::string svg = chart::ChartSvg(
      chart::ChartModel(Input(canvas_->width(), canvas_->height(), chart::SvgTextMeasure()))
          .Picture());
  WriteFile(path, QByteArray::fromStdString(svg));
}

void ChartWindow::AskAndSave(bool svg) {
  const QString path =
      QFileDialog::getSaveFileName(this, svg ? tr("Save as SVG") : tr("Save as PNG"),
                                   svg ? QStringLiteral("chart.svg") : QStringLiteral("chart.png"),
                                   svg ? tr("SVG pictures (*.svg)") : tr("PNG pictures (*.png)"));
  if (path.isEmpty())
    return;
  Guarded([&] { svg ? SaveSvg(path) : SavePng(path); });
}

void ChartWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    SetZoom(std::nullopt);
    return;
  }
  if (event->matches(QKeySequence::Copy)) {
    CopyPicture();
    return;
  }
  if (event->matches(QKeySequence::Save)) {
    AskAndSave(false);
    return;
  }
  QWidget::keyPressEvent(event);
}

void ChartWindow::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(tr("Copy Picture"), QKeySequence::Copy, this, [this] { CopyPicture(); });
  menu.addAction(tr("Save as PNG..."), QKeySequence::Save, this, [this] { AskAndSave(false); });
  menu.addAction(tr("Save as SVG..."), this, [this] { AskAndSave(true); });
  menu.addSeparator();
  QAction* out = menu.addAction(tr("Zoom Out"), this, [this] { SetZoom(std::nullopt); });
  out->setEnabled(zoom_.has_value());
  menu.exec(event->globalPos());
}

}  // namespace quorvane
