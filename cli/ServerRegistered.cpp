// The server on Windows: the one the system has registered for the class id, on this machine or,
// with --machine, on another.
#include <CLI/CLI.hpp>

#include "Com.h"
#include "Console.h"
#include "Digits.h"
#include "ServerChoice.h"
#include "SystemLocaleItems.h"
#include "Utf.h"
#include "uQuorvaneFunc.h"

namespace quorvane::cli {

const char* const kServerHelp =
    "The server is the one the system has registered for the class id; --context local asks for "
    "its local server (EXE) where the class also has a DLL, which the runtime would prefer, "
    "--context inproc for the DLL only; --machine NAME creates it on another machine. (On Linux it "
    "is the embedded reference server, and --data-dir DIR gives "
    "it other data files.)";

void AddServerOptions(CLI::App& app, ServerOptions& options) {
  app.add_option("--machine", options.machine, "Create the server object on the machine NAME")
      ->type_name("NAME");
  app.add_option("--context", options.context,
                 "Which form of the server to create: inproc (the DLL), local (the EXE, or the DLL "
                 "in the system's surrogate) or both (the default, as the window asks)")
      ->type_name("CONTEXT")
      ->check(CLI::IsMember({"inproc", "local", "both"}));
}

namespace {

// A server in another process cannot be put under this thread's locale.
bool serverOutOfProcess = false;

DWORD ClassContext(const std::string& context) {
  if (context == "inproc")
    return CLSCTX_INPROC_SERVER;
  if (context == "local")
    return CLSCTX_LOCAL_SERVER;
  return CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER;
}

// Only a proxy, which stands for an object in another process, answers IClientSecurity.
bool IsProxy(IUnknown* object) {
  IClientSecurity* security = nullptr;
  if (FAILED(object->QueryInterface(IID_IClientSecurity, reinterpret_cast<void**>(&security))) ||
      security == nullptr)
    return false;
  security->Release();
  return true;
}

}  // namespace

std::shared_ptr<void> ConnectServer(const ServerOptions& options) {
  try {
    IQuorvaneAutomation* server =
        options.machine.empty() ? CoQuorvaneAutomation::Create(ClassContext(options.context))
                                : CoQuorvaneAutomation::CreateRemote(FromUtf8(options.machine));
    ServerIntf = platform::ComPtr<IQuorvaneAutomation>::Adopt(server);
    serverOutOfProcess = IsProxy(server);
  } catch (const ECreateError& e) {
    // The system's text may not name the status; a tester needs it to tell the causes apart.
    throw NoServer(e.Message() + u" (status 0x" +
                       UpperHexText(static_cast<std::uint32_t>(e.Status()), 8) + u")",
                   e.Status());
  } catch (const Exception& e) {
    throw NoServer(e.Message());
  }
  return std::shared_ptr<void>(nullptr, [](void*) { FinalizeQuorvaneFunc(); });
}

bool ServerErrorInfoLost() {
  return serverOutOfProcess && !platform::ErrorInfoCrossesProcesses();
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
  // A server in another process writes under that process's locale, the user's.
  if (serverOutOfProcess)
    return false;
  const auto items = ReadUserLocaleItems(variant.systemName);
  if (!items)
    return false;
  SetLocaleSettings(MakeLocaleSettings(*items));
  return true;
}

}  // namespace quorvane::cli
