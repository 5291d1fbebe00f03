// Late-bound calls that a script host or a careless client may make: wrong types, wrong counts,
// null pointers and named arguments. Each must come back with the status that says what is wrong,
// and the calls that are right must still answer.

#include <string>
#include <vector>

#include "Cases.h"
#include "Check.h"
#include "Com.h"
#include "ComPtr.h"
#include "Quorvane_TLB.h"

namespace contract {

namespace {

// Dispatch ids are the operations' positions in the interface.
constexpr DISPID kVisible = 1, kGetCountryList = 4, kGetMinimumWageList = 6, kGetExchangeRate = 15;

// An argument as the case writes it; arguments are listed in call order (the dispatch
// parameters hold them last first).
struct Arg {
  VARTYPE Type;
  const wchar_t* Text = nullptr;  // VT_BSTR, VT_BSTR | VT_BYREF
  double Number = 0;              // VT_I4, VT_R8, VT_DATE, VT_BOOL
};

enum class Shape {
  Normal,
  NullParams,        // no DISPPARAMS at all
  NullArguments,     // a count of arguments without the array
  NullNamedIds,      // a count of named arguments without their ids
  MoreNamedThanAll,  // more named arguments than arguments
};

struct DispatchCase {
  const char* Why;
  DISPID Id;
  WORD Flags;
  std::vector<Arg> Args;
  std::vector<DISPID> Named;  // ids of the first arguments of the array (the last in call order)
  Shape Form;
  bool NoResult;  // a null result pointer
  bool NoExcepInfo;
  HRESULT Expected;
  SCODE ExpectedCode;     // for DISP_E_EXCEPTION: the server's status
  bool ExpectText;        // a successful call answers a text
  HRESULT OrElse = S_OK;  // where systems differ: another status that says the same
};

const DispatchCase kCases[] = {
    {"a right call answers",
     kGetCountryList,
     DISPATCH_METHOD,
     {},
     {},
     Shape::Normal,
     false,
     false,
     S_OK,
     0,
     true},
    {"a result pointer may be null: the reply is dropped",
     kGetCountryList,
     DISPATCH_METHOD,
     {},
     {},
     Shape::Normal,
     true,
     false,
     S_OK,
     0,
     false},
    {"one argument too many",
     kGetCountryList,
     DISPATCH_METHOD,
     {{VT_BSTR, L"x"}},
     {},
     Shape::Normal,
     false,
     false,
     DISP_E_BADPARAMCOUNT,
     0,
     false},
    {"a missing argument",
     kGetMinimumWageList,
     DISPATCH_METHOD,
     {},
     {},
     Shape::Normal,
     false,
     false,
     DISP_E_BADPARAMCOUNT,
     0,
     false},
    {"a number for a text is converted, then names no country",
     kGetMinimumWageList,
     DISPATCH_METHOD,
     {{VT_I4, nullptr, 5}},
     {},
     Shape::Normal,
     false,
     false,
     DISP_E_EXCEPTION,
     static_cast<SCODE>(0x80040201),
     false},
    {"a null text is the empty text",
     kGetMinimumWageList,
     DISPATCH_METHOD,
     {{VT_BSTR, nullptr}},
     {},
     Shape::Normal,
     false,
     false,
     DISP_E_EXCEPTION,
     static_cast<SCODE>(0x80040201),
     false},
    {"a text by reference, as script hosts pass it",
     kGetMinimumWageList,
     DISPATCH_METHOD,
     {{VT_BSTR | VT_BYREF, L"Russia"}},
     {},
     Shape::Normal,
     false,
     false,
     S_OK,
     0,
     true},
    {"an object for a text cannot be converted",
     kGetMinimumWageList,
     DISPATCH_METHOD,
     {{VT_UNKNOWN}},
     {},
     Shape::Normal,
     false,
     false,
     DISP_E_TYPEMISMATCH,
     0,
     false},
    {"a text that is no date, for the date",
     kGetExchangeRate,
     DISPATCH_METHOD,
     {{VT_BSTR, L"USD"}, {VT_BSTR, L"RUB"}, {VT_BSTR, L"no date"}},
     {},
     Shape::Normal,
     false,
     false,
     DISP_E_TYPEMISMATCH,
     0,
     false},
    {"the failure of the operation without room for its description",
     kGetMinimumWageList,
     DISPATCH_METHOD,
     {{VT_BSTR, L"Atlantis"}},
     {},
     Shape::Normal,
     false,
     true,
     DISP_E_EXCEPTION,
     0,
     false},
    {"a named argument the operation does not have",
     kGetMinimumWageList,
     DISPATCH_METHOD,
     {{VT_BSTR, L"Russia"}},
     {77},
     Shape::Normal,
     false,
     false,
     DISP_E_PARAMNOTFOUND,
     0,
     false,
     DISP_E_BADPARAMCOUNT},
    {"a property put by its named argument",
     kVisible,
     DISPATCH_PROPERTYPUT,
     {{VT_BOOL, nullptr, 0}},
     {DISPID_PROPERTYPUT},
     Shape::Normal,
     false,
     false,
     S_OK,
     0,
     false},
    {"an id that names no operation",
     999,
     DISPATCH_METHOD,
     {},
     {},
     Shape::Normal,
     false,
     false,
     DISP_E_MEMBERNOTFOUND,
     0,
     false},
    {"no dispatch parameters",
     kGetCountryList,
     DISPATCH_METHOD,
     {},
     {},
     Shape::NullParams,
     false,
     false,
     E_INVALIDARG,
     0,
     false},
    {"a count of arguments without the arguments",
     kGetMinimumWageList,
     DISPATCH_METHOD,
     {{VT_BSTR, L"Russia"}},
     {},
     Shape::NullArguments,
     false,
     false,
     E_INVALIDARG,
     0,
     false},
    {"a count of named arguments without their ids",
     kGetMinimumWageList,
     DISPATCH_METHOD,
     {{VT_BSTR, L"Russia"}},
     {0},
     Shape::NullNamedIds,
     false,
     false,
     E_INVALIDARG,
     0,
     false},
    {"more named arguments than arguments",
     kGetCountryList,
     DISPATCH_METHOD,
     {},
     {0},
     Shape::MoreNamedThanAll,
     false,
     false,
     E_INVALIDARG,
     0,
     false},
};

// Calls one case; the arguments' storage lives here for the call.
std::string RunDispatchCase(IDispatch& dispatch, const DispatchCase& c) {
  std::vector<BSTR> texts;
  texts.reserve(c.Args.size());  // arguments by reference point into it
  std::vector<VARIANT> args(c.Args.size());
  for (std::size_t i = 0; i < c.Args.size(); ++i) {
    const Arg& a = c.Args[c.Args.size() - 1 - i];  // last argument first
    VARIANT& v = args[i];
    VariantInit(&v);
    v.vt = a.Type;
    switch (a.Type & ~VT_BYREF) {
      case VT_BSTR:
        texts.push_back(a.Text ? SysAllocString(a.Text) : nullptr);
        if (a.Type & VT_BYREF)
          v.pbstrVal = &texts.back();
        else
          v.bstrVal = texts.back();
        break;
      case VT_I4:
        v.lVal = static_cast<LONG>(a.Number);
        break;
      case VT_BOOL:
        v.boolVal = a.Number != 0 ? VARIANT_TRUE : VARIANT_FALSE;
        break;
      case VT_UNKNOWN:
        v.punkVal = nullptr;
        break;
      default:
        v.dblVal = a.Number;
        break;
    }
  }
  std::vector<DISPID> named = c.Named;
  DISPPARAMS params = {args.empty() ? nullptr : args.data(), named.empty() ? nullptr : named.data(),
                       static_cast<UINT>(args.size()), static_cast<UINT>(named.size())};
  if (c.Form == Shape::NullArguments)
    params.rgvarg = nullptr;
  if (c.Form == Shape::NullNamedIds)
    params.rgdispidNamedArgs = nullptr;
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO exception = {};
  UINT argumentError = 0;
  const HRESULT status = dispatch.Invoke(
      c.Id, IID_NULL, LOCALE_USER_DEFAULT, c.Flags, c.Form == Shape::NullParams ? nullptr : &params,
      c.NoResult ? nullptr : &result, c.NoExcepInfo ? nullptr : &exception, &argumentError);
  std::string failure;
  if (status != c.Expected && (c.OrElse == S_OK || status != c.OrElse))
    failure = "status " + Hex(status) + ", expected " + Hex(c.Expected);
  else if (c.ExpectedCode != 0 && exception.scode != c.ExpectedCode)
    failure = "the server's status " + Hex(exception.scode) + ", expected " + Hex(c.ExpectedCode);
  else if (c.ExpectText && (result.vt != VT_BSTR || SysStringLen(result.bstrVal) == 0))
    failure = "no text in the result (type " + std::to_string(result.vt) + ")";
  // A failed call may leave the result's type behind, never a reply.
  else if (FAILED(status) && result.vt != VT_EMPTY &&
           !(result.vt == VT_BSTR && SysStringLen(result.bstrVal) == 0))
    failure = "a failed call left a result of type " + std::to_string(result.vt);
  VariantClear(&result);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  for (BSTR text : texts)
    SysFreeString(text);
  return failure;
}

}  // namespace

void RunDispatchArgumentCases() {
  RunCase("late-bound calls with wrong types, counts, null pointers and named arguments", [] {
    platform::ComPtr<IDispatch> dispatch;
    const HRESULT made =
        CoCreateInstance(quorvane::CLASS_CoQuorvaneAutomation, nullptr, CLSCTX_INPROC_SERVER,
                         IID_IDispatch, reinterpret_cast<void**>(dispatch.Put()));
    Expect(SUCCEEDED(made), "CoCreateInstance: " + Hex(made));
    std::string failures;
    for (const DispatchCase& c : kCases) {
      const std::string failure = RunDispatchCase(*dispatch.Get(), c);
      if (!failure.empty())
        failures += std::string("\n  ") + c.Why + ": " + failure;
    }
    Expect(failures.empty(), failures);

    // A wrong interface id is refused before anything is called.
    const IID other = quorvane::IID_IQuorvaneAutomation;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    VARIANT result;
    VariantInit(&result);
    const HRESULT status = dispatch->Invoke(kGetCountryList, other, LOCALE_USER_DEFAULT,
                                            DISPATCH_METHOD, &none, &result, nullptr, nullptr);
    Expect(status == DISP_E_UNKNOWNINTERFACE, "another interface id: " + Hex(status));
  });
}

}  // namespace contract
