#include "ReferenceServerRegistration.h"

namespace quorvane {

void ReferenceServerRegistration::Register() {
  registered_ = true;
}

void ReferenceServerRegistration::Revoke() {
  registered_ = false;
}

}  // namespace quorvane
