// quorvane-cli: the component runtime around one run of the command line.
#include <iostream>

#include "Com.h"
#include "CommandLine.h"
#include "Console.h"

int main(int argc, char** argv) {
  platform::PrepareConsoleOutput();
  // As the window starts: OLE, then the runtime.
  const HRESULT ole = OleInitialize(nullptr);
  const HRESULT com = CoInitialize(nullptr);
  quorvane::cli::Console console{std::cout, std::cerr,
                                 platform::IsTerminal(platform::Stream::Output),
                                 platform::IsTerminal(platform::Stream::Error)};
  const int status = quorvane::cli::RunCli(platform::CommandLineArguments(argc, argv), console);
  std::cout.flush();
  if (SUCCEEDED(com))
    CoUninitialize();
  if (SUCCEEDED(ole))
    OleUninitialize();
  return status;
}
