#pragma once
// What the form's handlers need of the window's controls, whatever toolkit draws them. A view
// (the Qt window, the native Windows window, a test's fake) implements it over its own controls.

#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "StringList.h"
#include "TextToValue.h"

namespace quorvane {

// Every control of the form, in the order of the form description (FormDescription.h), which
// gives each its name, place and start content.
enum class ControlId {
  // The window.
  Button1,
  cxGroupBox1,
  Button2,
  cxGroupBox2,
  cxGroupBox3,
  cxGroupBox4,
  cxCheckBox1,
  cxMemo1,
  Country,
  cxGroupBox5,
  // Inside cxGroupBox1.
  cxComboBox1,
  // Inside cxGroupBox2, cxGroupBox3 and cxGroupBox4.
  Button4,
  cxDateEdit1,
  cxLabel1,
  cxCurrencyEdit1,
  Button3,
  cxDateEdit2,
  cxLabel2,
  cxCurrencyEdit2,
  Button5,
  cxDateEdit3,
  cxLabel3,
  cxCurrencyEdit3,
  // Inside cxGroupBox5.
  cxGroupBox6,
  cxGroupBox7,
  cxGroupBox8,
  // Inside cxGroupBox6.
  Button6,
  cxLabel4,
  cxComboBox2,
  cxTextEdit1,
  cxTextEdit2,
  // Inside cxGroupBox7.
  Button7,
  cxComboBox3,
  cxComboBox4,
  // Inside cxGroupBox8.
  Button8,
  cxComboBox5,
  cxComboBox6,
  cxDateEdit4,
  cxTextEdit3,
  cxLabel5,
};

struct LoadedSeries;

// The control's name in the form description ("Button1").
const char* ControlName(ControlId id);

class FormView {
 public:
  virtual ~FormView() = default;

  virtual void SetEnabled(ControlId control, bool enabled) = 0;
  // Gives the keyboard focus to the control.
  virtual void SetFocus(ControlId control) = 0;
  // The one-line text of a combo box or text editor, as typed or set.
  virtual std::u16string Text(ControlId control) const = 0;
  virtual void SetText(ControlId control, std::u16string_view text) = 0;
  // A combo box's items; the loaders fill the list in place and the box follows it.
  virtual StringList& Items(ControlId comboBox) = 0;
  // A date editor's date-time number, the null date (kNullDate) when it holds no date.
  virtual TDateTime Date(ControlId dateEdit) const = 0;
  // A currency editor's value, shown by its display pattern.
  virtual void SetValue(ControlId currencyEdit, double value) = 0;
  // The visibility check box. Setting a state it does not have runs the form's change handler
  // before returning, with the box already in the new state; setting the same state runs nothing.
  virtual bool Checked() const = 0;
  virtual void SetChecked(bool checked) = 0;
  // Appends each text to the memo as a new line, in one edit.
  virtual void AppendToMemo(const std::vector<std::u16string>& texts) = 0;
  // Shows an error that ended a user action in the error box; the window stays usable.
  virtual void ShowError(std::exception_ptr error) = 0;
  // A group box has loaded a series that can be drawn: an open chart follows it.
  virtual void SeriesLoaded(const LoadedSeries&) {}
};

}  // namespace quorvane
