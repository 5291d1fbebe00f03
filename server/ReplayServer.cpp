#include "ReplayServer.h"

#include <map>
#include <mutex>
#include <new>

#include "ComObject.h"
#include "QuorvaneInterface.h"
#include "Utf.h"

namespace quorvane::server {

namespace {

// What an operation's parameters are: its arguments, and where its reply goes.
struct Parameters {
  std::vector<RecordedArgument> arguments;
  BSTR* text = nullptr;
  VARIANT_BOOL* truth = nullptr;
};

inline void Note(Parameters& p, BSTR* result) {
  p.text = result;
}
inline void Note(Parameters& p, VARIANT_BOOL* result) {
  p.truth = result;
}
inline void Note(Parameters& p, BSTR text) {
  p.arguments.push_back({RecordedArgument::Kind::Text, platform::BstrText(text)});
}
inline void Note(Parameters& p, DATE day) {
  p.arguments.push_back({RecordedArgument::Kind::Date, {}, day});
}
inline void Note(Parameters& p, VARIANT_BOOL truth) {
  p.arguments.push_back({RecordedArgument::Kind::Truth, {}, 0, truth != VARIANT_FALSE});
}
template <typename... Arguments>
Parameters ParametersOf(Arguments... arguments) {
  Parameters p;
  (Note(p, arguments), ...);
  return p;
}

class ReplayServer final : public platform::ComObject<IQuorvaneAutomation, ISupportErrorInfo> {
 public:
  ReplayServer(std::shared_ptr<const Recording> recording, LocaleSettingsSource source)
      : recording_(std::move(recording)), source_(source) {
    for (std::size_t i = 0; i < recording_->calls.size(); ++i) {
      const RecordedCall& call = recording_->calls[i];
      calls_[RecordedCallKey(call.operation, call.arguments, call.locale)].push_back(i);
    }
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count)
      return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info)
      *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
    return riid == IID_IQuorvaneAutomation ? S_OK : S_FALSE;
  }

#define QV_REPLAY_OPERATION(position, name, kind, parameters, arguments) \
  HRESULT STDMETHODCALLTYPE name parameters override {                   \
    return Answer(#name, ParametersOf arguments);                        \
  }
#define QV_RESERVED_SLOT(position)                          \
  HRESULT STDMETHODCALLTYPE Reserved##position() override { \
    return E_NOTIMPL;                                       \
  }
  QUORVANE_OPERATIONS(QV_REPLAY_OPERATION, QV_RESERVED_SLOT)
#undef QV_REPLAY_OPERATION
#undef QV_RESERVED_SLOT

 private:
  void* Interface(REFIID riid) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IQuorvaneAutomation)
      return static_cast<IQuorvaneAutomation*>(this);
    if (riid == IID_ISupportErrorInfo)
      return static_cast<ISupportErrorInfo*>(this);
    return nullptr;
  }

  // The recorded call for this one: the next of those with its key, the last once all are used.
  const RecordedCall* Recorded(const std::string& key) {
    const std::lock_guard lock(mutex_);
    const auto found = calls_.find(key);
    if (found == calls_.end())
      return nullptr;
    std::size_t& used = used_[key];
    const std::size_t index = found->second[std::min(used, found->second.size() - 1)];
    ++used;
    return &recording_->calls[index];
  }

  HRESULT Answer(const char* operation, Parameters p) {
    if (p.text != nullptr)
      *p.text = nullptr;
    if (p.text == nullptr && p.truth == nullptr && std::string_view(operation) != "Set_Visible")
      return E_POINTER;
    const RecordedLocale locale = RecordedLocaleOf(source_());
    const RecordedCall* call = Recorded(RecordedCallKey(operation, p.arguments, locale));
    if (call == nullptr) {
      SetServerErrorInfo(u"The recording has no call " + RecordedCallText(operation, p.arguments) +
                             u" under the locale settings " + RecordedLocaleText(locale),
                         kReplayErrorSource);
      return static_cast<HRESULT>(kNotRecordedStatus);
    }
    if (call->errorInfo)
      SetServerErrorInfo(call->description, call->source);
    else
      SetErrorInfo(0, nullptr);
    if (call->status >= 0) {
      if (p.truth != nullptr)
        *p.truth = call->truth ? VARIANT_TRUE : VARIANT_FALSE;
      if (p.text != nullptr && call->reply)
        *p.text = platform::AllocBstr(*call->reply);
    }
    return static_cast<HRESULT>(call->status);
  }

  const std::shared_ptr<const Recording> recording_;
  const LocaleSettingsSource source_;
  std::map<std::string, std::vector<std::size_t>> calls_;
  std::mutex mutex_;
  std::map<std::string, std::size_t> used_;
};

LocaleSettings ClientSettings() {
  return CurrentLocaleSettings();
}

}  // namespace

HRESULT CreateReplayServer(std::shared_ptr<const Recording> recording, LocaleSettingsSource source,
                           REFIID riid, void** object) {
  if (!object)
    return E_POINTER;
  *object = nullptr;
  if (!recording || !source)
    return E_INVALIDARG;
  ReplayServer* server = new (std::nothrow) ReplayServer(std::move(recording), source);
  if (!server)
    return E_OUTOFMEMORY;
  const HRESULT status = server->QueryInterface(riid, object);
  server->Release();
  return status;
}

ReplayServerRegistration::ReplayServerRegistration(std::shared_ptr<const Recording> recording)
    : factory_(std::make_unique<platform::ClassObject>([recording](REFIID riid, void** object) {
        return CreateReplayServer(recording, ClientSettings, riid, object);
      })) {
  DWORD cookie = 0;
  const HRESULT status =
      CoRegisterClassObject(CLASS_CoQuorvaneAutomation, static_cast<IClassFactory*>(factory_.get()),
                            CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie);
  registration_ = ReferenceServerRegistration(status, SUCCEEDED(status) ? cookie : 0);
}

ReplayServerRegistration::~ReplayServerRegistration() {
  registration_.Revoke();
}

}  // namespace quorvane::server
