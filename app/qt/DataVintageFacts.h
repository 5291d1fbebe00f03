#pragma once
// The About box's facts from the embedded reference server's data: the program entry knows the
// server, the window does not.

#include "AboutBox.h"

namespace quorvane {

AboutFacts DataVintageFacts();

}  // namespace quorvane
