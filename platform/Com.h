#pragma once
// The component runtime as the client and the servers see it. On Windows these are the system's own
// declarations; elsewhere a small runtime of ours with the same names, shapes and slot layout.

#include <cstdint>
#include <string>
#include <string_view>

#if defined(_WIN32)

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#else  // the portable runtime

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;
using DWORD = std::uint32_t;
using WORD = std::uint16_t;
using UINT = unsigned int;
using LONG = std::int32_t;
using LCID = std::uint32_t;
using DISPID = std::int32_t;
using OLECHAR = char16_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
using BSTR = OLECHAR*;
using VARIANT_BOOL = std::int16_t;
using DATE = double;
using LPVOID = void*;

#define STDMETHODCALLTYPE
#define VARIANT_TRUE (static_cast<VARIANT_BOOL>(-1))
#define VARIANT_FALSE (static_cast<VARIANT_BOOL>(0))

inline constexpr HRESULT MakeHresult(std::uint32_t bits) {
  return static_cast<HRESULT>(bits);
}
inline constexpr bool SUCCEEDED(HRESULT hr) {
  return hr >= 0;
}
inline constexpr bool FAILED(HRESULT hr) {
  return hr < 0;
}

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = MakeHresult(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = MakeHresult(0x80004002);
inline constexpr HRESULT E_POINTER = MakeHresult(0x80004003);
inline constexpr HRESULT E_ABORT = MakeHresult(0x80004004);
inline constexpr HRESULT E_FAIL = MakeHresult(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = MakeHresult(0x8000FFFF);
inline constexpr HRESULT E_ACCESSDENIED = MakeHresult(0x80070005);
inline constexpr HRESULT E_HANDLE = MakeHresult(0x80070006);
inline constexpr HRESULT E_OUTOFMEMORY = MakeHresult(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = MakeHresult(0x80070057);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = MakeHresult(0x80040110);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = MakeHresult(0x80040111);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = MakeHresult(0x80040154);
inline constexpr HRESULT CO_E_NOTINITIALIZED = MakeHresult(0x800401F0);
inline constexpr HRESULT CO_E_OBJNOTREG = MakeHresult(0x800401FB);
inline constexpr HRESULT CO_E_SERVER_EXEC_FAILURE = MakeHresult(0x80080005);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = MakeHresult(0x80020006);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = MakeHresult(0x80020003);
inline constexpr HRESULT RPC_E_CHANGED_MODE = MakeHresult(0x80010106);

// Class contexts.
inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
inline constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
inline constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
inline constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
// CoRegisterClassObject flags.
inline constexpr DWORD REGCLS_SINGLEUSE = 0;
inline constexpr DWORD REGCLS_MULTIPLEUSE = 1;

struct GUID {
  std::uint32_t Data1;
  std::uint16_t Data2;
  std::uint16_t Data3;
  std::uint8_t Data4[8];
  friend bool operator==(const GUID&, const GUID&) = default;
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;
using REFGUID = const GUID&;

extern const IID IID_IUnknown;
extern const IID IID_IDispatch;
extern const IID IID_IClassFactory;
extern const IID IID_IErrorInfo;
extern const IID IID_ICreateErrorInfo;
extern const IID IID_ISupportErrorInfo;

// Stand-ins for the automation types that only appear in IDispatch's slots.
struct ITypeInfo;
struct DISPPARAMS;
struct VARIANT;
struct EXCEPINFO;

struct IUnknown {
  virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) = 0;
  virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE Release() = 0;

 protected:
  ~IUnknown() = default;
};

struct IDispatch : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames,
                                                  LCID lcid, DISPID* rgDispId) = 0;
  virtual HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                           DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                           EXCEPINFO* pExcepInfo, UINT* puArgErr) = 0;

 protected:
  ~IDispatch() = default;
};

struct IClassFactory : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid,
                                                   void** ppvObject) = 0;
  virtual HRESULT STDMETHODCALLTYPE LockServer(int fLock) = 0;

 protected:
  ~IClassFactory() = default;
};

