#pragma once
// The window's log: a multi-line text that wraps at its width and that the program only appends
// to. Its text is seen as lines ended by a line break (carriage return and line feed). Its context
// menu adds "Save Log..." (the text into a UTF-8 file) and "Clear" to the usual editing commands,
// then the actions its window gives it (addAction).

#include <QPlainTextEdit>
#include <QTextCursor>
#include <string>
#include <vector>

class QMenu;

namespace quorvane {

class Memo : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit Memo(QWidget* parent = nullptr);

  // A line longer than this goes in as pieces of this length, each a block that continues the
  // line: the memo lays out only the blocks it shows, so even a line of a million characters
  // shows at once. The pieces are one line in Text() and in a saved log.
  static constexpr qsizetype kPieceLength = 4096;

  // Appends a text as a new line: after the text when it is empty or ends with a line break,
  // otherwise after a line break put first. A line break inside the text starts a new line.
  void AppendLine(const QString& text);

  // The whole text with every line break written as carriage return and line feed.
  QString Text() const;

  // Writes Text() into the file as UTF-8. Raises an error naming the file when it cannot.
  void SaveLog(const QString& path) const;

  // The context menu: the editing commands, then "Save Log..." and "Clear", then actions().
  QMenu* CreateContextMenu();

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
    std::vector<std::u16string> texts_;
    bool endsWithBreak_;
  };

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void AskAndSaveLog();
};

}  // namespace quorvane
