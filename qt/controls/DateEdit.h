#pragma once
// A date editor that holds one date-time number (days since 1899-12-30) or no date. The date is
// typed or picked in a drop-down calendar (the button beside the text, F4 or Alt+Down); the clear
// button or an emptied text removes it. A typed text that names no date is refused: it stays in
// the editor, marked, for the user to correct, and the editor holds no date meanwhile.

#include <QDate>
#include <QWidget>

class QAction;
class QCalendarWidget;
class QFrame;
class QLineEdit;
class QToolButton;

namespace quorvane {

class DateEdit : public QWidget {
  Q_OBJECT

 public:
  explicit DateEdit(QWidget* parent = nullptr);
  ~DateEdit() override;

  bool HasDate() const { return hasDate_; }
  // The held date-time number, or the null date when the editor holds no date.
  double Value() const;
  void SetValue(double dateTime);
  void Clear();
  // The held day as a calendar date (invalid when empty).
  QDate Date() const;
  void SetDate(const QDate& date);

  // Whether the text in the editor was refused as no date (shown marked until it is corrected).
  bool IsRefused() const { return refused_; }

  QLineEdit* Editor() const { return editor_; }
  // Opens the drop-down calendar on the held date, or on today when there is none. The calendar
  // is made on its first opening.
  void ShowCalendar();
  // The drop-down calendar; null until it is first opened.
  QCalendarWidget* Calendar() const { return calendar_; }

 signals:
  void ValueChanged();

 protected:
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void MakeCalendar();
  void ShowValue();
  void TakeTypedText();
  void SetRefused(bool refused);
  void PickFromCalendar(const QDate& date);

  QLineEdit* editor_;
  QAction* clearAction_;
  QToolButton* dropDown_;
  QFrame* popup_ = nullptr;
  QCalendarWidget* calendar_ = nullptr;
  bool hasDate_ = false;
  bool refused_ = false;
  double value_ = 0;
};

}  // namespace quorvane
