// The program entry of the native window: prepares the system's component runtime on this
// thread, reads the locale settings from the system, runs the main window against whatever server
// the system has registered for the class id, and takes everything down in order. Each step is
// written to the debugger's output, where a driver program can check the order.

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "AboutText.h"
#include "CallLogView.h"
#include "ErrorText.h"
#include "LocaleSettings.h"
#include "NativeForm.h"
#include "QuorvaneVersion.h"
#include "StartUp.h"
#include "SystemLocaleItems.h"
#include "Utf.h"
#include "uQuorvaneFunc.h"

namespace {

void Trace(const std::string& step) {
  OutputDebugStringA(("QuorvaneTestCom: " + step + "\n").c_str());
}

std::string Status(HRESULT status) {
  char text[16];
  std::snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(status));
  return text;
}

void ReadLocaleSettings() {
  quorvane::SetLocaleSettings(quorvane::MakeLocaleSettings(quorvane::ReadThreadLocaleItems()));
}

// The program file's name, as the error box's caption.
std::u16string ApplicationTitle() {
  wchar_t path[256] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, 256);
  return quorvane::ApplicationTitleFromPath(
      std::u16string(reinterpret_cast<const char16_t*>(path), length < 256 ? length : 255),
      [](std::u16string& text) {
        CharLowerBuffW(reinterpret_cast<wchar_t*>(text.data()), static_cast<DWORD>(text.size()));
      });
}

// The notice of the data's sources and licences, built into the program.
std::u16string DataNotice() {
  HRSRC found = FindResourceW(nullptr, L"NOTICE", MAKEINTRESOURCEW(10));  // RT_RCDATA
  HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
  const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  if (!bytes)
    return u"(the notice of the data is missing from this build)";
  std::u16string notice =
      quorvane::FromUtf8(std::string_view(bytes, SizeofResource(nullptr, found)));
  while (!notice.empty() &&
         (notice.back() == u'\n' || notice.back() == u'\r' || notice.back() == u' '))
    notice.pop_back();
  return notice;
}

// The About box's text. The window talks to whatever server the system has registered, so what
// the data are is not known here.
std::u16string AboutText() {
  quorvane::AboutContent content;
  content.version = quorvane::FromUtf8(kQuorvaneVersion);
  content.build = quorvane::FromUtf8(QV_BUILD_TYPE) + u", " + quorvane::CompilerName() +
                  u", Windows' own controls";
  content.licences.push_back(
      u"The window uses only the system's own controls and component runtime.");
#if defined(__GNUC__)
  content.licences.push_back(
      u"The GNU C++ runtime: GNU General Public License v3 with the GCC Runtime Library "
      u"Exception.");
#endif
  content.dataNotice = DataNotice();
  return quorvane::AboutText(content);
}

// Runs the main window until it is closed. Tab and the arrow keys move between the controls; F1
// opens the About box, Ctrl+G the chart of the group box with the focus, Ctrl+L the call log.
void RunMainWindow(HINSTANCE instance, int show, const std::u16string& title) {
  quorvane::native::NativeForm form1(instance, title);
  form1.OnSettingsChange([] {
    ReadLocaleSettings();
    Trace("locale settings read again");
  });
  Trace("window created");
  ShowWindow(form1.Window(), show);
  UpdateWindow(form1.Window());
  if (HWND first = GetNextDlgTabItem(form1.Window(), nullptr, FALSE))
    SetFocus(first);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    const bool inWindow =
        form1.Window() && (message.hwnd == form1.Window() || IsChild(form1.Window(), message.hwnd));
    if (inWindow && message.message == WM_KEYDOWN && message.wParam == VK_F1) {
      form1.ShowAbout(AboutText());
      continue;
    }
    if (inWindow && message.message == WM_KEYDOWN && message.wParam == 'G' &&
        GetKeyState(VK_CONTROL) < 0) {
      form1.OpenChartOfFocus();
      continue;
    }
    if (inWindow && message.message == WM_KEYDOWN && message.wParam == quorvane::kCallLogKey &&
        GetKeyState(VK_CONTROL) < 0) {
      form1.OpenCallLog();
      continue;
    }
    if (form1.Window() && IsDialogMessageW(form1.Window(), &message))
      continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  Trace("message loop ended");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  INITCOMMONCONTROLSEX controls{sizeof controls,
                                ICC_STANDARD_CLASSES | ICC_DATE_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  const std::u16string title = ApplicationTitle();

  quorvane::ProgramSteps steps;
  steps.OleInitialize = [] {
    const HRESULT status = ::OleInitialize(nullptr);
    Trace("OleInitialize " + Status(status));
    return status;
  };
  steps.CoInitialize = [] {
    const HRESULT status = ::CoInitialize(nullptr);
    Trace("CoInitialize " + Status(status));
    return status;
  };
  steps.ReadLocaleSettings = [] {
    ReadLocaleSettings();
    Trace("locale settings read");
  };
  // The server is the one the system has registered: nothing of our own is registered.
  steps.RegisterServer = [] {};
  steps.RunMainWindow = [&] {
    RunMainWindow(instance, show, title);
    Trace("window destroyed");
  };
  steps.FinalizeClient = [] {
    const bool connected = static_cast<bool>(quorvane::ServerIntf);
    quorvane::FinalizeQuorvaneFunc();
    Trace(connected ? "client finalized, server released" : "client finalized, no server");
  };
  steps.RevokeServer = [] {};
  steps.CoUninitialize = [] {
    ::CoUninitialize();
    Trace("CoUninitialize");
  };
  steps.OleUninitialize = [] {
    ::OleUninitialize();
    Trace("OleUninitialize");
  };
  return quorvane::RunProgram(steps);
}
