#pragma once
// The application-wide error box: every error that leaves a user action is shown here, with the
// application title as caption, and the window stays usable. Its texts are the form's
// (ErrorText.h).

#include <QString>
#include <exception>
#include <functional>

#include "ErrorText.h"

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

// Shows the error in the error box: the presenter gets the whole message, the real box the
// message cut when long and the details.
void ShowErrorInBox(std::exception_ptr error);
// Inside a catch block: shows the error being handled, whatever its kind.
void ShowCurrentError();

// Runs one user action; any error ends it and is shown in the error box.
template <typename Action>
void Guarded(Action&& action) noexcept {
  Guarded(std::forward<Action>(action), ShowErrorInBox);
}

}  // namespace quorvane
