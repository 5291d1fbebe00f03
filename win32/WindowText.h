#pragma once
// A window's text as the form's UTF-16 text, and back (both are UTF-16 on Windows).

#include <windows.h>

#include <string>

namespace quorvane::native {

inline const wchar_t* W(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline std::u16string WindowText(HWND window) {
  std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
  const int length = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()),
                                    static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  return text;
}

inline void SetWindowText(HWND window, const std::u16string& text) {
  SetWindowTextW(window, W(text));
}

}  // namespace quorvane::native
