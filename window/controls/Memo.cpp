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

void Memo::AppendAt(QTextCursor& cursor, const QString& text) {
  // The text ends with a line break exactly when its last line is empty; an empty text counts
  // the same way.
  if (cursor.block().length() <= 1)
    cursor.insertText(text + QLatin1Char('\n'));
  else
    cursor.insertText(QLatin1Char('\n') + text);
}

Memo::Appender::Appender(Memo& memo) : memo_(memo), cursor_(memo.document()) {
  cursor_.movePosition(QTextCursor::End);
  cursor_.beginEditBlock();
}

Memo::Appender::~Appender() {
  cursor_.endEditBlock();
  // Show the end of the log, where the new lines are.
  memo_.verticalScrollBar()->setValue(memo_.verticalScrollBar()->maximum());
}

void Memo::Appender::AppendLine(const QString& text) {
  AppendAt(cursor_, text);
}

}  // namespace quorvane
