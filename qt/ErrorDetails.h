#pragma once
// The error box's texts (ErrorText.h) in the Qt window's string type.

#include <QString>
#include <exception>

#include "ErrorText.h"

namespace quorvane {

// The details of an error, one item a line.
inline QString ErrorDetailsOf(const std::exception_ptr& error) {
  return QString::fromStdU16String(ErrorDetailsText(error));
}

inline constexpr qsizetype kShownMessageLength = static_cast<qsizetype>(kErrorBoxMessageLength);
}  // namespace quorvane
