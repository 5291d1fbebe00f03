// The editor controls: the combo box over a client string list, the date editor that can hold no
// date, the currency editor with its display pattern, and the memo's append rule.

#include <QCalendarWidget>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QToolButton>
#include <cmath>
#include <memory>

#include "Characters.h"
#include "CurrencyEdit.h"
#include "DateEdit.h"
#include "Errors.h"
#include "Memo.h"
#include "StringListComboBox.h"
#include "TextToValue.h"
#include "TypedDateCases.h"
#include "WindowTestSupport.h"

using namespace quorvane;

namespace {

QStringList QtItems(const QComboBox& box) {
  QStringList items;
  for (int i = 0; i < box.count(); ++i)
    items.append(box.itemText(i));
  return items;
}

}  // namespace

class ControlsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { test::UseTestClockAndLocale(); }

  // Filling the string list in place (as the loaders do) refreshes the drop-down, keeps the text,
  // keeps duplicates and the reply's order.
  void comboBoxFollowsItsStringList() {
    StringListComboBox box;
    box.SetText("typed");
    box.Items().SetDelimitedText(u"Zeta,Alpha,Alpha,\"New Zealand\"");
    QCOMPARE(QtItems(box), QStringList({"Zeta", "Alpha", "Alpha", "New Zealand"}));
    QCOMPARE(box.Text(), QString("typed"));
    box.Items().SetDelimitedText(u"");
    QCOMPARE(QtItems(box), QStringList());
    QCOMPARE(box.Text(), QString("typed"));
  }

  // Text typed and confirmed with Enter is taken as typed and never added as an item; choosing an
  // item sets the text.
  void comboBoxTypingAndChoosing_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("not an item") << "EUR";
    QTest::newRow("the start of an item is not completed") << "US";
    QTest::newRow("an item in another case keeps its case") << "usd";
  }

  void comboBoxTypingAndChoosing() {
    QFETCH(QString, typed);
    StringListComboBox box;
    box.Items().SetDelimitedText(u"RUB,USD");
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.lineEdit()->clear();
    QTest::keyClicks(box.lineEdit(), typed);
    QCOMPARE(box.Text(), typed);
    QTest::keyClick(box.lineEdit(), Qt::Key_Return);
    QCOMPARE(box.Text(), typed);
    QCOMPARE(box.Items().Count(), 2);
    QCOMPARE(box.count(), 2);
    box.setCurrentIndex(1);
    QCOMPARE(box.Text(), QString("USD"));
    QCOMPARE(box.maxVisibleItems(), 8);
  }

  void dateEditHoldsNoDateOrADateTime() {
    DateEdit edit;
    QVERIFY(!edit.HasDate());
    QCOMPARE(edit.Value(), kNullDate);
    QCOMPARE(edit.Editor()->text(), QString());
    edit.SetValue(40459.75);  // 2010-10-08 18:00: the time of day is kept
    QCOMPARE(edit.Value(), 40459.75);
    QCOMPARE(edit.Date(), QDate(2010, 10, 8));
    QCOMPARE(edit.Editor()->text(), QString("10/8/10"));
    edit.Clear();
    QCOMPARE(edit.Value(), kNullDate);
    edit.SetDate(QDate(1899, 12, 30));
    QCOMPARE(edit.Value(), 0.0);
    edit.SetDate(QDate(1899, 12, 29));
    QCOMPARE(edit.Value(), -1.0);
  }

  // The user types a date, empties the text, or types something that is no date. A text that is
  // no date is refused: it stays in the editor, marked, and the editor holds no date, so no action
  // takes the former day in its place.
  void dateEditTyping_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("shown");
    QTest::newRow("a date by the short pattern") << "3/1/2009" << 39873.0 << false << "3/1/09";
    QTest::newRow("emptied: no date") << "" << kNullDate << false << "";
    QTest::newRow("no date at all: refused, kept for correction")
        << "tomorrow" << kNullDate << true << "tomorrow";
    QTest::newRow("no such day: refused") << "2/30/2009" << kNullDate << true << "2/30/2009";
  }

  void dateEditTyping() {
    QFETCH(QString, typed);
    QFETCH(double, value);
    QFETCH(bool, refused);
    QFETCH(QString, shown);
    DateEdit edit;
    edit.SetValue(40459.0);
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    edit.Editor()->setFocus();
    edit.Editor()->selectAll();
    if (typed.isEmpty())
      QTest::keyClick(edit.Editor(), Qt::Key_Delete);
    QTest::keyClicks(edit.Editor(), typed);
    QTest::keyClick(edit.Editor(), Qt::Key_Return);
    QCOMPARE(edit.Value(), value);
    QCOMPARE(edit.IsRefused(), refused);
    QCOMPARE(edit.Editor()->text(), shown);
    QCOMPARE(edit.Editor()->palette() != QPalette(), refused);
    if (!refused)
      return;
    // Correcting the text takes the mark away; a date then reads again.
    edit.Editor()->selectAll();
    QTest::keyClicks(edit.Editor(), "10/9/2010");
    QVERIFY(!edit.IsRefused());
    QTest::keyClick(edit.Editor(), Qt::Key_Return);
    QCOMPARE(edit.Value(), 40460.0);
    QCOMPARE(edit.Editor()->palette(), QPalette());
  }

  // A typed text is read by the short date pattern, its literal text matched, else by the general
  // date reading; what neither reads is refused.
  void dateEditReadsByPattern_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("day");  // invalid: refused
    for (const test::TypedDateCase& c : test::kTypedDateCases) {
      QTest::newRow(c.why) << QString::fromStdU16String(std::u16string(c.pattern))
                           << QString(QChar(c.separator))
                           << QString::fromStdU16String(std::u16string(c.typed))
                           << (c.year == 0 ? QDate() : QDate(c.year, c.month, c.day));
    }
  }

  void dateEditReadsByPattern() {
    QFETCH(QString, pattern);
    QFETCH(QString, separator);
    QFETCH(QString, typed);
    QFETCH(QDate, day);
    LocaleSettings settings;
    settings.ShortDateFormat = pattern.toStdU16String();
    settings.DateSeparator = separator.isEmpty() ? u'/' : separator[0].unicode();
    ScopedLocaleSettings scoped(settings);
    DateEdit edit;
    edit.SetDate(QDate(2001, 2, 3));
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    edit.Editor()->setFocus();
    edit.Editor()->setText(typed);
    edit.Editor()->setModified(true);
    QTest::keyClick(edit.Editor(), Qt::Key_Return);
    QCOMPARE(edit.Date(), day);
    QCOMPARE(edit.IsRefused(), !day.isValid());
    if (!day.isValid())
      QCOMPARE(edit.Editor()->text(), typed);  // kept for correction
  }

  // The typed-date reading is plain C++: its blanks and invisible marks are those that Qt's own
  // character classes name, for every UTF-16 code unit.
  void typedDateCharacterClassesAreQts() {
    for (char32_t u = 0; u <= 0xFFFF; ++u) {
      const auto unit = static_cast<char16_t>(u);
      const QChar c(unit);
      if (IsSpaceOfAnyWidth(unit) != c.isSpace() ||
          IsFormatMark(unit) != (c.category() == QChar::Other_Format))
        QFAIL(qPrintable(QString("U+%1").arg(static_cast<int>(u), 4, 16, QLatin1Char('0'))));
    }
  }

  // F4 and Alt+Down open the calendar from the keyboard; the calendar is made on first opening.
  void dateEditCalendarFromTheKeyboard_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("F4") << int(Qt::Key_F4) << int(Qt::NoModifier);
    QTest::newRow("Alt+Down") << int(Qt::Key_Down) << int(Qt::AltModifier);
  }

  void dateEditCalendarFromTheKeyboard() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    DateEdit edit;
    edit.SetDate(QDate(2010, 10, 8));
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    QVERIFY(!edit.Calendar());
    edit.Editor()->setFocus();
    QTest::keyClick(edit.Editor(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QVERIFY(edit.Calendar());
    QVERIFY(edit.Calendar()->isVisible());
    QCOMPARE(edit.Calendar()->selectedDate(), QDate(2010, 10, 8));
    // Picking a day with the arrow keys and Enter.
    auto* view = edit.Calendar()->findChild<QAbstractItemView*>();
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(edit.Date(), QDate(2010, 10, 9));
    QVERIFY(!edit.Calendar()->isVisible());
  }

  // The clear button of the editor leaves it without a date.
  void dateEditClearButton() {
    DateEdit edit;
    edit.SetValue(40459.0);
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    QToolButton* clear = nullptr;
    for (auto* button : edit.Editor()->findChildren<QToolButton*>())
      clear = button;
    QVERIFY(clear);
    QTest::mouseClick(clear, Qt::LeftButton);
    QCOMPARE(edit.Value(), kNullDate);
  }

  // The calendar opens on the held date, or on today when there is none; a picked day is held.
  void dateEditCalendar() {
    DateEdit edit;
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    edit.ShowCalendar();
    QCOMPARE(edit.Calendar()->selectedDate(), QDate::currentDate());
    edit.Calendar()->window()->hide();
    edit.SetDate(QDate(2010, 10, 8));
    // The drop-down button beside the text opens it.
    auto* dropDown = edit.findChild<QToolButton*>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(dropDown);
    QTest::mouseClick(dropDown, Qt::LeftButton);
    QVERIFY(edit.Calendar()->isVisible());
    QCOMPARE(edit.Calendar()->selectedDate(), QDate(2010, 10, 8));
    QCOMPARE(edit.Calendar()->monthShown(), 10);
    edit.Calendar()->setSelectedDate(QDate(2010, 10, 20));
    QTest::keyClick(edit.Calendar()->findChild<QAbstractItemView*>(), Qt::Key_Return);
    QCOMPARE(edit.Date(), QDate(2010, 10, 20));
    QVERIFY(!edit.Calendar()->isVisible());
  }

  void currencyEditShowsItsPatternWithoutFocus_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("grouping and two decimals") << 1234567.891 << "1,234,567.89";
    QTest::newRow("negative") << -4330.0 << "-4,330.00";
    QTest::newRow("zero") << 0.0 << "0.00";
  }

  void currencyEditShowsItsPatternWithoutFocus() {
    QFETCH(double, value);
    QFETCH(QString, shown);
    CurrencyEdit edit;
    QCOMPARE(edit.text(), QString());
    edit.SetValue(value);
    QCOMPARE(edit.text(), shown);
    QCOMPARE(*edit.Value(), value);
    edit.Clear();
    QCOMPARE(edit.text(), QString());
  }

  // The currency editor reads a number as typed, or as its display pattern shows it.
  void currencyEditReadsItsShownText_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("thousand");
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<double>("value");  // NaN: not read, the former value stays
    const double none = std::nan("");
    QTest::newRow("plain") << "1234.5"
                           << ","
                           << "." << 1234.5;
    QTest::newRow("grouped") << "1,234,567.25"
                             << ","
                             << "." << 1234567.25;
    QTest::newRow("grouped, negative") << "-9,876.50"
                                       << ","
                                       << "." << -9876.5;
    QTest::newRow("grouped by a non-breaking space")
        << QString("1\u00a0234,5") << QString("\u00a0") << "," << 1234.5;
    QTest::newRow("a plain space for a non-breaking one")
        << "1 234,5" << QString("\u00a0") << "," << 1234.5;
    QTest::newRow("grouped by full stops") << "1.234,5"
                                           << "."
                                           << "," << 1234.5;
    QTest::newRow("no number") << "12abc"
                               << ","
                               << "." << none;
    QTest::newRow("separators only") << ",,,"
                                     << ","
                                     << "." << none;
  }

  void currencyEditReadsItsShownText() {
    QFETCH(QString, typed);
    QFETCH(QString, thousand);
    QFETCH(QString, decimal);
    QFETCH(double, value);
    LocaleSettings settings;
    settings.ThousandSeparator = thousand[0].unicode();
    settings.DecimalSeparator = decimal[0].unicode();
    ScopedLocaleSettings scoped(settings);
    const std::optional<double> read = CurrencyEdit::ReadShownNumber(typed);
    if (std::isnan(value))
      QVERIFY(!read);
    else
      QCOMPARE(read, std::optional<double>(value));
  }

  void memoAppendRule_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("appended");
    QTest::addColumn<QString>("after");
    QTest::newRow("empty memo") << "" << QStringList{"a"} << "a\r\n";
    QTest::newRow("ends with a line break") << "x\r\n"
                                            << QStringList{"a", "b"} << "x\r\na\r\nb\r\n";
    // Each append starts a new line, and the text keeps ending without a line break.
    QTest::newRow("user left no final line break") << "x" << QStringList{"a", "b"} << "x\r\na\r\nb";
    QTest::newRow("a line break inside the text gives two lines")
        << "x\r\n"
        << QStringList{"one\r\ntwo", "c"} << "x\r\none\r\ntwo\r\nc\r\n";
    QTest::newRow("an empty text adds an empty line") << "x\r\n" << QStringList{""} << "x\r\n\r\n";
    QTest::newRow("text ending with a line break")
        << "" << QStringList{"a\r\n", "b"} << "a\r\n\r\nb\r\n";
  }

  void memoAppendRule() {
    QFETCH(QString, before);
    QFETCH(QStringList, appended);
    QFETCH(QString, after);
    Memo memo;
    memo.setPlainText(QString(before).replace("\r\n", "\n"));
    for (const QString& line : appended)
      memo.AppendLine(line);
    QCOMPARE(memo.Text(), after);
    // The same through one appender for a whole listing.
    memo.setPlainText(QString(before).replace("\r\n", "\n"));
    {
      Memo::Appender appender(memo);
      for (const QString& line : appended)
        appender.AppendLine(line);
    }
    QCOMPARE(memo.Text(), after);
  }

  // A very long line goes in as pieces the memo lays out only where it shows them; the text, and
  // a saved log, still hold it as one line.
  void memoLongLinesInPieces_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("blocksOfTheLine");
    const int piece = static_cast<int>(Memo::kPieceLength);
    QTest::newRow("a piece long: one block") << piece << 1;
    QTest::newRow("one character more: two blocks") << piece + 1 << 2;
    QTest::newRow("a million characters") << 1000000 << (1000000 + piece - 1) / piece;
  }

  void memoLongLinesInPieces() {
    QFETCH(int, length);
    QFETCH(int, blocksOfTheLine);
    QString line(length, QLatin1Char('7'));
    for (int i = 0; i < length; i += 1000)
      line[i] = QLatin1Char('a' + i / 1000 % 26);  // a pattern that a lost piece would break
    Memo memo;
    memo.setPlainText("x\n");
    {
      Memo::Appender appender(memo);
      appender.AppendLine("before");
      appender.AppendLine(line);
      appender.AppendLine("after");
    }
    QCOMPARE(memo.blockCount(), 1 + 1 + blocksOfTheLine + 1 + 1);
    QCOMPARE(memo.Text(), "x\r\nbefore\r\n" + line + "\r\nafter\r\n");
    memo.AppendLine(line);  // alone, at the end
    QCOMPARE(memo.Text(), "x\r\nbefore\r\n" + line + "\r\nafter\r\n" + line + "\r\n");
  }

  // A piece never ends between the two halves of a character outside the basic plane.
  void memoPiecesKeepCharactersWhole() {
    QString line;
    while (line.size() < 3 * Memo::kPieceLength)
      line += QString::fromUtf8("a\U0001F600");  // one code unit, then two
    Memo memo;
    memo.AppendLine(line);
    for (QTextBlock block = memo.document()->begin(); block.isValid(); block = block.next()) {
      const QString text = block.text();
      QVERIFY(text.isEmpty() || !text.back().isHighSurrogate());
      QVERIFY(text.isEmpty() || !text.front().isLowSurrogate());
    }
    QCOMPARE(memo.Text(), line + "\r\n");
  }

  // The context menu saves the log as UTF-8 and clears it.
  void memoContextMenu() {
    Memo memo;
    memo.setPlainText(QString::fromUtf8("[Add] рубль \nlist is clear\n"));
    memo.AppendLine(QString(Memo::kPieceLength * 2, QLatin1Char('9')));
    std::unique_ptr<QMenu> menu(memo.CreateContextMenu());
    QAction* save = nullptr;
    QAction* clearAll = nullptr;
    for (QAction* action : menu->actions()) {
      if (action->text() == "Save Log...")
        save = action;
      if (action->text() == "Clear")
        clearAll = action;
    }
    QVERIFY(save && save->isEnabled());
    QVERIFY(clearAll && clearAll->isEnabled());

    QTemporaryDir dir;
    const QString path = dir.filePath("log.txt");
    memo.SaveLog(path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), (QString::fromUtf8("[Add] рубль \r\nlist is clear\r\n") +
                              QString(Memo::kPieceLength * 2, QLatin1Char('9')) + "\r\n")
                                 .toUtf8());
    // A file that cannot be written: an error naming it, and the memo keeps its text.
    const QString badPath = dir.filePath("no such folder/log.txt");
    try {
      memo.SaveLog(badPath);
      QFAIL("no error");
    } catch (const Exception& error) {
      QVERIFY(QString::fromStdU16String(error.Message()).contains(badPath));
    }
    clearAll->trigger();
    QCOMPARE(memo.Text(), QString());
    std::unique_ptr<QMenu> emptyMenu(memo.CreateContextMenu());
    for (QAction* action : emptyMenu->actions())
      if (action->text() == "Clear")
        QVERIFY(!action->isEnabled());
  }

  // A listing is one edit: one undo step takes it back.
  void memoListingIsOneEdit() {
    Memo memo;
    memo.setPlainText("x\n");
    {
      Memo::Appender appender(memo);
      for (int i = 0; i < 100; ++i)
        appender.AppendLine(QString::number(i));
    }
    QCOMPARE(memo.blockCount(), 102);
    memo.undo();
    QCOMPARE(memo.Text(), QString("x\r\n"));
  }
};

QTEST_MAIN(ControlsTest)
#include "controls_test.moc"
