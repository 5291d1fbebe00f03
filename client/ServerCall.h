#pragma once
// How a server operation is called: BSTR arguments and results owned by small wrappers, and the
// status check that turns a negative status into the server-call error.

#include <string>
#include <string_view>

#include "Com.h"
#include "Errors.h"

namespace quorvane {

// The error of a failed server operation. Only Message() reaches the user.
class EServerCallError : public Exception {
 public:
  EServerCallError(HRESULT errorCode, std::u16string message, std::u16string source,
                   std::u16string helpFile, DWORD helpContext);
  HRESULT ErrorCode() const { return errorCode_; }
  const std::u16string& Source() const { return source_; }
  const std::u16string& HelpFile() const { return helpFile_; }
  DWORD HelpContext() const { return helpContext_; }

 private:
  HRESULT errorCode_;
  std::u16string source_;
  std::u16string helpFile_;
  DWORD helpContext_;
};

// The message for a status: trailing blanks and full stops removed; empty means none.
std::u16string TrimMessage(std::u16string_view text);
// The system's text for the status, else "OLE error %.8x" with eight upper-case hex digits.
std::u16string StatusMessage(HRESULT status);
// Status check after every operation: returns on success, raises EServerCallError otherwise.
void CheckStatus(HRESULT status);

// A BSTR argument: a fresh copy of the caller's text for one call, freed after it.
class BStrArg {
 public:
  explicit BStrArg(std::u16string_view text);
  ~BStrArg();
  BStrArg(const BStrArg&) = delete;
  BStrArg& operator=(const BStrArg&) = delete;
  BSTR Get() const { return value_; }

 private:
  BSTR value_;
};

// A BSTR result: empty before the call, freed after its text has been copied.
class BStrResult {
 public:
  BStrResult() = default;
  ~BStrResult();
  BStrResult(const BStrResult&) = delete;
  BStrResult& operator=(const BStrResult&) = delete;
  BSTR* Put();
  std::u16string Text() const;
  // The text in place, valid while this result lives (for splitting a long reply without a copy).
  std::u16string_view View() const;

 private:
  BSTR value_ = nullptr;
};

}  // namespace quorvane
