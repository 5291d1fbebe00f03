#pragma once
// The server object that the DLL hands out: the reference server's operations, answered by the
// server's own object inside, with IDispatch answered through the embedded type library so that
// late-binding clients reach the same operations by name.

#include <atomic>

#include "Com.h"
#include "ComPtr.h"
#include "QuorvaneInterface.h"

namespace serverdll {

class AutomationObject final : public quorvane::IQuorvaneAutomation, public ISupportErrorInfo {
 public:
  // Makes an object and asks it for riid; the object goes again when that reference is released.
  static HRESULT Create(REFIID riid, void** object);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override;

  HRESULT STDMETHODCALLTYPE Get_Visible(VARIANT_BOOL* Value) override;
  HRESULT STDMETHODCALLTYPE Set_Visible(VARIANT_BOOL Value) override;
  HRESULT STDMETHODCALLTYPE Reserved3() override;
  HRESULT STDMETHODCALLTYPE GetCountryList(BSTR* Result) override;
  HRESULT STDMETHODCALLTYPE Reserved5() override;
  HRESULT STDMETHODCALLTYPE GetMinimumWageList(BSTR Country, BSTR* Result) override;
  HRESULT STDMETHODCALLTYPE GetPriceIndexList(BSTR Country, BSTR* Result) override;
  HRESULT STDMETHODCALLTYPE GetFundsRateList(BSTR Country, BSTR* Result) override;
  HRESULT STDMETHODCALLTYPE GetFieldValueList(BSTR FieldName, BSTR* Result) override;
  HRESULT STDMETHODCALLTYPE Reserved10() override;
  HRESULT STDMETHODCALLTYPE GetListOfExchangeRate(BSTR FromCode, BSTR ToCode,
                                                  BSTR* Result) override;
  HRESULT STDMETHODCALLTYPE GetLIDCurrency(BSTR FieldName, BSTR FieldValue, BSTR* Result) override;
  HRESULT STDMETHODCALLTYPE Reserved13() override;
  HRESULT STDMETHODCALLTYPE Reserved14() override;
  HRESULT STDMETHODCALLTYPE GetExchangeRate(BSTR FromCode, BSTR ToCode, DATE Day,
                                            BSTR* Result) override;
  HRESULT STDMETHODCALLTYPE Reserved16() override;
  HRESULT STDMETHODCALLTYPE Reserved17() override;
  HRESULT STDMETHODCALLTYPE Reserved18() override;
  HRESULT STDMETHODCALLTYPE Reserved19() override;
  HRESULT STDMETHODCALLTYPE Reserved20() override;
  HRESULT STDMETHODCALLTYPE Reserved21() override;
  HRESULT STDMETHODCALLTYPE Reserved22() override;
  HRESULT STDMETHODCALLTYPE Reserved23() override;
  HRESULT STDMETHODCALLTYPE Reserved24() override;

  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override;

 private:
  explicit AutomationObject(platform::ComPtr<quorvane::IQuorvaneAutomation> inner);
  ~AutomationObject();
  // The server's object, for one operation.
  quorvane::IQuorvaneAutomation& Inner();

  std::atomic<ULONG> references_{1};
  platform::ComPtr<quorvane::IQuorvaneAutomation> inner_;
};

}  // namespace serverdll
