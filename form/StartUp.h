#pragma once
// The program's start-up and shutdown order. Each step is a function, so that a test can put
// recording steps in place of the real ones and see the order.

#include <functional>

#include "Com.h"

namespace quorvane {

struct ProgramSteps {
  std::function<HRESULT()> OleInitialize;
  std::function<HRESULT()> CoInitialize;
  std::function<void()> ReadLocaleSettings;
  std::function<void()> RegisterServer;
  // Makes form1, shows it, runs the message loop until it closes, and destroys it.
  std::function<void()> RunMainWindow;
  std::function<void()> FinalizeClient;
  std::function<void()> RevokeServer;
  std::function<void()> CoUninitialize;
  std::function<void()> OleUninitialize;
};

// Runs the steps in order. A failed initialisation is not reported; it only keeps its counterpart
// from being called at the end. Gives the exit code 0.
int RunProgram(const ProgramSteps& steps);

}  // namespace quorvane
