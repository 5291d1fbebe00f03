#pragma once
// A currency editor: holds one real number or nothing, and shows the number by its display pattern
// while it does not have the focus.

#include <QLineEdit>
#include <optional>

namespace quorvane {

class CurrencyEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit CurrencyEdit(QWidget* parent = nullptr);

  std::optional<double> Value() const { return value_; }
  void SetValue(double value);
  void Clear();

  QString DisplayPattern() const { return pattern_; }

  // The number a text names: a plain number, or the number as the display pattern shows it, with
  // its digits grouped. Nothing when the text is no number.
  static std::optional<double> ReadShownNumber(const QString& text);
  void SetDisplayPattern(const QString& pattern);

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void ShowValue();
  void TakeTypedText();

  std::optional<double> value_;
  QString pattern_;
};

}  // namespace quorvane
