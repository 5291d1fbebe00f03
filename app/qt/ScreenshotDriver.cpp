// Drives the test window through its main job against the reference server and writes a PNG of
// the window after each step: start, Create, each lookup and each currency tool, the About box,
// the chart window on three series and the call log window. With a name,
// writes one PNG of that name after the lookups and the currency tools (for one shot per locale:
// the locale comes from the environment, as for the program).
// Usage: QuorvaneScreenshots <folder> [<name>]

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>

#include "AboutBox.h"
#include "CallLogWindow.h"
#include "ChartWindow.h"
#include "DataVintageFacts.h"
#include "DateEdit.h"
#include "ErrorBox.h"
#include "StringListComboBox.h"
#include "SystemSteps.h"
#include "uMain.h"

namespace {

class Driver {
 public:
  Driver(quorvane::Tform1& form, QString folder) : form_(form), folder_(std::move(folder)) {}

  void Click(const char* button) {
    form_.findChild<QPushButton*>(QString::fromLatin1(button))->click();
    QApplication::processEvents();
  }
  void SetDate(const char* editor, QDate date) {
    form_.findChild<quorvane::DateEdit*>(QString::fromLatin1(editor))->SetDate(date);
  }
  void SetText(const char* box, const QString& text) {
    form_.findChild<quorvane::StringListComboBox*>(QString::fromLatin1(box))->SetText(text);
  }
  void Shot(const QString& name) { Shot(form_, name); }
  void Shot(QWidget& window, const QString& name) {
    QApplication::processEvents();
    const QString path = QDir(folder_).filePath(name + QStringLiteral(".png"));
    if (window.grab().save(path))
      QTextStream(stdout) << path << Qt::endl;
    else
      QTextStream(stderr) << "could not write " << path << Qt::endl;
  }

 private:
  quorvane::Tform1& form_;
  QString folder_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  const QString onlyName = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
  QDir().mkpath(folder);
  quorvane::SetApplicationTitle(
      quorvane::ApplicationTitleFromPath(QCoreApplication::applicationFilePath()));
  // An error box would stop the run: report the error on the console instead.
  quorvane::SetErrorPresenter([](const QString& caption, const QString& text) {
    QTextStream(stderr) << caption << ": " << text << Qt::endl;
  });

  quorvane::SetAboutFacts(quorvane::DataVintageFacts);

  quorvane::server::ReferenceServerRegistration registration;
  return quorvane::RunProgram(quorvane::SystemProgramSteps(registration, [&folder, &onlyName] {
    quorvane::Tform1 form1;
    form1.show();
    Driver driver(form1, folder);
    if (!onlyName.isEmpty()) {
      driver.Click("Button1");
      for (const char* editor : {"cxDateEdit1", "cxDateEdit2", "cxDateEdit3"})
        driver.SetDate(editor, QDate(2015, 6, 17));
      for (const char* button : {"Button4", "Button3", "Button5", "Button6", "Button7", "Button8"})
        driver.Click(button);
      driver.Shot(onlyName);
      return;
    }
    driver.Shot(QStringLiteral("1-start"));
    driver.Click("Button1");
    driver.Shot(QStringLiteral("2-created"));
    driver.SetDate("cxDateEdit1", QDate(2015, 6, 17));
    driver.SetDate("cxDateEdit2", QDate(2015, 6, 17));
    driver.SetDate("cxDateEdit3", QDate(2015, 6, 17));
    driver.Click("Button4");
    driver.Click("Button3");
    driver.Click("Button5");
    driver.Shot(QStringLiteral("3-lookups"));
    driver.Click("Button6");
    driver.Click("Button7");
    driver.Click("Button8");
    driver.Shot(QStringLiteral("4-currency-tools"));
    driver.Click("Country");
    driver.Shot(QStringLiteral("5-raw-history"));
    driver.Click("Button2");
    driver.Shot(QStringLiteral("6-closed"));
    // The About box, grabbed once it shows and then closed.
    QTimer::singleShot(0, [&folder] {
      if (QWidget* box = QApplication::activeModalWidget()) {
        const QString path = QDir(folder).filePath(QStringLiteral("7-about.png"));
        if (box->grab().save(path))
          QTextStream(stdout) << path << Qt::endl;
        box->close();
      }
    });
    quorvane::ShowAboutBox(&form1);

    // The chart window on a price index from 1913, then following the next loads: a daily
    // exchange-rate history and a funds rate's steps, each marked on the day its lookup asked.
    driver.Click("Button1");
    driver.SetText("cxComboBox1", QStringLiteral("United States"));
    driver.SetDate("cxDateEdit3", QDate(2010, 10, 8));
    driver.Click("Button5");
    form1.ShowChart(quorvane::ControlId::cxGroupBox4);
    driver.Shot(*form1.Chart(), QStringLiteral("8-chart-us-cpi"));
    driver.Click("Button7");
    driver.Shot(*form1.Chart(), QStringLiteral("9-chart-rub-usd"));
    driver.SetText("cxComboBox1", QStringLiteral("United Kingdom"));
    driver.SetDate("cxDateEdit2", QDate(2008, 10, 8));
    driver.Click("Button3");
    driver.Shot(*form1.Chart(), QStringLiteral("10-chart-funds-rate"));

    // The call log window after the lookups, a listing and a lookup that fails.
    form1.Chart()->close();
    driver.SetText("cxComboBox1", QStringLiteral("Atlantis"));
    driver.Click("Button4");
    driver.SetText("cxComboBox1", QStringLiteral("Russia"));
    driver.Click("Button6");
    driver.Click("Button8");
    form1.ShowCallLog();
    driver.Shot(*form1.CallLog(), QStringLiteral("11-call-log"));
  }));
}
