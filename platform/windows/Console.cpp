// The console on Windows.
#include "Console.h"

// windows.h (through Com.h) before shellapi.h, which needs its declarations.
#include "Com.h"
// clang-format off
#include <shellapi.h>
// clang-format on
#include <io.h>
#include <stdio.h>
#include <stdlib.h>

namespace platform {

namespace {

std::string Utf8(const wchar_t* text) {
  const int room = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (room <= 1)
    return {};
  std::string result(static_cast<std::size_t>(room), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), room, nullptr, nullptr);
  result.resize(static_cast<std::size_t>(room - 1));
  return result;
}

std::wstring Wide(std::string_view text) {
  if (text.empty())
    return {};
  const int length = static_cast<int>(text.size());
  const int room = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
  std::wstring result(static_cast<std::size_t>(room), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), length, result.data(), room);
  return result;
}

}  // namespace

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr)
    return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> result;
  for (int i = 0; i < count; ++i)
    result.push_back(Utf8(arguments[i]));
  LocalFree(arguments);
  return result;
}

void PrepareConsoleOutput() {
  SetConsoleOutputCP(CP_UTF8);
}

bool IsTerminal(Stream stream) {
  return _isatty(_fileno(stream == Stream::Output ? stdout : stderr)) != 0;
}

void SetProcessEnvironment(std::string_view name, std::string_view value) {
  // Both the system's copy and the C runtime's, which an in-process server may read.
  SetEnvironmentVariableW(Wide(name).c_str(), Wide(value).c_str());
  _wputenv_s(Wide(name).c_str(), Wide(value).c_str());
}

}  // namespace platform
