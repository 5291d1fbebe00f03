#pragma once
// The reference server as a local server (QuorvaneServer.exe): /RegServer and /UnregServer, or
// serving: its class object registered with the runtime, its window (hidden while started by the
// runtime with -Embedding), until its last object is released and its window is hidden.

#include <functional>
#include <string>
#include <vector>

namespace serverdll {

struct LocalServerOptions {
  // Written after the program's path in LocalServer32 (a test's server names its fault there).
  std::wstring registeredArguments;
  // Called before each operation runs.
  std::function<void(const char* operation)> entering;
};

// The window's class name, by which a tester's tools find the server's window.
inline constexpr wchar_t kServerWindowClass[] = L"QuorvaneServerWindow";

// Runs the program on its command-line arguments (without the program's name); gives its exit
// code.
int RunLocalServer(const std::vector<std::wstring>& arguments, const LocalServerOptions& options);

// The arguments of this process's command line, without the program's name.
std::vector<std::wstring> CommandLineArguments();

}  // namespace serverdll
