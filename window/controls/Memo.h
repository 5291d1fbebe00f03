#pragma once
// The window's log: a multi-line text that wraps at its width and that the program only appends
// to. Its text is seen as lines ended by a line break (carriage return and line feed).

#include <QPlainTextEdit>
#include <QTextCursor>

namespace quorvane {

class Memo : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit Memo(QWidget* parent = nullptr);

  // Appends a text as a new line: after the text when it is empty or ends with a line break,
  // otherwise after a line break put first. A line break inside the text starts a new line.
  void AppendLine(const QString& text);

  // The whole text with every line break written as carriage return and line feed.
  QString Text() const;

  // Appends many lines as one edit: the lines are gathered and put at the end in one insertion
  // when the appender goes, so a long listing neither re-reads nor lays out the text per line.
  class Appender {
   public:
    explicit Appender(Memo& memo);
    ~Appender();
    Appender(const Appender&) = delete;
    Appender& operator=(const Appender&) = delete;
    void AppendLine(const QString& text);

   private:
    Memo& memo_;
    QString pending_;
    bool endsWithBreak_;
  };
};

}  // namespace quorvane
