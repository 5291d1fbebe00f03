#include "FormLayout.h"

#include <cstdint>

namespace quorvane {

namespace {

// value * numerator / denominator, rounded to the nearest integer, halves away from zero.
int MultiplyDivide(int value, int numerator, int denominator) {
  const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
  const std::int64_t half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator
                                       : (product - half) / denominator);
}

}  // namespace

FormLayout::FormLayout(int textHeight, const AutoSizes& autoSizes, int designTextHeight)
    : textHeight_(textHeight), designTextHeight_(designTextHeight), autoSizes_(autoSizes) {
  if (textHeight_ <= 0 || designTextHeight_ <= 0)
    textHeight_ = designTextHeight_ = 1;
}

int FormLayout::Scaled(int design) const {
  return MultiplyDivide(design, textHeight_, designTextHeight_);
}

ControlPlace FormLayout::ClientArea() const {
  return {0, 0, Scaled(kFormWindow.clientWidth), Scaled(kFormWindow.clientHeight)};
}

int FormLayout::AutoHeight(ControlKind kind) const {
  switch (kind) {
    case ControlKind::CheckBox:
      return autoSizes_.checkBoxHeight;
    case ControlKind::Label:
      return autoSizes_.labelHeight;
    default:
      return autoSizes_.oneLineHeight;
  }
}

ControlPlace FormLayout::PlaceOf(const ControlDescription& control, int captionWidth) const {
  ControlPlace place{
      Scaled(control.left), Scaled(control.top), Scaled(control.width),
      Scaled(control.height == kAutoSize ? AutoHeight(control.kind) : control.height)};
  // The caption is measured in the view's pixels already; only the padding is of the design.
  if (control.width == kAutoSize)
    place.width = captionWidth + Scaled(autoSizes_.labelPadding);
  return place;
}

}  // namespace quorvane