struct IErrorInfo : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetGUID(GUID* pGUID) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSource(BSTR* pBstrSource) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDescription(BSTR* pBstrDescription) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetHelpFile(BSTR* pBstrHelpFile) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetHelpContext(DWORD* pdwHelpContext) = 0;

 protected:
  ~IErrorInfo() = default;
};

struct ICreateErrorInfo : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetGUID(REFGUID rguid) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetSource(LPOLESTR szSource) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetDescription(LPOLESTR szDescription) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetHelpFile(LPOLESTR szHelpFile) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetHelpContext(DWORD dwHelpContext) = 0;

 protected:
  ~ICreateErrorInfo() = default;
};

struct ISupportErrorInfo : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) = 0;

 protected:
  ~ISupportErrorInfo() = default;
};

// BSTR: a length-prefixed, NUL-terminated UTF-16 text; a null BSTR is the empty text.
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
BSTR SysAllocString(const OLECHAR* text);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);

// The thread's error information. GetErrorInfo hands the object over and clears it (S_FALSE when
// there is none).
HRESULT SetErrorInfo(DWORD reserved, IErrorInfo* info);
HRESULT GetErrorInfo(DWORD reserved, IErrorInfo** info);
HRESULT CreateErrorInfo(ICreateErrorInfo** info);

// Initialisation of the calling thread: S_OK the first time, S_FALSE when already initialised.
HRESULT CoInitialize(LPVOID reserved);
HRESULT OleInitialize(LPVOID reserved);
void CoUninitialize();
void OleUninitialize();

// Objects are made from the class objects that servers register with the runtime.
HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid,
                         LPVOID* ppv);
HRESULT CoRegisterClassObject(REFCLSID rclsid, IUnknown* pUnk, DWORD dwClsContext, DWORD flags,
                              DWORD* lpdwRegister);
HRESULT CoRevokeClassObject(DWORD dwRegister);

#endif  // _WIN32

namespace platform {

// The system's message text for a status code (inserts ignored, default language), or an empty
// text when the system has none or it does not fit in 256 characters.
std::u16string SystemMessageText(HRESULT status);

// The braced registry form of a GUID: {00020400-0000-0000-C000-000000000046}.
std::u16string GuidToString(const GUID& guid);

// Whether the runtime already knows a server for the class: on the portable runtime a class
// object registered in this process, on Windows the registry's in-process or local server entry.
bool IsClassRegistered(const CLSID& clsid);
// The file the registry names for the class (its in-process server, else its local server's
// command); empty on the portable runtime, which has no registry.
std::u16string RegisteredServerModule(const CLSID& clsid);

// Whether the runtime reaches other machines: the system's remote activation on Windows; the
// portable runtime knows the class objects of this process only.
#if defined(_WIN32)
inline constexpr bool kRemoteActivation = true;
#else
inline constexpr bool kRemoteActivation = false;
#endif

// Whether a failure in a server of another process reaches the client with its error information.
// Windows carries it back with the reply; Wine's runtime does not, so that out of process the
// client has only the status and its system text. Always true where there are no processes.
bool ErrorInfoCrossesProcesses();

// A new object of the class from the runtime of the named machine (no outer object), asking for
// the interface riid. The class contexts are those of a local creation (in-process or local
// server) plus the remote server: the system activates here when the name is this machine's.
// A name with a NUL character in it answers E_INVALIDARG. Without remote activation: E_NOTIMPL.
HRESULT CreateInstanceOnMachine(REFCLSID clsid, std::u16string_view machine, REFIID riid,
                                void** object);

// BSTR <-> UTF-16 text, so that code above the platform never casts between character types.
BSTR AllocBstr(std::u16string_view text);  // the empty text gives a null BSTR
std::u16string BstrText(BSTR text);        // a null BSTR gives the empty text

}  // namespace platform
