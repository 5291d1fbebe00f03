// Every handler that calls the server, fed replies no honest server writes: empty, only
// delimiters, NUL and lone surrogates inside, format directives, numbers and dates out of every
// range, and very long ones. Each click ends with the handler's result or one error box with a
// message, and the connection stays usable; under the sanitizers nothing reads out of bounds.

#include "ConnectedForm.h"
#include "DateEdit.h"

using namespace quorvane;
using scripted::Op;

namespace {

// The operations the tool and lookup buttons call; each gets the same reply.
const Op kCalledOperations[] = {Op::GetMinimumWageList,    Op::GetPriceIndexList,
                                Op::GetFundsRateList,      Op::GetLIDCurrency,
                                Op::GetListOfExchangeRate, Op::GetExchangeRate};

const char* const kButtons[] = {"Button3", "Button4", "Button5", "Button6",
                                "Button7", "Button8", "Country"};

std::u16string Repeated(std::u16string_view piece, int times) {
  std::u16string text;
  for (int i = 0; i < times; ++i)
    text += piece;
  return text;
}

}  // namespace

class HostileRepliesTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    test::UseTestClockAndLocale();
    CoInitialize(nullptr);
  }
  void cleanupTestCase() { CoUninitialize(); }

  void eachHandlerAnswersOrShowsOneBox_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("reply");
    const std::pair<const char*, std::u16string> replies[] = {
        {"empty", u""},
        {"only delimiters", u"|;&=:#|;&=:#"},
        {"a hundred thousand delimiters", Repeated(u"|", 100'000)},
        {"NUL inside", std::u16string(u"1/1/10&1\0|x=2", 13)},
        {"lone surrogates", u"\xD800|1/1/10&\xDC00;1/1/10=\xDBFF"},
        {"format directives", u"%s%d%n&%s|%n=%p;%s:%x"},
        {"a number beyond every range", u"1/1/10&1" + std::u16string(5000, u'9') + u"|N1e99999"},
        {"a date beyond every range", u"99/99/99999&1|;99/99/99999=1|C x:1"},
        {"a rate letter alone", u"N"},
        {"a computed rate without a number", u"Cx:"},
        {"a hundred thousand characters", std::u16string(100'000, u'7')},
    };
    for (const char* button : kButtons)
      for (const auto& [name, reply] : replies)
        QTest::newRow((std::string(button) + ": " + name).c_str())
            << QString(button) << QString::fromStdU16String(reply);
  }

  void eachHandlerAnswersOrShowsOneBox() {
    QFETCH(QString, button);
    QFETCH(QString, reply);
    test::ConnectedForm w;
    for (const char* date : {"cxDateEdit1", "cxDateEdit2", "cxDateEdit3", "cxDateEdit4"})
      w.Get<DateEdit>(date)->SetValue(40459);  // 2010-10-08
    for (Op op : kCalledOperations)
      w.server->Reply(op, reply.toStdU16String());
    w.Click(button.toLatin1().constData());
    QVERIFY2(w.errors.boxes.size() <= 1, qPrintable(w.errors.Texts().join(" / ")));
    for (const QString& text : w.errors.Texts())
      QVERIFY(!text.trimmed().isEmpty());
    QVERIFY(ServerIntf);
    // The connection still answers an honest reply.
    w.errors.boxes.clear();
    w.server->Reply(Op::GetLIDCurrency, u"RUB");
    w.Click("Button6");
    QCOMPARE(w.errors.Texts(), QStringList());
  }
};

QTEST_MAIN(HostileRepliesTest)
#include "hostile_replies_test.moc"
