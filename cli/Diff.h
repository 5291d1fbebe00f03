#pragma once
// The differences between two servers, call by call, as the client decodes their replies: the
// series as entries (added, removed, changed, by date), the catalogue lists as lists, a rate and
// a letter code as values; statuses and error texts that changed; replies that decode on one side
// only. Each side is a server object: a replay of a recording, or a live server.

#include <memory>
#include <string>
#include <vector>

#include "ComPtr.h"
#include "Quorvane_TLB.h"
#include "Recording.h"

namespace quorvane::cli {

struct DiffSide {
  std::string name;  // the file, or "live"
  platform::ComPtr<IQuorvaneAutomation> server;
  // The calls it was recorded with; none for a live server.
  std::shared_ptr<const server::Recording> recording;
};

struct Difference {
  std::string kind;  // "status", "error text", "decodes on one side only", "entry added", ...
  std::string at;    // the entry's date or the list's item, when the difference is of one
  std::string a, b;  // what each side has
};

struct ComparedCall {
  std::u16string call;    // GetExchangeRate("RUB", "USD", 2010-10-08T18:00:00)
  std::u16string locale;  // the locale settings it was asked under
  std::vector<Difference> differences;
};

// Asks both sides every call of their recordings (A's in order, then those only B has), each
// under the locale settings it was recorded with, through the client's loaders. Restores
// ServerIntf and the locale settings.
std::vector<ComparedCall> CompareServers(const DiffSide& a, const DiffSide& b);

}  // namespace quorvane::cli
