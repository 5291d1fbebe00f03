#include "ObservingServer.h"

#include "ComObject.h"

namespace quorvane::cli {

namespace {

// The text result among an operation's arguments (its last, BSTR*), or nullptr.
inline BSTR* TextResult(BSTR* result) {
  return result;
}
template <typename Other>
BSTR* TextResult(Other) {
  return nullptr;
}
template <typename... Arguments>
BSTR* TextResultOf(Arguments... arguments) {
  BSTR* result = nullptr;
  ((result = TextResult(arguments)), ...);
  return result;
}

class ObservingServer final : public platform::ComObject<IQuorvaneAutomation> {
 public:
  ObservingServer(IQuorvaneAutomation* inner, ObservedCall& last) : inner_(inner), last_(last) {
    inner_->AddRef();
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

  // Every operation is passed on and observed; the reserved ones, which the client never calls,
  // are passed on only.
#define QV_OBSERVE_OPERATION(position, name, kind, parameters, arguments)                  \
  HRESULT STDMETHODCALLTYPE name parameters override {                                     \
    return Observe(#name, TextResultOf arguments, [&] { return inner_->name arguments; }); \
  }
#define QV_FORWARD_RESERVED(position)                       \
  HRESULT STDMETHODCALLTYPE Reserved##position() override { \
    return inner_->Reserved##position();                    \
  }
  QUORVANE_OPERATIONS(QV_OBSERVE_OPERATION, QV_FORWARD_RESERVED)
#undef QV_OBSERVE_OPERATION
#undef QV_FORWARD_RESERVED

 private:
  ~ObservingServer() override {
    inner_->Release();
  }

  void* Interface(REFIID riid) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IQuorvaneAutomation)
      return static_cast<IQuorvaneAutomation*>(this);
    return nullptr;
  }

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
};

}  // namespace

IQuorvaneAutomation* NewObservingServer(IQuorvaneAutomation* inner, ObservedCall& last) {
  return new ObservingServer(inner, last);
}

}  // namespace quorvane::cli
