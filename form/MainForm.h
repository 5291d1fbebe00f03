#pragma once
// What each click of the main window does, once for every view: the calls into the client, the
// texts written, the enabled states and the order of the steps. Every handler runs inside one
// guard that hands any error to the view's error box, so the window stays usable.

#include <map>
#include <optional>

#include "FormView.h"
#include "LoadedSeries.h"

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

  // The chart to show for a group box: what it loaded last; for none, or a group that has loaded
  // nothing, the last load of any group; before any load, an empty series titled kNothingLoaded.
  LoadedSeries ChartFor(std::optional<ControlId> group) const;

 private:
  template <typename Action>
  void Guarded(Action&& action) noexcept;
  void SetConnected(bool connected);
  // The value-by-date lookup of the button: load the country's series, show the value in force on
  // the day of its date editor.
  void ValueByDate(ControlId button);

  // Keeps what a group just loaded and tells the view, whose chart follows the next load.
  void Loaded(LoadedSeries series);

  FormView& view_;
  std::map<ControlId, LoadedSeries> loaded_;
  std::optional<ControlId> lastLoaded_;
};

}  // namespace quorvane
