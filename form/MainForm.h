#pragma once
// What each click of the main window does, once for every view: the calls into the client, the
// texts written, the enabled states and the order of the steps. Every handler runs inside one
// guard that hands any error to the view's error box, so the window stays usable.

#include "FormView.h"

namespace quorvane {

class MainForm {
 public:
  explicit MainForm(FormView& view) : view_(view) {}

  // Create, close and visibility.
  void Button1Click();
  void Button2Click();
  void cxCheckBox1PropertiesChange();
  // Value by date: minimum wage, funds rate, price index.
  void Button4Click();
  void Button3Click();
  void Button5Click();
  // Currency tools.
  void Button6Click();
  void Button7Click();
  void Button8Click();
  void CountryClick();

 private:
  template <typename Action>
  void Guarded(Action&& action) noexcept;
  void SetConnected(bool connected);
  // The value-by-date lookup of the button: load the country's series, show the value in force on
  // the day of its date editor.
  void ValueByDate(ControlId button);

  FormView& view_;
};

}  // namespace quorvane
