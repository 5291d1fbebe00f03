#pragma once
// A date editor that holds one date-time number (days since 1899-12-30) or no date. The date is
// typed or picked in a drop-down calendar; the clear button or an emptied text removes it.

#include <QDate>
#include <QWidget>

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

  QLineEdit* Editor() const { return editor_; }
  // Opens the drop-down calendar on the held date, or on today when there is none.
  void ShowCalendar();
  QCalendarWidget* Calendar() const { return calendar_; }

 signals:
  void ValueChanged();

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void ShowValue();
  void TakeTypedText();
  void PickFromCalendar(const QDate& date);

  QLineEdit* editor_;
  QToolButton* dropDown_;
  QFrame* popup_;
  QCalendarWidget* calendar_;
  bool hasDate_ = false;
  double value_ = 0;
};

}  // namespace quorvane
