// BSTR: a 4-byte byte count in front of the text, the text, and a NUL terminator behind it. The
// BSTR points at the text. Every allocation is counted so that tests can see leaks.
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "Com.h"
#include "RuntimeTrace.h"

namespace {

std::atomic<long> liveBstrs{0};

std::uint32_t* PrefixOf(BSTR text) {
  return reinterpret_cast<std::uint32_t*>(reinterpret_cast<char*>(text) - sizeof(std::uint32_t));
}

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  // The byte count must fit in the 32-bit prefix, with room for the prefix and the terminator.
  constexpr std::size_t kMaxLength =
      (std::numeric_limits<std::uint32_t>::max() - sizeof(std::uint32_t) - sizeof(OLECHAR)) /
      sizeof(OLECHAR);
  if (length > kMaxLength)
    return nullptr;
  const std::size_t bytes = std::size_t{length} * sizeof(OLECHAR);
  void* block = std::malloc(sizeof(std::uint32_t) + bytes + sizeof(OLECHAR));
  if (block == nullptr)
    return nullptr;
  auto* prefix = static_cast<std::uint32_t*>(block);
  *prefix = static_cast<std::uint32_t>(bytes);
  BSTR result = reinterpret_cast<BSTR>(prefix + 1);
  if (text != nullptr)
    std::memcpy(result, text, bytes);
  else
    std::memset(result, 0, bytes);
  result[length] = 0;
  liveBstrs.fetch_add(1, std::memory_order_relaxed);
  return result;
}

BSTR SysAllocString(const OLECHAR* text) {
  if (text == nullptr)
    return nullptr;
  UINT length = 0;
  while (text[length] != 0)
    ++length;
  return SysAllocStringLen(text, length);
}

void SysFreeString(BSTR text) {
  if (text == nullptr)
    return;
  liveBstrs.fetch_sub(1, std::memory_order_relaxed);
  std::free(PrefixOf(text));
}

UINT SysStringLen(BSTR text) {
  if (text == nullptr)
    return 0;
  return *PrefixOf(text) / sizeof(OLECHAR);
}

namespace platform {

long LiveBstrCount() {
  return liveBstrs.load(std::memory_order_relaxed);
}

}  // namespace platform
