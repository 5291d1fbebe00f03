// CreateRemote through the system's remote activation. Under Wine only this machine can be named
// (it ignores the machine and activates here), so the cases name this machine.

#include <string>

#include "Cases.h"
#include "Check.h"
#include "Com.h"
#include "ComPtr.h"
#include "Quorvane_TLB.h"
#include "ServerCall.h"

namespace contract {

namespace {

using quorvane::CoQuorvaneAutomation;
using quorvane::IQuorvaneAutomation;

// The creation error for a status, as Create words it.
std::u16string CreationError(HRESULT status) {
  return quorvane::StatusMessage(status) + u", ClassID: " + std::u16string(quorvane::kClassIdText);
}

std::u16string ThisMachineName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  if (!GetComputerNameW(name, &size))
    return {};
  return std::u16string(name, name + size);
}

// The message of a creation that raised, or an empty text when it made an object.
template <typename Create>
std::u16string CreationMessage(Create create) {
  try {
    create()->Release();
  } catch (const quorvane::Exception& error) {
    return error.Message();
  }
  return {};
}

std::u16string CountryList(IQuorvaneAutomation& server) {
  quorvane::BStrResult reply;
  quorvane::CheckStatus(server.GetCountryList(reply.Put()));
  return reply.Text();
}

}  // namespace

void RunRemoteCreationCases(bool registered) {
  const std::u16string machine = ThisMachineName();
  if (registered) {
    RunCase("CreateRemote on this machine's name makes a server object as Create does", [&] {
      Expect(!machine.empty(), "this machine has a name");
      auto remote =
          platform::ComPtr<IQuorvaneAutomation>::Adopt(CoQuorvaneAutomation::CreateRemote(machine));
      auto local = platform::ComPtr<IQuorvaneAutomation>::Adopt(CoQuorvaneAutomation::Create());
      Expect(remote.Get() != local.Get(), "a new object of its own");
      const std::u16string countries = CountryList(*remote.Get());
      Expect(!countries.empty() && countries == CountryList(*local.Get()),
             "the same country list: " + Utf8(countries.substr(0, 40)));
    });
    RunCase("CreateRemote's objects are released like Create's", [] {
      using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();
      HMODULE dll = GetModuleHandleW(L"QuorvaneServer.dll");
      auto canUnloadNow = reinterpret_cast<CanUnloadNow>(
          reinterpret_cast<void (*)()>(GetProcAddress(dll, "DllCanUnloadNow")));
      Expect(canUnloadNow != nullptr && canUnloadNow() == S_OK, "no object left in the DLL");
    });
    RunCase("CreateRemote refuses a machine name with a NUL in it", [&] {
      const std::u16string name = machine + u'\0' + u"elsewhere";
      const std::u16string message =
          CreationMessage([&] { return CoQuorvaneAutomation::CreateRemote(name); });
      Expect(message == CreationError(E_INVALIDARG), "message \"" + Utf8(message) + "\"");
    });
  } else {
    RunCase("CreateRemote on this machine's name fails as Create does", [&] {
      const std::u16string message =
          CreationMessage([&] { return CoQuorvaneAutomation::CreateRemote(machine); });
      Expect(message == CreationError(REGDB_E_CLASSNOTREG), "message \"" + Utf8(message) + "\"");
      Expect(message == CreationMessage([] { return CoQuorvaneAutomation::Create(); }),
             "the message of Create");
    });
  }
}

}  // namespace contract
