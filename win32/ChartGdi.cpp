#include "ChartGdi.h"

#include <gdiplus.h>
#include <objidl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "Errors.h"
#include "Utf.h"

namespace quorvane::native {

namespace {

using chart::ChartLabel;
using chart::ChartPicture;
using chart::ChartStyle;
using chart::ChartTick;

// GDI+'s encoder of PNG files, {557CF406-1A04-11D3-9A73-0000F81EF32E}, as its list of encoders
// names it for "image/png".
constexpr CLSID kPngEncoder = {
    0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

int Px(double coordinate) {
  return static_cast<int>(std::lround(coordinate));
}

HPEN SolidPen(std::uint32_t rgb, double width) {
  LOGBRUSH brush{BS_SOLID, GdiColour(rgb), 0};
  return ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_JOIN_MITER | PS_ENDCAP_FLAT,
                      static_cast<DWORD>(std::max(1, Px(width))), &brush, 0, nullptr);
}

void Line(HDC dc, double x0, double y0, double x1, double y1) {
  MoveToEx(dc, Px(x0), Px(y0), nullptr);
  LineTo(dc, Px(x1), Px(y1));
}

void Text(HDC dc, const ChartLabel& label) {
  TextOutW(dc, Px(label.Box.Left), Px(label.Box.Top),
           reinterpret_cast<const wchar_t*>(label.Text.data()),
           static_cast<int>(label.Text.size()));
}

void Fill(HDC dc, const chart::ChartRect& box, std::uint32_t rgb) {
  const RECT area{Px(box.Left), Px(box.Top), Px(box.Right()), Px(box.Bottom())};
  HBRUSH brush = CreateSolidBrush(GdiColour(rgb));
  FillRect(dc, &area, brush);
  DeleteObject(brush);
}

void DrawMarker(HDC dc, const ChartPicture& picture) {
  const chart::DayMarker& marker = *picture.Marker;
  if (marker.Place == chart::MarkerPlace::Inside) {
    LOGBRUSH brush{BS_SOLID, GdiColour(ChartStyle::kMarker), 0};
    const DWORD dashes[] = {4, 3};
    HPEN dashed = ExtCreatePen(PS_COSMETIC | PS_USERSTYLE, 1, &brush, 2, dashes);
    HGDIOBJ former = SelectObject(dc, dashed);
    Line(dc, marker.X, picture.Plot.Top, marker.X, picture.Plot.Bottom());
    SelectObject(dc, former);
    DeleteObject(dashed);
  }
  if (marker.Dot) {
    HBRUSH brush = CreateSolidBrush(GdiColour(ChartStyle::kMarker));
    HGDIOBJ formerBrush = SelectObject(dc, brush);
    HGDIOBJ formerPen = SelectObject(dc, GetStockObject(NULL_PEN));
    const double r = ChartStyle::kDotRadius;
    Ellipse(dc, Px(marker.Dot->X - r), Px(marker.Dot->Y - r), Px(marker.Dot->X + r) + 1,
            Px(marker.Dot->Y + r) + 1);
    SelectObject(dc, formerPen);
    SelectObject(dc, formerBrush);
    DeleteObject(brush);
  }
  // The label on a box of the background, so that the series does not run through it.
  Fill(dc, marker.Label.Box, ChartStyle::kBackground);
  SetTextColor(dc, GdiColour(ChartStyle::kMarker));
  Text(dc, marker.Label);
}

}  // namespace

COLORREF GdiColour(std::uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

chart::TextMeasure GdiTextMeasure(HDC dc) {
  chart::TextMeasure measure;
  measure.Width = [dc](std::u16string_view text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.data()),
                          static_cast<int>(text.size()), &size);
    return static_cast<double>(size.cx);
  };
  TEXTMETRICW metrics{};
  if (GetTextMetricsW(dc, &metrics) && metrics.tmHeight > 0)
    measure.Height = metrics.tmHeight;
  return measure;
}

