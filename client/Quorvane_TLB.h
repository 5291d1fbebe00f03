#pragma once
// The server's automation interface (QuorvaneInterface.h) and its creator.

#include <string_view>

#include "QuorvaneInterface.h"

namespace quorvane {

// Makes server objects. Create raises an Exception with the creation message on failure; the
// caller gets a counted reference. CreateRemote does the same on the named machine, with the same
// messages; where the runtime reaches no other machine it raises that it cannot.
class CoQuorvaneAutomation {
 public:
  static IQuorvaneAutomation* Create();
  static IQuorvaneAutomation* CreateRemote(std::u16string_view machineName);
};

}  // namespace quorvane
