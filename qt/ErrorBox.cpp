#include "ErrorBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <exception>

namespace quorvane {

namespace {

QString& Title() {
  static QString title;
  return title;
}

ErrorPresenter& Presenter() {
  static ErrorPresenter presenter;
  return presenter;
}

// The real box, with the text as given and the details under "Show Details".
void ShowMessageBox(const QString& caption, const QString& text, const QString& details) {
  const QPointer<QWidget> active = QApplication::activeWindow();
  const QPointer<QWidget> focus = QApplication::focusWidget();
  QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, active);
  if (!details.isEmpty())
    box.setDetailedText(details);
  // The text is shown as it is: markup in a reply or a server's description is not rendered.
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
  // The window active before takes the input again, with the focus where it was.
  if (active)
    active->activateWindow();
  if (focus)
    focus->setFocus();
}

}  // namespace

QString ApplicationTitleFromPath(const QString& path) {
  return QString::fromStdU16String(
      quorvane::ApplicationTitleFromPath(path.toStdU16String(), [](std::u16string& text) {
        text = QString::fromStdU16String(text).toLower().toStdU16String();
      }));
}

void SetApplicationTitle(const QString& title) {
  Title() = title;
}

QString ApplicationTitle() {
  return Title();
}

QString ErrorBoxText(const QString& message) {
  return QString::fromStdU16String(quorvane::ErrorBoxText(message.toStdU16String()));
}

ErrorPresenter SetErrorPresenter(ErrorPresenter presenter) {
  ErrorPresenter former = std::move(Presenter());
  Presenter() = std::move(presenter);
  return former;
}

void ShowErrorInBox(std::exception_ptr error) {
  if (!error)
    return;
  // A window holding the mouse lets it go first, so the box gets the clicks.
  if (QWidget* grabber = QWidget::mouseGrabber())
    grabber->releaseMouse();
  const std::u16string message = ErrorBoxMessage(error);
  if (Presenter()) {
    Presenter()(ApplicationTitle(), QString::fromStdU16String(message));
    return;
  }
  ShowMessageBox(ApplicationTitle(), QString::fromStdU16String(ErrorBoxShownText(message)),
                 QString::fromStdU16String(ErrorBoxDetails(ErrorDetailsText(error), message)));
}

void ShowCurrentError() {
  ShowErrorInBox(std::current_exception());
}

}  // namespace quorvane
