#include "SystemSteps.h"

#include "Com.h"
#include "LocaleSource.h"
#include "Quorvane_TLB.h"
#include "uQuorvaneFunc.h"

namespace quorvane {

ProgramSteps SystemProgramSteps(server::ReferenceServerRegistration& registration,
                                std::function<void()> runMainWindow) {
  ProgramSteps steps;
  steps.OleInitialize = [] { return ::OleInitialize(nullptr); };
  steps.CoInitialize = [] { return ::CoInitialize(nullptr); };
  steps.ReadLocaleSettings = ReadLocaleSettings;
  // The embedded reference server is the default: a server the system already knows for the
  // class id (a registered server on Windows) is left to serve.
  steps.RegisterServer = [&registration] {
    if (!platform::IsClassRegistered(CLASS_CoQuorvaneAutomation))
      registration = server::RegisterReferenceServer();
  };
  steps.RunMainWindow = std::move(runMainWindow);
  steps.FinalizeClient = FinalizeQuorvaneFunc;
  steps.RevokeServer = [&registration] { registration.Revoke(); };
  steps.CoUninitialize = [] { ::CoUninitialize(); };
  steps.OleUninitialize = [] { ::OleUninitialize(); };
  return steps;
}

}  // namespace quorvane
