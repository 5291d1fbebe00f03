// The component wrapper: reference counting, the interface table, BSTR arguments and results,
// and failures turned into a status with error information. The replies themselves come from
// the pure functions of Replies.h.

#include "ReferenceServer.h"

#include <atomic>
#include <new>
#include <utility>

#include "ComObject.h"
#include "ComPtr.h"
#include "QuorvaneInterface.h"
#include "Replies.h"
#include "Utf.h"

namespace quorvane::server {

namespace {

std::atomic<long> g_useCount{0};

constexpr const char16_t* kErrorSource = u"Quorvane.ReferenceServer";

// Runs one operation: its reply becomes the BSTR result, its failure the status with error
// information. Nothing escapes as an exception.
template <typename Build>
HRESULT Run(BSTR* result, Build build) {
  if (!result)
    return E_POINTER;
  *result = nullptr;
  Reply reply;
  try {
    reply = build();
  } catch (const DataError& e) {
    reply = Reply::Fail(Failure::DataFault, FromUtf8(e.what()));
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const std::exception& e) {
    reply = {static_cast<std::int32_t>(E_UNEXPECTED),
             u"The reference server failed: " + FromUtf8(e.what())};
  }
  if (!reply.Succeeded()) {
    SetServerErrorInfo(reply.Text, kErrorSource);
    return static_cast<HRESULT>(reply.Status);
  }
  SetErrorInfo(0, nullptr);
  *result = platform::AllocBstr(reply.Text);
  return S_OK;
}

LocaleSettings ClientLocaleSettings() {
  return CurrentLocaleSettings();
}

class ReferenceServer final : public platform::ComObject<IQuorvaneAutomation, ISupportErrorInfo> {
 public:
  explicit ReferenceServer(LocaleSettingsSource localeSource) : localeSource_(localeSource) {
    ++g_useCount;
  }

  // IDispatch: the server is called through its function table only.
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

  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
    return riid == IID_IQuorvaneAutomation ? S_OK : S_FALSE;
  }

  // IQuorvaneAutomation: the slots that no client calls answer E_NOTIMPL.
#define QV_NOT_HERE(position, name, kind, parameters, arguments)
#define QV_RESERVED_SLOT(position)                          \
  HRESULT STDMETHODCALLTYPE Reserved##position() override { \
    return E_NOTIMPL;                                       \
  }
  QUORVANE_OPERATIONS(QV_NOT_HERE, QV_RESERVED_SLOT)
#undef QV_NOT_HERE
#undef QV_RESERVED_SLOT

  HRESULT STDMETHODCALLTYPE Get_Visible(VARIANT_BOOL* value) override {
    if (!value)
      return E_POINTER;
    *value = visible_ ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Set_Visible(VARIANT_BOOL value) override {
    visible_ = value != VARIANT_FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCountryList(BSTR* result) override {
    return Run(result, [] { return CountryListReply(ReferenceData()); });
  }
  HRESULT STDMETHODCALLTYPE GetMinimumWageList(BSTR country, BSTR* result) override {
    return Run(result, [&] {
      return MinimumWageReply(ReferenceData(), platform::BstrText(country), localeSource_());
    });
  }
  HRESULT STDMETHODCALLTYPE GetPriceIndexList(BSTR country, BSTR* result) override {
    return Run(result, [&] {
      return PriceIndexReply(ReferenceData(), platform::BstrText(country), localeSource_());
    });
  }
  HRESULT STDMETHODCALLTYPE GetFundsRateList(BSTR country, BSTR* result) override {
    return Run(result, [&] {
      return FundsRateReply(ReferenceData(), platform::BstrText(country), localeSource_());
    });
  }
  HRESULT STDMETHODCALLTYPE GetFieldValueList(BSTR field, BSTR* result) override {
    return Run(result, [&] { return FieldValueReply(ReferenceData(), platform::BstrText(field)); });
  }
  HRESULT STDMETHODCALLTYPE GetListOfExchangeRate(BSTR from, BSTR to, BSTR* result) override {
    return Run(result, [&] {
      return ExchangeHistoryReply(ReferenceData(), platform::BstrText(from), platform::BstrText(to),
                                  localeSource_());
    });
  }
  HRESULT STDMETHODCALLTYPE GetLIDCurrency(BSTR field, BSTR value, BSTR* result) override {
    return Run(result, [&] {
      return LetterCodeReply(ReferenceData(), platform::BstrText(field), platform::BstrText(value));
    });
  }
  HRESULT STDMETHODCALLTYPE GetExchangeRate(BSTR from, BSTR to, DATE day, BSTR* result) override {
    return Run(result, [&] {
      return ExchangeRateReply(ReferenceData(), platform::BstrText(from), platform::BstrText(to),
                               day, localeSource_());
    });
  }

 private:
  ~ReferenceServer() override {
    --g_useCount;
  }

  void* Interface(REFIID riid) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IQuorvaneAutomation)
      return static_cast<IQuorvaneAutomation*>(this);
    if (riid == IID_ISupportErrorInfo)
      return static_cast<ISupportErrorInfo*>(this);
    return nullptr;
  }

