// The SVG of a chart: well-formed for any texts, self-contained, in one fixed font, with every
// label of the picture and the series' path as the model placed them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ChartSvg.h"
#include "ChartTestSupport.h"
#include "Utf.h"
#include "XmlCheck.h"

namespace quorvane::chart {
namespace {

using namespace chart::testing;

TEST(XmlCheckTest, RejectsWhatIsNotWellFormed) {
  // The checker is the oracle of the tests below: it must refuse each of these.
  const char* const bad[] = {
      "",
      "<a>",
      "<a></b>",
      "<a><b></a></b>",
      "<a/><b/>",
      "<a x=1/>",
      "<a x='1' x='2'/>",
      "<a x='<'/>",
      "<a>&foo;</a>",
      "<a>x & y</a>",
      "<a>\x01</a>",
      "<a>\xff</a>",
      "<a>\xc0\xaf</a>",      // an overlong '/'
      "<a>\xef\xbf\xbe</a>",  // U+FFFE
      "<a>\xed\xa0\x80</a>",  // a surrogate written as UTF-8
      "<a>]]></a>",
      "<a x='1'y='2'/>",
  };
  for (const char* text : bad)
    EXPECT_FALSE(ReadXml(text).Error.empty()) << text;
  const XmlDocument good =
      ReadXml("<?xml version=\"1.0\"?>\n<a b='&lt;&amp;'>t&gt;<c/>\xc3\xa9</a>");
  ASSERT_EQ(good.Error, "");
  ASSERT_EQ(good.Elements.size(), 2u);
  EXPECT_EQ(good.Elements[0].Attributes.at("b"), "<&");
  EXPECT_EQ(good.Elements[0].Text, "t>\xc3\xa9");
}

ChartModel Model(ChartInput input) {
  return ChartModel(std::move(input));
}

std::vector<ChartInput> Pictures() {
  std::vector<ChartInput> inputs;
  inputs.push_back(Input({{0, 1}, {2, 2}, {5, 3}}));
  inputs.back().Chosen = ChosenDay{kBaseDay + 2, {20000}};
  inputs.back().Title = u"Federal funds rate";
  inputs.push_back(Input({}));
  inputs.push_back(Input({{0, -5}, {40000, 3}}, 320, 200));
  inputs.back().Chosen = ChosenDay{kBaseDay - 5, {}};
  inputs.push_back(Input({{0, 0.0337}}, 1920, 1080));
  inputs.back().Chosen = ChosenDay{kBaseDay + 30, {337}};
  return inputs;
}

// The texts of the picture's labels in the order the SVG writes them.
std::vector<std::string> LabelTexts(const ChartPicture& p) {
  std::vector<std::string> texts;
  for (const ChartTick& tick : p.ValueTicks)
    texts.push_back(ToUtf8(tick.Label.Text));
  for (const ChartTick& tick : p.DateTicks)
    texts.push_back(ToUtf8(tick.Label.Text));
  if (p.Title)
    texts.push_back(ToUtf8(p.Title->Text));
  if (p.Notice)
    texts.push_back(ToUtf8(p.Notice->Text));
  if (p.Marker)
    texts.push_back(ToUtf8(p.Marker->Label.Text));
  return texts;
}

TEST(ChartSvgTest, WellFormedWithEveryLabelAndTheSize) {
  ScopedLocaleSettings settings(OddSettings());
  for (ChartInput& input : Pictures()) {
    const ChartModel model(std::move(input));
    const ChartPicture& p = model.Picture();
    const std::string svg = ChartSvg(p);
    const XmlDocument document = ReadXml(svg);
    ASSERT_EQ(document.Error, "") << svg;
    const XmlElement& root = document.Elements.front();
    EXPECT_EQ(root.Name, "svg");
    EXPECT_EQ(root.Attributes.at("xmlns"), "http://www.w3.org/2000/svg");
    EXPECT_EQ(std::atof(root.Attributes.at("width").c_str()), p.Width);
    EXPECT_EQ(std::atof(root.Attributes.at("height").c_str()), p.Height);
    EXPECT_EQ(root.Attributes.at("font-family"), kSvgFontFamily);
    EXPECT_EQ(root.Attributes.at("font-size"), "11");
    std::vector<std::string> texts;
    for (const XmlElement& element : document.Elements) {
      if (element.Name == "text")
        texts.push_back(element.Text);
      // One font for every text: nothing names another.
      EXPECT_EQ(element.Attributes.count("font-family"), element.Depth == 0 ? 1u : 0u);
      EXPECT_EQ(element.Attributes.count("font-size"), element.Depth == 0 ? 1u : 0u);
    }
    EXPECT_EQ(texts, LabelTexts(p));
  }
}

TEST(ChartSvgTest, SelfContained) {
  for (ChartInput& input : Pictures()) {
    const std::string svg = ChartSvg(Model(std::move(input)).Picture());
    for (const char* reference : {"href", "url(", "@import", "<image", "<script", "<style",
                                  "<foreignObject", "<!DOCTYPE", "<!ENTITY"})
      EXPECT_EQ(svg.find(reference), std::string::npos) << reference;
  }
}

TEST(ChartSvgTest, AnyTextIsEscapedAndStaysWellFormed) {
  struct TextCase {
    std::u16string text;
    std::string written;  // as the SVG's text reads back
  };
  const TextCase cases[] = {
      {u"<b>&amp; \"a\" 'b'</b>", "<b>&amp; \"a\" 'b'</b>"},
      {u"]]> <!-- -->", "]]> <!-- -->"},
      {std::u16string(u"nul\0x\x01\x1f\ttab", 11), "nul\xef\xbf\xbdx\xef\xbf\xbd\xef\xbf\xbd\ttab"},
      {u"\xfffe\xffff", "\xef\xbf\xbd\xef\xbf\xbd"},
      {u"lone \xd800 high, lone \xdc00 low", "lone \xef\xbf\xbd high, lone \xef\xbf\xbd low"},
      {u"\u0420\u0443\u0431\u043b\u044c \U0001F4C8",
       "\xd0\xa0\xd1\x83\xd0\xb1\xd0\xbb\xd1\x8c \xf0\x9f\x93\x88"},
  };
  for (const TextCase& c : cases) {
    ChartInput input = Input({{0, 1}, {3, 2}});
    input.Title = c.text;
    const std::string svg = ChartSvg(Model(std::move(input)).Picture());
    const XmlDocument document = ReadXml(svg);
    ASSERT_EQ(document.Error, "") << c.written;
    bool found = false;
    for (const XmlElement& element : document.Elements)
      found |= element.Name == "text" && element.Text == c.written;
    EXPECT_TRUE(found) << c.written;
  }
}

// The path data back as points: M x y, then H x, V y or L x y.
std::vector<ChartPoint> PathPoints(const std::string& d) {
  std::vector<ChartPoint> points;
  const char* at = d.c_str();
  ChartPoint current;
  while (*at) {
    const char command = *at++;
    char* end;
    if (command == 'M' || command == 'L') {
      current.X = std::strtod(at, &end);
      current.Y = std::strtod(end, &end);
    } else if (command == 'H') {
      current.X = std::strtod(at, &end);
    } else if (command == 'V') {
      current.Y = std::strtod(at, &end);
    } else {
      ADD_FAILURE() << "command " << command;
      return points;
    }
    at = end;
    points.push_back(current);
  }
  return points;
}

TEST(ChartSvgTest, TheSeriesPathIsTheModelsSteps) {
  std::vector<DayValue> table;
  for (int i = 0; i < 500; ++i)
    table.push_back({static_cast<double>(i * 3 % 701), (i * 7919 % 1000) / 7.0});
  const ChartModel model(Input(table, 1000, 600));
  const ChartPicture& p = model.Picture();
  const XmlDocument document = ReadXml(ChartSvg(p));
  ASSERT_EQ(document.Error, "");
  std::vector<ChartPoint> points;
  for (const XmlElement& element : document.Elements) {
    const auto stroke = element.Attributes.find("stroke");
    if (element.Name == "path" && stroke != element.Attributes.end() && stroke->second == "#1f5fa8")
      points = PathPoints(element.Attributes.at("d"));
  }
  ASSERT_EQ(points.size(), p.Steps.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    EXPECT_NEAR(points[i].X, p.Steps[i].X, 0.005) << i;
    EXPECT_NEAR(points[i].Y, p.Steps[i].Y, 0.005) << i;
  }
}

TEST(SvgTextMeasureTest, WideEnoughForAnyText) {
  const TextMeasure measure = SvgTextMeasure();
  // The line: DejaVu Sans's ascent and descent at 11 pixels, 12.8, to whole pixels.
  EXPECT_EQ(measure.Height, 13);
  // A digit is DejaVu Sans's 1303 units of 2048.
  EXPECT_DOUBLE_EQ(measure.Width(u"0"), 1303.0 / 2048 * 11);
  // A character beyond the table is measured wider than the widest Latin letter, and a pair of
  // surrogates as one character.
  EXPECT_GT(measure.Width(u"\u0416"), measure.Width(u"W"));
  EXPECT_EQ(measure.Width(u"\U0001F4C8"), measure.Width(u"\u0416"));
}

}  // namespace
}  // namespace quorvane::chart
