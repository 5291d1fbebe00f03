// Initialisation of a thread: one count per thread, shared by the runtime and OLE calls as in the
// system, with OLE's own count on top so that an unmatched OleUninitialize undoes nothing.
#include "Com.h"
#include "RuntimeTrace.h"

namespace {

thread_local int runtimeCount = 0;
thread_local int oleCount = 0;

HRESULT Enter() {
  return runtimeCount++ == 0 ? S_OK : S_FALSE;
}

void Leave() {
  if (runtimeCount > 0)
    --runtimeCount;
}

}  // namespace

HRESULT CoInitialize(LPVOID /*reserved*/) {
  platform::ReportRuntimeCall("CoInitialize");
  return Enter();
}

HRESULT OleInitialize(LPVOID /*reserved*/) {
  platform::ReportRuntimeCall("OleInitialize");
  ++oleCount;
  return Enter();
}

void CoUninitialize() {
  platform::ReportRuntimeCall("CoUninitialize");
  Leave();
}

void OleUninitialize() {
  platform::ReportRuntimeCall("OleUninitialize");
  if (oleCount == 0)
    return;
  --oleCount;
  Leave();
}

namespace platform {

int ThreadInitializeCount() {
  return runtimeCount;
}

}  // namespace platform
