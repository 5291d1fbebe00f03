#include "CurrencyEdit.h"

#include <QEvent>

#include "Errors.h"
#include "LocaleSettings.h"
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
  // A text that is no number leaves the value as it was.
  if (const std::optional<double> value = ReadShownNumber(typed))
    value_ = value;
}

std::optional<double> CurrencyEdit::ReadShownNumber(const QString& text) {
  const auto read = [](const QString& t) -> std::optional<double> {
    try {
      return ReadNumber(t.toStdU16String()).ToDouble();
    } catch (const Exception&) {
      return std::nullopt;
    }
  };
  if (const std::optional<double> value = read(text))
    return value;
  // The shown form groups the digits: without its group separators it reads as a number. Where
  // the separator is a blank, every kind of blank counts, since a text typed by hand may hold a
  // plain space for a non-breaking one.
  const LocaleSettings& settings = CurrentLocaleSettings();
  const QChar group(settings.ThousandSeparator);
  if (settings.ThousandSeparator == settings.DecimalSeparator)
    return std::nullopt;
  QString plain = text;
  plain.removeIf([group](QChar c) {
    return c == group || (group.isSpace() && c.isSpace()) || c.category() == QChar::Other_Format;
  });
  return plain == text ? std::nullopt : read(plain);
}

}  // namespace quorvane
