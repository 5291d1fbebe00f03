// The system's runtime keeps no count of the strings alive that a program could read.
#include "RuntimeTrace.h"

namespace platform {

long LiveBstrCount() {
  return -1;
}

}  // namespace platform
