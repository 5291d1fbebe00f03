// A test's local server (never installed): the reference server in a process of its own, which
// fails as its command line says, so that the checks meet the faults a real server may have.
//   QuorvaneFaultServer.exe [--hang-in OPERATION | --end-in OPERATION | --end-at-start] [switches]
// /RegServer writes the fault into the registration, so that every start by the runtime has it.
#include <string>
#include <vector>

#include "Com.h"
#include "LocalServer.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  std::vector<std::wstring> arguments = serverdll::CommandLineArguments();
  std::wstring hangIn, endIn;
  bool endAtStart = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == L"--hang-in" && i + 1 < arguments.size())
      hangIn = arguments[++i];
    else if (arguments[i] == L"--end-in" && i + 1 < arguments.size())
      endIn = arguments[++i];
    else if (arguments[i] == L"--end-at-start")
      endAtStart = true;
  }
  serverdll::LocalServerOptions options;
  if (!hangIn.empty())
    options.registeredArguments = L"--hang-in " + hangIn;
  else if (!endIn.empty())
    options.registeredArguments = L"--end-in " + endIn;
  else if (endAtStart)
    options.registeredArguments = L"--end-at-start";
  const bool registering = [&] {
    for (const std::wstring& argument : arguments)
      if (_wcsicmp(argument.c_str(), L"/RegServer") == 0 ||
          _wcsicmp(argument.c_str(), L"/UnregServer") == 0)
        return true;
    return false;
  }();
  // Ends before its class object is registered: the runtime's start fails.
  if (endAtStart && !registering)
    return 3;
  options.entering = [hangIn, endIn](const char* operation) {
    const std::wstring name(operation, operation + std::char_traits<char>::length(operation));
    if (name == hangIn)
      Sleep(INFINITE);  // never answers; the window's message loop stops with it
    if (name == endIn)
      ExitProcess(4);  // as if it crashed inside the call
  };
  return serverdll::RunLocalServer(arguments, options);
}
