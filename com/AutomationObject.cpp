#include "AutomationObject.h"

#include <chrono>
#include <new>
#include <type_traits>

#include "InnerServer.h"
#include "IsoDate.h"
#include "ServerHost.h"
#include "ServerModule.h"

namespace serverdll {

#if defined(__i386__) || defined(_M_IX86)
// The type library describes the operations as __stdcall; so must the client's interface, or a
// late-bound call through the type library would unbalance the stack.
static_assert(
    std::is_same_v<decltype(&quorvane::IQuorvaneAutomation::GetExchangeRate),
                   HRESULT (__stdcall quorvane::IQuorvaneAutomation::*)(BSTR, BSTR, DATE, BSTR*)>);
static_assert(std::is_same_v<decltype(&quorvane::IQuorvaneAutomation::Set_Visible),
                             HRESULT (__stdcall quorvane::IQuorvaneAutomation::*)(VARIANT_BOOL)>);
#endif

HRESULT AutomationObject::Create(REFIID riid, void** object) {
  if (object == nullptr)
    return E_POINTER;
  *object = nullptr;
  HRESULT made = S_OK;
  platform::ComPtr<quorvane::IQuorvaneAutomation> inner = CreateInnerServer(&made);
  if (!inner)
    return FAILED(made) ? made : E_OUTOFMEMORY;
  auto* created = new (std::nothrow) AutomationObject(std::move(inner));
  if (created == nullptr)
    return E_OUTOFMEMORY;
  const HRESULT status = created->QueryInterface(riid, object);
  created->Release();
  return status;
}

AutomationObject::AutomationObject(platform::ComPtr<quorvane::IQuorvaneAutomation> inner)
    : inner_(std::move(inner)) {
  AddModuleReference();
}

AutomationObject::~AutomationObject() {
  ReleaseModuleReference();
}

void* AutomationObject::Interface(REFIID riid) {
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
      IsEqualIID(riid, quorvane::IID_IQuorvaneAutomation))
    return static_cast<quorvane::IQuorvaneAutomation*>(this);
  if (IsEqualIID(riid, IID_ISupportErrorInfo))
    return static_cast<ISupportErrorInfo*>(this);
  return nullptr;
}

HRESULT AutomationObject::GetTypeInfoCount(UINT* count) {
  if (count == nullptr)
    return E_POINTER;
  *count = InterfaceTypeInfo() ? 1 : 0;
  return S_OK;
}

HRESULT AutomationObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (info == nullptr)
    return E_POINTER;
  *info = nullptr;
  if (index != 0)
    return DISP_E_BADINDEX;
  platform::ComPtr<ITypeInfo> typeInfo = InterfaceTypeInfo();
  if (!typeInfo)
    return TYPE_E_CANTLOADLIBRARY;
  *info = typeInfo.Get();
  (*info)->AddRef();
  return S_OK;
}

HRESULT AutomationObject::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                        DISPID* ids) {
  if (!IsEqualIID(riid, IID_NULL))
    return DISP_E_UNKNOWNINTERFACE;
  platform::ComPtr<ITypeInfo> typeInfo = InterfaceTypeInfo();
  if (!typeInfo)
    return TYPE_E_CANTLOADLIBRARY;
  return DispGetIDsOfNames(typeInfo.Get(), names, count, ids);
}

HRESULT AutomationObject::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                 VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
  if (!IsEqualIID(riid, IID_NULL))
    return DISP_E_UNKNOWNINTERFACE;
  // Parameters that do not hold what their counts say are refused here: the type information's
  // own checks differ between systems.
  if (params == nullptr || (params->cArgs > 0 && params->rgvarg == nullptr) ||
      (params->cNamedArgs > 0 && params->rgdispidNamedArgs == nullptr) ||
      params->cNamedArgs > params->cArgs)
    return E_INVALIDARG;
  platform::ComPtr<ITypeInfo> typeInfo = InterfaceTypeInfo();
  if (!typeInfo)
    return TYPE_E_CANTLOADLIBRARY;
  // The type information calls the operation through this object's function table; a failed
  // operation comes back as DISP_E_EXCEPTION with its error information in *exception.
  return typeInfo->Invoke(static_cast<quorvane::IQuorvaneAutomation*>(this), id, flags, params,
                          result, exception, argumentError);
}

