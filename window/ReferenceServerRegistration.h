#pragma once
// The reference server registered under the class id for the life of the program, as the system
// registry would have it.

namespace quorvane {

class ReferenceServerRegistration {
 public:
  void Register();
  void Revoke();

 private:
  bool registered_ = false;
};

}  // namespace quorvane
