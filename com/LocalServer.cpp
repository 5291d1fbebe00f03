#include "LocalServer.h"

#include "Com.h"

#include <shellapi.h>

#include <cwchar>

#include "AutomationObject.h"
#include "ComObject.h"
#include "QuorvaneInterface.h"
#include "Registration.h"
#include "ServerModule.h"
#include "ServerWindow.h"

namespace serverdll {

namespace {

// Posted to the window when the last object went or the window was hidden: the server ends if
// both hold (checked again there, since a client may have made an object meanwhile).
constexpr UINT kMaybeEnd = WM_APP + 1;
HWND serverWindow = nullptr;
ServerWindow* window = nullptr;

void MaybeEnd() {
  if (serverWindow)
    PostMessageW(serverWindow, kMaybeEnd, 0, 0);
}

// /RegServer, -regserver, ... : the switch's name without its mark, or empty.
std::wstring SwitchName(const std::wstring& argument) {
  if (argument.size() < 2 || (argument[0] != L'/' && argument[0] != L'-'))
    return {};
  return argument.substr(1);
}

bool Is(const std::wstring& argument, const wchar_t* name) {
  return _wcsicmp(SwitchName(argument).c_str(), name) == 0;
}

// A server started by a client may hold the client's standard handles (Wine starts it from the
// client's process); a pipe the client's caller reads must not stay open while the server runs.
void DropStandardHandles() {
  for (DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
    HANDLE handle = GetStdHandle(which);
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
      SetStdHandle(which, nullptr);
      CloseHandle(handle);
    }
  }
}

int Serve(bool embedded, const LocalServerOptions& options) {
  if (embedded)
    DropStandardHandles();
  ServerWindow shown(options.entering, MaybeEnd);
  // Started by hand it shows its window; started by the runtime it waits hidden for Visible.
  if (!shown.Create(!embedded))
    return 1;
  window = &shown;
  serverWindow = shown.Handle();
  SetHost(&shown);
  SetLastReleaseAction(MaybeEnd);
  // The class object counts the locks of its clients; its own references are the runtime's.
  platform::ClassObject classObject(
      [](REFIID riid, void** object) {
        const HRESULT status = AutomationObject::Create(riid, object);
        if (window)
          window->ShowObjects(ModuleReferences());
        return status;
      },
      [](int change) {
        if (change > 0)
          AddModuleReference();
        else
          ReleaseModuleReference();
      });
  DWORD cookie = 0;
  // Several clients share this one process: each Create makes an object of its own here.
  const HRESULT registered =
      CoRegisterClassObject(quorvane::CLASS_CoQuorvaneAutomation, &classObject, CLSCTX_LOCAL_SERVER,
                            REGCLS_MULTIPLEUSE, &cookie);
  if (FAILED(registered))
    return 2;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.hwnd == serverWindow && message.message == kMaybeEnd) {
      shown.ShowObjects(ModuleReferences());
      if (!ModuleInUse() && !shown.Visible())
        break;
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  CoRevokeClassObject(cookie);
  SetLastReleaseAction(nullptr);
  SetHost(nullptr);
  window = nullptr;
  serverWindow = nullptr;
  return 0;
}

}  // namespace

std::vector<std::wstring> CommandLineArguments() {
  int count = 0;
  wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> arguments;
  for (int i = 1; words && i < count; ++i)
    arguments.emplace_back(words[i]);
  LocalFree(words);
  return arguments;
}

int RunLocalServer(const std::vector<std::wstring>& arguments, const LocalServerOptions& options) {
  bool embedded = false;
  enum class Task { Serve, Register, Unregister } task = Task::Serve;
  for (const std::wstring& argument : arguments) {
    if (Is(argument, L"RegServer"))
      task = Task::Register;
    else if (Is(argument, L"UnregServer"))
      task = Task::Unregister;
    else if (Is(argument, L"Embedding") || Is(argument, L"Automation"))
      embedded = true;
  }
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
    return 1;
  int code = 0;
  switch (task) {
    case Task::Register:
      code =
          SUCCEEDED(RegisterServer(ServerForm::LocalServer, options.registeredArguments)) ? 0 : 1;
      break;
    case Task::Unregister:
      code = SUCCEEDED(UnregisterServer(ServerForm::LocalServer)) ? 0 : 1;
      break;
    case Task::Serve:
      code = Serve(embedded, options);
      break;
  }
  CoUninitialize();
  return code;
}

}  // namespace serverdll
