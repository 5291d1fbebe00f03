#pragma once
// The main window form1 as designed: the window's own properties and every control with its
// name, kind, parent, place and size at the design density, caption or start text, start items,
// enabled state, place in the tab order and the handler of its event; and the three value-by-date
// lookups. Both views make their controls from these tables (their font's arithmetic is in
// FormLayout.h); nothing is added, moved or resized after creation.

#include <optional>
#include <span>
#include <string_view>

#include "FormView.h"
#include "MainForm.h"
#include "TextToValue.h"

namespace quorvane {

struct SeriesLookup;

enum class ControlKind {
  PushButton,
  GroupBox,
  ComboBox,
  DateEdit,
  CurrencyEdit,
  Label,
  CheckBox,
  Memo,
  TextEdit,
};

// A size that follows the font: about one text line and the frame, or for a label its caption.
inline constexpr int kAutoSize = -1;
// The tab place of a control without a tab stop.
inline constexpr int kNoTabStop = -1;

// What a click or a state change of the control runs.
using FormHandler = void (MainForm::*)();

struct ControlDescription {
  ControlId id;
  const char* name;
  ControlKind kind;
  std::optional<ControlId> parent;  // a group box; none for the window itself
  // At the design density, relative to the parent's top-left corner; kAutoSize where the size
  // follows the font.
  int left, top, width, height;
  bool enabled;
  int tab;  // the place in the tab order among the controls of the same parent, or kNoTabStop
  std::u16string_view text;                    // the caption, or the start text
  std::span<const std::u16string_view> items;  // a combo box's start items
  FormHandler handler;                         // null for a control whose events are not handled
  TDateTime date = kNullDate;                  // a date editor's start date
};

struct WindowDescription {
  const char* name;
  const char* className;
  std::u16string_view caption;
  int clientWidth, clientHeight;
  std::u16string_view fontName;
  int fontHeight;  // negative: the character height in pixels at the design density
  int pixelsPerInch;
  // The text height of the font that the places and sizes are made for.
  int designTextHeight;
};

inline constexpr WindowDescription kFormWindow{
    "form1", "Tform1", u"Quorvane test com", 750, 566, u"Tahoma", -11, 96, 13};

// The items of the field-name box and, until the first Create, of the currency-code boxes: the
// catalogue's field names other than LetterCode.
inline constexpr std::u16string_view kFieldNameItems[] = {
    u"Currency_International", u"CurrencyShrt_International", u"NumericCode",
    u"CountryName_National",   u"CountryName_International",  u"Currency_National",
    u"CurrencyShrt_National"};

// Every control, in the order of creation: a group box before what it holds, and the controls of
// one parent in their order of the design (which is their stacking order).
std::span<const ControlDescription> FormControls();
const ControlDescription& Describe(ControlId control);
// The control of that name; none when the form has no such control.
std::optional<ControlId> ControlNamed(std::string_view name);

// One value-by-date lookup: its button (whose handler it is), the date editor it reads, the
// editor that shows the result, and the series with its loader and scan.
struct LookupDescription {
  ControlId button;
  ControlId dateEdit;
  ControlId resultEdit;
  const SeriesLookup* series;
};

// Minimum wage, funds rate, price index.
std::span<const LookupDescription> FormLookups();
const LookupDescription& LookupOf(ControlId button);

}  // namespace quorvane
