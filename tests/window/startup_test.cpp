// The start-up and shutdown order: the runtime prepared first, the window destroyed before the
// client lets the server go, and the runtime shut down last, each uninitialisation only when its
// initialisation succeeded.

#include <QTimer>

#include "RuntimeTrace.h"
#include "StartUp.h"
#include "WindowTestSupport.h"

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
};

QTEST_MAIN(StartUpTest)
#include "startup_test.moc"
