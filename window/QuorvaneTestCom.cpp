// The program entry: prepares the component runtime, reads the locale settings, registers the
// embedded reference server under its class id unless the system already has a server for it, runs
// the main window, and takes everything down in order.

#include <QApplication>

#include "Com.h"
#include "ErrorBox.h"
#include "LocaleSource.h"
#include "ReferenceServer.h"
#include "StartUp.h"
#include "uMain.h"
#include "uQuorvaneFunc.h"

namespace {

// The second net: an error that escapes an event handler is shown like any other.
class GuardedApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (...) {
      quorvane::ShowCurrentError();
      return false;
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  GuardedApplication application(argc, argv);
  quorvane::SetApplicationTitle(
      quorvane::ApplicationTitleFromPath(QCoreApplication::applicationFilePath()));

  quorvane::server::ReferenceServerRegistration registration;
  quorvane::ProgramSteps steps;
  steps.OleInitialize = [] { return OleInitialize(nullptr); };
  steps.CoInitialize = [] { return CoInitialize(nullptr); };
  steps.ReadLocaleSettings = quorvane::ReadLocaleSettings;
  // The embedded reference server is the default: a server the system already knows for the
  // class id (a registered server on Windows) is left to serve.
  steps.RegisterServer = [&registration] {
    if (!platform::IsClassRegistered(quorvane::CLASS_CoQuorvaneAutomation))
      registration = quorvane::server::RegisterReferenceServer();
  };
  steps.RunMainWindow = [] {
    quorvane::Tform1 form1;
    form1.show();
    QApplication::exec();
  };
  steps.FinalizeClient = quorvane::FinalizeQuorvaneFunc;
  steps.RevokeServer = [&registration] { registration.Revoke(); };
  steps.CoUninitialize = [] { CoUninitialize(); };
  steps.OleUninitialize = [] { OleUninitialize(); };
  return quorvane::RunProgram(steps);
}
