#include "ObservingServer.h"

#include <atomic>

namespace quorvane::cli {

namespace {

class ObservingServer final : public IQuorvaneAutomation {
 public:
  ObservingServer(IQuorvaneAutomation* inner, ObservedCall& last) : inner_(inner), last_(last) {
    inner_->AddRef();
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr)
      return E_POINTER;
    *object = nullptr;
    if (!(riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IQuorvaneAutomation))
      return E_NOINTERFACE;
    *object = static_cast<IQuorvaneAutomation*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0)
      delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return inner_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return inner_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return inner_->GetIDsOfNames(riid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override {
    return inner_->Invoke(id, riid, locale, flags, params, result, exception, argumentError);
  }

  HRESULT STDMETHODCALLTYPE Get_Visible(VARIANT_BOOL* Value) override {
    return Observe("Get_Visible", nullptr, [&] { return inner_->Get_Visible(Value); });
  }
  HRESULT STDMETHODCALLTYPE Set_Visible(VARIANT_BOOL Value) override {
    return Observe("Set_Visible", nullptr, [&] { return inner_->Set_Visible(Value); });
  }
  HRESULT STDMETHODCALLTYPE GetCountryList(BSTR* Result) override {
    return Observe("GetCountryList", Result, [&] { return inner_->GetCountryList(Result); });
  }
  HRESULT STDMETHODCALLTYPE GetMinimumWageList(BSTR Country, BSTR* Result) override {
    return Observe("GetMinimumWageList", Result,
                   [&] { return inner_->GetMinimumWageList(Country, Result); });
  }
  HRESULT STDMETHODCALLTYPE GetPriceIndexList(BSTR Country, BSTR* Result) override {
    return Observe("GetPriceIndexList", Result,
                   [&] { return inner_->GetPriceIndexList(Country, Result); });
  }
  HRESULT STDMETHODCALLTYPE GetFundsRateList(BSTR Country, BSTR* Result) override {
    return Observe("GetFundsRateList", Result,
                   [&] { return inner_->GetFundsRateList(Country, Result); });
  }
  HRESULT STDMETHODCALLTYPE GetFieldValueList(BSTR FieldName, BSTR* Result) override {
    return Observe("GetFieldValueList", Result,
                   [&] { return inner_->GetFieldValueList(FieldName, Result); });
  }
  HRESULT STDMETHODCALLTYPE GetListOfExchangeRate(BSTR FromCode, BSTR ToCode,
                                                  BSTR* Result) override {
    return Observe("GetListOfExchangeRate", Result,
                   [&] { return inner_->GetListOfExchangeRate(FromCode, ToCode, Result); });
  }
  HRESULT STDMETHODCALLTYPE GetLIDCurrency(BSTR FieldName, BSTR FieldValue, BSTR* Result) override {
    return Observe("GetLIDCurrency", Result,
                   [&] { return inner_->GetLIDCurrency(FieldName, FieldValue, Result); });
  }
  HRESULT STDMETHODCALLTYPE GetExchangeRate(BSTR FromCode, BSTR ToCode, DATE Day,
                                            BSTR* Result) override {
    return Observe("GetExchangeRate", Result,
                   [&] { return inner_->GetExchangeRate(FromCode, ToCode, Day, Result); });
  }
  // The client never calls these.
  HRESULT STDMETHODCALLTYPE Reserved3() override { return inner_->Reserved3(); }
  HRESULT STDMETHODCALLTYPE Reserved5() override { return inner_->Reserved5(); }
  HRESULT STDMETHODCALLTYPE Reserved10() override { return inner_->Reserved10(); }
  HRESULT STDMETHODCALLTYPE Reserved13() override { return inner_->Reserved13(); }
  HRESULT STDMETHODCALLTYPE Reserved14() override { return inner_->Reserved14(); }
  HRESULT STDMETHODCALLTYPE Reserved16() override { return inner_->Reserved16(); }
  HRESULT STDMETHODCALLTYPE Reserved17() override { return inner_->Reserved17(); }
  HRESULT STDMETHODCALLTYPE Reserved18() override { return inner_->Reserved18(); }
  HRESULT STDMETHODCALLTYPE Reserved19() override { return inner_->Reserved19(); }
  HRESULT STDMETHODCALLTYPE Reserved20() override { return inner_->Reserved20(); }
  HRESULT STDMETHODCALLTYPE Reserved21() override { return inner_->Reserved21(); }
  HRESULT STDMETHODCALLTYPE Reserved22() override { return inner_->Reserved22(); }
  HRESULT STDMETHODCALLTYPE Reserved23() override { return inner_->Reserved23(); }
  HRESULT STDMETHODCALLTYPE Reserved24() override { return inner_->Reserved24(); }

 private:
  ~ObservingServer() { inner_->Release(); }

  template <typename Forward>
  HRESULT Observe(const char* operation, BSTR* result, Forward forward) {
    ObservedCall call;
    call.operation = operation;
    // Each call starts without error information, so what is there afterwards is the server's.
    SetErrorInfo(0, nullptr);
    const auto started = std::chrono::steady_clock::now();
    call.status = forward();
    call.elapsed = std::chrono::steady_clock::now() - started;
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) == S_OK && info != nullptr) {
      call.errorInfoLeft = true;
      BSTR description = nullptr;
      if (SUCCEEDED(info->GetDescription(&description)))
        call.errorDescription = platform::BstrText(description);
      SysFreeString(description);
      // Put back for the client's own status check.
      SetErrorInfo(0, info);
      info->Release();
    }
    if (result != nullptr && SUCCEEDED(call.status)) {
      call.replyWasNull = *result == nullptr;
      call.reply = platform::BstrText(*result);
    }
    last_ = std::move(call);
    return last_.status;
  }

  IQuorvaneAutomation* inner_;
  ObservedCall& last_;
  std::atomic<ULONG> references_{1};
};

}  // namespace

IQuorvaneAutomation* NewObservingServer(IQuorvaneAutomation* inner, ObservedCall& last) {
  return new ObservingServer(inner, last);
}

}  // namespace quorvane::cli
