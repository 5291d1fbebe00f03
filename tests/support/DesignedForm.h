#pragma once
// The main window as it is designed, written once for the tests: the window's properties, every
// control in the order of creation with its name, kind, parent, place and size at the design
// density, caption or start text, items, enabled state, tab place among its siblings and handler,
// the memo's start lines, the one start date, and the three value-by-date lookups. It is written
// apart from the form description that builds the windows (it shares only the names of the kinds
// of control), so that a test holds the description, the Qt window and the native window to it.
// Plain C++: the native window's driver, a Windows program without GoogleTest, includes it too.

#include <cstring>

#include "FormDescription.h"

namespace quorvane::designed {

// The kinds of control are the form's own names for them.
using Kind = ControlKind;

// A size that follows the font (for a label: its caption).
inline constexpr int kAuto = -1;
// No tab stop.
inline constexpr int kNoTab = -1;

inline constexpr const char* kWindowName = "form1";
inline constexpr const char* kWindowClass = "Tform1";
inline constexpr const char16_t* kCaption = u"Quorvane test com";
inline constexpr int kClientWidth = 750;
inline constexpr int kClientHeight = 566;
inline constexpr const char16_t* kFontName = u"Tahoma";
inline constexpr int kFontHeight = -11;
inline constexpr int kPixelsPerInch = 96;
inline constexpr int kDesignTextHeight = 13;

struct Control {
  const char* name;
  Kind kind;
  const char* parent;  // kWindowName for the window itself
  int left, top, width, height;
  bool enabled;
  int tab;
  const char16_t* text;  // caption or start text; the memo's is kMemoLines
  bool fieldNameItems;   // starts with kFieldNames as its items
  const char* handler;   // empty where no event is handled
};

inline constexpr const char16_t* kFieldNames[] = {
    u"Currency_International", u"CurrencyShrt_International", u"NumericCode",
    u"CountryName_National",   u"CountryName_International",  u"Currency_National",
    u"CurrencyShrt_National"};

// Each ended by a line break in the memo's start text.
inline constexpr const char16_t* kMemoLines[] = {
    u"[FIX] Country list fix bag with space",
    u"[Add]Get letter code currency by country, national name etc.", u"[Add] Get exchangelist ",
    u""};

// The one date editor that starts with a date.
inline constexpr const char* kDatedEditor = "cxDateEdit4";
inline constexpr int kStartYear = 2010, kStartMonth = 10, kStartDay = 8;
inline constexpr double kStartDate = 40459.0;

inline constexpr Kind B = Kind::PushButton, G = Kind::GroupBox, CB = Kind::ComboBox,
                      D = Kind::DateEdit, CE = Kind::CurrencyEdit, L = Kind::Label,
                      CK = Kind::CheckBox, M = Kind::Memo, T = Kind::TextEdit;
inline constexpr const char* W = kWindowName;

// The controls of the three lookups' group boxes, alike in all but their names, group boxes and
// handlers: the lookup button, the date, the caption, the result.
// clang-format off
inline constexpr Control kLookupRoles[] = {
  {"", B,  "", 143, 22, 105,   25,    true, 0,      u"GetValueByDate", false, ""},
  {"", D,  "", 16,  24, 121,   kAuto, true, 1,      u"", false, ""},
  {"", L,  "", 24,  54, kAuto, kAuto, true, kNoTab, u"Value", false, ""},
  {"", CE, "", 88,  53, 160,   kAuto, true, 3,      u"", false, ""},
};
// clang-format on

inline constexpr Control InGroup(Control role, const char* name, const char* group,
                                 const char* handler = "") {
  role.name = name;
  role.parent = group;
  role.handler = handler;
  return role;
}

// clang-format off
inline constexpr Control kControls[] = {
  // name             kind parent         left top  width  height enabled tab
  //   caption or start text, field-name items, handler
  {"Button1",         B,  W,             16,  16,  145,   25,    true,  0,
     u"Create Quorvane", false, "Button1Click"},
  {"cxGroupBox1",     G,  W,             16,  56,  296,   49,    false, 1,
     u"Select a country", false, ""},
  {"Button2",         B,  W,             167, 16,  145,   25,    false, 2,
     u"Close Quorvane", false, "Button2Click"},
  {"cxGroupBox2",     G,  W,             16,  111, 296,   90,    false, 3,
     u"Minimum wage", false, ""},
  {"cxGroupBox3",     G,  W,             16,  215, 296,   90,    false, 4,
     u"Federal funds rate", false, ""},
  {"cxGroupBox4",     G,  W,             16,  311, 296,   90,    false, 5,
     u"Consumer price index", false, ""},
  {"cxCheckBox1",     CK, W,             336, 17,  121,   kAuto, false, 6,
     u"Visible Quorvane", false, "cxCheckBox1PropertiesChange"},
  {"cxMemo1",         M,  W,             16,  407, 726,   151,   true,  7,
     nullptr, false, ""},
  {"Country",         B,  W,             629, 16,  113,   25,    true,  8,
     u"Auxiliary functions", false, "CountryClick"},
  {"cxGroupBox5",     G,  W,             318, 56,  411,   345,   true,  9,
     u"Auxiliary functions for currency", false, ""},

  {"cxComboBox1",     CB, "cxGroupBox1", 16,  19,  265,   kAuto, true,  0,
     u"cxComboBox1", false, ""},

  InGroup(kLookupRoles[0], "Button4",         "cxGroupBox2", "Button4Click"),
  InGroup(kLookupRoles[1], "cxDateEdit1",     "cxGroupBox2"),
  InGroup(kLookupRoles[2], "cxLabel1",        "cxGroupBox2"),
  InGroup(kLookupRoles[3], "cxCurrencyEdit1", "cxGroupBox2"),
  InGroup(kLookupRoles[0], "Button3",         "cxGroupBox3", "Button3Click"),
  InGroup(kLookupRoles[1], "cxDateEdit2",     "cxGroupBox3"),
  InGroup(kLookupRoles[2], "cxLabel2",        "cxGroupBox3"),
  InGroup(kLookupRoles[3], "cxCurrencyEdit2", "cxGroupBox3"),
  InGroup(kLookupRoles[0], "Button5",         "cxGroupBox4", "Button5Click"),
  InGroup(kLookupRoles[1], "cxDateEdit3",     "cxGroupBox4"),
  InGroup(kLookupRoles[2], "cxLabel3",        "cxGroupBox4"),
  InGroup(kLookupRoles[3], "cxCurrencyEdit3", "cxGroupBox4"),

  {"cxGroupBox6",     G,  "cxGroupBox5", 18,  19,  375,   83,    false, 0,
     u"Letter code of currency by specific name", false, ""},
  {"cxGroupBox7",     G,  "cxGroupBox5", 18,  108, 375,   53,    false, 1,
     u"Currency rate by letter code", false, ""},
  {"cxGroupBox8",     G,  "cxGroupBox5", 18,  167, 375,   82,    false, 2,
     u"Currency rate by letter code", false, ""},

  {"Button6",         B,  "cxGroupBox6", 255, 48,  105,   25,    true,  0,
     u"GetLIDCurrency", false, "Button6Click"},
  {"cxLabel4",        L,  "cxGroupBox6", 19,  49,  kAuto, kAuto, true,  kNoTab,
     u"Value", false, ""},
  {"cxComboBox2",     CB, "cxGroupBox6", 16,  21,  193,   kAuto, true,  2,
     u"Currency_National", true, ""},
  {"cxTextEdit1",     T,  "cxGroupBox6", 224, 21,  137,   kAuto, true,  3,
     u"\u0440\u0443\u0431\u043b\u044c", false, ""},
  {"cxTextEdit2",     T,  "cxGroupBox6", 55,  48,  121,   kAuto, true,  4,
     u"", false, ""},

  {"Button7",         B,  "cxGroupBox7", 224, 19,  136,   25,    true,  0,
     u"GetListOfExchangeRate", false, "Button7Click"},
  {"cxComboBox3",     CB, "cxGroupBox7", 16,  21,  73,    kAuto, true,  1,
     u"RUB", true, ""},
  {"cxComboBox4",     CB, "cxGroupBox7", 95,  21,  74,    kAuto, true,  2,
     u"USD", true, ""},

  {"Button8",         B,  "cxGroupBox8", 208, 46,  136,   25,    true,  0,
     u"Get ExchangeRate", false, "Button8Click"},
  {"cxComboBox5",     CB, "cxGroupBox8", 16,  21,  73,    kAuto, true,  1,
     u"RUB", true, ""},
  {"cxComboBox6",     CB, "cxGroupBox8", 95,  21,  74,    kAuto, true,  2,
     u"USD", true, ""},
  {"cxDateEdit4",     D,  "cxGroupBox8", 208, 21,  121,   kAuto, true,  3,
     u"", false, ""},
  {"cxTextEdit3",     T,  "cxGroupBox8", 55,  48,  121,   kAuto, true,  4,
     u"", false, ""},
  {"cxLabel5",        L,  "cxGroupBox8", 19,  49,  kAuto, kAuto, true,  kNoTab,
     u"Value", false, ""},
};
// clang-format on

// The value-by-date lookups: the group, its button, the date editor read, the result shown.
struct Lookup {
  const char* group;
  const char* button;
  const char* dateEdit;
  const char* resultEdit;
};

inline constexpr Lookup kLookups[] = {
    {"cxGroupBox2", "Button4", "cxDateEdit1", "cxCurrencyEdit1"},  // minimum wage
    {"cxGroupBox3", "Button3", "cxDateEdit2", "cxCurrencyEdit2"},  // funds rate
    {"cxGroupBox4", "Button5", "cxDateEdit3", "cxCurrencyEdit3"},  // price index
};

// The designed control of that name; null when there is none.
inline const Control* Find(const char* name) {
  for (const Control& control : kControls)
    if (std::strcmp(control.name, name) == 0)
      return &control;
  return nullptr;
}

// Whether the control can be used at start: its own flag and those of every group box around it.
inline bool UsableAtStart(const Control& control) {
  if (!control.enabled)
    return false;
  const Control* parent = Find(control.parent);
  return parent == nullptr || UsableAtStart(*parent);
}

}  // namespace quorvane::designed
