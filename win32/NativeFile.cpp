#include "NativeFile.h"

#include <commdlg.h>

#include "Com.h"
#include "Utf.h"

namespace quorvane::native {

namespace {

// The system's text for an error of a file operation, without its closing line break and full
// stop (the message goes on after it).
std::u16string FileErrorText(DWORD error) {
  std::u16string text = platform::SystemMessageText(static_cast<HRESULT>(error));
  while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r' || text.back() == u' ' ||
                           text.back() == u'.'))
    text.pop_back();
  return text.empty() ? u"system error " + FromUtf8(std::to_string(error)) : text;
}

}  // namespace

std::optional<std::u16string> AskSavePath(HWND owner, const SaveQuestion& question) {
  wchar_t path[MAX_PATH] = {};
  wcsncpy(path, question.defaultName, MAX_PATH - 1);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = question.filter;
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrTitle = question.title;
  dialog.lpstrDefExt = question.extension;
  dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&dialog))
    return std::nullopt;
  return std::u16string(reinterpret_cast<const char16_t*>(path));
}

std::optional<std::u16string> WriteWholeFile(const std::u16string& path, std::string_view bytes) {
  HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_WRITE, 0,
                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD failure = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
      failure = GetLastError();
    if (!CloseHandle(file) && failure == ERROR_SUCCESS)
      failure = GetLastError();
  }
  if (failure == ERROR_SUCCESS)
    return std::nullopt;
  return FileErrorText(failure);
}

}  // namespace quorvane::native
