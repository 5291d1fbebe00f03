// Faults across the process boundary, met by quorvane-cli as a tester runs it: a local server that
// never answers a call, one that ends inside a call, and one that does not start (its program
// missing, or ending at once). Each case registers QuorvaneFaultServer.exe with its fault, runs
// quorvane-cli and judges its exit status, its lines and how long it took. One line per check,
// then "N passed, M failed". Usage:
//   windows_fault_test <QuorvaneFaultServer.exe> <quorvane-cli.exe> [no-start|crash|hang]
//                      [--slowdown N] [--junit FILE]
// (--slowdown multiplies the bounds on the time a start takes, for an emulated architecture.)

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "CheckReport.h"
#include "LocalServer.h"
#include "QuorvaneIds.h"

namespace {

quorvane::report::CheckReport report("windows_fault_test", std::cout);
std::wstring faultServer, cli;
int slowdown = 1;

std::string Utf8(const std::wstring& text) {
  if (text.empty())
    return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

struct Run {
  bool ended = false;
  DWORD exitCode = 0;
  std::string output;  // standard output and error together
  double seconds = 0;
};

// Runs a command line with its output read through a pipe, ended after `bound` seconds. The pipe is
// read while the program runs, so that a server it started and that kept the pipe cannot stall us.
Run RunProgram(const std::wstring& commandLine, int bound) {
  Run run;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
    return run;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION info{};
  std::wstring line = commandLine;
  const auto started = std::chrono::steady_clock::now();
  const BOOL created = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &info);
  CloseHandle(writeEnd);
  if (!created) {
    CloseHandle(readEnd);
    run.output = "cannot start " + Utf8(commandLine);
    return run;
  }
  const auto drain = [&] {
    DWORD available = 0;
    while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
      char buffer[4096];
      DWORD got = 0;
      if (!ReadFile(readEnd, buffer, std::min<DWORD>(available, sizeof buffer), &got, nullptr))
        break;
      run.output.append(buffer, got);
    }
  };
  for (;;) {
    drain();
    if (WaitForSingleObject(info.hProcess, 50) == WAIT_OBJECT_0) {
      run.ended = true;
      break;
    }
    if (std::chrono::steady_clock::now() - started > std::chrono::seconds(bound)) {
      TerminateProcess(info.hProcess, 99);
      break;
    }
  }
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  drain();
  GetExitCodeProcess(info.hProcess, &run.exitCode);
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
  CloseHandle(readEnd);
  std::string clean;
  for (char c : run.output)
    if (c != '\r')
      clean += c;
  run.output = clean;
  return run;
}

BOOL CALLBACK EndServer(HWND window, LPARAM) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (std::wcscmp(name, serverdll::kServerWindowClass) != 0)
    return TRUE;
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (HANDLE handle = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process)) {
    TerminateProcess(handle, 9);
    WaitForSingleObject(handle, 5000);
    CloseHandle(handle);
  }
  return TRUE;
}

// Ends every server process left behind (a hung one cannot end by itself).
void EndServers() {
  EnumWindows(EndServer, 0);
}

bool Register(const std::wstring& fault);
std::wstring Quoted(const std::wstring& path);
std::vector<std::string> Lines(const std::string& text);

// After a server process died, the runtime must start a new one for the next creation. Wine's
// keeps the dead process's class registration for a few seconds, answering
// RPC_S_SERVER_UNAVAILABLE meanwhile: the check waits up to 30 seconds and says how long it took.
void NewServerStarts(const std::string& after) {
  if (!Register(L"")) {
    report.Check(false, after + ": the fault server registers");
    return;
  }
  const auto started = std::chrono::steady_clock::now();
  std::string first;
  bool answered = false;
  for (int attempt = 0; !answered && attempt < 6; ++attempt) {
    if (attempt > 0)
      Sleep(6000);
    const Run run = RunProgram(Quoted(cli) + L" --context local countries", 120 * slowdown);
    answered = run.ended && run.exitCode == 0;
    if (attempt == 0 && !answered)
      first = Lines(run.output).empty() ? "" : Lines(run.output).front();
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  report.Check(answered, after + ": a new server starts",
               "after " + std::to_string(seconds) + " s" +
                   (first.empty() ? "" : "; the first creation: " + first));
}

std::wstring Quoted(const std::wstring& path) {
  return L"\"" + path + L"\"";
}

bool Register(const std::wstring& fault) {
  const Run run = RunProgram(Quoted(faultServer) + L" /RegServer " + fault, 60 * slowdown);
  return run.ended && run.exitCode == 0;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos)
      break;
    start = end + 1;
  }
  return lines;
}

bool HasLine(const std::string& output, const std::string& start, const std::string& part) {
  for (const std::string& line : Lines(output))
    if (line.rfind(start, 0) == 0 && line.find(part) != std::string::npos)
      return true;
  return false;
}

bool HasSummary(const std::string& output) {
  for (const std::string& line : Lines(output)) {
    const std::size_t passed = line.find(" passed, ");
    if (passed != std::string::npos && line.ends_with(" failed") && !line.empty() &&
        std::isdigit(static_cast<unsigned char>(line[0])))
      return true;
  }
  return false;
}

std::string Tail(const std::string& output) {
  return output.size() > 300 ? "..." + output.substr(output.size() - 300) : output;
}

