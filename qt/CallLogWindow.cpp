#include "CallLogWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "ErrorBox.h"
#include "Errors.h"

namespace quorvane {

namespace {

QString QText(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QPushButton* Button(std::u16string_view caption, const char* name, QWidget* parent) {
  auto* button = new QPushButton(QText(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

CallLogModel::CallLogModel(QObject* parent)
    : QAbstractTableModel(parent), rows_(TheCallLog(), [this] {
        // From whichever thread made the call: the rows are taken on the window's.
        QMetaObject::invokeMethod(this, &CallLogModel::Follow, Qt::QueuedConnection);
      }) {}

int CallLogModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.Size());
}

int CallLogModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(kCallLogColumns);
}

QVariant CallLogModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || static_cast<std::size_t>(index.row()) >= rows_.Size())
    return {};
  const auto column = static_cast<CallLogColumn>(index.column());
  const LoggedCall& call = rows_.Row(static_cast<std::size_t>(index.row()));
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdU16String(CallLogCell(call, column));
    case Qt::ToolTipRole:
      // A long description shows whole.
      return column == CallLogColumn::Description || column == CallLogColumn::Arguments
                 ? QVariant(QString::fromStdU16String(CallLogCell(call, column)))
                 : QVariant();
    case Qt::TextAlignmentRole:
      return CallLogColumnOf(column).alignRight ? int(Qt::AlignRight | Qt::AlignVCenter)
                                                : int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ForegroundRole:
      return FAILED(call.status) ? QVariant(QColor(0xB0, 0x10, 0x10)) : QVariant();
    default:
      return {};
  }
}

QVariant CallLogModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 ||
      static_cast<std::size_t>(section) >= kCallLogColumns)
    return {};
  const CallLogColumnLook& look = CallLogColumnOf(static_cast<CallLogColumn>(section));
  if (role == Qt::DisplayRole)
    return QText(look.caption);
  if (role == Qt::TextAlignmentRole)
    return look.alignRight ? int(Qt::AlignRight | Qt::AlignVCenter)
                           : int(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

void CallLogModel::Follow() {
  CallLogRows::Batch batch = rows_.Take();
  if (batch.reset) {
    beginResetModel();
    rows_.Apply(std::move(batch));
    endResetModel();
  } else if (!batch.calls.empty()) {
    const int first = static_cast<int>(rows_.Size());
    beginInsertRows({}, first, first + static_cast<int>(batch.calls.size()) - 1);
    rows_.Apply(std::move(batch));
    endInsertRows();
  }
  emit Followed();
}

CallLogWindow::CallLogWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("CallLogWindow"));
  // The main window's font, before the columns are measured with it.
  if (owner)
    setFont(owner->font());
  setWindowTitle(QText(kCallLogTitle));
  model_ = new CallLogModel(this);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(4);
  auto* commands = new QHBoxLayout;
  switch_ = new QCheckBox(QText(kCallLogSwitchText), this);
  switch_->setObjectName(QStringLiteral("CallLogSwitch"));
  switch_->setChecked(model_->Rows().Enabled());
  commands->addWidget(switch_);
  commands->addStretch(1);
  QPushButton* clear = Button(kCallLogClearText, "CallLogClear", this);
  QPushButton* copy = Button(kCallLogCopyText, "CallLogCopy", this);
  QPushButton* save = Button(kCallLogSaveText, "CallLogSave", this);
  commands->addWidget(clear);
  commands->addWidget(copy);
  commands->addWidget(save);
  layout->addLayout(commands);

  table_ = new QTableView(this);
  table_->setObjectName(QStringLiteral("CallLogTable"));
  table_->setModel(model_);
  // An item view takes the style's font for its class, not its window's, unless told.
  table_->setFont(font());
  table_->horizontalHeader()->setFont(font());
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table_->setWordWrap(false);
  table_->setAlternatingRowColors(true);
  table_->setContextMenuPolicy(Qt::CustomContextMenu);
  table_->installEventFilter(this);
  // Rows of one height, so that 100,000 rows cost nothing to lay out.
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(false);
  table_->horizontalHeader()->setHighlightSections(false);
  const double scale = fontMetrics().height() / 13.0;
  int columnsWidth = 0;
  for (std::size_t column = 0; column < kCallLogColumns; ++column) {
    const CallLogColumnLook& look = CallLogColumnOf(static_cast<CallLogColumn>(column));
    // The cell's margins beside the text.
    const int width = look.sample.empty()
                          ? static_cast<int>(look.width * scale)
                          : fontMetrics().horizontalAdvance(QText(look.sample)) + 14;
    table_->setColumnWidth(static_cast<int>(column), width);
    columnsWidth += width;
  }
  layout->addWidget(table_, 1);

  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("CallLogSummary"));
  layout->addWidget(summary_);

  connect(switch_, &QCheckBox::toggled, this, [this](bool on) {
    model_->Rows().SetEnabled(on);
    summary_->setText(SummaryText());
  });
  connect(clear, &QPushButton::clicked, this, [this] { model_->Rows().Clear(); });
  connect(copy, &QPushButton::clicked, this, [this] { CopySelected(); });
  connect(save, &QPushButton::clicked, this, [this] { AskAndSave(); });
  connect(table_, &QWidget::customContextMenuRequested, this, &CallLogWindow::ShowMenu);
  connect(model_, &CallLogModel::Followed, this, &CallLogWindow::Followed);
  summary_->setText(SummaryText());
  // Every column in sight, beside the scroll bar.
  resize(columnsWidth + table_->verticalScrollBar()->sizeHint().width() + 16,
         static_cast<int>(420 * scale));
}