HRESULT AutomationObject::InterfaceSupportsErrorInfo(REFIID riid) {
  return IsEqualIID(riid, quorvane::IID_IQuorvaneAutomation) ? S_OK : S_FALSE;
}

quorvane::IQuorvaneAutomation& AutomationObject::Inner() {
  // Each operation starts with no error information on the thread, so that a failure never
  // carries a description left over from an earlier call.
  SetErrorInfo(0, nullptr);
  return *inner_.Get();
}

namespace {

// An argument as the host's list shows it: texts in quotes cut after 24 characters, days as
// dates; the results are left out (the reply's length is shown).
void Describe(std::wstring& out, BSTR text) {
  const std::wstring whole = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
  out += L"\"" + whole.substr(0, 24) + (whole.size() > 24 ? L"...\"" : L"\"");
}
void Describe(std::wstring& out, DATE day) {
  const std::string date = quorvane::IsoDateText(day);
  out += std::wstring(date.begin(), date.end());
}
void Describe(std::wstring& out, VARIANT_BOOL value) {
  out += value != VARIANT_FALSE ? L"True" : L"False";
}
void Describe(std::wstring&, BSTR*) {}
void Describe(std::wstring&, VARIANT_BOOL*) {}

std::size_t ReplyLength() {
  return 0;
}
template <typename First, typename... Rest>
std::size_t ReplyLength(First first, Rest... rest) {
  if constexpr (std::is_same_v<First, BSTR*>)
    return first != nullptr && *first != nullptr ? SysStringLen(*first) : 0;
  else
    return ReplyLength(rest...);
}

// Visible in a hosting process is its window's.
HRESULT HostVisible(ServerHost& host, VARIANT_BOOL* value) {
  if (value == nullptr)
    return E_POINTER;
  *value = host.Visible() ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}
HRESULT HostVisible(ServerHost& host, VARIANT_BOOL value) {
  host.SetVisible(value != VARIANT_FALSE);
  return S_OK;
}

// One operation: answered by the server's object, or for Visible by the host; noted by the host.
template <quorvane::OperationKind kind, typename Call, typename... Arguments>
HRESULT Answer(const char* operation, Call call, Arguments... arguments) {
  ServerHost* host = Host();
  if (host == nullptr)
    return call();
  host->Entering(operation);
  const auto started = std::chrono::steady_clock::now();
  HRESULT status;
  if constexpr (kind == quorvane::OperationKind::Method)
    status = call();
  else {
    SetErrorInfo(0, nullptr);
    status = HostVisible(*host, arguments...);
  }
  AnsweredCall answered;
  answered.milliseconds =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
  answered.operation.assign(operation, operation + std::char_traits<char>::length(operation));
  (
      [&] {
        const std::size_t before = answered.arguments.size();
        Describe(answered.arguments, arguments);
        if (answered.arguments.size() != before && before > 0)
          answered.arguments.insert(before, L", ");
      }(),
      ...);
  answered.status = status;
  answered.replyLength = SUCCEEDED(status) ? ReplyLength(arguments...) : 0;
  host->Answered(answered);
  return status;
}

}  // namespace

// The operations: each is answered by the server's own object.
#define QV_FORWARD_OPERATION(position, name, kind, parameters, arguments)            \
  HRESULT AutomationObject::name parameters {                                        \
    return Answer<quorvane::OperationKind::kind>(                                    \
        #name, [&] { return Inner().name arguments; }, QV_UNPARENTHESIZE arguments); \
  }
#define QV_FORWARD_RESERVED(position)              \
  HRESULT AutomationObject::Reserved##position() { \
    return Inner().Reserved##position();           \
  }
QUORVANE_OPERATIONS(QV_FORWARD_OPERATION, QV_FORWARD_RESERVED)
#undef QV_FORWARD_OPERATION
#undef QV_FORWARD_RESERVED

}  // namespace serverdll
