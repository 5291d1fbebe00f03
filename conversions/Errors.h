#pragma once
// The error kinds that the client raises. Each carries its UTF-16 message; what() gives it as
// UTF-8.

#include <exception>
#include <initializer_list>
#include <string>
#include <string_view>

namespace quorvane {

class Exception : public std::exception {
 public:
  explicit Exception(std::u16string message);
  const std::u16string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  std::u16string message_;
  std::string utf8_;
};

// A text that does not read as a date or a number.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};
// "Invalid floating point operation": a value outside the money range.
class EInvalidOp : public Exception {
 public:
  using Exception::Exception;
};
// "Floating point overflow".
class EOverflow : public Exception {
 public:
  using Exception::Exception;
};
// "Floating point division by zero".
class EZeroDivide : public Exception {
 public:
  using Exception::Exception;
};
// "List index out of bounds (%d)".
class EStringListError : public Exception {
 public:
  using Exception::Exception;
};

inline constexpr std::u16string_view kInvalidOpMessage = u"Invalid floating point operation";
inline constexpr std::u16string_view kOverflowMessage = u"Floating point overflow";
inline constexpr std::u16string_view kZeroDivideMessage = u"Floating point division by zero";

// Fills a message template: each "%s" or "%d" takes the next insert verbatim. Inserts are never
// scanned again, so a reply that itself holds "%s" cannot be read as a format.
std::u16string FillTemplate(std::u16string_view pattern,
                            std::initializer_list<std::u16string_view> inserts);

}  // namespace quorvane
