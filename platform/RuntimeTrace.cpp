// The observer of the runtime's initialise and uninitialise calls.
#include "RuntimeTrace.h"

#include <mutex>
#include <utility>

namespace platform {

namespace {

std::mutex observerLock;
RuntimeCallObserver& Observer() {
  static RuntimeCallObserver observer;
  return observer;
}

}  // namespace

void SetRuntimeCallObserver(RuntimeCallObserver observer) {
  std::lock_guard<std::mutex> lock(observerLock);
  Observer() = std::move(observer);
}

void ReportRuntimeCall(std::string_view call) {
  RuntimeCallObserver observer;
  {
    std::lock_guard<std::mutex> lock(observerLock);
    observer = Observer();
  }
  // Called outside the lock, so that the observer may itself set a new observer.
  if (observer)
    observer(call);
}

}  // namespace platform
