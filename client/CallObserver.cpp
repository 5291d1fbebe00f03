#include "CallObserver.h"

#include "ComObject.h"
#include "IsoDate.h"
#include "Utf.h"

namespace quorvane {

namespace {

// What an operation's parameters give the sink: the text result (its last, BSTR*) or Get_Visible's
// answer, and every argument that goes in.
struct Outcome {
  BSTR* text = nullptr;
  VARIANT_BOOL* truth = nullptr;
  std::vector<CallArgument> arguments;
};

inline void Note(Outcome& outcome, BSTR* result) {
  outcome.text = result;
}
inline void Note(Outcome& outcome, VARIANT_BOOL* result) {
  outcome.truth = result;
}
inline void Note(Outcome& outcome, BSTR text) {
  outcome.arguments.push_back({CallArgument::Kind::Text, platform::BstrText(text)});
}
inline void Note(Outcome& outcome, DATE day) {
  outcome.arguments.push_back({CallArgument::Kind::Date, {}, day});
}
inline void Note(Outcome& outcome, VARIANT_BOOL truth) {
  outcome.arguments.push_back({CallArgument::Kind::Truth, {}, 0, truth != VARIANT_FALSE});
}
template <typename... Arguments>
Outcome OutcomeOf(Arguments... arguments) {
  Outcome outcome;
  (Note(outcome, arguments), ...);
  return outcome;
}

class ObservingServer final : public platform::ComObject<IQuorvaneAutomation> {
 public:
  ObservingServer(CallTarget target, CallSink sink)
      : target_(std::move(target)), sink_(std::move(sink)) {}

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    const auto target = target_();
    return target ? target->GetTypeInfoCount(count) : E_POINTER;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    const auto target = target_();
    return target ? target->GetTypeInfo(index, locale, info) : E_POINTER;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    const auto target = target_();
    return target ? target->GetIDsOfNames(riid, names, count, locale, ids) : E_POINTER;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override {
    const auto target = target_();
    return target
               ? target->Invoke(id, riid, locale, flags, params, result, exception, argumentError)
               : E_POINTER;
  }

  // Every operation is passed on and observed; the reserved ones, which the client never calls,
  // are passed on only.
#define QV_OBSERVE_OPERATION(position, name, kind, parameters, arguments)               \
  HRESULT STDMETHODCALLTYPE name parameters override {                                  \
    return Observe(#name, OutcomeOf arguments,                                          \
                   [&](IQuorvaneAutomation& target) { return target.name arguments; }); \
  }
#define QV_FORWARD_RESERVED(position)                         \
  HRESULT STDMETHODCALLTYPE Reserved##position() override {   \
    const auto target = target_();                            \
    return target ? target->Reserved##position() : E_POINTER; \
  }
  QUORVANE_OPERATIONS(QV_OBSERVE_OPERATION, QV_FORWARD_RESERVED)
#undef QV_OBSERVE_OPERATION
#undef QV_FORWARD_RESERVED

 private:
  void* Interface(REFIID riid) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IQuorvaneAutomation)
      return static_cast<IQuorvaneAutomation*>(this);
    return nullptr;
  }

  template <typename Forward>
  HRESULT Observe(const char* operation, Outcome outcome, Forward forward) {
    ObservedCall call;
    call.operation = operation;
    call.arguments = std::move(outcome.arguments);
    // Held for the whole call, so the object stays alive however the client changes its reference
    // meanwhile.
    const platform::ComPtr<IQuorvaneAutomation> target = target_();
    if (!target)
      return E_POINTER;
    // Each call starts without error information, so what is there afterwards is the server's.
    SetErrorInfo(0, nullptr);
    call.started = std::chrono::system_clock::now();
    const auto started = std::chrono::steady_clock::now();
    call.status = forward(*target.Get());
    call.elapsed = std::chrono::steady_clock::now() - started;
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) == S_OK && info != nullptr) {
      call.errorInfoLeft = true;
      BSTR description = nullptr;
      if (SUCCEEDED(info->GetDescription(&description)))
        call.errorDescription = platform::BstrText(description);
      SysFreeString(description);
      BSTR source = nullptr;
      if (SUCCEEDED(info->GetSource(&source)))
        call.errorSource = platform::BstrText(source);
      SysFreeString(source);
      // Put back for the client's own status check.
      SetErrorInfo(0, info);
      info->Release();
    }
    std::u16string_view reply;
    if (SUCCEEDED(call.status)) {
      if (outcome.text != nullptr && *outcome.text != nullptr) {
        call.replyWasNull = false;
        reply = std::u16string_view(reinterpret_cast<const char16_t*>(*outcome.text),
                                    SysStringLen(*outcome.text));
      } else if (outcome.truth != nullptr) {
        call.replyWasNull = false;
        reply = *outcome.truth != VARIANT_FALSE ? std::u16string_view(u"true") : u"false";
      }
    }
    call.reply = reply;
    sink_(call);
    return call.status;
  }

  CallTarget target_;
  CallSink sink_;
};

}  // namespace

IQuorvaneAutomation* NewObservingServer(CallTarget target, CallSink sink) {
  return new ObservingServer(std::move(target), std::move(sink));
}

IQuorvaneAutomation* NewObservingServer(IQuorvaneAutomation* inner, CallSink sink) {
  platform::ComPtr<IQuorvaneAutomation> held = platform::ComPtr<IQuorvaneAutomation>::Adopt(inner);
  inner->AddRef();
  return NewObservingServer([held] { return held; }, std::move(sink));
}

std::u16string ArgumentText(const CallArgument& argument) {
  switch (argument.kind) {
    case CallArgument::Kind::Text:
      return argument.text;
    case CallArgument::Kind::Date: {
      const std::string time = IsoTimeOfDayText(argument.date);
      return FromUtf8(IsoDateText(argument.date) + (time.empty() ? "" : "T" + time));
    }
    case CallArgument::Kind::Truth:
      return argument.truth ? u"true" : u"false";
  }
  return {};
}

}  // namespace quorvane
