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

namespace quorvane {

namespace {

// The user state of a block that continues the line of the block before it.
constexpr int kContinuesLine = 1;

bool IsLineBreak(QChar c) {
  return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator;
}

// Whether some line of the text is longer than a piece.
bool HasLongLine(const QString& text) {
  qsizetype lineStart = 0;
  for (qsizetype i = 0; i <= text.size(); ++i) {
    if (i == text.size() || IsLineBreak(text[i])) {
      if (i - lineStart > Memo::kPieceLength)
        return true;
      lineStart = i + 1;
    }
  }
  return false;
}

// Inserts the text at the cursor, each line longer than a piece as a run of pieces.
void InsertInPieces(QTextCursor& cursor, const QString& text) {
  qsizetype lineStart = 0;
  qsizetype flushed = 0;  // the text before this is in the document
  for (qsizetype i = 0; i <= text.size(); ++i) {
    if (i != text.size() && !IsLineBreak(text[i]))
      continue;
    if (i - lineStart > Memo::kPieceLength) {
      qsizetype pieceEnd = lineStart + Memo::kPieceLength;
      if (text[pieceEnd - 1].isHighSurrogate())
        ++pieceEnd;  // a piece never splits a character
      cursor.insertText(text.mid(flushed, pieceEnd - flushed));
      qsizetype pos = pieceEnd;
      while (pos < i) {
        qsizetype end = std::min(i, pos + Memo::kPieceLength);
        if (end < i && text[end - 1].isHighSurrogate())
          ++end;
        cursor.insertBlock();
        cursor.block().setUserState(kContinuesLine);
        cursor.insertText(text.mid(pos, end - pos));
        pos = end;
      }
      flushed = i;
    }
    lineStart = i + 1;
  }
  if (flushed < text.size())
    cursor.insertText(text.mid(flushed));
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
    throw Exception((QStringLiteral("Cannot save the log to ") + path + QStringLiteral(": ") +
                     file.errorString())
                        .toStdU16String());
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
  if (pending_.isEmpty())
    return;
  QTextCursor cursor(memo_.document());
  cursor.movePosition(QTextCursor::End);
  if (HasLongLine(pending_)) {
    cursor.beginEditBlock();
    InsertInPieces(cursor, pending_);
    cursor.endEditBlock();
  } else {
    cursor.insertText(pending_);
  }
  // Show the end of the log, where the new lines are.
  memo_.verticalScrollBar()->setValue(memo_.verticalScrollBar()->maximum());
}

void Memo::Appender::AppendLine(const QString& text) {
  if (endsWithBreak_) {
    pending_ += text;
    pending_ += QLatin1Char('\n');
  } else {
    pending_ += QLatin1Char('\n');
    pending_ += text;
  }
  endsWithBreak_ = !pending_.isEmpty() && IsLineBreak(pending_.back());
}

}  // namespace quorvane
