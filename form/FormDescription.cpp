#include "FormDescription.h"

#include <iterator>

#include "Errors.h"
#include "Utf.h"
#include "ValueInForce.h"

namespace quorvane {

namespace {

using enum ControlId;
using enum ControlKind;
constexpr std::nullopt_t kWindow = std::nullopt;
constexpr int kAuto = kAutoSize;
constexpr int none = kNoTabStop;
constexpr bool on = true, off = false;

// The memo's four start lines (the third ends in a space, the fourth is empty), each ended by a
// line break, so that the first appended line comes after the blank one.
constexpr std::u16string_view kMemoStartText =
    u"[FIX] Country list fix bag with space\r\n"
    u"[Add]Get letter code currency by country, national name etc.\r\n"
    u"[Add] Get exchangelist \r\n"
    u"\r\n";

constexpr std::span<const std::u16string_view> kFieldNames = kFieldNameItems;

// The three lookups' group boxes hold the same controls at the same places: each role is written
// once (kind, place and size, enabled, tab, text), and each group's control takes it with its own
// id, name, group box and handler.
// clang-format off
constexpr ControlDescription kLookupButton{{}, "", PushButton,   {}, 143, 22, 105,   25,    on, 0,
                                           u"GetValueByDate", {}, nullptr};
constexpr ControlDescription kLookupDate  {{}, "", DateEdit,     {}, 16,  24, 121,   kAuto, on, 1,
                                           u"", {}, nullptr};
constexpr ControlDescription kLookupLabel {{}, "", Label,        {}, 24,  54, kAuto, kAuto, on,
                                           none, u"Value", {}, nullptr};
constexpr ControlDescription kLookupResult{{}, "", CurrencyEdit, {}, 88,  53, 160,   kAuto, on, 3,
                                           u"", {}, nullptr};
// clang-format on

constexpr ControlDescription InLookup(ControlDescription role, ControlId id, const char* name,
                                      ControlId group, FormHandler handler = nullptr) {
  role.id = id;
  role.name = name;
  role.parent = group;
  role.handler = handler;
  return role;
}

// One row per control: id, name, kind, parent, left, top, width, height, enabled, tab; then the
// caption or start text, the start items, the handler, and the start date of a date editor.
// clang-format off
constexpr ControlDescription kControls[] = {
  // The window.
  {Button1,         "Button1",         PushButton,   kWindow,     16,  16,  145,   25,    on,  0,
     u"Create Quorvane", {}, &MainForm::Button1Click},
  {cxGroupBox1,     "cxGroupBox1",     GroupBox,     kWindow,     16,  56,  296,   49,    off, 1,
     u"Select a country", {}, nullptr},
  {Button2,         "Button2",         PushButton,   kWindow,     167, 16,  145,   25,    off, 2,
     u"Close Quorvane", {}, &MainForm::Button2Click},
  {cxGroupBox2,     "cxGroupBox2",     GroupBox,     kWindow,     16,  111, 296,   90,    off, 3,
     u"Minimum wage", {}, nullptr},
  {cxGroupBox3,     "cxGroupBox3",     GroupBox,     kWindow,     16,  215, 296,   90,    off, 4,
     u"Federal funds rate", {}, nullptr},
  {cxGroupBox4,     "cxGroupBox4",     GroupBox,     kWindow,     16,  311, 296,   90,    off, 5,
     u"Consumer price index", {}, nullptr},
  {cxCheckBox1,     "cxCheckBox1",     CheckBox,     kWindow,     336, 17,  121,   kAuto, off, 6,
     u"Visible Quorvane", {}, &MainForm::cxCheckBox1PropertiesChange},
  {cxMemo1,         "cxMemo1",         Memo,         kWindow,     16,  407, 726,   151,   on,  7,
     kMemoStartText, {}, nullptr},
  {Country,         "Country",         PushButton,   kWindow,     629, 16,  113,   25,    on,  8,
     u"Auxiliary functions", {}, &MainForm::CountryClick},
  {cxGroupBox5,     "cxGroupBox5",     GroupBox,     kWindow,     318, 56,  411,   345,   on,  9,
     u"Auxiliary functions for currency", {}, nullptr},
  // Inside cxGroupBox1: the country box.
  {cxComboBox1,     "cxComboBox1",     ComboBox,     cxGroupBox1, 16,  19,  265,   kAuto, on,  0,
     u"cxComboBox1", {}, nullptr},
  // Inside cxGroupBox2, cxGroupBox3 and cxGroupBox4: the three lookups, laid out alike.
  InLookup(kLookupButton, Button4,         "Button4",         cxGroupBox2, &MainForm::Button4Click),
  InLookup(kLookupDate,   cxDateEdit1,     "cxDateEdit1",     cxGroupBox2),
  InLookup(kLookupLabel,  cxLabel1,        "cxLabel1",        cxGroupBox2),
  InLookup(kLookupResult, cxCurrencyEdit1, "cxCurrencyEdit1", cxGroupBox2),
  InLookup(kLookupButton, Button3,         "Button3",         cxGroupBox3, &MainForm::Button3Click),
  InLookup(kLookupDate,   cxDateEdit2,     "cxDateEdit2",     cxGroupBox3),
  InLookup(kLookupLabel,  cxLabel2,        "cxLabel2",        cxGroupBox3),
  InLookup(kLookupResult, cxCurrencyEdit2, "cxCurrencyEdit2", cxGroupBox3),
  InLookup(kLookupButton, Button5,         "Button5",         cxGroupBox4, &MainForm::Button5Click),
  InLookup(kLookupDate,   cxDateEdit3,     "cxDateEdit3",     cxGroupBox4),
  InLookup(kLookupLabel,  cxLabel3,        "cxLabel3",        cxGroupBox4),
  InLookup(kLookupResult, cxCurrencyEdit3, "cxCurrencyEdit3", cxGroupBox4),
  // Inside cxGroupBox5: the frames of the currency tools.
  {cxGroupBox6,     "cxGroupBox6",     GroupBox,     cxGroupBox5, 18,  19,  375,   83,    off, 0,
     u"Letter code of currency by specific name", {}, nullptr},
  {cxGroupBox7,     "cxGroupBox7",     GroupBox,     cxGroupBox5, 18,  108, 375,   53,    off, 1,
     u"Currency rate by letter code", {}, nullptr},
  {cxGroupBox8,     "cxGroupBox8",     GroupBox,     cxGroupBox5, 18,  167, 375,   82,    off, 2,
     u"Currency rate by letter code", {}, nullptr},
  // Inside cxGroupBox6: the letter-code lookup; its combo box is the field-name box.
  {Button6,         "Button6",         PushButton,   cxGroupBox6, 255, 48,  105,   25,    on,  0,
     u"GetLIDCurrency", {}, &MainForm::Button6Click},
  {cxLabel4,        "cxLabel4",        Label,        cxGroupBox6, 19,  49,  kAuto, kAuto, on,  none,
     u"Value", {}, nullptr},
  {cxComboBox2,     "cxComboBox2",     ComboBox,     cxGroupBox6, 16,  21,  193,   kAuto, on,  2,
     u"Currency_National", kFieldNames, nullptr},
  {cxTextEdit1,     "cxTextEdit1",     TextEdit,     cxGroupBox6, 224, 21,  137,   kAuto, on,  3,
     u"рубль", {}, nullptr},
  {cxTextEdit2,     "cxTextEdit2",     TextEdit,     cxGroupBox6, 55,  48,  121,   kAuto, on,  4,
     u"", {}, nullptr},
  // Inside cxGroupBox7: the exchange-history listing, with the first pair of code boxes.
  {Button7,         "Button7",         PushButton,   cxGroupBox7, 224, 19,  136,   25,    on,  0,
     u"GetListOfExchangeRate", {}, &MainForm::Button7Click},
  {cxComboBox3,     "cxComboBox3",     ComboBox,     cxGroupBox7, 16,  21,  73,    kAuto, on,  1,
     u"RUB", kFieldNames, nullptr},
  {cxComboBox4,     "cxComboBox4",     ComboBox,     cxGroupBox7, 95,  21,  74,    kAuto, on,  2,
     u"USD", kFieldNames, nullptr},
  // Inside cxGroupBox8: the rate on a date, with the second pair of code boxes.
  {Button8,         "Button8",         PushButton,   cxGroupBox8, 208, 46,  136,   25,    on,  0,
     u"Get ExchangeRate", {}, &MainForm::Button8Click},
  {cxComboBox5,     "cxComboBox5",     ComboBox,     cxGroupBox8, 16,  21,  73,    kAuto, on,  1,
     u"RUB", kFieldNames, nullptr},
  {cxComboBox6,     "cxComboBox6",     ComboBox,     cxGroupBox8, 95,  21,  74,    kAuto, on,  2,
     u"USD", kFieldNames, nullptr},
  {cxDateEdit4,     "cxDateEdit4",     DateEdit,     cxGroupBox8, 208, 21,  121,   kAuto, on,  3,
     u"", {}, nullptr, 40459.0},  // 2010-10-08
  {cxTextEdit3,     "cxTextEdit3",     TextEdit,     cxGroupBox8, 55,  48,  121,   kAuto, on,  4,
     u"", {}, nullptr},
  {cxLabel5,        "cxLabel5",        Label,        cxGroupBox8, 19,  49,  kAuto, kAuto, on,  none,
     u"Value", {}, nullptr},
};
// clang-format on

// Describe() finds a control at the place of its id, and a view can make a parent before what it
// holds.
constexpr bool IdsInOrderAndParentsFirst() {
  for (std::size_t i = 0; i < std::size(kControls); ++i) {
    if (kControls[i].id != static_cast<ControlId>(i))
      return false;
    if (const std::optional<ControlId> parent = kControls[i].parent) {
      const auto at = static_cast<std::size_t>(*parent);
      if (at >= i || kControls[at].kind != GroupBox)
        return false;
    }
  }
  return true;
}
static_assert(IdsInOrderAndParentsFirst());
static_assert(std::size(kControls) == static_cast<std::size_t>(cxLabel5) + 1);

constexpr LookupDescription kLookups[] = {
    {Button4, cxDateEdit1, cxCurrencyEdit1, &kMinimumWageLookup},
    {Button3, cxDateEdit2, cxCurrencyEdit2, &kFundsRateLookup},
    {Button5, cxDateEdit3, cxCurrencyEdit3, &kPriceIndexLookup},
};

}  // namespace

std::span<const ControlDescription> FormControls() {
  return kControls;
}

const ControlDescription& Describe(ControlId control) {
  const auto at = static_cast<std::size_t>(control);
  if (at >= std::size(kControls))
    throw Exception(u"The form has no control number " + FromUtf8(std::to_string(at)));
  return kControls[at];
}

const char* ControlName(ControlId id) {
  return Describe(id).name;
}

std::optional<ControlId> ControlNamed(std::string_view name) {
  for (const ControlDescription& control : kControls)
    if (name == control.name)
      return control.id;
  return std::nullopt;
}

std::span<const LookupDescription> FormLookups() {
  return kLookups;
}

const LookupDescription& LookupOf(ControlId button) {
  for (const LookupDescription& lookup : kLookups)
    if (lookup.button == button)
      return lookup;
  throw Exception(u"No lookup has the button " + FromUtf8(ControlName(button)));
}

}  // namespace quorvane
