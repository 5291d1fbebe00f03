#pragma once
// The texts of the error box, whatever draws it: the application title that is its caption, the
// message it shows, the hint for a missing server object, the cut of a very long message and the
// details of the error under "Show Details".

#include <cstddef>
#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace quorvane {

// The program file's name without its folder, cut at its first full stop, every character after
// the first one lower-cased by `lowerCase` ("C:\x\DemoTOOL.exe" gives "Demotool"). The path is
// taken as the system gives it, in room for 256 characters.
std::u16string ApplicationTitleFromPath(std::u16string_view path,
                                        const std::function<void(std::u16string&)>& lowerCase);

// The message of an error of any kind.
std::u16string ErrorMessageOf(std::exception_ptr error);

// What the box shows: the message, with a full stop appended when its last character's code is
// above that of the full stop.
std::u16string ErrorBoxText(std::u16string message);

// The whole text of the box for an error: its message, where the client says that there is no
// server object followed by how to make one, and the full stop of ErrorBoxText.
std::u16string ErrorBoxMessage(std::exception_ptr error);

// The details of an error, one item a line: its kind and, for a failed server operation, what the
// client holds of it (the status in hex, the error source, the help file and its context).
std::u16string ErrorDetailsText(std::exception_ptr error);

// The box shows at most this many characters of a message, so that a reply of a million
// characters does not stall it; the whole message goes to the details.
inline constexpr std::size_t kErrorBoxMessageLength = 1024;
// The message as the box shows it: whole when it is short, else its start and an ellipsis. A cut
// never splits a character.
std::u16string ErrorBoxShownText(std::u16string_view text);
// The details with a cut message added whole, in lines of a bounded length so that the details
// view lays it out quickly.
std::u16string ErrorBoxDetails(std::u16string_view details, std::u16string_view text);

// Everything one error box shows.
struct ErrorBoxContent {
  std::u16string text;     // the message as shown, cut when long
  std::u16string details;  // under "Show Details"
};
ErrorBoxContent ErrorBoxContentOf(std::exception_ptr error);

// Runs one user action; any error ends it and goes to `showError`, so the window stays usable.
template <typename Action, typename ShowError>
void Guarded(Action&& action, ShowError&& showError) noexcept {
  try {
    action();
  } catch (...) {
    showError(std::current_exception());
  }
}

}  // namespace quorvane
