// The start-up and shutdown order: the runtime prepared first, the window destroyed before the
// client lets the server go, and the runtime shut down last, each uninitialisation only when its
// initialisation succeeded.

#include <QAbstractButton>
#include <QLineEdit>
#include <QTimer>
#include <optional>

#include "CurrencyEdit.h"
#include "DateEdit.h"
#include "RuntimeTrace.h"
#include "ScriptedServer.h"
#include "StartUp.h"
#include "WindowTestSupport.h"
#include "uQuorvaneFunc.h"

using namespace quorvane;

namespace {

ProgramSteps RecordingSteps(QStringList& calls, HRESULT ole, HRESULT co) {
  ProgramSteps s;
  s.OleInitialize = [&calls, ole] {
    calls << "OleInitialize";
    return ole;
  };
  s.CoInitialize = [&calls, co] {
    calls << "CoInitialize";
    return co;
  };
  s.ReadLocaleSettings = [&calls] { calls << "ReadLocaleSettings"; };
  s.RegisterServer = [&calls] { calls << "RegisterServer"; };
  s.RunMainWindow = [&calls] { calls << "RunMainWindow"; };
  s.FinalizeClient = [&calls] { calls << "FinalizeClient"; };
  s.RevokeServer = [&calls] { calls << "RevokeServer"; };
  s.CoUninitialize = [&calls] { calls << "CoUninitialize"; };
  s.OleUninitialize = [&calls] { calls << "OleUninitialize"; };
  return s;
}

}  // namespace

class StartUpTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { test::UseTestClockAndLocale(); }

  void order_data() {
    QTest::addColumn<int>("ole");
    QTest::addColumn<int>("co");
    QTest::addColumn<QStringList>("ending");
    const QStringList both = {"CoUninitialize", "OleUninitialize"};
    QTest::newRow("both succeed, the second with S_FALSE") << int(S_OK) << int(S_FALSE) << both;
    QTest::newRow("both answer S_FALSE") << int(S_FALSE) << int(S_FALSE) << both;
    QTest::newRow("OleInitialize fails")
        << int(E_FAIL) << int(S_OK) << QStringList{"CoUninitialize"};
    QTest::newRow("CoInitialize fails")
        << int(S_OK) << int(RPC_E_CHANGED_MODE) << QStringList{"OleUninitialize"};
    QTest::newRow("both fail") << int(E_OUTOFMEMORY) << int(E_FAIL) << QStringList{};
  }

  void order() {
    QFETCH(int, ole);
    QFETCH(int, co);
    QFETCH(QStringList, ending);
    QStringList calls;
    QCOMPARE(RunProgram(RecordingSteps(calls, ole, co)), 0);
    QCOMPARE(calls,
             QStringList({"OleInitialize", "CoInitialize", "ReadLocaleSettings", "RegisterServer",
                          "RunMainWindow", "FinalizeClient", "RevokeServer"}) +
                 ending);
  }

  // With the real runtime and a real window closed by the user: the window is gone when the
  // client is finalised, and the runtime sees its calls in order.
  void realWindowAndRuntime() {
    QStringList calls;
    platform::SetRuntimeCallObserver(
        [&calls](std::string_view call) { calls << QString::fromLatin1(call); });
    ProgramSteps steps = RecordingSteps(calls, S_OK, S_OK);
    steps.OleInitialize = [] { return OleInitialize(nullptr); };
    steps.CoInitialize = [] { return CoInitialize(nullptr); };
    steps.CoUninitialize = [] { CoUninitialize(); };
    steps.OleUninitialize = [] { OleUninitialize(); };
    steps.RunMainWindow = [&calls] {
      Tform1 form1;
      form1.show();
      QTimer::singleShot(0, &form1, &QWidget::close);
      QApplication::exec();
      calls << "loop ended";
    };
    steps.FinalizeClient = [&calls] {
      calls << QString("FinalizeClient, windows: %1").arg(QApplication::topLevelWidgets().size());
    };
    RunProgram(steps);
    platform::SetRuntimeCallObserver({});
    QCOMPARE(calls, QStringList({"OleInitialize", "CoInitialize", "ReadLocaleSettings",
                                 "RegisterServer", "loop ended", "FinalizeClient, windows: 0",
                                 "RevokeServer", "CoUninitialize", "OleUninitialize"}));
  }

  // Closing the window while connected: the server object goes after the window and before the
  // runtime is shut down; closing it unconnected releases nothing.
  void serverReleasedAfterTheWindow_data() {
    QTest::addColumn<bool>("connect");
    QTest::newRow("connected") << true;
    QTest::newRow("not connected") << false;
  }

  void serverReleasedAfterTheWindow() {
    QFETCH(bool, connect);
    QStringList calls;
    std::optional<scripted::ScopedScriptedServer> server;
    ProgramSteps steps = RecordingSteps(calls, S_OK, S_OK);
    steps.OleInitialize = [] { return OleInitialize(nullptr); };
    steps.CoInitialize = [] { return CoInitialize(nullptr); };
    steps.CoUninitialize = [&calls] {
      calls << "CoUninitialize";
      CoUninitialize();
    };
    steps.OleUninitialize = [] { OleUninitialize(); };
    steps.RegisterServer = [&] {
      calls << "RegisterServer";
      server.emplace();
      (*server)->Reply(scripted::Op::GetCountryList, u";Russia");
      (*server)->Reply(scripted::Op::GetFieldValueList, u"RUB,USD");
      (*server)->OnRelease([&calls](int object, ULONG left) {
        if (left == 0)
          calls << QString("server object %1 released").arg(object);
      });
    };
    steps.RunMainWindow = [&] {
      Tform1 form1;
      test::ErrorBoxCatcher errors;
      form1.show();
      QTimer::singleShot(0, &form1, [&form1, connect] {
        if (connect)
          test::Control<QAbstractButton>(form1, "Button1")->click();
        form1.close();
      });
      QApplication::exec();
      calls << QString("window gone, errors: %1").arg(errors.boxes.size());
    };
    steps.FinalizeClient = [&calls] {
      calls << "FinalizeClient";
      FinalizeQuorvaneFunc();
    };
    steps.RevokeServer = [&] {
      calls << "RevokeServer";
      server.reset();
    };
    RunProgram(steps);
    QStringList expected = {"window gone, errors: 0", "FinalizeClient"};
    if (connect)
      expected << "server object 1 released";
    expected << "RevokeServer"
             << "CoUninitialize";
    QCOMPARE(calls.mid(calls.indexOf("RegisterServer") + 1), expected);
  }

  // A change of the system's locale reads the settings again.
  void localeChangeReadsTheSettings() {
    Tform1 form;
    LocaleSettings odd;
    odd.DecimalSeparator = u'#';
    SetLocaleSettings(odd);
    QEvent change(QEvent::LocaleChange);
    QApplication::sendEvent(&form, &change);
    QCOMPARE(CurrentLocaleSettings().DecimalSeparator, u'.');  // the tests run in the C locale
  }

  // The application tells the controls of a locale change before it tells the window, which reads
  // the settings: the date and currency editors still show their values by the new settings, so
  // a date text is never read back under a pattern it was not written by.
  void localeChangeRedrawsTheEditors() {
    LocaleSettings odd;
    odd.ShortDateFormat = u"dd.mm.yyyy";
    odd.DateSeparator = u'.';
    odd.DecimalSeparator = u'#';
    const ScopedLocaleSettings scoped(odd);
    Tform1 form;
    form.show();
    auto* date = test::Control<DateEdit>(form, "cxDateEdit4");
    auto* money = test::Control<CurrencyEdit>(form, "cxCurrencyEdit1");
    money->SetValue(1234.5);
    QCOMPARE(date->Editor()->text(), QString("08.10.2010"));
    QCOMPARE(money->text(), QString("1,234#50"));
    QEvent change(QEvent::LocaleChange);
    QApplication::sendEvent(qApp, &change);
    QCOMPARE(CurrentLocaleSettings().DecimalSeparator, u'.');
    QCOMPARE(date->Editor()->text(), QString("10/8/10"));
    QCOMPARE(money->text(), QString("1,234.50"));
    QCOMPARE(date->Value(), 40459.0);
  }
};

QTEST_MAIN(StartUpTest)
#include "startup_test.moc"
