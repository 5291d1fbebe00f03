// The client against the registered server DLL: creation through the registry, every loader, the
// rate on a date, failures with the server's error information, BSTR ownership across the DLL,
// late binding by name, locale-dependent replies, and release.

#include "Cases.h"

#include <algorithm>
#include <string>

#include "Check.h"
#include "Com.h"
#include "ComPtr.h"
#include "LocaleSettings.h"
#include "ServerCall.h"
#include "SystemLocaleItems.h"
#include "uQuorvaneFunc.h"

namespace contract {

namespace {

using quorvane::ServerIntf;

const std::u16string kNoSuchCountry = u"No such country";

template <typename Load>
quorvane::EServerCallError LoadFailure(Load load) {
  try {
    load();
  } catch (const quorvane::EServerCallError& error) {
    return error;
  }
  throw CheckFailed{"the load raised no server-call error"};
}

std::vector<std::u16string> Countries() {
  quorvane::StringList list;
  quorvane::LoadCountryList(list);
  return list.Items();
}

// Loads a series for every country; at least one must have entries, and every failure must be a
// server-call error with a message.
template <typename Load>
void ExpectSeriesLoads(const char* what, Load load,
                       const std::vector<quorvane::DateValueRec>* table,
                       const std::vector<quorvane::MinimumWageRec>* wages) {
  int withEntries = 0;
  for (const std::u16string& country : Countries()) {
    try {
      load(country);
    } catch (const quorvane::EServerCallError& error) {
      Expect(error.ErrorCode() < 0 && !error.Message().empty(),
             std::string(what) + " for " + Utf8(country) + " failed without a message");
      continue;
    }
    const std::size_t size = table ? table->size() : wages->size();
    withEntries += size > 0 ? 1 : 0;
  }
  Expect(withEntries > 0, std::string(what) + ": no country has entries");
}

std::vector<quorvane::DateValueRec> ExchangeHistory() {
  quorvane::LoadExchangeList(u"USD", u"RUB");
  return quorvane::ExchangeTable;
}

}  // namespace

void RunRegisteredServerCases() {
  RunCase("registration: in-process server, apartment threading, program id", [] {
    const std::wstring key = L"CLSID\\" + Wide(quorvane::kClassIdText) + L"\\InprocServer32";
    auto text = [&](const wchar_t* name) {
      wchar_t value[MAX_PATH] = {};
      DWORD size = sizeof value;
      const LSTATUS status =
          RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size);
      return status == ERROR_SUCCESS ? std::wstring(value) : std::wstring();
    };
    const std::wstring path = text(nullptr);
    Expect(path.size() > 19 && path.ends_with(L"\\QuorvaneServer.dll"), "the DLL's path");
    Expect(text(L"ThreadingModel") == L"Apartment", "apartment threading");
    CLSID found = {};
    Expect(SUCCEEDED(CLSIDFromProgID(Wide(quorvane::kProgramId).c_str(), &found)) &&
               IsEqualCLSID(found, quorvane::CLASS_CoQuorvaneAutomation),
           "the program id names the class");
    Expect(platform::IsClassRegistered(quorvane::CLASS_CoQuorvaneAutomation),
           "the platform sees the registered server, so the window leaves it to serve");
  });

  RunCase("CreateServer connects to the registered DLL", [] {
    Expect(quorvane::CreateServer(), "CreateServer answers true");
    Expect(static_cast<bool>(ServerIntf), "ServerIntf holds the object");
    UINT count = 0;
    Expect(SUCCEEDED(ServerIntf->GetTypeInfoCount(&count)) && count == 1,
           "the object describes itself through its type library");
  });
  if (!ServerIntf)
    return;

  RunCase("catalogue loaders: country names and letter codes", [] {
    const std::vector<std::u16string> countries = Countries();
    Expect(!countries.empty(), "countries");
    for (const std::u16string& name : countries)
      Expect(name.find(u'_') == std::u16string::npos, "underscore left in " + Utf8(name));
    quorvane::StringList codes;
    quorvane::LoadFieldValues(u"LetterCode", codes);
    const auto& items = codes.Items();
    Expect(std::find(items.begin(), items.end(), u"RUB") != items.end() &&
               std::find(items.begin(), items.end(), u"USD") != items.end(),
           "RUB and USD among " + std::to_string(items.size()) + " letter codes");
  });

  RunCase("series loaders: minimum wage, price index, funds rate", [] {
    ExpectSeriesLoads(
        "minimum wage", [](auto c) { quorvane::LoadMinimumWage(c); }, nullptr,
        &quorvane::MinimumWageTable);
    ExpectSeriesLoads(
        "price index", [](auto c) { quorvane::LoadPriceIndex(c); }, &quorvane::PriceIndexTable,
        nullptr);
    ExpectSeriesLoads(
        "funds rate", [](auto c) { quorvane::LoadFundsRate(c); }, &quorvane::FundsRateTable,
        nullptr);
  });