  const LocaleSettingsSource localeSource_;
  bool visible_ = false;
};

HRESULT CreateServerObject(LocaleSettingsSource source, REFIID riid, void** object) {
  if (!object)
    return E_POINTER;
  *object = nullptr;
  if (!source)
    return E_INVALIDARG;
  ReferenceServer* server = new (std::nothrow) ReferenceServer(source);
  if (!server)
    return E_OUTOFMEMORY;
  HRESULT status = server->QueryInterface(riid, object);
  server->Release();  // the object dies here when the interface was not found
  return status;
}

// One class object for the process; it lives as long as the program and counts only its locks.
// Its objects write under the client's process-wide settings.
platform::ClassObject g_factory(
    [](REFIID riid, void** object) {
      return CreateServerObject(ClientLocaleSettings, riid, object);
    },
    [](int change) { g_useCount += change; });

}  // namespace

void SetServerErrorInfo(std::u16string_view description, std::u16string_view source) {
  platform::ComPtr<ICreateErrorInfo> create;
  if (FAILED(CreateErrorInfo(create.Put())))
    return;
  BSTR text = platform::AllocBstr(description);
  BSTR from = platform::AllocBstr(source);
  create->SetGUID(IID_IQuorvaneAutomation);
  create->SetDescription(text);
  create->SetSource(from);
  SysFreeString(text);
  SysFreeString(from);
  platform::ComPtr<IErrorInfo> info;
  if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(info.Put()))))
    SetErrorInfo(0, info.Get());
}

HRESULT GetReferenceServerClassObject(REFIID riid, void** object) {
  return g_factory.QueryInterface(riid, object);
}

HRESULT CreateReferenceServer(LocaleSettingsSource source, REFIID riid, void** object) {
  return CreateServerObject(source, riid, object);
}

long ReferenceServerUseCount() {
  return g_useCount.load();
}

ReferenceServerRegistration::ReferenceServerRegistration(
    ReferenceServerRegistration&& other) noexcept
    : status_(std::exchange(other.status_, E_FAIL)), cookie_(std::exchange(other.cookie_, 0)) {}

ReferenceServerRegistration& ReferenceServerRegistration::operator=(
    ReferenceServerRegistration&& other) noexcept {
  if (this != &other) {
    Revoke();
    status_ = std::exchange(other.status_, E_FAIL);
    cookie_ = std::exchange(other.cookie_, 0);
  }
  return *this;
}

ReferenceServerRegistration::~ReferenceServerRegistration() {
  Revoke();
}

void ReferenceServerRegistration::Revoke() {
  if (cookie_ != 0)
    CoRevokeClassObject(cookie_);
  cookie_ = 0;
  status_ = E_FAIL;
}

ReferenceServerRegistration RegisterReferenceServer() {
  DWORD cookie = 0;
  HRESULT status =
      CoRegisterClassObject(CLASS_CoQuorvaneAutomation, static_cast<IClassFactory*>(&g_factory),
                            CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie);
  return ReferenceServerRegistration(status, SUCCEEDED(status) ? cookie : 0);
}

}  // namespace quorvane::server
