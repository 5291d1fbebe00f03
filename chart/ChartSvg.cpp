#include "ChartSvg.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "Utf.h"

namespace quorvane::chart {

namespace {

// DejaVu Sans's advance widths in its units (2048 to the em), for U+0020..U+007E and
// U+00A0..U+00FF.
constexpr int kUnitsPerEm = 2048;
constexpr std::array<std::uint16_t, 95> kAsciiAdvances = {
    651,  821,  942,  1716, 1303, 1946, 1597, 563,  799,  799,  1024, 1716, 651,  739,  651,  690,
    1303, 1303, 1303, 1303, 1303, 1303, 1303, 1303, 1303, 1303, 690,  690,  1716, 1716, 1716, 1087,
    2048, 1401, 1405, 1430, 1577, 1294, 1178, 1587, 1540, 604,  604,  1343, 1141, 1767, 1532, 1612,
    1235, 1612, 1423, 1300, 1251, 1499, 1401, 2025, 1403, 1251, 1403, 799,  690,  799,  1716, 1024,
    1024, 1255, 1300, 1126, 1300, 1260, 721,  1300, 1298, 569,  569,  1186, 569,  1995, 1298, 1253,
    1300, 1300, 842,  1067, 803,  1298, 1212, 1675, 1212, 1212, 1075, 1303, 690,  1303, 1716};
constexpr std::array<std::uint16_t, 96> kLatin1Advances = {
    651,  821,  1303, 1303, 1303, 1303, 690,  1024, 1024, 2048, 965,  1253, 1716, 739,  2048, 1024,
    1024, 1716, 821,  821,  1024, 1303, 1303, 651,  1024, 821,  965,  1253, 1985, 1985, 1985, 1087,
    1401, 1401, 1401, 1401, 1401, 1401, 1995, 1430, 1294, 1294, 1294, 1294, 604,  604,  604,  604,
    1587, 1532, 1612, 1612, 1612, 1612, 1612, 1716, 1612, 1499, 1499, 1499, 1499, 1251, 1239, 1290,
    1255, 1255, 1255, 1255, 1255, 1255, 2011, 1126, 1260, 1260, 1260, 1260, 569,  569,  569,  569,
    1253, 1298, 1253, 1253, 1253, 1253, 1253, 1716, 1253, 1298, 1298, 1298, 1298, 1212, 1300, 1212};
// Wider than DejaVu Sans's letters of the other alphabets and than a full-width character of a
// fallback face.
constexpr int kOtherAdvance = 2200;

// Ascent and descent of DejaVu Sans in its units, for the baseline within a label's box.
constexpr double kAscent = 1901, kDescent = 483;

double Advance(char16_t c) {
  if (c >= 0x20 && c <= 0x7E)
    return kAsciiAdvances[c - 0x20];
  if (c >= 0xA0 && c <= 0xFF)
    return kLatin1Advances[c - 0xA0];
  if (c >= 0xDC00 && c <= 0xDFFF)
    return 0;  // the second half of a pair: the first half counted the character
  return kOtherAdvance;
}

void AppendNumber(std::string& out, double value) {
  if (!std::isfinite(value))
    value = 0;
  char digits[64];
  const auto end =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 2);
  std::string_view text(digits, static_cast<std::size_t>(end.ptr - digits));
  while (text.back() == '0')
    text.remove_suffix(1);
  if (text.back() == '.')
    text.remove_suffix(1);
  if (text == "-0")
    text = "0";
  out += text;
}

void AppendColour(std::string& out, std::uint32_t rgb) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '#';
  for (int shift = 20; shift >= 0; shift -= 4)
    out += kHex[(rgb >> shift) & 0xF];
}

// The text as XML character data: characters that XML cannot hold become U+FFFD, and the five
// markup characters become references.
void AppendEscaped(std::string& out, std::u16string_view text) {
  std::u16string valid(text);
  for (char16_t& c : valid) {
    if ((c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0xFFFE || c == 0xFFFF)
      c = 0xFFFD;
  }
  for (const char c : ToUtf8(valid)) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += c;
    }
  }
}

class SvgWriter {
 public:
  std::string& Out() { return out_; }

  void Attribute(const char* name, double value) {
    out_ += ' ';
    out_ += name;
    out_ += "=\"";
    AppendNumber(out_, value);
    out_ += '"';
  }
  void Colour(const char* name, std::uint32_t rgb) {
    out_ += ' ';
    out_ += name;
    out_ += "=\"";
    AppendColour(out_, rgb);
    out_ += '"';
  }
  void Rect(const ChartRect& box) {
    Attribute("x", box.Left);
    Attribute("y", box.Top);
    Attribute("width", box.Width);
    Attribute("height", box.Height);
  }
  // A label: its baseline where the font's ascent and descent centre in the box.
  void Text(const ChartLabel& label) {
    const double baseline = label.Box.Top + label.Box.Height / 2 +
                            (kAscent - kDescent) / 2 / kUnitsPerEm * kSvgFontSize;
    out_ += "<text";
    Attribute("x", label.Box.Left);
    Attribute("y", baseline);
    out_ += '>';
    AppendEscaped(out_, label.Text);
    out_ += "</text>\n";
  }
  void MoveTo(double x, double y) {
    out_ += 'M';
    AppendNumber(out_, x);
    out_ += ' ';
    AppendNumber(out_, y);
  }
  void Command(char command, double value) {
    out_ += command;
    AppendNumber(out_, value);
  }

 private:
  std::string out_;
};

}  // namespace

