// The layout arithmetic of both views: the places and sizes of the designed window at the design
// text height, the scaling by another font's text height, the sizes that follow the font, and what
// every place of the form keeps under scaling (inside its parent, clear of its siblings).

#include "FormLayout.h"

#include <gtest/gtest.h>

#include "DesignedForm.h"
#include "Errors.h"

using namespace quorvane;
namespace designed = quorvane::designed;

namespace {

// "Value" measured with a font of the design's text height.
constexpr int kCaptionWidth = 27;

TEST(FormLayout, AtTheDesignTextHeightEveryControlIsWhereItIsDesigned) {
  for (const AutoSizes& sizes : {kQtAutoSizes, kNativeAutoSizes}) {
    const FormLayout layout(designed::kDesignTextHeight, sizes);
    EXPECT_EQ(layout.ClientArea(),
              (ControlPlace{0, 0, designed::kClientWidth, designed::kClientHeight}));
    for (const designed::Control& want : designed::kControls) {
      SCOPED_TRACE(want.name);
      const ControlPlace got = layout.PlaceOf(Describe(*ControlNamed(want.name)), kCaptionWidth);
      EXPECT_EQ(got.left, want.left);
      EXPECT_EQ(got.top, want.top);
      const int autoHeight = want.kind == designed::Kind::CheckBox ? sizes.checkBoxHeight
                             : want.kind == designed::Kind::Label  ? sizes.labelHeight
                                                                   : sizes.oneLineHeight;
      EXPECT_EQ(got.width,
                want.width == designed::kAuto ? kCaptionWidth + sizes.labelPadding : want.width);
      EXPECT_EQ(got.height, want.height == designed::kAuto ? autoHeight : want.height);
    }
  }
}

TEST(FormLayout, ScalesByTheRatioOfTheTextHeightsToTheNearestPixel) {
  const struct {
    int textHeight, designTextHeight, design, scaled;
  } cases[] = {
      {13, 13, 750, 750},  {11, 13, 750, 635},  // 634.6
      {11, 13, 224, 190},  // 189.5 and a little: no tie can come of an odd design height
      {26, 13, 151, 302},  {16, 13, 566, 697},  // 696.6
      {3, 2, 1, 2},                             // a half goes up
      {3, 2, -1, -2},                           // and down below zero
      {3, 2, 3, 5},                             // 4.5
      {0, 13, 750, 750},                        // a font without a height leaves the design
      {-11, 13, 750, 750},                      // so does a negative one
      {11, 0, 750, 750},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.design << " * " << c.textHeight << " / " << c.designTextHeight);
    EXPECT_EQ(FormLayout(c.textHeight, kQtAutoSizes, c.designTextHeight).Scaled(c.design),
              c.scaled);
  }
}

TEST(FormLayout, ScaledPlacesOfTheAutoSizesAndOfALabel) {
  const FormLayout smaller(11, kNativeAutoSizes);
  EXPECT_EQ(smaller.ClientArea(), (ControlPlace{0, 0, 635, 479}));
  EXPECT_EQ(smaller.PlaceOf(Describe(ControlId::cxMemo1)), (ControlPlace{14, 344, 614, 128}));
  EXPECT_EQ(smaller.PlaceOf(Describe(ControlId::cxCheckBox1)), (ControlPlace{284, 14, 102, 14}));
  // A label's caption is measured with the view's font: only the padding is scaled.
  EXPECT_EQ(smaller.PlaceOf(Describe(ControlId::cxLabel1), 23), (ControlPlace{20, 46, 24, 11}));
  const FormLayout larger(26, kQtAutoSizes);
  EXPECT_EQ(larger.PlaceOf(Describe(ControlId::Button7)), (ControlPlace{448, 38, 272, 50}));
  EXPECT_EQ(larger.PlaceOf(Describe(ControlId::cxComboBox3)), (ControlPlace{32, 42, 146, 42}));
  EXPECT_EQ(larger.PlaceOf(Describe(ControlId::cxLabel5), 54), (ControlPlace{38, 98, 54, 38}));
}

bool Inside(const ControlPlace& inner, const ControlPlace& outer) {
  return inner.left >= 0 && inner.top >= 0 && inner.left + inner.width <= outer.width &&
         inner.top + inner.height <= outer.height;
}

bool Overlap(const ControlPlace& a, const ControlPlace& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

// With any font height a view may meet, and the caption "Value" as wide as that font makes it,
// every control lies inside its parent and clear of the controls beside it.
TEST(FormLayout, EveryControlStaysInsideItsParentAndClearOfItsSiblings) {
  for (const AutoSizes& sizes : {kQtAutoSizes, kNativeAutoSizes}) {
    for (int textHeight = 8; textHeight <= 40; ++textHeight) {
      SCOPED_TRACE(testing::Message() << "text height " << textHeight);
      const FormLayout layout(textHeight, sizes);
      const int caption = (kCaptionWidth * textHeight + 6) / 13;
      const auto placeOf = [&](const ControlDescription& control) {
        return layout.PlaceOf(control, caption);
      };
      for (const ControlDescription& control : FormControls()) {
        const ControlPlace place = placeOf(control);
        const ControlPlace parent =
            control.parent ? placeOf(Describe(*control.parent)) : layout.ClientArea();
        EXPECT_TRUE(Inside(place, parent)) << control.name;
        for (const ControlDescription& other : FormControls()) {
          if (other.parent == control.parent && other.id < control.id) {
            EXPECT_FALSE(Overlap(place, placeOf(other))) << control.name << " " << other.name;
          }
        }
      }
    }
  }
}

}  // namespace
