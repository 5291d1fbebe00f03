// The contract test for Windows: the client core on the system's component runtime, driving the
// server DLL that regsvr32 registered. It registers nothing itself. With --unregistered it checks
// instead what the client does when the class is not registered.

#include <cstring>

#include "Cases.h"
#include "Check.h"
#include "Com.h"
#include "LocaleSettings.h"
#include "SystemLocaleItems.h"
#include "uQuorvaneFunc.h"

int main(int argc, char** argv) {
  const bool unregistered = argc > 1 && std::strcmp(argv[1], "--unregistered") == 0;
  // As the program starts: OLE first, then the runtime, which then answers S_FALSE.
  const HRESULT ole = OleInitialize(nullptr);
  const HRESULT com = CoInitialize(nullptr);
  quorvane::SetLocaleSettings(quorvane::MakeLocaleSettings(quorvane::ReadThreadLocaleItems()));

  contract::RunCase("initialisation: OLE, then the runtime answers S_FALSE", [&] {
    contract::Expect(ole == S_OK && com == S_FALSE, "OleInitialize " + contract::Hex(ole) +
                                                        ", CoInitialize " + contract::Hex(com));
  });
  if (unregistered) {
    contract::RunUnregisteredServerCases();
  } else {
    contract::RunSystemCases();
    contract::RunTypeLibraryCases();
    contract::RunRegisteredServerCases();
  }

  quorvane::FinalizeQuorvaneFunc();
  if (SUCCEEDED(com))
    CoUninitialize();
  if (SUCCEEDED(ole))
    OleUninitialize();
  return contract::Summary();
}
