#pragma once
// Where the server comes from: on Linux the embedded reference server, on Windows the server that
// the system has registered for the class id. One source file per platform implements this.

#include <memory>
#include <string>

#include "Check.h"
#include "Com.h"
#include "Errors.h"

namespace CLI {
class App;
}

namespace quorvane::cli {

struct ServerOptions {
  std::string dataDirectory;  // the embedded server's data files
  std::string machine;        // remote creation on Windows
  std::string context;        // on Windows: inproc, local or both (empty: both)
};

// What the options of this platform's server mean, for the help text and the man page.
extern const char* const kServerHelp;
void AddServerOptions(CLI::App& app, ServerOptions& options);

// No server object could be made; the message says why, the status is the creation's.
class NoServer : public Exception {
 public:
  explicit NoServer(std::u16string message, HRESULT status = E_FAIL)
      : Exception(std::move(message)), status_(status) {}
  HRESULT Status() const { return status_; }

 private:
  HRESULT status_;
};

// Makes the server object and puts it into ServerIntf, or raises NoServer. Destroying the result
// releases the server and undoes what the connection set up.
std::shared_ptr<void> ConnectServer(const ServerOptions& options);

// Whether the connected server's error information stays behind in its process (a server in
// another process under a runtime that does not carry it).
bool ServerErrorInfoLost();

// Puts a locale variant of the check in force so that the server and the client both follow it.
bool ApplyLocaleVariantHere(const LocaleVariant& variant);

}  // namespace quorvane::cli
