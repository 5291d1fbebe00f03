#include "DateEdit.h"

#include <QAction>
#include <QCalendarWidget>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "Calendar.h"
#include "Errors.h"
#include "TypedDate.h"
#include "ValueToText.h"

namespace quorvane {

namespace {

// The drop-down button is narrow, so that the longest short date of any locale fits beside the
// clear button in the editor's 121 pixels.
constexpr int kDropDownWidth = 15;

// The clear button's cross, drawn here: the style's own icon would be looked up in the icon
// themes of the desktop at start, which costs time on an X display and finds nothing here.
QIcon ClearIcon(const QPalette& palette) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(palette.color(QPalette::PlaceholderText), 1.5));
  painter.drawLine(QPointF(5, 5), QPointF(11, 11));
  painter.drawLine(QPointF(11, 5), QPointF(5, 11));
  return QIcon(pixmap);
}

}  // namespace

DateEdit::DateEdit(QWidget* parent)
    : QWidget(parent), editor_(new QLineEdit(this)), dropDown_(new QToolButton(this)) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(editor_);
  layout->addWidget(dropDown_);
  clearAction_ = editor_->addAction(ClearIcon(palette()), QLineEdit::TrailingPosition);
  clearAction_->setToolTip(tr("Clear"));
  clearAction_->setVisible(false);
  dropDown_->setArrowType(Qt::DownArrow);
  dropDown_->setFixedWidth(kDropDownWidth);
  dropDown_->setFocusPolicy(Qt::NoFocus);
  dropDown_->setToolTip(tr("Calendar (F4)"));
  setFocusProxy(editor_);
  setFocusPolicy(editor_->focusPolicy());
  editor_->installEventFilter(this);

  connect(dropDown_, &QToolButton::clicked, this, &DateEdit::ShowCalendar);
  connect(clearAction_, &QAction::triggered, this, [this] {
    editor_->clear();
    SetRefused(false);
    if (hasDate_)
      Clear();
  });
  connect(editor_, &QLineEdit::editingFinished, this, &DateEdit::TakeTypedText);
  connect(editor_, &QLineEdit::textChanged, this,
          [this](const QString& text) { clearAction_->setVisible(!text.isEmpty()); });
  connect(editor_, &QLineEdit::textEdited, this, [this](const QString& text) {
    // A refused text being corrected is no longer marked; the next Enter or leaving decides.
    SetRefused(false);
    // An emptied text leaves the editor without a date at once.
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
  SetRefused(false);
  ShowValue();
  emit ValueChanged();
}

void DateEdit::Clear() {
  hasDate_ = false;
  SetRefused(false);
  ShowValue();
  emit ValueChanged();
}

QDate DateEdit::Date() const {
  if (!hasDate_)
    return {};
  const CalendarDay day = CalendarDayOf(static_cast<std::int64_t>(std::trunc(value_)));
  return QDate(day.Year, day.Month, day.Day);
}

void DateEdit::SetDate(const QDate& date) {
  if (!date.isValid()) {
    Clear();
    return;
  }
  SetValue(static_cast<double>(DayNumberOf(date.year(), date.month(), date.day())));
}

void DateEdit::MakeCalendar() {
  popup_ = new QFrame(this, Qt::Popup);
  popup_->setFrameShape(QFrame::Box);
  calendar_ = new QCalendarWidget(popup_);
  auto* popupLayout = new QVBoxLayout(popup_);
  popupLayout->setContentsMargins(1, 1, 1, 1);
  popupLayout->addWidget(calendar_);
  calendar_->setGridVisible(true);
  connect(calendar_, &QCalendarWidget::clicked, this, &DateEdit::PickFromCalendar);
  connect(calendar_, &QCalendarWidget::activated, this, &DateEdit::PickFromCalendar);
}

void DateEdit::ShowCalendar() {
  if (!calendar_)
    MakeCalendar();
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
  if (event->type() == QEvent::LocaleChange && !refused_)
    ShowValue();
  QWidget::changeEvent(event);
}

bool DateEdit::eventFilter(QObject* watched, QEvent* event) {
  // F4 and Alt+Down open the calendar, as they open the drop-down of a combo box.
  if (watched == editor_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool altDown = key->key() == Qt::Key_Down && (key->modifiers() & Qt::AltModifier);
    if ((key->key() == Qt::Key_F4 && !(key->modifiers() & Qt::AltModifier)) || altDown) {
      ShowCalendar();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void DateEdit::ShowValue() {
  editor_->setText(hasDate_ ? QString::fromStdU16String(ShortDateText(value_)) : QString());
  // A date longer than the editor shows from its start.
  editor_->setCursorPosition(0);
}

void DateEdit::TakeTypedText() {
  const QString text = editor_->text().trimmed();
  if (text.isEmpty()) {
    SetRefused(false);
    if (hasDate_)
      Clear();
    return;
  }
  if (hasDate_ && text == QString::fromStdU16String(ShortDateText(value_)))
    return;  // unchanged: keep the time of day the editor holds
  if (const std::optional<TDate> day = ReadTypedDate(text.toStdU16String())) {
    SetValue(*day);
    return;
  }
  // No date: the text stays for correction, marked, and the editor holds no date, so no action
  // takes a day the user did not ask for.
  const bool hadDate = hasDate_;
  hasDate_ = false;
  SetRefused(true);
  if (hadDate)
    emit ValueChanged();
}

void DateEdit::SetRefused(bool refused) {
  if (refused == refused_)
    return;
  refused_ = refused;
  if (refused) {
    QPalette marked = editor_->palette();
    marked.setColor(QPalette::Base, QColor(255, 228, 225));
    marked.setColor(QPalette::Text, QColor(160, 0, 0));
    editor_->setPalette(marked);
    editor_->setToolTip(QString::fromStdU16String(
        FillTemplate(u"''%s'' is not a valid date", {editor_->text().toStdU16String()})));
  } else {
    editor_->setPalette(QPalette());
    editor_->setToolTip(QString());
  }
}

void DateEdit::PickFromCalendar(const QDate& date) {
  popup_->hide();
  SetDate(date);
  editor_->setFocus();
}

}  // namespace quorvane
