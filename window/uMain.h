#pragma once
// The main window form1: its controls come from uMain.ui; this class connects the handlers.

#include <QWidget>
#include <memory>

namespace Ui {
class Tform1;
}

namespace quorvane {

class Tform1 : public QWidget {
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
  void SetConnected(bool connected);

  std::unique_ptr<Ui::Tform1> ui;
};

}  // namespace quorvane
