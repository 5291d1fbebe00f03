#pragma once
// The call log window: every server call of the process in a table that follows new calls as
// they are made, in a window of its own beside the main window. Clear, Copy (the selected rows
// as CSV), Save... (CSV or JSON by the file's extension) and "Log calls" to switch the log off
// and on. The rows, texts and rules are the form's (CallLogView.h).

#include <QAbstractTableModel>
#include <QWidget>

#include "CallLogView.h"

class QCheckBox;
class QLabel;
class QTableView;

namespace quorvane {

class CallLogModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit CallLogModel(QObject* parent);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  CallLogRows& Rows() { return rows_; }
  const CallLogRows& Rows() const { return rows_; }
  // Takes the calls that came since the last time; once per batch of calls, on the window's
  // thread.
  void Follow();

 signals:
  void Followed();

 private:
  CallLogRows rows_;
};

class CallLogWindow : public QWidget {
  Q_OBJECT

 public:
  explicit CallLogWindow(QWidget* owner);

  // Opens the window, or brings it to the front.
  void ShowWindow();

  const CallLogModel& Model() const { return *model_; }
  QString SummaryText() const;
  // The selected rows as CSV on the clipboard.
  void CopySelected() const;
  // Writes every row into the file, as JSON for a name ending in ".json", else as CSV; raises an
  // Exception naming the file when it cannot be written.
  void SaveTo(const QString& path) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void AskAndSave();
  void ShowMenu(const QPoint& at);
  void Followed();

  CallLogModel* model_;
  QTableView* table_;
  QCheckBox* switch_;
  QLabel* summary_;
};

}  // namespace quorvane
