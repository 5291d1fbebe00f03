#include "Memo.h"

#include <QContextMenuEvent>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

#include "ErrorBox.h"
#include "Errors.h"
#include "MemoText.h"

namespace quorvane {

namespace {

// The user state of a block that continues the line of the block before it.
constexpr int kContinuesLine = 1;

// Inserts the text (lines ended by carriage return and line feed) at the cursor, each line longer
// than a piece as a run of blocks that continue it.
void InsertInPieces(QTextCursor& cursor, std::u16string_view text) {
  QString plain;  // lines of at most a piece, gathered for one insertion
  std::size_t lineStart = 0;
  while (true) {
    const std::size_t lineEnd = std::min(text.find(u"\r\n", lineStart), text.size());
    const std::u16string_view line = text.substr(lineStart, lineEnd - lineStart);
    const std::vector<std::u16string_view> pieces = MemoPieces(line, Memo::kPieceLength);
    for (std::size_t p = 0; p < pieces.size(); ++p) {
      if (p > 0) {
        cursor.insertText(plain);
        plain.clear();
        cursor.insertBlock();
        cursor.block().setUserState(kContinuesLine);
      }
      plain += QStringView(pieces[p].data(), static_cast<qsizetype>(pieces[p].size()));
    }
    if (lineEnd == text.size())
      break;
    plain += QLatin1Char('\n');
    lineStart = lineEnd + 2;
  }
  cursor.insertText(plain);
}

}  // namespace

Memo::Memo(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setTabChangesFocus(true);
}

void Memo::AppendLine(const QString& text) {
  Appender appender(*this);
  appender.AppendLine(text);
}

QString Memo::Text() const {
  // Blocks are the lines, or pieces of a long line; between two lines is one line break.
  QString text;
  for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
    if (block != document()->begin() && block.userState() != kContinuesLine)
      text += QStringLiteral("\r\n");
    text += block.text();
  }
  return text;
}

void Memo::SaveLog(const QString& path) const {
  QFile file(path);
  const QByteArray bytes = Text().toUtf8();
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() ||
      !file.flush()) {
    throw Exception(SaveLogFailure(path.toStdU16String(), file.errorString().toStdU16String()));
  }
}

QMenu* Memo::CreateContextMenu() {
  QMenu* menu = createStandardContextMenu();
  menu->addSeparator();
  QAction* save = menu->addAction(tr("Save Log..."));
  connect(save, &QAction::triggered, this, &Memo::AskAndSaveLog);
  QAction* clearAll = menu->addAction(tr("Clear"));
  clearAll->setEnabled(!document()->isEmpty());
  connect(clearAll, &QAction::triggered, this, &QPlainTextEdit::clear);
  // The window's own commands given to the memo.
  if (!actions().isEmpty()) {
    menu->addSeparator();
    menu->addActions(actions());
  }
  return menu;
}

void Memo::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = CreateContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(event->globalPos());
}

void Memo::AskAndSaveLog() {
  const QString path = QFileDialog::getSaveFileName(this, tr("Save Log"), QStringLiteral("log.txt"),
                                                    tr("Text files (*.txt);;All files (*)"));
  if (path.isEmpty())
    return;
  Guarded([&] { SaveLog(path); });
}

Memo::Appender::Appender(Memo& memo) : memo_(memo) {
  // The text ends with a line break exactly when its last line is empty; an empty text counts
  // the same way.
  endsWithBreak_ = memo.document()->lastBlock().length() <= 1;
}

Memo::Appender::~Appender() {
  if (texts_.empty())
    return;
  const std::u16string insertion = MemoInsertion(endsWithBreak_, texts_);
  QTextCursor cursor(memo_.document());
  cursor.movePosition(QTextCursor::End);
  cursor.beginEditBlock();
  InsertInPieces(cursor, insertion);
  cursor.endEditBlock();
  // Show the end of the log, where the new lines are.
  memo_.verticalScrollBar()->setValue(memo_.verticalScrollBar()->maximum());
}

void Memo::Appender::AppendLine(const QString& text) {
  // The document takes a carriage return, a line feed and a paragraph separator each as a line
  // break, and a carriage return with a line feed as one: the memo's rule sees each as one.
  texts_.push_back(WithCrLfBreaks(text.toStdU16String()));
}

}  // namespace quorvane
