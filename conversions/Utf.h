#pragma once
// Conversions between UTF-8 and UTF-16. Ill-formed input becomes U+FFFD; nothing is dropped
// silently.

#include <string>
#include <string_view>

namespace quorvane {

std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

}  // namespace quorvane
