#pragma once
// The chart's picture drawn with GDI, and what the native chart window makes of it: a bitmap for
// the screen and the clipboard, and that bitmap as a PNG file's bytes.

#include <windows.h>

#include <cstdint>
#include <string>

#include "ChartModel.h"

namespace quorvane::native {

// A colour of the chart's style (0xRRGGBB) as GDI's.
COLORREF GdiColour(std::uint32_t rgb);

// The measure of the font selected into the device context: its texts' widths and its line
// height. Good as long as the context holds the font.
chart::TextMeasure GdiTextMeasure(HDC dc);

// Draws the picture at the context's origin with the font, in the order of the chart's rules.
void DrawChart(HDC dc, const chart::ChartPicture& picture, HFONT font);

// The picture drawn into a new bitmap of its size, compatible with the screen; the caller deletes
// it.
HBITMAP ChartBitmap(const chart::ChartPicture& picture, HFONT font);

// The bitmap encoded as PNG; a failure raises an Exception with GDI+'s status.
std::string PngBytes(HBITMAP bitmap);

}  // namespace quorvane::native