  RunCase("exchange list and the rate on a listed day", [] {
    const std::vector<quorvane::DateValueRec> history = ExchangeHistory();
    Expect(!history.empty(), "USD to RUB history");
    const quorvane::TDate day = history.back().Date;
    const quorvane::Currency rate = quorvane::GetRateOnDate(u"USD", u"RUB", day + 0.5);
    Expect(rate.Count > 0, "rate " + std::to_string(rate.Count));
  });

  RunCase("a failed operation raises the server's description, trimmed", [] {
    // The same failure called directly, for the description that the server gives.
    BSTR country = platform::AllocBstr(kNoSuchCountry);
    BSTR reply = nullptr;
    SetErrorInfo(0, nullptr);
    const HRESULT status = ServerIntf->GetMinimumWageList(country, &reply);
    const std::u16string description = TakeThreadErrorDescription();
    SysFreeString(country);
    SysFreeString(reply);
    Expect(FAILED(status), "unknown country fails: " + Hex(status));
    Expect(!quorvane::TrimMessage(description).empty(), "with a description");

    const quorvane::EServerCallError error =
        LoadFailure([] { quorvane::LoadMinimumWage(kNoSuchCountry); });
    Expect(error.ErrorCode() == status, "status " + Hex(error.ErrorCode()));
    Expect(error.Message() == quorvane::TrimMessage(description),
           "message \"" + Utf8(error.Message()) + "\"");
    Expect(static_cast<bool>(ServerIntf), "the connection stays open");
  });

  RunCase("a failure without error information gives the system's text for the status", [] {
    // The reserved operations exist only to keep the slots; they fail and say nothing more.
    const HRESULT status = quorvane::Server().Reserved3();
    Expect(FAILED(status), "Reserved3 fails: " + Hex(status));
    std::u16string message;
    try {
      quorvane::CheckStatus(status);
    } catch (const quorvane::EServerCallError& error) {
      message = error.Message();
    }
    const std::u16string system = quorvane::TrimMessage(platform::SystemMessageText(status));
    Expect(!system.empty() && message == system, "message \"" + Utf8(message) + "\"");
  });

  RunCase("BSTR ownership: arguments stay the caller's, results become the caller's", [] {
    const std::u16string code = u"USD";
    BSTR from = platform::AllocBstr(code);
    BSTR to = platform::AllocBstr(u"RUB");
    BSTR reply = nullptr;
    const HRESULT status = ServerIntf->GetListOfExchangeRate(from, to, &reply);
    Expect(SUCCEEDED(status) && reply != nullptr, "a reply: " + Hex(status));
    Expect(platform::BstrText(from) == code && SysStringLen(from) == code.size(),
           "the argument is unchanged");
    Expect(SysStringByteLen(reply) == 2 * SysStringLen(reply) && reply[SysStringLen(reply)] == 0,
           "the reply is a well-formed BSTR");
    SysFreeString(reply);  // freed by the caller, across the DLL, on the system's allocator
    SysFreeString(to);
    SysFreeString(from);

    // An empty text goes as a null BSTR; the server answers it like any other text.
    reply = nullptr;
    SetErrorInfo(0, nullptr);
    const HRESULT empty = ServerIntf->GetMinimumWageList(nullptr, &reply);
    Expect(SUCCEEDED(empty) || !TakeThreadErrorDescription().empty(),
           "a null country is answered: " + Hex(empty));
    SysFreeString(reply);
  });

  RunCase("late binding by name gives the function table's answers and errors", [] {
    IDispatch* dispatch = ServerIntf.Get();
    LPOLESTR name = const_cast<LPOLESTR>(L"GetMinimumWageList");
    DISPID id = 0;
    Expect(
        SUCCEEDED(dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id)) && id == 6,
        "GetMinimumWageList has dispatch id 6");
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_BSTR;
    argument.bstrVal = platform::AllocBstr(kNoSuchCountry);
    DISPPARAMS params = {&argument, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO exception = {};
    SetErrorInfo(0, nullptr);
    const HRESULT status = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                            &params, &result, &exception, nullptr);
    const std::u16string byName = platform::BstrText(exception.bstrDescription);
    const HRESULT code = exception.scode;
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrHelpFile);
    VariantClear(&result);
    VariantClear(&argument);
    Expect(status == DISP_E_EXCEPTION && FAILED(code), "a dispatch exception: " + Hex(status));

    const quorvane::EServerCallError error =
        LoadFailure([] { quorvane::LoadMinimumWage(kNoSuchCountry); });
    Expect(code == error.ErrorCode() && quorvane::TrimMessage(byName) == error.Message(),
           "same status and description by name: \"" + Utf8(byName) + "\"");

