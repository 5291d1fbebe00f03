#pragma once
// Helpers of the window tests: the form's controls by name, and a catcher for the error box.

#include <QApplication>
#include <QString>
#include <QStringList>
#include <QTest>
#include <utility>
#include <vector>

#include "ErrorBox.h"
#include "LocaleSettings.h"
#include "uMain.h"

namespace quorvane::test {

// A control of the form by its name; fails the test when it is missing or of another kind.
template <typename T>
T* Control(QWidget& form, const char* name) {
  T* control = form.findChild<T*>(QString::fromLatin1(name));
  if (!control)
    qFatal("control %s missing or of another kind", name);
  return control;
}

// Records every error box instead of showing it, for the life of the object.
class ErrorBoxCatcher {
 public:
  ErrorBoxCatcher() {
    former_ = SetErrorPresenter([this](const QString& caption, const QString& text) {
      boxes.push_back({caption, text});
    });
  }
  ~ErrorBoxCatcher() { SetErrorPresenter(std::move(former_)); }
  ErrorBoxCatcher(const ErrorBoxCatcher&) = delete;
  ErrorBoxCatcher& operator=(const ErrorBoxCatcher&) = delete;

  QStringList Texts() const {
    QStringList texts;
    for (const auto& box : boxes)
      texts.append(box.second);
    return texts;
  }

  std::vector<std::pair<QString, QString>> boxes;

 private:
  ErrorPresenter former_;
};

// The test programs run with the clock year 2010 and the default locale settings.
inline void UseTestClockAndLocale() {
  SetCurrentYearSource([] { return 2010; });
  SetLocaleSettings(LocaleSettings{});
}

}  // namespace quorvane::test
