// The currency tools: the letter-code lookup, the exchange-rate listing and the raw history in the
// memo, the rate on a day; what each sends, what it writes, and what a failure leaves.

#include <QLineEdit>

#include "ConnectedForm.h"
#include "DateEdit.h"
#include "Memo.h"
#include "StringListComboBox.h"
#include "TextToValue.h"

using namespace quorvane;
using scripted::Op;

namespace {

const QString kStartMemo =
    "[FIX] Country list fix bag with space\r\n"
    "[Add]Get letter code currency by country, national name etc.\r\n"
    "[Add] Get exchangelist \r\n"
    "\r\n";

}  // namespace

class ToolsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    test::UseTestClockAndLocale();
    CoInitialize(nullptr);
  }
  void cleanupTestCase() { CoUninitialize(); }

  // The start texts go as they are; the reply is shown exactly, an empty one empties the editor.
  void letterCode_data() {
    QTest::addColumn<QString>("reply");
    QTest::newRow("a code") << "RUB";
    QTest::newRow("kept verbatim, blanks and format marks too") << " %s,RUB ";
    QTest::newRow("empty reply empties the editor") << "";
    QTest::newRow("longer than a line editor's default limit, not cut") << QString(40000, 'A');
  }

  void letterCode() {
    QFETCH(QString, reply);
    test::ConnectedForm w;
    w.Get<QLineEdit>("cxTextEdit2")->setText("former");
    w.server->Reply(Op::GetLIDCurrency, reply.toStdU16String());
    w.Click("Button6");
    QCOMPARE(w.server->Log(),
             (std::vector<std::string>{"GetLIDCurrency(\"Currency_National\", \"рубль\")"}));
    QCOMPARE(w.Get<QLineEdit>("cxTextEdit2")->text(), reply);
    QVERIFY(w.errors.boxes.empty());
  }

  // The listing: a header with the two codes, then one line per entry with four decimals, or
  // "list is clear"; repeated listings are all kept.
  void listing_data() {
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("lines");
    QTest::newRow("two entries, in the table's order")
        << ";10/2/10=12.5;10/1/10=12.3456"
        << "List of ExchangeRate RUB->USD\r\n10/2/10 12.5000\r\n10/1/10 12.3456\r\n";
    QTest::newRow("the delimiter alone: no entries")
        << ";"
        << "List of ExchangeRate RUB->USD\r\nlist is clear\r\n";
    QTest::newRow("empty reply: no entries")
        << ""
        << "List of ExchangeRate RUB->USD\r\nlist is clear\r\n";
    QTest::newRow("vertical bar as delimiter, a rate below one")
        << "|1/31/09=0.0339"
        << "List of ExchangeRate RUB->USD\r\n1/31/09 0.0339\r\n";
  }

  void listing() {
    QFETCH(QString, reply);
    QFETCH(QString, lines);
    test::ConnectedForm w;
    w.server->Reply(Op::GetListOfExchangeRate, reply.toStdU16String());
    w.Click("Button7");
    w.Click("Button7");
    QCOMPARE(w.Get<Memo>("cxMemo1")->Text(), kStartMemo + lines + lines);
    QCOMPARE(w.server->Log(),
             (std::vector<std::string>(2, "GetListOfExchangeRate(\"RUB\", \"USD\")")));
    QVERIFY(w.errors.boxes.empty());
  }

  // Codes typed into the boxes go as typed; the header shows them as typed.
  void listingWithTypedCodes() {
    test::ConnectedForm w;
    w.server->Reply(Op::GetListOfExchangeRate, u";");
    w.Get<StringListComboBox>("cxComboBox3")->SetText("eur ");
    w.Get<StringListComboBox>("cxComboBox4")->SetText("%s");
    w.Click("Button7");
    QCOMPARE(w.server->Log(),
             (std::vector<std::string>{"GetListOfExchangeRate(\"eur \", \"%s\")"}));
    QCOMPARE(w.Get<Memo>("cxMemo1")->Text(),
             kStartMemo + "List of ExchangeRate eur ->%s\r\nlist is clear\r\n");
  }

  // The user typed at the end of the memo without a line break: the listing still starts on a
  // line of its own, each line after it too, and the text keeps ending without a line break.
  void listingAfterTheUsersText() {
    test::ConnectedForm w;
    w.server->Reply(Op::GetListOfExchangeRate, u";10/1/10=1");
    auto* memo = w.Get<Memo>("cxMemo1");
    memo->setFocus();
    memo->moveCursor(QTextCursor::End);
    QTest::keyClicks(memo, "note");
    w.Click("Button7");
    QCOMPARE(memo->Text(), kStartMemo + "note\r\nList of ExchangeRate RUB->USD\r\n10/1/10 1.0000");
  }

  // The raw history: one text, undecoded; its line breaks give several memo lines.
  void rawHistory_data() {
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("added");
    QTest::newRow("the reply as it came") << ";10/1/10=12.3456;bad"
                                          << ";10/1/10=12.3456;bad\r\n";
    QTest::newRow("line breaks inside") << "first\r\nsecond"
                                        << "first\r\nsecond\r\n";
    QTest::newRow("empty reply adds an empty line") << ""
                                                    << "\r\n";
  }

  void rawHistory() {
    QFETCH(QString, reply);
    QFETCH(QString, added);
    test::ConnectedForm w;
    w.server->Reply(Op::GetListOfExchangeRate, reply.toStdU16String());
    w.Click("Country");
    QCOMPARE(w.Get<Memo>("cxMemo1")->Text(), kStartMemo + added);
    QCOMPARE(w.server->Log(),
             (std::vector<std::string>{"GetListOfExchangeRate(\"RUB\", \"USD\")"}));
  }

  // Without a server object the raw history asks nobody: the error box says so.
  void rawHistoryWithoutServer() {
    scripted::ScopedScriptedServer server;
    test::ErrorBoxCatcher errors;
    Tform1 form;
    form.show();
    QTest::mouseClick(test::Control<QAbstractButton>(form, "Country"), Qt::LeftButton);
    QCOMPARE(errors.boxes.size(), size_t{1});
    QVERIFY(!errors.boxes[0].second.isEmpty());
    QVERIFY(server->Calls().empty());
    QCOMPARE(test::Control<Memo>(form, "cxMemo1")->Text(), kStartMemo);
  }

  // The rate on a day: the day goes unchanged (time of day, empty editor), the rate shows by the
  // general number text.
  void rate_data() {
    QTest::addColumn<double>("day");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("shown");
    QTest::newRow("status F: one") << 40459.0 << "F"
                                   << "1";
    QTest::newRow("time of day sent as it is") << 40459.75 << "N=0.0339"
                                               << "0.0339";
    QTest::newRow("empty editor sends the null date") << kNullDate << "C:30.5"
                                                      << "30.5";
    QTest::newRow("rounded to four decimals") << 40459.0 << "NUSD=12.34565"
                                              << "12.3456";
  }

  void rate() {
    QFETCH(double, day);
    QFETCH(QString, reply);
    QFETCH(QString, shown);
    test::ConnectedForm w;
    w.server->Reply(Op::GetExchangeRate, reply.toStdU16String());
    if (day == kNullDate)
      w.Get<DateEdit>("cxDateEdit4")->Clear();
    else
      w.Get<DateEdit>("cxDateEdit4")->SetValue(day);
    w.Click("Button8");
    QCOMPARE(w.server->Calls().size(), size_t{1});
    const scripted::Call& call = w.server->Calls()[0];
    QCOMPARE(call.op, Op::GetExchangeRate);
    QVERIFY(call.texts == (std::vector<std::optional<std::u16string>>{u"RUB", u"USD"}));
    QVERIFY(call.day && *call.day == day);  // exactly, not cut to the day
    QCOMPARE(w.Get<QLineEdit>("cxTextEdit3")->text(), shown);
    QVERIFY(w.errors.boxes.empty());
  }

  // A failure at the server call of each tool, or a reply that does not read: the error box, and
  // the editors and the memo stay as they were.
  void failureLeavesEverything_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("op");
    QTest::addColumn<QString>("reply");  // empty: the call fails
    QTest::addColumn<QString>("message");
    QTest::newRow("letter code: call fails") << "Button6" << int(Op::GetLIDCurrency) << ""
                                             << "Injected failure.";
    QTest::newRow("listing: call fails") << "Button7" << int(Op::GetListOfExchangeRate) << ""
                                         << "Injected failure.";
    QTest::newRow("listing: a date that does not read")
        << "Button7" << int(Op::GetListOfExchangeRate) << ";10/1/10=1;x=2"
        << "''x'' is not a valid date.";
    QTest::newRow("rate: call fails") << "Button8" << int(Op::GetExchangeRate) << ""
                                      << "Injected failure.";
    QTest::newRow("rate: N without =") << "Button8" << int(Op::GetExchangeRate) << "N12.5"
                                       << "'N12.5' is not a valid floating point value.";
    QTest::newRow("raw history: call fails") << "Country" << int(Op::GetListOfExchangeRate) << ""
                                             << "Injected failure.";
  }

  void failureLeavesEverything() {
    QFETCH(QString, button);
    QFETCH(int, op);
    QFETCH(QString, reply);
    QFETCH(QString, message);
    test::ConnectedForm w;
    w.Get<QLineEdit>("cxTextEdit2")->setText("former 2");
    w.Get<QLineEdit>("cxTextEdit3")->setText("former 3");
    if (reply.isEmpty())
      w.server->Fail(static_cast<Op>(op),
                     {E_FAIL, scripted::ErrorDetails{u"Injected failure", u"", u"", 0}});
    else
      w.server->Reply(static_cast<Op>(op), reply.toStdU16String());
    w.Click(button.toLatin1().constData());
    QCOMPARE(w.errors.Texts(), QStringList({message}));
    QCOMPARE(w.Get<QLineEdit>("cxTextEdit2")->text(), QString("former 2"));
    QCOMPARE(w.Get<QLineEdit>("cxTextEdit3")->text(), QString("former 3"));
    QCOMPARE(w.Get<Memo>("cxMemo1")->Text(), kStartMemo);
    QVERIFY(ServerIntf);
  }
};

QTEST_MAIN(ToolsTest)
#include "tools_test.moc"
