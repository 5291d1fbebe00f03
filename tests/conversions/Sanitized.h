#pragma once
// Whether this build runs under AddressSanitizer. The sanitizer build looks for memory faults,
// not for rare values, so the sweeps over many random cases run fewer of them there.

namespace quorvane {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitizedBuild = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kSanitizedBuild = true;
#else
inline constexpr bool kSanitizedBuild = false;
#endif
#else
inline constexpr bool kSanitizedBuild = false;
#endif

}  // namespace quorvane
