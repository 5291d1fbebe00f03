#include "CurrencyEdit.h"

#include <QEvent>

#include "CurrencyText.h"

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
  setText(
      QString::fromStdU16String(CurrencyEditorText(value_, hasFocus(), pattern_.toStdU16String())));
}

void CurrencyEdit::TakeTypedText() {
  if (!isModified())
    return;
  setModified(false);
  value_ = CurrencyValueAfterTyping(text().toStdU16String(), value_);
}

std::optional<double> CurrencyEdit::ReadShownNumber(const QString& text) {
  return quorvane::ReadShownNumber(text.toStdU16String());
}

}  // namespace quorvane