// A server that never answers: the check gives up on the call after its bound, names it in a FAIL
// line, closes with its summary and exits 1.
void NeverAnswers() {
  if (!Register(L"--hang-in GetCountryList")) {
    report.Check(false, "hang: the fault server registers");
    return;
  }
  const Run run =
      RunProgram(Quoted(cli) + L" --context local check --timeout 5", 60 + 10 * slowdown);
  EndServers();
  report.Check(run.ended && run.exitCode == 1, "hang: check --timeout 5 exits 1",
               "exit " + std::to_string(run.exitCode) + (run.ended ? "" : ", ended by the test"));
  report.Check(HasLine(run.output, "FAIL", "GetCountryList") &&
                   HasLine(run.output, "FAIL", "no answer within 5 s"),
               "hang: a FAIL line names the call that did not answer", Tail(run.output));
  report.Check(HasSummary(run.output), "hang: the summary line follows");
  // The server's start and the calls before the hung one, plus the bound of five seconds.
  const double limit = 10.0 + (slowdown - 1) * 60.0;
  report.Check(run.seconds < limit, "hang: ends within " + std::to_string(int(limit)) + " s",
               std::to_string(run.seconds) + " s");
}

// A server that ends inside a call: that call and the ones after it fail with the runtime's status
// for a server gone, and the check still closes with its summary, exiting 1 rather than crashing.
void EndsInsideACall() {
  if (!Register(L"--end-in GetExchangeRate")) {
    report.Check(false, "crash: the fault server registers");
    return;
  }
  const Run run = RunProgram(Quoted(cli) + L" --context local check", 120 * slowdown);
  EndServers();
  report.Check(run.ended && run.exitCode == 1, "crash: check exits 1",
               "exit " + std::to_string(run.exitCode));
  // RPC_S_SERVER_UNAVAILABLE or RPC_E_DISCONNECTED, whichever the system answers.
  const bool gone = HasLine(run.output, "FAIL", "0x800706BA") ||
                    HasLine(run.output, "FAIL", "0x80010108") ||
                    HasLine(run.output, "FAIL", "0x800706BE");
  report.Check(HasLine(run.output, "FAIL", "GetExchangeRate") && gone,
               "crash: the call fails with the status of a server gone", Tail(run.output));
  report.Check(HasSummary(run.output), "crash: the summary line follows");
  NewServerStarts("crash: after the server ended");
}

// A server that does not start: no object, and quorvane-cli says so with the runtime's status.
void DoesNotStart() {
  struct Case {
    const char* name;
    std::wstring fault;
    bool missingProgram;
  };
  const Case cases[] = {
      {"program missing", L"", true},
      {"ends at once", L"--end-at-start", false},
  };
  for (const Case& one : cases) {
    const std::string name = std::string("no start (") + one.name + ")";
    if (!Register(one.fault)) {
      report.Check(false, name + ": the fault server registers");
      continue;
    }
    if (one.missingProgram) {
      const std::wstring local =
          L"CLSID\\" + std::wstring(quorvane::kClassIdText.begin(), quorvane::kClassIdText.end()) +
          L"\\LocalServer32";
      const std::wstring missing = L"\"C:\\quorvane\\missing\\QuorvaneServer.exe\"";
      HKEY handle = nullptr;
      if (RegOpenKeyExW(HKEY_CLASSES_ROOT, local.c_str(), 0, KEY_SET_VALUE, &handle) ==
          ERROR_SUCCESS) {
        RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(missing.c_str()),
                       static_cast<DWORD>((missing.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(handle);
      }
    }
    const Run run = RunProgram(Quoted(cli) + L" --context local countries", 180 * slowdown);
    EndServers();
    // Wine and Windows answer different statuses: the rule is a negative one, said in hex.
    report.Check(run.ended && run.exitCode == 3 &&
                     run.output.find("no server: ") != std::string::npos &&
                     run.output.find("(status 0x8") != std::string::npos,
                 name + ": no server, said with the status", Tail(run.output));
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const auto junit = quorvane::report::TakeJUnitOption(argc, argv);
  std::vector<std::wstring> arguments(argv + 1, argv + argc);
  for (std::size_t i = 0; i + 1 < arguments.size(); ++i)
    if (arguments[i] == L"--slowdown") {
      slowdown = std::max(1, _wtoi(arguments[i + 1].c_str()));
      arguments.erase(arguments.begin() + static_cast<long>(i),
                      arguments.begin() + static_cast<long>(i) + 2);
      break;
    }
  if (arguments.size() < 2) {
    std::cerr << "usage: windows_fault_test <QuorvaneFaultServer.exe> <quorvane-cli.exe>\n";
    return 2;
  }
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
    return 1;
  faultServer = arguments[0];
  cli = arguments[1];
  // One case a start where a case is named: Wine needs a while to forget a server that died.
  const std::wstring only = arguments.size() > 2 ? arguments[2] : L"";
  if (only.empty() || only == L"no-start")
    DoesNotStart();
  if (only.empty() || only == L"crash")
    EndsInsideACall();
  if (only.empty() || only == L"hang")
    NeverAnswers();
  RunProgram(Quoted(faultServer) + L" /UnregServer", 60 * slowdown);
  CoUninitialize();
  return report.Finish(junit);
}
