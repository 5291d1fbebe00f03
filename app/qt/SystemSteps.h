#pragma once
// The real start-up and shutdown steps of the program: the component runtime, the locale settings,
// the embedded reference server and the client's finalization. Shared by the program and the
// screenshot driver, which differ only in how they run the main window.

#include <functional>

#include "ReferenceServer.h"
#include "StartUp.h"

namespace quorvane {

// The steps around `runMainWindow`; `registration` holds the embedded server while it is
// registered.
ProgramSteps SystemProgramSteps(server::ReferenceServerRegistration& registration,
                                std::function<void()> runMainWindow);

}  // namespace quorvane
