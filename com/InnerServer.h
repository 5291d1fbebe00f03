#pragma once
// The reference server's own object, which answers every operation of the DLL's objects; or, when
// the environment variable QUORVANE_RECORDING names a recording, the replay of that recording,
// read when the object is made.

#include "ComPtr.h"
#include "QuorvaneInterface.h"

namespace serverdll {

inline constexpr const wchar_t* kRecordingVariable = L"QUORVANE_RECORDING";

// A new server object, or an empty reference when it cannot be made; then `status` (when given)
// says why, and for a recording that does not read the thread's error information says what is
// wrong with it.
platform::ComPtr<quorvane::IQuorvaneAutomation> CreateInnerServer(HRESULT* status = nullptr);

}  // namespace serverdll
