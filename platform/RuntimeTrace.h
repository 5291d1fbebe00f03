#pragma once
// What tests may observe of the component runtime: its initialise and uninitialise calls, in order,
// and the number of BSTRs alive. Product code never depends on these.

#include <functional>
#include <string_view>

namespace platform {

// Called with "OleInitialize", "CoInitialize", "CoUninitialize" or "OleUninitialize" on each such
// call, on the calling thread. An empty function detaches the observer.
using RuntimeCallObserver = std::function<void(std::string_view call)>;
void SetRuntimeCallObserver(RuntimeCallObserver observer);

// Tells the observer, if any, of one runtime call (used by the runtime's backends).
void ReportRuntimeCall(std::string_view call);

// BSTRs allocated and not yet freed, in the whole process (the portable runtime counts them; the
// system's runtime on Windows does not, and gives -1).
long LiveBstrCount();

// How many initialisations of the calling thread are not yet undone (the portable runtime).
int ThreadInitializeCount();

}  // namespace platform
