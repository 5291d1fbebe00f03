#pragma once
// The application-wide error box: every error that leaves a user action is shown here, with the
// application title as caption, and the window stays usable.

#include <QString>
#include <functional>

namespace quorvane {

// The program file's name without its folder, cut at its first full stop, every character after
// the first one lower-cased ("C:/x/DemoTOOL.exe" gives "Demotool").
QString ApplicationTitleFromPath(const QString& path);
// Fixed once at start-up.
void SetApplicationTitle(const QString& title);
QString ApplicationTitle();

// The text the box shows: the message, with a full stop appended when its last character's code is
// above that of the full stop.
QString ErrorBoxText(const QString& message);

// Shows a box; the default one is the modal stop box with one OK button over the active window.
using ErrorPresenter = std::function<void(const QString& caption, const QString& text)>;
// Replaces the presenter and gives the former one back; an empty function restores the default.
ErrorPresenter SetErrorPresenter(ErrorPresenter presenter);
// The real box; a message too long to lay out quickly is cut, and shown whole in the details.
void ShowMessageBox(const QString& caption, const QString& text, const QString& details = {});

// Shows the error with this message in the error box; the details go under "Show Details".
void ShowErrorBox(const QString& message, const QString& details = {});
// Inside a catch block: shows the error being handled, whatever its kind.
void ShowCurrentError();

// Runs one user action; any error ends it and is shown in the error box.
template <typename Action>
void Guarded(Action&& action) noexcept {
  try {
    action();
  } catch (...) {
    ShowCurrentError();
  }
}

}  // namespace quorvane