TextMeasure SvgTextMeasure() {
  TextMeasure measure;
  measure.Width = [](std::u16string_view text) {
    double units = 0;
    for (const char16_t c : text)
      units += Advance(c);
    return units / kUnitsPerEm * kSvgFontSize;
  };
  // DejaVu Sans's line at 11 pixels, 12.8, to whole pixels.
  measure.Height = std::ceil((kAscent + kDescent) / kUnitsPerEm * kSvgFontSize);
  return measure;
}

std::string ChartSvg(const ChartPicture& picture) {
  SvgWriter svg;
  std::string& out = svg.Out();
  out.reserve(4096 + picture.Steps.size() * 16);
  const ChartRect& plot = picture.Plot;

  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\"";
  svg.Attribute("width", picture.Width);
  svg.Attribute("height", picture.Height);
  out += " viewBox=\"0 0 ";
  AppendNumber(out, picture.Width);
  out += ' ';
  AppendNumber(out, picture.Height);
  out += "\" font-family=\"";
  out += kSvgFontFamily;
  out += '"';
  svg.Attribute("font-size", kSvgFontSize);
  out += ">\n<rect";
  svg.Rect({0, 0, picture.Width, picture.Height});
  svg.Colour("fill", ChartStyle::kBackground);
  out += "/>\n";

  // The grid, under everything else.
  if (!picture.DateTicks.empty() || !picture.ValueTicks.empty()) {
    out += "<path fill=\"none\" stroke-width=\"1\" shape-rendering=\"crispEdges\"";
    svg.Colour("stroke", ChartStyle::kGrid);
    out += " d=\"";
    for (const ChartTick& tick : picture.DateTicks) {
      svg.MoveTo(tick.Position, plot.Top);
      svg.Command('V', plot.Bottom());
    }
    for (const ChartTick& tick : picture.ValueTicks) {
      svg.MoveTo(plot.Left, tick.Position);
      svg.Command('H', plot.Right());
    }
    out += "\"/>\n";
  }

  if (!picture.Steps.empty()) {
    out += "<path fill=\"none\" stroke-linejoin=\"miter\"";
    svg.Colour("stroke", ChartStyle::kSeries);
    svg.Attribute("stroke-width", ChartStyle::kSeriesWidth);
    out += " d=\"";
    const ChartPoint* previous = nullptr;
    for (const ChartPoint& point : picture.Steps) {
      if (!previous)
        svg.MoveTo(point.X, point.Y);
      else if (point.Y == previous->Y)
        svg.Command('H', point.X);
      else if (point.X == previous->X)
        svg.Command('V', point.Y);
      else {
        out += 'L';
        AppendNumber(out, point.X);
        out += ' ';
        AppendNumber(out, point.Y);
      }
      previous = &point;
    }
    out += "\"/>\n";
  }

  // The frame and the tick marks outside it.
  out += "<g fill=\"none\" stroke-width=\"1\" shape-rendering=\"crispEdges\"";
  svg.Colour("stroke", ChartStyle::kFrame);
  out += ">\n<rect";
  svg.Rect(plot);
  out += "/>\n";
  if (!picture.DateTicks.empty() || !picture.ValueTicks.empty()) {
    out += "<path d=\"";
    for (const ChartTick& tick : picture.DateTicks) {
      svg.MoveTo(tick.Position, plot.Bottom());
      svg.Command('v', ChartStyle::kTickLength);
    }
    for (const ChartTick& tick : picture.ValueTicks) {
      svg.MoveTo(plot.Left, tick.Position);
      svg.Command('h', -ChartStyle::kTickLength);
    }
    out += "\"/>\n";
  }
  out += "</g>\n";

  out += "<g xml:space=\"preserve\"";
  svg.Colour("fill", ChartStyle::kText);
  out += ">\n";
  for (const ChartTick& tick : picture.ValueTicks)
    svg.Text(tick.Label);
  for (const ChartTick& tick : picture.DateTicks)
    svg.Text(tick.Label);
  if (picture.Title)
    svg.Text(*picture.Title);
  if (picture.Notice)
    svg.Text(*picture.Notice);
  out += "</g>\n";

  if (picture.Marker) {
    const DayMarker& marker = *picture.Marker;
    out += "<g";
    svg.Colour("stroke", ChartStyle::kMarker);
    svg.Colour("fill", ChartStyle::kMarker);
    out += ">\n";
    if (marker.Place == MarkerPlace::Inside) {
      out += "<path fill=\"none\" stroke-dasharray=\"4 3\"";
      svg.Attribute("stroke-width", ChartStyle::kMarkerWidth);
      out += " d=\"";
      svg.MoveTo(marker.X, plot.Top);
      svg.Command('V', plot.Bottom());
      out += "\"/>\n";
    }
    if (marker.Dot) {
      out += "<circle stroke=\"none\"";
      svg.Attribute("cx", marker.Dot->X);
      svg.Attribute("cy", marker.Dot->Y);
      svg.Attribute("r", ChartStyle::kDotRadius);
      out += "/>\n";
    }
    // The label on a box of the background, so that the series does not run through it.
    out += "<rect stroke=\"none\" fill-opacity=\"0.85\"";
    svg.Rect(marker.Label.Box);
    svg.Colour("fill", ChartStyle::kBackground);
    out += "/>\n<g stroke=\"none\" xml:space=\"preserve\">\n";
    svg.Text(marker.Label);
    out += "</g>\n</g>\n";
  }
  out += "</svg>\n";
  return out;
}

}  // namespace quorvane::chart
