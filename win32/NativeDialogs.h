#pragma once
// The native window's own dialogs: the error box, with the error's details under "Show Details...",
// and the About box. Both are made in memory, so the program needs no dialog resources.

#include <windows.h>

#include <string>

#include "ErrorText.h"

namespace quorvane::native {

// The controls a driver program reads: the message as the system's message box numbers it, the
// details button and the details, and the About box's text.
inline constexpr int kErrorMessageId = 0xFFFF;
inline constexpr int kShowDetailsId = 0x100;
inline constexpr int kDetailsId = 0x101;
inline constexpr int kAboutTextId = 0x102;

// Shows the error modal over `owner`, with the stop icon, the message, OK and "Show Details...".
void ShowErrorDialog(HWND owner, const std::u16string& caption, const ErrorBoxContent& content);

// Shows the About box's text modal over `owner`.
void ShowAboutDialog(HWND owner, const std::u16string& text);

// Shows a context menu where WM_CONTEXTMENU's position says, or from the keyboard (Shift+F10, the
// menu key: the position -1) at the spot in the window's client area; destroys the menu and gives
// the command chosen, 0 for none.
int TrackContextMenu(HWND window, HMENU menu, LPARAM at, POINT keyboardSpot);

// A text with its line feeds as an edit control shows line breaks.
std::u16string WithCrLf(std::u16string_view text);

}  // namespace quorvane::native