void DrawChart(HDC dc, const ChartPicture& picture, HFONT font) {
  const chart::ChartRect& plot = picture.Plot;
  Fill(dc, {0, 0, picture.Width, picture.Height}, ChartStyle::kBackground);

  HPEN grid = SolidPen(ChartStyle::kGrid, 1);
  HGDIOBJ formerPen = SelectObject(dc, grid);
  for (const ChartTick& tick : picture.DateTicks)
    Line(dc, tick.Position, plot.Top, tick.Position, plot.Bottom());
  for (const ChartTick& tick : picture.ValueTicks)
    Line(dc, plot.Left, tick.Position, plot.Right(), tick.Position);

  HPEN series = SolidPen(ChartStyle::kSeries, ChartStyle::kSeriesWidth);
  SelectObject(dc, series);
  std::vector<POINT> steps;
  steps.reserve(picture.Steps.size());
  for (const chart::ChartPoint& point : picture.Steps)
    steps.push_back({Px(point.X), Px(point.Y)});
  if (steps.size() > 1)
    Polyline(dc, steps.data(), static_cast<int>(steps.size()));

  // The frame and the tick marks outside it.
  HPEN frame = SolidPen(ChartStyle::kFrame, 1);
  SelectObject(dc, frame);
  const POINT corners[] = {{Px(plot.Left), Px(plot.Top)},
                           {Px(plot.Right()), Px(plot.Top)},
                           {Px(plot.Right()), Px(plot.Bottom())},
                           {Px(plot.Left), Px(plot.Bottom())},
                           {Px(plot.Left), Px(plot.Top)}};
  Polyline(dc, corners, 5);
  for (const ChartTick& tick : picture.DateTicks)
    Line(dc, tick.Position, plot.Bottom(), tick.Position, plot.Bottom() + ChartStyle::kTickLength);
  for (const ChartTick& tick : picture.ValueTicks)
    Line(dc, plot.Left, tick.Position, plot.Left - ChartStyle::kTickLength, tick.Position);
  SelectObject(dc, formerPen);
  DeleteObject(grid);
  DeleteObject(series);
  DeleteObject(frame);

  HGDIOBJ formerFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
  SetTextColor(dc, GdiColour(ChartStyle::kText));
  for (const ChartTick& tick : picture.ValueTicks)
    Text(dc, tick.Label);
  for (const ChartTick& tick : picture.DateTicks)
    Text(dc, tick.Label);
  if (picture.Marker)
    DrawMarker(dc, picture);
  SetTextColor(dc, GdiColour(ChartStyle::kText));
  if (picture.Title)
    Text(dc, *picture.Title);
  if (picture.Notice)
    Text(dc, *picture.Notice);
  SelectObject(dc, formerFont);
}

HBITMAP ChartBitmap(const ChartPicture& picture, HFONT font) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, Px(picture.Width), Px(picture.Height));
  HGDIOBJ former = SelectObject(memory, bitmap);
  DrawChart(memory, picture, font);
  SelectObject(memory, former);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

std::string PngBytes(HBITMAP bitmap) {
  namespace gdip = Gdiplus::DllExports;
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::Status status = Gdiplus::GdiplusStartup(&token, &input, nullptr);
  std::string bytes;
  if (status == Gdiplus::Ok) {
    Gdiplus::GpBitmap* image = nullptr;
    IStream* stream = nullptr;
    status = gdip::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image);
    if (status == Gdiplus::Ok && FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)))
      status = Gdiplus::OutOfMemory;
    if (status == Gdiplus::Ok)
      status = gdip::GdipSaveImageToStream(image, stream, &kPngEncoder, nullptr);
    ULARGE_INTEGER size{};
    HGLOBAL memory = nullptr;
    if (status == Gdiplus::Ok && (FAILED(stream->Seek({}, STREAM_SEEK_END, &size)) ||
                                  FAILED(GetHGlobalFromStream(stream, &memory))))
      status = Gdiplus::GenericError;
    if (status == Gdiplus::Ok) {
      bytes.assign(static_cast<const char*>(GlobalLock(memory)),
                   static_cast<std::size_t>(size.QuadPart));
      GlobalUnlock(memory);
    }
    if (stream)
      stream->Release();
    if (image)
      gdip::GdipDisposeImage(image);
    Gdiplus::GdiplusShutdown(token);
  }
  if (status != Gdiplus::Ok)
    throw Exception(u"The picture could not be encoded as PNG (GDI+ status " +
                    FromUtf8(std::to_string(static_cast<int>(status))) + u")");
  return bytes;
}

}  // namespace quorvane::native
