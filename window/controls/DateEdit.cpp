#include "DateEdit.h"

#include <QCalendarWidget>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "Calendar.h"
#include "Errors.h"
#include "TextToValue.h"
#include "ValueToText.h"

namespace quorvane {

DateEdit::DateEdit(QWidget* parent)
    : QWidget(parent),
      editor_(new QLineEdit(this)),
      dropDown_(new QToolButton(this)),
      popup_(new QFrame(this, Qt::Popup)),
      calendar_(new QCalendarWidget(popup_)) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(editor_);
  layout->addWidget(dropDown_);
  editor_->setClearButtonEnabled(true);
  dropDown_->setArrowType(Qt::DownArrow);
  dropDown_->setFocusPolicy(Qt::NoFocus);
  dropDown_->setToolTip(tr("Calendar"));
  setFocusProxy(editor_);
  setFocusPolicy(editor_->focusPolicy());

  popup_->setFrameShape(QFrame::Box);
  auto* popupLayout = new QVBoxLayout(popup_);
  popupLayout->setContentsMargins(1, 1, 1, 1);
  popupLayout->addWidget(calendar_);
  calendar_->setGridVisible(true);

  connect(dropDown_, &QToolButton::clicked, this, &DateEdit::ShowCalendar);
  connect(calendar_, &QCalendarWidget::clicked, this, &DateEdit::PickFromCalendar);
  connect(calendar_, &QCalendarWidget::activated, this, &DateEdit::PickFromCalendar);
  connect(editor_, &QLineEdit::editingFinished, this, &DateEdit::TakeTypedText);
  connect(editor_, &QLineEdit::textEdited, this, [this](const QString& text) {
    // The clear button and an emptied text both leave the editor without a date at once.
    if (text.isEmpty() && hasDate_) {
      hasDate_ = false;
      emit ValueChanged();
    }
  });
}

DateEdit::~DateEdit() {
  // The editor loses the focus while the widgets go, and must not report to a half-gone editor.
  editor_->disconnect(this);
}

double DateEdit::Value() const {
  return hasDate_ ? value_ : kNullDate;
}

void DateEdit::SetValue(double dateTime) {
  hasDate_ = true;
  value_ = dateTime;
  ShowValue();
  emit ValueChanged();
}

void DateEdit::Clear() {
  hasDate_ = false;
  ShowValue();
  emit ValueChanged();
}

QDate DateEdit::Date() const {
  if (!hasDate_)
    return {};
  const std::chrono::year_month_day date =
      DateOfDayNumber(static_cast<std::int64_t>(std::trunc(value_)));
  return QDate(static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
               static_cast<int>(static_cast<unsigned>(date.day())));
}

void DateEdit::SetDate(const QDate& date) {
  if (!date.isValid()) {
    Clear();
    return;
  }
  SetValue(static_cast<double>(DayNumberOf(date.year(), date.month(), date.day())));
}

void DateEdit::ShowCalendar() {
  const QDate shown = hasDate_ && Date().isValid() ? Date() : QDate::currentDate();
  calendar_->setSelectedDate(shown);
  calendar_->setCurrentPage(shown.year(), shown.month());
  popup_->adjustSize();
  QPoint below = mapToGlobal(QPoint(0, height()));
  popup_->move(below);
  popup_->show();
  calendar_->setFocus();
}

void DateEdit::changeEvent(QEvent* event) {
  // The date text follows the locale settings, which change with the system's.
  if (event->type() == QEvent::LocaleChange)
    ShowValue();
  QWidget::changeEvent(event);
}

void DateEdit::ShowValue() {
  editor_->setText(hasDate_ ? QString::fromStdU16String(ShortDateText(value_)) : QString());
}

void DateEdit::TakeTypedText() {
  const QString text = editor_->text().trimmed();
  if (text.isEmpty()) {
    if (hasDate_)
      Clear();
    return;
  }
  if (hasDate_ && text == QString::fromStdU16String(ShortDateText(value_)))
    return;  // unchanged: keep the time of day the editor holds
  try {
    SetValue(ReadDate(text.toStdU16String()));
  } catch (const Exception&) {
    ShowValue();  // a text that is no date gives the held date back
  }
}

void DateEdit::PickFromCalendar(const QDate& date) {
  popup_->hide();
  SetDate(date);
  editor_->setFocus();
}

}  // namespace quorvane
