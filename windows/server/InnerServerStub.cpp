// Temporary: a server object with fixed replies until the reference server is linked in.
#include "InnerServer.h"

namespace serverdll {
namespace {
class Stub final : public quorvane::IQuorvaneAutomation {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --refs_;
    if (!left)
      delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Get_Visible(VARIANT_BOOL* v) override {
    *v = visible_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Set_Visible(VARIANT_BOOL v) override {
    visible_ = v;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Reserved3() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetCountryList(BSTR* r) override {
    *r = SysAllocString(L";Russia;United_States");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Reserved5() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMinimumWageList(BSTR, BSTR*) override { return Fail(); }
  HRESULT STDMETHODCALLTYPE GetPriceIndexList(BSTR, BSTR*) override { return Fail(); }
  HRESULT STDMETHODCALLTYPE GetFundsRateList(BSTR, BSTR*) override { return Fail(); }
  HRESULT STDMETHODCALLTYPE GetFieldValueList(BSTR, BSTR* r) override {
    *r = SysAllocString(L"RUB,USD");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Reserved10() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetListOfExchangeRate(BSTR, BSTR, BSTR*) override { return Fail(); }
  HRESULT STDMETHODCALLTYPE GetLIDCurrency(BSTR, BSTR, BSTR*) override { return Fail(); }
  HRESULT STDMETHODCALLTYPE Reserved13() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved14() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetExchangeRate(BSTR, BSTR, DATE, BSTR* r) override {
    *r = SysAllocString(L"F75.5");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Reserved16() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved17() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved18() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved19() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved20() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved21() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved22() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved23() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reserved24() override { return E_NOTIMPL; }

 private:
  HRESULT Fail() {
    ICreateErrorInfo* c = nullptr;
    CreateErrorInfo(&c);
    c->SetDescription(const_cast<LPOLESTR>(L"Unknown country. "));
    c->SetSource(const_cast<LPOLESTR>(L"Quorvane.Automation"));
    IErrorInfo* e = nullptr;
    c->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&e));
    SetErrorInfo(0, e);
    e->Release();
    c->Release();
    return E_FAIL;
  }
  ULONG refs_ = 1;
  VARIANT_BOOL visible_ = VARIANT_FALSE;
};
}  // namespace

platform::ComPtr<quorvane::IQuorvaneAutomation> CreateInnerServer() {
  return platform::ComPtr<quorvane::IQuorvaneAutomation>::Adopt(new Stub);
}
}  // namespace serverdll
