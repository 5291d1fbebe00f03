#pragma once
// The chart as an SVG document: plain text that draws the same everywhere, with one fixed font
// list and size, no external references, and every text XML-escaped.

#include <string>

#include "ChartModel.h"

namespace quorvane::chart {

// The font the SVG names first, at 11 pixels: DejaVu Sans, then Verdana, whose advance widths are
// much the same, then any sans-serif face.
inline constexpr const char* kSvgFontFamily = "DejaVu Sans, Verdana, sans-serif";
inline constexpr double kSvgFontSize = 11;

// The measure to build a model with for SVG: DejaVu Sans's advance widths at 11 pixels, and a
// wide one for characters it has no table for, so that a label is never wider than measured.
TextMeasure SvgTextMeasure();

// The document, in UTF-8.
std::string ChartSvg(const ChartPicture& picture);

}  // namespace quorvane::chart
