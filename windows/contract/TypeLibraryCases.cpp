// The registered type library against the client's interface: every operation that a late-bound
// client calls by name must land on the function-table entry of the same position.

#include <string>
#include <vector>

#include "Cases.h"
#include "Check.h"
#include "Com.h"
#include "ComPtr.h"
#include "Quorvane_TLB.h"

namespace contract {

namespace {

// {33723DF6-6FFF-4C05-8E57-1C5B556170B5}
const GUID kLibraryId = {
    0x33723DF6, 0x6FFF, 0x4C05, {0x8E, 0x57, 0x1C, 0x5B, 0x55, 0x61, 0x70, 0xB5}};

// The positions of the interface's operations, as the client's interface orders them.
struct Operation {
  const wchar_t* name;
  INVOKEKIND kind;
  int position;
};
const Operation kOperations[] = {
    {L"Visible", INVOKE_PROPERTYGET, 1},
    {L"Visible", INVOKE_PROPERTYPUT, 2},
    {L"Reserved3", INVOKE_FUNC, 3},
    {L"GetCountryList", INVOKE_FUNC, 4},
    {L"Reserved5", INVOKE_FUNC, 5},
    {L"GetMinimumWageList", INVOKE_FUNC, 6},
    {L"GetPriceIndexList", INVOKE_FUNC, 7},
    {L"GetFundsRateList", INVOKE_FUNC, 8},
    {L"GetFieldValueList", INVOKE_FUNC, 9},
    {L"Reserved10", INVOKE_FUNC, 10},
    {L"GetListOfExchangeRate", INVOKE_FUNC, 11},
    {L"GetLIDCurrency", INVOKE_FUNC, 12},
    {L"Reserved13", INVOKE_FUNC, 13},
    {L"Reserved14", INVOKE_FUNC, 14},
    {L"GetExchangeRate", INVOKE_FUNC, 15},
    {L"Reserved16", INVOKE_FUNC, 16},
    {L"Reserved17", INVOKE_FUNC, 17},
    {L"Reserved18", INVOKE_FUNC, 18},
    {L"Reserved19", INVOKE_FUNC, 19},
    {L"Reserved20", INVOKE_FUNC, 20},
    {L"Reserved21", INVOKE_FUNC, 21},
    {L"Reserved22", INVOKE_FUNC, 22},
    {L"Reserved23", INVOKE_FUNC, 23},
    {L"Reserved24", INVOKE_FUNC, 24},
};

// An object of the client's interface whose every operation records its own position.
class SlotProbe final : public quorvane::IQuorvaneAutomation {
 public:
  int called = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return Called(-1); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return Called(-1); }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return Called(-1);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return Called(-1);
  }
  HRESULT STDMETHODCALLTYPE Get_Visible(VARIANT_BOOL* value) override {
    *value = VARIANT_FALSE;
    return Called(1);
  }
  HRESULT STDMETHODCALLTYPE Set_Visible(VARIANT_BOOL) override { return Called(2); }
  HRESULT STDMETHODCALLTYPE Reserved3() override { return Called(3); }
  HRESULT STDMETHODCALLTYPE GetCountryList(BSTR* r) override { return Text(r, 4); }
  HRESULT STDMETHODCALLTYPE Reserved5() override { return Called(5); }
  HRESULT STDMETHODCALLTYPE GetMinimumWageList(BSTR, BSTR* r) override { return Text(r, 6); }
  HRESULT STDMETHODCALLTYPE GetPriceIndexList(BSTR, BSTR* r) override { return Text(r, 7); }
  HRESULT STDMETHODCALLTYPE GetFundsRateList(BSTR, BSTR* r) override { return Text(r, 8); }
  HRESULT STDMETHODCALLTYPE GetFieldValueList(BSTR, BSTR* r) override { return Text(r, 9); }
  HRESULT STDMETHODCALLTYPE Reserved10() override { return Called(10); }
  HRESULT STDMETHODCALLTYPE GetListOfExchangeRate(BSTR, BSTR, BSTR* r) override {
    return Text(r, 11);
  }
  HRESULT STDMETHODCALLTYPE GetLIDCurrency(BSTR, BSTR, BSTR* r) override { return Text(r, 12); }
  HRESULT STDMETHODCALLTYPE Reserved13() override { return Called(13); }
  HRESULT STDMETHODCALLTYPE Reserved14() override { return Called(14); }
  HRESULT STDMETHODCALLTYPE GetExchangeRate(BSTR, BSTR, DATE, BSTR* r) override {
    return Text(r, 15);
  }
  HRESULT STDMETHODCALLTYPE Reserved16() override { return Called(16); }
  HRESULT STDMETHODCALLTYPE Reserved17() override { return Called(17); }
  HRESULT STDMETHODCALLTYPE Reserved18() override { return Called(18); }
  HRESULT STDMETHODCALLTYPE Reserved19() override { return Called(19); }
  HRESULT STDMETHODCALLTYPE Reserved20() override { return Called(20); }
  HRESULT STDMETHODCALLTYPE Reserved21() override { return Called(21); }
  HRESULT STDMETHODCALLTYPE Reserved22() override { return Called(22); }
  HRESULT STDMETHODCALLTYPE Reserved23() override { return Called(23); }
  HRESULT STDMETHODCALLTYPE Reserved24() override { return Called(24); }

