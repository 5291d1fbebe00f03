#pragma once
// A view of the form without any toolkit: it keeps each control's state in plain members, behaves
// as the real controls promise (the check box runs the change handler on a real change only), and
// logs what the handlers do to it in order.

#include <map>
#include <string>
#include <vector>

#include "ErrorText.h"
#include "FormDescription.h"
#include "FormView.h"
#include "LoadedSeries.h"
#include "MainForm.h"
#include "MemoText.h"
#include "Utf.h"

namespace quorvane::test {

class FakeView : public FormView {
 public:
  // Every control as the form description makes it.
  FakeView() {
    for (const ControlDescription& control : FormControls()) {
      enabled[control.id] = control.enabled;
      switch (control.kind) {
        case ControlKind::ComboBox:
          for (std::u16string_view item : control.items)
            items[control.id].Add(std::u16string(item));
          texts[control.id] = std::u16string(control.text);
          break;
        case ControlKind::TextEdit:
          texts[control.id] = std::u16string(control.text);
          break;
        case ControlKind::DateEdit:
          if (control.date != kNullDate)
            dates[control.id] = control.date;
          break;
        case ControlKind::Memo:
          memo = std::u16string(control.text);
          break;
        default:
          break;
      }
    }
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

  void SeriesLoaded(const LoadedSeries& series) override { loaded.push_back(series); }

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
  std::vector<LoadedSeries> loaded;  // what the form told the view it loaded, in order
};

}  // namespace quorvane::test
