#pragma once
// A view of the form without any toolkit: it keeps each control's state in plain members, behaves
// as the real controls promise (the check box runs the change handler on a real change only), and
// logs what the handlers do to it in order.

#include <map>
#include <string>
#include <vector>

#include "ErrorText.h"
#include "FormView.h"
#include "MainForm.h"
#include "MemoText.h"
#include "Utf.h"

namespace quorvane::test {

class FakeView : public FormView {
 public:
  FakeView() {
    for (ControlId off : {ControlId::Button2, ControlId::cxCheckBox1, ControlId::cxGroupBox1,
                          ControlId::cxGroupBox2, ControlId::cxGroupBox3, ControlId::cxGroupBox4,
                          ControlId::cxGroupBox6, ControlId::cxGroupBox7, ControlId::cxGroupBox8})
      enabled[off] = false;
    texts[ControlId::cxComboBox1] = u"cxComboBox1";
    texts[ControlId::cxComboBox2] = u"Currency_National";
    texts[ControlId::cxComboBox3] = texts[ControlId::cxComboBox5] = u"RUB";
    texts[ControlId::cxComboBox4] = texts[ControlId::cxComboBox6] = u"USD";
    texts[ControlId::cxTextEdit1] = u"рубль";
    dates[ControlId::cxDateEdit4] = 40459.0;
    memo = u"first\r\n";
  }

  void SetEnabled(ControlId control, bool on) override {
    enabled[control] = on;
    log.push_back(std::string(on ? "enable " : "disable ") + ControlName(control));
  }
  void SetFocus(ControlId control) override {
    log.push_back(std::string("focus ") + ControlName(control));
  }
  std::u16string Text(ControlId control) const override {
    const auto text = texts.find(control);
    return text == texts.end() ? std::u16string() : text->second;
  }
  void SetText(ControlId control, std::u16string_view text) override {
    texts[control] = std::u16string(text);
    log.push_back(std::string("text ") + ControlName(control) + "=" + ToUtf8(text));
  }
  StringList& Items(ControlId comboBox) override {
    log.push_back(std::string("items ") + ControlName(comboBox));
    return items[comboBox];
  }
  TDateTime Date(ControlId dateEdit) const override {
    const auto date = dates.find(dateEdit);
    return date == dates.end() ? kNullDate : date->second;
  }
  void SetValue(ControlId currencyEdit, double value) override {
    values[currencyEdit] = value;
    log.push_back(std::string("value ") + ControlName(currencyEdit));
  }
  bool Checked() const override { return checked; }
  void SetChecked(bool on) override {
    log.push_back(on ? "check" : "uncheck");
    if (on == checked)
      return;
    checked = on;
    form.cxCheckBox1PropertiesChange();
  }
  void AppendToMemo(const std::vector<std::u16string>& lines) override {
    memo += MemoInsertion(memo.empty() || memo.ends_with(u"\r\n"), lines);
    log.push_back("memo");
  }
  void ShowError(std::exception_ptr error) override {
    errors.push_back(ToUtf8(ErrorBoxText(ErrorMessageOf(error))));
    log.push_back("error");
  }

  bool Enabled(ControlId control) const {
    const auto on = enabled.find(control);
    return on == enabled.end() || on->second;
  }

  MainForm form{*this};
  std::map<ControlId, bool> enabled;
  std::map<ControlId, std::u16string> texts;
  std::map<ControlId, StringList> items;
  std::map<ControlId, TDateTime> dates;
  std::map<ControlId, double> values;
  bool checked = false;
  std::u16string memo;
  std::vector<std::string> errors;
  std::vector<std::string> log;
};

}  // namespace quorvane::test
