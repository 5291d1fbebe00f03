// The program entry: prepares the component runtime, reads the locale settings, registers the
// embedded reference server under its class id unless the system already has a server for it, runs
// the main window, and takes everything down in order.

#include <QApplication>

#include "AboutBox.h"
#include "DataVintageFacts.h"
#include "ErrorBox.h"
#include "SystemSteps.h"
#include "uMain.h"

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

  quorvane::SetAboutFacts(quorvane::DataVintageFacts);

  quorvane::server::ReferenceServerRegistration registration;
  return quorvane::RunProgram(quorvane::SystemProgramSteps(registration, [] {
    quorvane::Tform1 form1;
    form1.show();
    QApplication::exec();
  }));
}
