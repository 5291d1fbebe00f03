#pragma once
// The main window's form description for the native view: every control with its parent, kind,
// place and size at 96 pixels per inch for a text height of 13, caption or text, and enabled state.
// Within one parent the entries stand in tab order, which is also the order of creation.

#include <optional>
#include <span>

#include "FormView.h"

namespace quorvane::native {

enum class Kind {
  Button,
  GroupBox,
  ComboBox,
  DateEdit,
  CurrencyEdit,
  Label,
  CheckBox,
  Memo,
  TextEdit
};

// Height of the controls whose height follows the font ("auto"), at the design text height.
inline constexpr int kAutoHeight = 21;
inline constexpr int kAutoCheckBoxHeight = 17;
inline constexpr int kClientWidth = 750;
inline constexpr int kClientHeight = 566;
inline constexpr int kDesignTextHeight = 13;

struct ControlSpec {
  const char* name;
  std::optional<ControlId> id;  // empty where no handler reaches the control
  int parent;                   // index of the parent group box in the table, -1 for the window
  Kind kind;
  int left, top, width, height;  // 0 for auto sizes
  const char16_t* text;
  bool enabled;
  bool fieldNameItems;  // starts with the seven catalogue field names as items
};

std::span<const ControlSpec> FormDescription();

// The window's control identifier of the entry at `index`, which a driver program can find.
inline int ControlIdentifier(int index) {
  return 1000 + index;
}
// The index of the entry with this name, -1 when there is none.
int IndexOf(const char* name);

inline constexpr const char16_t* kFieldNameItems[] = {
    u"Currency_International", u"CurrencyShrt_International", u"NumericCode",
    u"CountryName_National",   u"CountryName_International",  u"Currency_National",
    u"CurrencyShrt_National"};

// The memo's text at creation: three lines and an empty one, each ended by a line break.
inline constexpr const char16_t* kMemoStartText =
    u"[FIX] Country list fix bag with space\r\n"
    u"[Add]Get letter code currency by country, national name etc.\r\n"
    u"[Add] Get exchangelist \r\n"
    u"\r\n";

}  // namespace quorvane::native
