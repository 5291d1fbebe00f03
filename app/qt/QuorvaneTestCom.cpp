// The program entry: prepares the component runtime, reads the locale settings, registers the
// embedded reference server under its class id unless the system already has a server for it (or,
// with --recording FILE, the replay of that recording in place of any), runs the main window, and
// takes everything down in order.

#include <QApplication>
#include <QStringList>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "AboutBox.h"
#include "DataVintageFacts.h"
#include "ErrorBox.h"
#include "ReplayServer.h"
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

  const QStringList arguments = QCoreApplication::arguments();
  std::shared_ptr<const quorvane::server::Recording> recording;
  if (const qsizetype at = arguments.indexOf(QStringLiteral("--recording")); at >= 0) {
    const std::u16string file =
        at + 1 < arguments.size() ? arguments[at + 1].toStdU16String() : std::u16string();
    try {
      if (file.empty())
        throw quorvane::server::RecordingError(0, "--recording takes a file");
      recording = std::make_shared<const quorvane::server::Recording>(
          quorvane::server::ReadRecordingFile(std::filesystem::path(file)));
    } catch (const quorvane::server::RecordingError& e) {
      std::fprintf(stderr, "QuorvaneTestCom: %s: %s\n",
                   arguments.value(at + 1).toUtf8().constData(), e.what());
      return 2;
    }
  }

  quorvane::server::ReferenceServerRegistration registration;
  quorvane::ProgramSteps steps = quorvane::SystemProgramSteps(registration, [] {
    quorvane::Tform1 form1;
    form1.show();
    QApplication::exec();
  });
  // A replay stands in for every server of the class id, so that the window runs on the file.
  std::unique_ptr<quorvane::server::ReplayServerRegistration> replay;
  if (recording) {
    steps.RegisterServer = [&] {
      replay = std::make_unique<quorvane::server::ReplayServerRegistration>(recording);
    };
    steps.RevokeServer = [&] { replay.reset(); };
  }
  return quorvane::RunProgram(steps);
}
