#include "FormView.h"

namespace quorvane {

const char* ControlName(ControlId id) {
  switch (id) {
    case ControlId::Button1:
      return "Button1";
    case ControlId::Button2:
      return "Button2";
    case ControlId::cxCheckBox1:
      return "cxCheckBox1";
    case ControlId::Country:
      return "Country";
    case ControlId::cxMemo1:
      return "cxMemo1";
    case ControlId::cxGroupBox1:
      return "cxGroupBox1";
    case ControlId::cxGroupBox2:
      return "cxGroupBox2";
    case ControlId::cxGroupBox3:
      return "cxGroupBox3";
    case ControlId::cxGroupBox4:
      return "cxGroupBox4";
    case ControlId::cxGroupBox5:
      return "cxGroupBox5";
    case ControlId::cxGroupBox6:
      return "cxGroupBox6";
    case ControlId::cxGroupBox7:
      return "cxGroupBox7";
    case ControlId::cxGroupBox8:
      return "cxGroupBox8";
    case ControlId::cxComboBox1:
      return "cxComboBox1";
    case ControlId::cxComboBox2:
      return "cxComboBox2";
    case ControlId::cxComboBox3:
      return "cxComboBox3";
    case ControlId::cxComboBox4:
      return "cxComboBox4";
    case ControlId::cxComboBox5:
      return "cxComboBox5";
    case ControlId::cxComboBox6:
      return "cxComboBox6";
    case ControlId::cxTextEdit1:
      return "cxTextEdit1";
    case ControlId::cxTextEdit2:
      return "cxTextEdit2";
    case ControlId::cxTextEdit3:
      return "cxTextEdit3";
    case ControlId::cxDateEdit1:
      return "cxDateEdit1";
    case ControlId::cxDateEdit2:
      return "cxDateEdit2";
    case ControlId::cxDateEdit3:
      return "cxDateEdit3";
    case ControlId::cxDateEdit4:
      return "cxDateEdit4";
    case ControlId::cxCurrencyEdit1:
      return "cxCurrencyEdit1";
    case ControlId::cxCurrencyEdit2:
      return "cxCurrencyEdit2";
    case ControlId::cxCurrencyEdit3:
      return "cxCurrencyEdit3";
  }
  return "";
}

}  // namespace quorvane
