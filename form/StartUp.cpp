#include "StartUp.h"

namespace quorvane {

int RunProgram(const ProgramSteps& steps) {
  // A success code such as S_FALSE (already initialised) counts as success.
  const bool oleInitialized = SUCCEEDED(steps.OleInitialize());
  const bool runtimeInitialized = SUCCEEDED(steps.CoInitialize());
  steps.ReadLocaleSettings();
  steps.RegisterServer();
  steps.RunMainWindow();
  // The server reference goes after the window and before the runtime is shut down.
  steps.FinalizeClient();
  steps.RevokeServer();
  if (runtimeInitialized)
    steps.CoUninitialize();
  if (oleInitialized)
    steps.OleUninitialize();
  return 0;
}

}  // namespace quorvane
