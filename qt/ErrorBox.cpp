#include "ErrorBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <exception>

#include "ErrorDetails.h"
#include "ErrorText.h"
#include "Errors.h"
#include "uQuorvaneFunc.h"

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

void ShowMessageBox(const QString& caption, const QString& text, const QString& details) {
  const QPointer<QWidget> active = QApplication::activeWindow();
  const QPointer<QWidget> focus = QApplication::focusWidget();
  QMessageBox box(QMessageBox::Critical, caption, ShownMessage(text), QMessageBox::Ok, active);
  const QString allDetails = DetailsWithMessage(details, text);
  if (!allDetails.isEmpty())
    box.setDetailedText(allDetails);
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

void ShowErrorBox(const QString& message, const QString& details) {
  // A window holding the mouse lets it go first, so the box gets the clicks.
  if (QWidget* grabber = QWidget::mouseGrabber())
    grabber->releaseMouse();
  const QString text = ErrorBoxText(message);
  if (Presenter())
    Presenter()(ApplicationTitle(), text);
  else
    ShowMessageBox(ApplicationTitle(), text, details);
}

void ShowCurrentError() {
  const QString details = ErrorDetailsOf(std::current_exception());
  try {
    throw;
  } catch (const Exception& error) {
    QString message = QString::fromStdU16String(error.Message());
    // The client says that there is no server object; the window says how to make one.
    if (error.Message() == kNoServerObject)
      message += QStringLiteral(": press \"Create Quorvane\" first");
    ShowErrorBox(message, details);
  } catch (const std::exception& error) {
    ShowErrorBox(QString::fromUtf8(error.what()), details);
  } catch (...) {
    ShowErrorBox(QStringLiteral("Unknown error"), details);
  }
}

}  // namespace quorvane
