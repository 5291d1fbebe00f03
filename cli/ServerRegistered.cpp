// The server on Windows: the one the system has registered for the class id, on this machine or,
// with --machine, on another.
#include <CLI/CLI.hpp>

#include "Com.h"
#include "Console.h"
#include "ServerChoice.h"
#include "SystemLocaleItems.h"
#include "Utf.h"
#include "uQuorvaneFunc.h"

namespace quorvane::cli {

const char* const kServerHelp =
    "The server is the one the system has registered for the class id; --machine NAME creates it "
    "on another machine. (On Linux it is the embedded reference server, and --data-dir DIR gives "
    "it other data files.)";

void AddServerOptions(CLI::App& app, ServerOptions& options) {
  app.add_option("--machine", options.machine, "Create the server object on the machine NAME")
      ->type_name("NAME");
}

std::shared_ptr<void> ConnectServer(const ServerOptions& options) {
  try {
    IQuorvaneAutomation* server =
        options.machine.empty() ? CoQuorvaneAutomation::Create()
                                : CoQuorvaneAutomation::CreateRemote(FromUtf8(options.machine));
    ServerIntf = platform::ComPtr<IQuorvaneAutomation>::Adopt(server);
  } catch (const Exception& e) {
    throw NoServer(e.Message());
  }
  return std::shared_ptr<void>(nullptr, [](void*) { FinalizeQuorvaneFunc(); });
}

bool ApplyLocaleVariantHere(const LocaleVariant& variant) {
  // The registered server reads the thread's locale at each call: the variant becomes the
  // thread's locale and the client reads its settings from there too. The empty name goes back to
  // the user's locale, with the settings the run had.
  if (variant.systemName.empty()) {
    ReadUserLocaleItems();
    SetLocaleSettings(variant.settings);
    return true;
  }
  const auto items = ReadUserLocaleItems(variant.systemName);
  if (!items)
    return false;
  SetLocaleSettings(MakeLocaleSettings(*items));
  return true;
}

}  // namespace quorvane::cli
