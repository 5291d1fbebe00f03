// The contract test for Windows: the client core on the system's component runtime, driving the
// server DLL. Without arguments it checks the DLL as regsvr32 registered it; with --unregistered
// what the client does when the class is not registered. With --register it does both in one
// start: it registers the DLL beside the program through the DLL's own entry point, runs every
// check, unregisters it the same way and runs the unregistered checks (for places where a program
// start is dear, such as 32-bit programs under emulation). --no-threads leaves out the cases with
// several threads: a user-mode emulator of 32-bit programs does not run those reliably.
// --junit FILE also writes the results as JUnit XML.

#include <cstring>

#include "Cases.h"
#include "Check.h"
#include "CheckReport.h"
#include "Com.h"
#include "LocaleSettings.h"
#include "SystemLocaleItems.h"
#include "uQuorvaneFunc.h"

int main(int argc, char** argv) {
  const auto junit = quorvane::report::TakeJUnitOption(argc, argv);
  const char* mode = argc > 1 ? argv[1] : "";
  const bool selfRegistering = std::strcmp(mode, "--register") == 0;
  const bool unregistered = std::strcmp(mode, "--unregistered") == 0;
  bool threads = true;
  for (int i = 1; i < argc; ++i)
    threads = threads && std::strcmp(argv[i], "--no-threads") != 0;
  // As the program starts: OLE first, then the runtime, which then answers S_FALSE.
  const HRESULT ole = OleInitialize(nullptr);
  const HRESULT com = CoInitialize(nullptr);
  quorvane::SetLocaleSettings(quorvane::MakeLocaleSettings(quorvane::ReadThreadLocaleItems()));

  contract::SetGroup("start");
  contract::RunCase("initialisation: OLE, then the runtime answers S_FALSE", [&] {
    contract::Expect(ole == S_OK && com == S_FALSE, "OleInitialize " + contract::Hex(ole) +
                                                        ", CoInitialize " + contract::Hex(com));
  });
  if (!unregistered) {
    contract::SetGroup("registration");
    if (selfRegistering)
      contract::RunRegistration("DllRegisterServer");
    contract::SetGroup("system");
    contract::RunSystemCases();
    contract::SetGroup("type library");
    contract::RunTypeLibraryCases();
    contract::SetGroup("registered server");
    contract::RunRegisteredServerCases();
    contract::SetGroup("late binding");
    contract::RunDispatchArgumentCases();
    contract::SetGroup("threads");
    if (threads)
      contract::RunConcurrentServerCases();
    else
      contract::Skip("the cases with several threads", "left out by --no-threads");
    contract::SetGroup("remote creation");
    contract::RunRemoteCreationCases(true);
  }
  if (unregistered || selfRegistering) {
    contract::SetGroup("registration");
    if (selfRegistering)
      contract::RunRegistration("DllUnregisterServer");
    contract::SetGroup("unregistered server");
    contract::RunUnregisteredServerCases();
    contract::SetGroup("remote creation");
    contract::RunRemoteCreationCases(false);
  }

  quorvane::FinalizeQuorvaneFunc();
  if (SUCCEEDED(com))
    CoUninitialize();
  if (SUCCEEDED(ole))
    OleUninitialize();
  return contract::Summary(junit);
}
