#pragma once
// The main window form1 on Qt: its controls come from uMain.ui; the handlers are the form's, and
// this class is the view they drive.

#include <QWidget>
#include <memory>

#include "FormView.h"
#include "MainForm.h"

namespace Ui {
class Tform1;
}

namespace quorvane {

class Tform1 : public QWidget, private FormView {
  Q_OBJECT

 public:
  explicit Tform1(QWidget* parent = nullptr);
  ~Tform1() override;

  // The design's text height: the layout's sizes are made for a font of this height.
  static constexpr int kDesignTextHeight = 13;
  // Scales the places and sizes of the form and of every control it lays out by textHeight over
  // designTextHeight.
  static void ScaleForm(QWidget& form, int designTextHeight, int textHeight);

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

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void ConnectHandlers();

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
  template <typename T>
  T* Child(ControlId control) const;

  std::unique_ptr<Ui::Tform1> ui;
  MainForm form_{*this};
};

}  // namespace quorvane
