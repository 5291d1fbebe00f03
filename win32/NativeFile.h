#pragma once
// Saving to a file the user names: the system's save dialog, and the whole file written at once
// with the system's own words for what went wrong.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace quorvane::native {

struct SaveQuestion {
  const wchar_t* title;        // the dialog's caption
  const wchar_t* defaultName;  // the file name it starts with
  const wchar_t* filter;       // pairs of a description and a pattern, each ending with a NUL
  const wchar_t* extension;    // added to a name without one
};

// The path the user chose in the save dialog over `owner`; none when cancelled.
std::optional<std::u16string> AskSavePath(HWND owner, const SaveQuestion& question);

// Writes the bytes as the whole file; on failure, the system's text for the error (without a
// closing full stop), else none.
std::optional<std::u16string> WriteWholeFile(const std::u16string& path, std::string_view bytes);

}  // namespace quorvane::native
