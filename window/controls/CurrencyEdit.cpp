#include "CurrencyEdit.h"

#include <QEvent>

#include "Errors.h"
#include "TextToValue.h"
#include "ValueToText.h"

namespace quorvane {

CurrencyEdit::CurrencyEdit(QWidget* parent)
    : QLineEdit(parent),
      pattern_(QString::fromStdU16String(std::u16string(kCurrencyDisplayPattern))) {
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void CurrencyEdit::SetValue(double value) {
  value_ = value;
  ShowValue();
}

void CurrencyEdit::Clear() {
  value_.reset();
  ShowValue();
}

void CurrencyEdit::SetDisplayPattern(const QString& pattern) {
  pattern_ = pattern;
  ShowValue();
}

void CurrencyEdit::focusInEvent(QFocusEvent* event) {
  ShowValue();
  QLineEdit::focusInEvent(event);
}

void CurrencyEdit::focusOutEvent(QFocusEvent* event) {
  TakeTypedText();
  QLineEdit::focusOutEvent(event);
  ShowValue();
}

void CurrencyEdit::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LocaleChange)
    ShowValue();
  QLineEdit::changeEvent(event);
}

void CurrencyEdit::ShowValue() {
  if (!value_) {
    setText(QString());
  } else if (hasFocus()) {
    // While editing, the plain number without grouping.
    setText(QString::fromStdU16String(GeneralNumberText(Extended::FromDouble(*value_))));
  } else {
    setText(QString::fromStdU16String(DisplayPatternText(pattern_.toStdU16String(), *value_)));
  }
}

void CurrencyEdit::TakeTypedText() {
  if (!isModified())
    return;
  setModified(false);
  const QString typed = text().trimmed();
  if (typed.isEmpty()) {
    value_.reset();
    return;
  }
  try {
    value_ = ReadNumber(typed.toStdU16String()).ToDouble();
  } catch (const Exception&) {
    // A text that is no number leaves the value as it was.
  }
}

}  // namespace quorvane
