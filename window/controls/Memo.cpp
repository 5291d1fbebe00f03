#include "Memo.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

namespace quorvane {

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
  // Blocks are the lines; the text between two blocks is one line break.
  QString text;
  for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
    if (block != document()->begin())
      text += QStringLiteral("\r\n");
    text += block.text();
  }
  return text;
}

namespace {

bool IsLineBreak(QChar c) {
  return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator;
}

}  // namespace

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
  cursor.insertText(pending_);
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
