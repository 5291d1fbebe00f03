#pragma once
// The main window form1 on Qt: its controls are made from the form description, each handler wired
// to the event of its control there; the handlers are the form's, and this class is the view they
// drive.

#include <QWidget>
#include <optional>
#include <vector>

#include "FormDescription.h"
#include "FormLayout.h"
#include "FormView.h"
#include "MainForm.h"

class QShortcut;

namespace quorvane {

class Tform1 : public QWidget, private FormView {
  Q_OBJECT

 public:
  explicit Tform1(QWidget* parent = nullptr);
  ~Tform1() override;

  // The design's text height: the layout's sizes are made for a font of this height.
  static constexpr int kDesignTextHeight = kFormWindow.designTextHeight;
  // Places the form and every control of the description in it for a font of textHeight, the
  // design being made for designTextHeight.
  static void ScaleForm(QWidget& form, int designTextHeight, int textHeight);

  // Opens the chart window on what the group box loaded last (none: the last load of any group),
  // or brings it to the front showing that. Ctrl+G opens it for the group holding the focus.
  void ShowChart(std::optional<ControlId> group);
  // The chart window, once it has been opened.
  class ChartWindow* Chart() const {
    return chart_;
  }
  // Opens the call log window, or brings it to the front: by Ctrl+L anywhere in the window and
  // from the memo's context menu.
  void ShowCallLog();
  // The call log window, once it has been opened.
  class CallLogWindow* CallLog() const {
    return callLog_;
  }

 protected:
  void changeEvent(QEvent* event) override;

 private:
  QWidget* CreateControl(const ControlDescription& control, QWidget& parent);
  void ConnectHandler(const ControlDescription& control, QWidget& widget);

  // The view of the form's controls.
  void SetEnabled(ControlId control, bool enabled) override;
  void SetFocus(ControlId control) override;
  std::u16string Text(ControlId control) const override;
  void SetText(ControlId control, std::u16string_view text) override;
  StringList& Items(ControlId comboBox) override;
  TDateTime Date(ControlId dateEdit) const override;
  void SetValue(ControlId currencyEdit, double value) override;
  bool Checked() const override;
  void SetChecked(bool checked) override;
  void AppendToMemo(const std::vector<std::u16string>& texts) override;
  void ShowError(std::exception_ptr error) override;
  void SeriesLoaded(const LoadedSeries& series) override;
  // The control of the form that holds the focus, or is around the focused widget.
  std::optional<ControlId> FocusedControl() const;
  template <typename T>
  T* Child(ControlId control) const;

  std::vector<QWidget*> controls_;  // by ControlId
  class ChartWindow* chart_ = nullptr;
  class CallLogWindow* callLog_ = nullptr;
  MainForm form_{*this};
};

}  // namespace quorvane