void CallLogWindow::ShowWindow() {
  switch_->setChecked(model_->Rows().Enabled());
  summary_->setText(SummaryText());
  show();
  raise();
  activateWindow();
  table_->scrollToBottom();
}

QString CallLogWindow::SummaryText() const {
  return QString::fromStdU16String(model_->Rows().SummaryText());
}

// New rows: the summary, and the table kept at its end when it was there.
void CallLogWindow::Followed() {
  summary_->setText(SummaryText());
  QScrollBar* bar = table_->verticalScrollBar();
  if (bar->value() >= bar->maximum() - 1)
    table_->scrollToBottom();
}

void CallLogWindow::CopySelected() const {
  std::vector<std::size_t> rows;
  for (const QModelIndex& index : table_->selectionModel()->selectedRows())
    rows.push_back(static_cast<std::size_t>(index.row()));
  std::sort(rows.begin(), rows.end());
  QApplication::clipboard()->setText(QString::fromStdString(model_->Rows().Csv(rows)));
}

void CallLogWindow::SaveTo(const QString& path) const {
  const std::u16string name = path.toStdU16String();
  const QByteArray bytes = QByteArray::fromStdString(CallLogFileBytes(name, model_->Rows().All()));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() ||
      !file.flush())
    throw Exception(CallLogSaveFailure(name, file.errorString().toStdU16String()));
}

void CallLogWindow::AskAndSave() {
  const QString path =
      QFileDialog::getSaveFileName(this, tr("Save Call Log"), QText(kCallLogFileName),
                                   tr("CSV files (*.csv);;JSON files (*.json);;All files (*)"));
  if (path.isEmpty())
    return;
  Guarded([&] { SaveTo(path); });
}

void CallLogWindow::ShowMenu(const QPoint& at) {
  QMenu menu(this);
  menu.addAction(QText(kCallLogCopyText), QKeySequence::Copy, this, [this] { CopySelected(); })
      ->setEnabled(table_->selectionModel()->hasSelection());
  menu.addAction(QText(kCallLogSelectAllText), QKeySequence::SelectAll, table_,
                 &QTableView::selectAll);
  menu.addSeparator();
  menu.addAction(QText(kCallLogSaveText), QKeySequence::Save, this, [this] { AskAndSave(); });
  menu.addAction(QText(kCallLogClearText), this, [this] { model_->Rows().Clear(); });
  menu.exec(table_->viewport()->mapToGlobal(at));
}

bool CallLogWindow::eventFilter(QObject* watched, QEvent* event) {
  // The table would copy its current cell alone.
  if (watched == table_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    CopySelected();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void CallLogWindow::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Save)) {
    AskAndSave();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace quorvane
