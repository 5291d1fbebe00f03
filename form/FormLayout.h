#pragma once
// How a view lays the form out with its font: every place and size of the description is scaled by
// the ratio of the font's text height to the design's, the sizes that follow the font come from the
// view's own controls, and a label is as wide as its caption. Places stay relative to the
// control's parent group box, as both toolkits place the controls inside one.

#include "FormDescription.h"

namespace quorvane {

// In a view's pixels, relative to the parent's top-left corner.
struct ControlPlace {
  int left = 0, top = 0, width = 0, height = 0;
  friend bool operator==(const ControlPlace&, const ControlPlace&) = default;
};

// The sizes that follow the font in one view, at the design density.
struct AutoSizes {
  int oneLineHeight;   // combo boxes, date, currency and text editors
  int checkBoxHeight;  // a check box with its caption
  int labelHeight;
  int labelPadding;  // added to the width of a label's caption
};

// The sizes that follow the font of each view's controls. Qt's label is as wide as its size hint;
// Windows' label gets a pixel more than its caption, so that its last letter is not cut.
inline constexpr AutoSizes kQtAutoSizes{21, 19, 19, 0};
inline constexpr AutoSizes kNativeAutoSizes{21, 17, 13, 1};

class FormLayout {
 public:
  FormLayout(int textHeight, const AutoSizes& autoSizes,
             int designTextHeight = kFormWindow.designTextHeight);

  // A length of the design in the view's pixels: times the text height, over the design's,
  // rounded to the nearest pixel. A height that is not positive leaves the design as it is.
  int Scaled(int design) const;
  // The window's client area.
  ControlPlace ClientArea() const;
  // The control's place and size. `captionWidth` is a label's caption measured with the view's
  // font, in its pixels; other kinds do not read it.
  ControlPlace PlaceOf(const ControlDescription& control, int captionWidth = 0) const;

 private:
  int AutoHeight(ControlKind kind) const;

  int textHeight_;
  int designTextHeight_;
  AutoSizes autoSizes_;
};

}  // namespace quorvane
