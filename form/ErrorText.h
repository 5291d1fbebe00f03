#pragma once
// The texts of the error box, whatever draws it: the application title that is its caption and
// the message it shows.

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

}  // namespace quorvane