 private:
  HRESULT Called(int position) {
    called = position;
    return S_OK;
  }
  HRESULT Text(BSTR* result, int position) {
    *result = nullptr;
    return Called(position);
  }
};

platform::ComPtr<ITypeInfo> RegisteredInterfaceVtableView() {
  platform::ComPtr<ITypeLib> library;
  Expect(SUCCEEDED(LoadRegTypeLib(kLibraryId, 1, 0, LOCALE_NEUTRAL, library.Put())),
         "the type library is registered");
  platform::ComPtr<ITypeInfo> dispatchView;
  Expect(
      SUCCEEDED(library->GetTypeInfoOfGuid(quorvane::IID_IQuorvaneAutomation, dispatchView.Put())),
      "the library describes the interface");
  HREFTYPE reference = 0;
  platform::ComPtr<ITypeInfo> vtableView;
  Expect(SUCCEEDED(dispatchView->GetRefTypeOfImplType(-1, &reference)) &&
             SUCCEEDED(dispatchView->GetRefTypeInfo(reference, vtableView.Put())),
         "the interface is dual");
  return vtableView;
}

// Arguments of the right kinds for one operation, in the reverse order that dispatch expects.
std::vector<VARIANT> ArgumentsFor(const FUNCDESC& function) {
  std::vector<VARIANT> arguments;
  for (int i = function.cParams - 1; i >= 0; --i) {
    const ELEMDESC& parameter = function.lprgelemdescParam[i];
    if (parameter.paramdesc.wParamFlags & PARAMFLAG_FRETVAL)
      continue;
    VARIANT value;
    VariantInit(&value);
    value.vt = parameter.tdesc.vt;  // BSTR (null), DATE or VARIANT_BOOL: zero is a valid value
    arguments.push_back(value);
  }
  return arguments;
}

}  // namespace

void RunTypeLibraryCases() {
  RunCase("type library: every operation by name lands on its position in the function table", [] {
    platform::ComPtr<ITypeInfo> info = RegisteredInterfaceVtableView();
    TYPEATTR* attributes = nullptr;
    Expect(SUCCEEDED(info->GetTypeAttr(&attributes)), "type attributes");
    const int functions = attributes->cFuncs;
    info->ReleaseTypeAttr(attributes);
    Expect(functions == 24, "24 operations, not " + std::to_string(functions));
    for (const Operation& operation : kOperations) {
      const std::string name = Utf8(std::u16string(
          operation.name, operation.name + std::char_traits<wchar_t>::length(operation.name)));
      LPOLESTR names[] = {const_cast<LPOLESTR>(operation.name)};
      MEMBERID id = 0;
      Expect(SUCCEEDED(info->GetIDsOfNames(names, 1, &id)), name + " is described");
      Expect(id == (operation.kind == INVOKE_PROPERTYPUT ? 1 : operation.position),
             name + ": dispatch id " + std::to_string(id));
      FUNCDESC* function = nullptr;
      for (int i = 0; i < functions && function == nullptr; ++i) {
        FUNCDESC* candidate = nullptr;
        info->GetFuncDesc(i, &candidate);
        if (candidate->memid == id && candidate->invkind == operation.kind)
          function = candidate;
        else
          info->ReleaseFuncDesc(candidate);
      }
      Expect(function != nullptr, name + " has its kind");
      Expect(function->callconv == CC_STDCALL, name + " is __stdcall");
      std::vector<VARIANT> arguments = ArgumentsFor(*function);
      info->ReleaseFuncDesc(function);
      DISPID named = DISPID_PROPERTYPUT;
      DISPPARAMS params = {arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
      if (operation.kind == INVOKE_PROPERTYPUT) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
      }
      SlotProbe probe;
      VARIANT result;
      VariantInit(&result);
      const HRESULT status =
          info->Invoke(static_cast<quorvane::IQuorvaneAutomation*>(&probe), id,
                       static_cast<WORD>(operation.kind), &params, &result, nullptr, nullptr);
      VariantClear(&result);
      Expect(SUCCEEDED(status), name + " invoked: " + Hex(status));
      Expect(probe.called == operation.position, name + " reached position " +
                                                     std::to_string(probe.called) + ", not " +
                                                     std::to_string(operation.position));
    }
  });
}

}  // namespace contract
