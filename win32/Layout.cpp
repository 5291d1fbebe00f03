#include "Layout.h"

#include <string_view>

namespace quorvane::native {

namespace {

using C = ControlId;
using K = Kind;

// Indexes of the group boxes in the table below, for the parent column.
constexpr int G1 = 1, G2 = 3, G3 = 4, G4 = 5, G5 = 9, G6 = 10, G7 = 11, G8 = 12;

const ControlSpec kForm[] = {
    // The window; tab order 0 to 9.
    {"Button1", C::Button1, -1, K::Button, 16, 16, 145, 25, u"Create Quorvane", true, false},
    {"cxGroupBox1", C::cxGroupBox1, -1, K::GroupBox, 16, 56, 296, 49, u"Select a country", false,
     false},
    {"Button2", C::Button2, -1, K::Button, 167, 16, 145, 25, u"Close Quorvane", false, false},
    {"cxGroupBox2", C::cxGroupBox2, -1, K::GroupBox, 16, 111, 296, 90, u"Minimum wage", false,
     false},
    {"cxGroupBox3", C::cxGroupBox3, -1, K::GroupBox, 16, 215, 296, 90, u"Federal funds rate", false,
     false},
    {"cxGroupBox4", C::cxGroupBox4, -1, K::GroupBox, 16, 311, 296, 90, u"Consumer price index",
     false, false},
    {"cxCheckBox1", C::cxCheckBox1, -1, K::CheckBox, 336, 17, 121, 0, u"Visible Quorvane", false,
     false},
    {"cxMemo1", C::cxMemo1, -1, K::Memo, 16, 407, 726, 151, kMemoStartText, true, false},
    {"Country", C::Country, -1, K::Button, 629, 16, 113, 25, u"Auxiliary functions", true, false},
    {"cxGroupBox5", C::cxGroupBox5, -1, K::GroupBox, 318, 56, 411, 345,
     u"Auxiliary functions for currency", true, false},
    // Inside cxGroupBox5.
    {"cxGroupBox6", C::cxGroupBox6, G5, K::GroupBox, 18, 19, 375, 83,
     u"Letter code of currency by specific name", false, false},
    {"cxGroupBox7", C::cxGroupBox7, G5, K::GroupBox, 18, 108, 375, 53,
     u"Currency rate by letter code", false, false},
    {"cxGroupBox8", C::cxGroupBox8, G5, K::GroupBox, 18, 167, 375, 82,
     u"Currency rate by letter code", false, false},
    // Inside cxGroupBox1.
    {"cxComboBox1", C::cxComboBox1, G1, K::ComboBox, 16, 19, 265, 0, u"cxComboBox1", true, false},
    // Inside cxGroupBox2, cxGroupBox3 and cxGroupBox4, alike.
    {"Button4", std::nullopt, G2, K::Button, 143, 22, 105, 25, u"GetValueByDate", true, false},
    {"cxDateEdit1", C::cxDateEdit1, G2, K::DateEdit, 16, 24, 121, 0, u"", true, false},
    {"cxLabel1", std::nullopt, G2, K::Label, 24, 54, 0, 0, u"Value", true, false},
    {"cxCurrencyEdit1", C::cxCurrencyEdit1, G2, K::CurrencyEdit, 88, 53, 160, 0, u"", true, false},
    {"Button3", std::nullopt, G3, K::Button, 143, 22, 105, 25, u"GetValueByDate", true, false},
    {"cxDateEdit2", C::cxDateEdit2, G3, K::DateEdit, 16, 24, 121, 0, u"", true, false},
    {"cxLabel2", std::nullopt, G3, K::Label, 24, 54, 0, 0, u"Value", true, false},
    {"cxCurrencyEdit2", C::cxCurrencyEdit2, G3, K::CurrencyEdit, 88, 53, 160, 0, u"", true, false},
    {"Button5", std::nullopt, G4, K::Button, 143, 22, 105, 25, u"GetValueByDate", true, false},
    {"cxDateEdit3", C::cxDateEdit3, G4, K::DateEdit, 16, 24, 121, 0, u"", true, false},
    {"cxLabel3", std::nullopt, G4, K::Label, 24, 54, 0, 0, u"Value", true, false},
    {"cxCurrencyEdit3", C::cxCurrencyEdit3, G4, K::CurrencyEdit, 88, 53, 160, 0, u"", true, false},
    // Inside cxGroupBox6.
    {"Button6", std::nullopt, G6, K::Button, 255, 48, 105, 25, u"GetLIDCurrency", true, false},
    {"cxLabel4", std::nullopt, G6, K::Label, 19, 49, 0, 0, u"Value", true, false},
    {"cxComboBox2", C::cxComboBox2, G6, K::ComboBox, 16, 21, 193, 0, u"Currency_National", true,
     true},
    {"cxTextEdit1", C::cxTextEdit1, G6, K::TextEdit, 224, 21, 137, 0, u"рубль", true, false},
    {"cxTextEdit2", C::cxTextEdit2, G6, K::TextEdit, 55, 48, 121, 0, u"", true, false},
    // Inside cxGroupBox7.
    {"Button7", std::nullopt, G7, K::Button, 224, 19, 136, 25, u"GetListOfExchangeRate", true,
     false},
    {"cxComboBox3", C::cxComboBox3, G7, K::ComboBox, 16, 21, 73, 0, u"RUB", true, true},
    {"cxComboBox4", C::cxComboBox4, G7, K::ComboBox, 95, 21, 74, 0, u"USD", true, true},
    // Inside cxGroupBox8.
    {"Button8", std::nullopt, G8, K::Button, 208, 46, 136, 25, u"Get ExchangeRate", true, false},
    {"cxComboBox5", C::cxComboBox5, G8, K::ComboBox, 16, 21, 73, 0, u"RUB", true, true},
    {"cxComboBox6", C::cxComboBox6, G8, K::ComboBox, 95, 21, 74, 0, u"USD", true, true},
    {"cxDateEdit4", C::cxDateEdit4, G8, K::DateEdit, 208, 21, 121, 0, u"", true, false},
    {"cxTextEdit3", C::cxTextEdit3, G8, K::TextEdit, 55, 48, 121, 0, u"", true, false},
    {"cxLabel5", std::nullopt, G8, K::Label, 19, 49, 0, 0, u"Value", true, false},
};

}  // namespace

std::span<const ControlSpec> FormDescription() {
  return kForm;
}

int IndexOf(const char* name) {
  for (std::size_t i = 0; i < std::size(kForm); ++i)
    if (std::string_view(kForm[i].name) == name)
      return static_cast<int>(i);
  return -1;
}

}  // namespace quorvane::native
