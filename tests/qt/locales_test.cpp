// The editors under every locale Qt knows: with the settings made from each locale, every date
// editor of the form shows a date whole within its width and reads its own text back to the same
// day, and every currency editor reads back the text it shows.

#include <QLineEdit>

#include "CurrencyEdit.h"
#include "DateEdit.h"
#include "LocaleSource.h"
#include "TextToValue.h"
#include "WindowTestSupport.h"

using namespace quorvane;
using quorvane::test::Control;

namespace {

const char* const kDateEditors[] = {"cxDateEdit1", "cxDateEdit2", "cxDateEdit3", "cxDateEdit4"};
const char* const kCurrencyEditors[] = {"cxCurrencyEdit1", "cxCurrencyEdit2", "cxCurrencyEdit3"};

// Days with one- and two-digit days and months, both ends of the two-digit-year window (1960 to
// 2059 with the clock year 2010) and a leap day.
const QDate kDays[] = {QDate(2010, 10, 8), QDate(2015, 6, 17), QDate(1960, 1, 31),
                       QDate(2059, 12, 28), QDate(2008, 2, 29)};

// Values with grouping, a negative one and zero; each has at most two decimals, so the display
// pattern shows it exactly.
const double kValues[] = {1234567.25, -9876.5, 0.0, 12.75};

// Types a text into a line edit as the user would: select all, type, then Enter. Each character is
// one key press carrying the character, so any script can be typed.
void Retype(QLineEdit* editor, const QString& text) {
  editor->setFocus();
  QVERIFY(editor->hasFocus());
  editor->selectAll();
  QTest::keyClick(editor, Qt::Key_Delete);
  for (QChar c : text)
    QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QString(c), Qt::NoModifier);
  QTest::keyClick(editor, Qt::Key_Return);
}

int CursorX(QLineEdit* editor) {
  return editor->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
}

// The width the line edit has for its text: from the cursor in an empty editor to the cursor at
// the end of a text far too long, which stops at the right end of the room.
int TextRoom(QLineEdit* editor) {
  const QString text = editor->text();
  editor->setText(QString());
  const int left = CursorX(editor);
  editor->setText(QString(200, QLatin1Char('0')));
  editor->end(false);
  const int right = CursorX(editor);
  editor->setText(text);
  return right - left;
}

}  // namespace

class LocalesTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    test::UseTestClockAndLocale();
    form_ = std::make_unique<Tform1>();
    form_->show();
    QApplication::setActiveWindow(form_.get());
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    // Every editor usable.
    for (QWidget* box : form_->findChildren<QWidget*>(QRegularExpression("^cxGroupBox")))
      box->setEnabled(true);
  }

  void cleanupTestCase() {
    form_.reset();
    SetLocaleSettings(LocaleSettings{});
  }

  void editorsUnderEveryLocale_data() {
    QTest::addColumn<QLocale>("locale");
    const QList<QLocale> all =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    QVERIFY(!all.isEmpty());
    for (const QLocale& locale : all)
      QTest::newRow(qPrintable(locale.name())) << locale;
  }

  void editorsUnderEveryLocale() {
    QFETCH(QLocale, locale);
    SetLocaleSettings(MakeLocaleSettings(LocaleItemsOf(locale)));
    for (const char* name : kDateEditors) {
      auto* edit = Control<DateEdit>(*form_, name);
      for (const QDate& day : kDays) {
        edit->SetDate(day);
        const QString shown = edit->Editor()->text();
        const int needs = edit->Editor()->fontMetrics().horizontalAdvance(shown);
        QVERIFY2(needs <= TextRoom(edit->Editor()),
                 qPrintable(QString("%1 shows \"%2\" (%3 px) in %4 px")
                                .arg(name, shown)
                                .arg(needs)
                                .arg(TextRoom(edit->Editor()))));
        // Read back by an editor that holds no date, so the text is really read.
        edit->Clear();
        Retype(edit->Editor(), shown);
        QVERIFY2(!edit->IsRefused(),
                 qPrintable(QString("%1 refuses its own text \"%2\"").arg(name, shown)));
        QCOMPARE(edit->Date(), day);
      }
    }
    for (const char* name : kCurrencyEditors) {
      auto* edit = Control<CurrencyEdit>(*form_, name);
      for (const double value : kValues) {
        edit->SetValue(value);
        const QString shown = edit->text();
        edit->Clear();
        Retype(edit, shown);
        form_->setFocus();  // leaving the editor shows the value by the pattern again
        QVERIFY2(edit->Value().has_value(),
                 qPrintable(QString("%1 does not read its own text \"%2\"").arg(name, shown)));
        QCOMPARE(*edit->Value(), value);
        QCOMPARE(edit->text(), shown);
      }
    }
  }

 private:
  std::unique_ptr<Tform1> form_;
};

QTEST_MAIN(LocalesTest)
#include "locales_test.moc"
