#pragma once
// The server's automation interface (QuorvaneInterface.h) and its creator.

#include <string_view>

#include "QuorvaneInterface.h"

namespace quorvane {

// Makes server objects. Create raises an Exception with the creation message on failure; the
// caller gets a counted reference.
class CoQuorvaneAutomation {
 public:
  static IQuorvaneAutomation* Create();
  static IQuorvaneAutomation* CreateRemote(std::u16string_view machineName);
};

}  // namespace quorvane