    name = const_cast<LPOLESTR>(L"GetCountryList");
    Expect(SUCCEEDED(dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id)),
           "GetCountryList by name");
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    Expect(SUCCEEDED(dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none,
                                      &result, nullptr, nullptr)) &&
               result.vt == VT_BSTR,
           "GetCountryList by name answers a text");
    quorvane::BStrResult direct;
    quorvane::CheckStatus(ServerIntf->GetCountryList(direct.Put()));
    Expect(platform::BstrText(result.bstrVal) == direct.Text(), "the same text as the table call");
    VariantClear(&result);
  });

  RunCase("visibility round trip", [] {
    quorvane::ServerSetVisible(true);
    Expect(quorvane::ServerGetVisible(), "visible after Set_Visible(true)");
    quorvane::ServerSetVisible(false);
    Expect(!quorvane::ServerGetVisible(), "hidden after Set_Visible(false)");
  });

  RunCase("replies follow a change of the user's locale on the open connection", [] {
    const std::vector<quorvane::DateValueRec> english = ExchangeHistory();
    const LCID saved = GetThreadLocale();
    const quorvane::LocaleSettings savedSettings = quorvane::CurrentLocaleSettings();
    SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT));
    std::vector<quorvane::DateValueRec> german;
    std::string failure;
    try {
      // The client reads the changed locale as on a settings change; the server at each call.
      quorvane::SetLocaleSettings(quorvane::MakeLocaleSettings(quorvane::ReadThreadLocaleItems()));
      german = ExchangeHistory();
    } catch (const quorvane::Exception& error) {
      failure = Utf8(error.Message());
    } catch (const CheckFailed& check) {
      failure = check.what;
    }
    SetThreadLocale(saved);
    quorvane::SetLocaleSettings(savedSettings);
    Expect(failure.empty(), failure);
    Expect(german.size() == english.size(), "as many entries: " + std::to_string(german.size()));
    for (std::size_t i = 0; i < english.size(); ++i)
      Expect(german[i].Date == english[i].Date && german[i].Value == english[i].Value,
             "entry " + std::to_string(i) + " reads the same");
  });

  RunCase("CloseServer releases the last reference; operations then raise", [] {
    // Asked directly: the DLL counts its live objects and locks.
    using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();
    HMODULE dll = GetModuleHandleW(L"QuorvaneServer.dll");
    Expect(dll != nullptr, "the DLL is loaded in process");
    auto canUnloadNow = reinterpret_cast<CanUnloadNow>(
        reinterpret_cast<void (*)()>(GetProcAddress(dll, "DllCanUnloadNow")));
    Expect(canUnloadNow != nullptr, "DllCanUnloadNow is exported");
    Expect(canUnloadNow() == S_FALSE, "in use while connected");
    Expect(quorvane::CloseServer() && !ServerIntf, "closed");
    Expect(canUnloadNow() == S_OK, "no object left behind by the whole run");
    Expect(quorvane::CloseServer(), "closing again answers true");
    bool raised = false;
    try {
      quorvane::Server();
    } catch (const quorvane::Exception&) {
      raised = true;
    }
    Expect(raised, "no operation without a connection");
  });
}

void RunUnregisteredServerCases() {
  RunCase("CreateServer answers false when the class is not registered", [] {
    Expect(!quorvane::CreateServer(), "CreateServer answers false");
    Expect(!platform::IsClassRegistered(quorvane::CLASS_CoQuorvaneAutomation),
           "the platform sees no server, so the window registers its embedded one");
    Expect(!ServerIntf, "ServerIntf stays empty");
  });

  RunCase("the creation error names the status text and the class id", [] {
    std::u16string message;
    try {
      quorvane::CoQuorvaneAutomation::Create()->Release();
    } catch (const quorvane::Exception& error) {
      message = error.Message();
    }
    Expect(message == quorvane::StatusMessage(REGDB_E_CLASSNOTREG) + u", ClassID: " +
                          std::u16string(quorvane::kClassIdText),
           "message \"" + Utf8(message) + "\"");
  });

  RunCase("unregistration removed the class and the program id", [] {
    HKEY key = nullptr;
    const LSTATUS opened = RegOpenKeyExW(
        HKEY_CLASSES_ROOT, (L"CLSID\\" + Wide(quorvane::kClassIdText)).c_str(), 0, KEY_READ, &key);
    if (opened == ERROR_SUCCESS)
      RegCloseKey(key);
    Expect(opened == ERROR_FILE_NOT_FOUND, "the class key is gone");
    CLSID found;
    Expect(FAILED(CLSIDFromProgID(Wide(quorvane::kProgramId).c_str(), &found)),
           "program id still resolves");
  });
}

}  // namespace contract
