#pragma once
// What an action raised, as the client's tests compare it: the error kind and its message.

#include <functional>
#include <ostream>
#include <string>

#include "Errors.h"
#include "ServerCall.h"
#include "Utf.h"

namespace clienttest {

// Empty when the action raised nothing.
struct Raised {
  std::string kind;
  std::u16string message;
  friend bool operator==(const Raised&, const Raised&) = default;
  friend std::ostream& operator<<(std::ostream& out, const Raised& r) {
    return out << r.kind << " \"" << quorvane::ToUtf8(r.message) << "\"";
  }
};

inline Raised RaisedBy(const std::function<void()>& action) {
  using namespace quorvane;
  try {
    action();
  } catch (const EServerCallError& e) {
    return {"EServerCallError", e.Message()};
  } catch (const EStringListError& e) {
    return {"EStringListError", e.Message()};
  } catch (const EConvertError& e) {
    return {"EConvertError", e.Message()};
  } catch (const EInvalidOp& e) {
    return {"EInvalidOp", e.Message()};
  } catch (const EOverflow& e) {
    return {"EOverflow", e.Message()};
  } catch (const Exception& e) {
    return {"Exception", e.Message()};
  }
  return {};
}

}  // namespace clienttest
