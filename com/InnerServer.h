#pragma once
// The reference server's own object, which answers every operation of the DLL's objects.

#include "ComPtr.h"
#include "QuorvaneInterface.h"

namespace serverdll {

// A new server object, or an empty reference when it cannot be made.
platform::ComPtr<quorvane::IQuorvaneAutomation> CreateInnerServer();

}  // namespace serverdll
