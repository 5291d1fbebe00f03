// The window on a replay, as QuorvaneTestCom --recording runs it: a session on the reference
// server is recorded, then the same session on the replay of that recording, registered under the
// class id, shows exactly the same; a call the session did not make fails saying so.

#include <QAbstractButton>
#include <QLineEdit>

#include "CallRecorder.h"
#include "Memo.h"
#include "ReferenceServer.h"
#include "ReplayServer.h"
#include "StringListComboBox.h"
#include "WindowTestSupport.h"
#include "uQuorvaneFunc.h"

using namespace quorvane;
using quorvane::test::Control;

namespace {

// What the session shows: the lists, the letter code, the memo after a listing, the rate.
QStringList Session(const char* from, const char* to) {
  Tform1 form;
  form.show();
  const auto click = [&form](const char* name) {
    QTest::mouseClick(Control<QAbstractButton>(form, name), Qt::LeftButton);
  };
  click("Button1");
  Control<StringListComboBox>(form, "cxComboBox5")->SetText(from);
  Control<StringListComboBox>(form, "cxComboBox6")->SetText(to);
  click("Button6");
  click("Button7");
  click("Button8");
  QStringList shown;
  for (const char* box : {"cxComboBox1", "cxComboBox3", "cxComboBox6"})
    shown << QString::number(Control<StringListComboBox>(form, box)->count());
  shown << Control<QLineEdit>(form, "cxTextEdit2")->text() << Control<Memo>(form, "cxMemo1")->Text()
        << Control<QLineEdit>(form, "cxTextEdit3")->text();
  click("Button2");
  return shown;
}

std::vector<server::RecordedCall>* g_calls = nullptr;

// The reference server's objects, each behind an observer that keeps its calls.
platform::ClassObject g_recorded([](REFIID riid, void** object) {
  platform::ComPtr<IQuorvaneAutomation> real;
  const HRESULT made =
      server::CreateReferenceServer([] { return CurrentLocaleSettings(); }, IID_IQuorvaneAutomation,
                                    reinterpret_cast<void**>(real.Put()));
  if (FAILED(made))
    return made;
  auto observer = platform::ComPtr<IQuorvaneAutomation>::Adopt(
      NewObservingServer(real.Get(), [](const ObservedCall& call) {
        g_calls->push_back(cli::RecordedCallOf(call, CurrentLocaleSettings()));
      }));
  return observer->QueryInterface(riid, object);
});

}  // namespace

class ReplayTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    test::UseTestClockAndLocale();
    CoInitialize(nullptr);
  }
  void cleanupTestCase() {
    FinalizeQuorvaneFunc();
    CoUninitialize();
  }

  void theWindowShowsOnTheReplayWhatItShowedOnTheServer() {
    auto recording = std::make_shared<server::Recording>();
    g_calls = &recording->calls;
    DWORD cookie = 0;
    QCOMPARE(CoRegisterClassObject(CLASS_CoQuorvaneAutomation, &g_recorded, CLSCTX_INPROC_SERVER,
                                   REGCLS_MULTIPLEUSE, &cookie),
             S_OK);
    test::ErrorBoxCatcher errors;
    const QStringList live = Session("USD", "RUB");
    CoRevokeClassObject(cookie);
    QCOMPARE(errors.Texts(), QStringList());
    QVERIFY(recording->calls.size() >= 5);
    QCOMPARE(live[3], QString("RUB"));
    QVERIFY(live[4].contains("List of ExchangeRate RUB->USD") && !live[5].isEmpty());

    const server::ReplayServerRegistration replay(recording);
    QCOMPARE(replay.Status(), S_OK);
    QCOMPARE(Session("USD", "RUB"), live);
    QCOMPARE(errors.Texts(), QStringList());

    // Another pair was never asked: each of its calls fails, saying so.
    Session("EUR", "RUB");
    QVERIFY(!errors.boxes.empty());
    for (const QString& text : errors.Texts())
      QVERIFY2(text.startsWith("The recording has no call "), qPrintable(text));
  }
};

QTEST_MAIN(ReplayTest)
#include "replay_test.moc"
