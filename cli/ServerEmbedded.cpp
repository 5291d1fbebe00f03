// The server on Linux: the embedded reference server, registered for the class id unless a server
// is registered already (as a test's scripted server is).
#include <CLI/CLI.hpp>

#include "Com.h"
#include "Console.h"
#include "ReferenceServer.h"
#include "ServerChoice.h"
#include "ServerData.h"
#include "Utf.h"
#include "uQuorvaneFunc.h"

namespace quorvane::cli {

const char* const kServerHelp =
    "The server is the embedded reference server, which answers from its built-in data, or from "
    "the data files of --data-dir. (On Windows it is the server registered for the class id, and "
    "--machine NAME creates it on another machine.)";

void AddServerOptions(CLI::App& app, ServerOptions& options) {
  app.add_option("--data-dir", options.dataDirectory,
                 "Serve from the data files in DIR (the layout of the server's built-in data)")
      ->type_name("DIR")
      ->check(CLI::ExistingDirectory);
}

std::shared_ptr<void> ConnectServer(const ServerOptions& options) {
  // The server reads its data directory from the environment at its first operation.
  if (!options.dataDirectory.empty())
    platform::SetProcessEnvironment(server::kDataDirectoryVariable, options.dataDirectory);
  auto registration = std::make_shared<server::ReferenceServerRegistration>();
  if (!platform::IsClassRegistered(CLASS_CoQuorvaneAutomation))
    *registration = server::RegisterReferenceServer();
  try {
    ServerIntf = platform::ComPtr<IQuorvaneAutomation>::Adopt(CoQuorvaneAutomation::Create());
  } catch (const ECreateError& e) {
    throw NoServer(e.Message(), e.Status());
  } catch (const Exception& e) {
    throw NoServer(e.Message());
  }
  return std::shared_ptr<void>(nullptr, [registration](void*) {
    FinalizeQuorvaneFunc();
    registration->Revoke();
  });
}

bool ServerErrorInfoLost() {
  return false;
}

bool ApplyLocaleVariantHere(const LocaleVariant& variant) {
  // The embedded server writes by the client's own settings.
  SetLocaleSettings(variant.settings);
  return true;
}

}  // namespace quorvane::cli
